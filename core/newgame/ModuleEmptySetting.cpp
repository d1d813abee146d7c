#include "ModuleEmptySetting.h"

#include "Difficulty.h"
#include "GameState.h"
#include "MessageBox.h"
#include "RandomSource.h"

void ModuleEmptySetting::EmptySetting(GameState &form)
{
    RandomSource::randomizeFromClock();
    const int draws = Difficulty::drawsFor(form.Difficulty);
    for (int n = 0; n < draws; ++n) {
        // 80 values, not 81: the bottom-right cell always keeps its digit.
        CellLabel &cell = form.L(int(RandomSource::next() * 80));
        int color = 0;
        if (!GameState::colorValue(form.lEmptyColorValue, &color)) {
            // The cell drawn is emptied before the colour fails.
            cell.setDigit(0);
            MessageBox::critical(QStringLiteral("出错"), QStringLiteral("类型不匹配"));
            return;
        }
        cell.setBlank(color);
    }
}
