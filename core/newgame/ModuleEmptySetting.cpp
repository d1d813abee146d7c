#include "ModuleEmptySetting.h"

#include "GameState.h"
#include "MessageBox.h"
#include "RandomSource.h"

int ModuleEmptySetting::drawsFor(const QString &difficulty)
{
    if (difficulty == QLatin1String("easy"))
        return 38;
    if (difficulty == QLatin1String("medium"))
        return 54;
    if (difficulty == QLatin1String("hard"))
        return 68;
    return 0;
}

void ModuleEmptySetting::EmptySetting(GameState &form)
{
    RandomSource::randomizeFromClock();
    const int draws = drawsFor(form.Difficulty);
    for (int n = 0; n < draws; ++n) {
        // 80 values, not 81: the bottom-right cell always keeps its digit.
        const int i = int(RandomSource::next() * 80);
        form.L(i).setCaption(QString());
        int color = 0;
        if (!GameState::colorValue(form.lEmptyColorValue, &color)) {
            MessageBox::critical(QStringLiteral("出错"), QStringLiteral("类型不匹配"));
            return;
        }
        form.L(i).setForeColor(color);
    }
}
