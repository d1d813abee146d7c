#include "ModuleNumericalTime.h"

#include "BoardColors.h"
#include "GameState.h"

void ModuleNumericalTime::attach(GameState &form)
{
    for (int i = 0; i < GameState::kCells; ++i)
        QObject::connect(
            &form.L(i), &CellLabel::captionChanged, &form.L(i), [&form] { NumericalTime(form); });
}

void ModuleNumericalTime::NumericalTime(GameState &form)
{
    for (int k = 0; k < 9; ++k) {
        int count = 0;
        for (int i = 0; i < GameState::kCells; ++i)
            if (form.L(i).digit() == k + 1)
                ++count;
        if (count < 9) {
            form.Label1(k).setEnabled(false);
        } else {
            form.Label1(k).setEnabled(true);
            int color = BoardColors::kNumberHintComplete;
            GameState::colorValue(form.lNumericalTimeTrueColor, &color);
            form.Label1(k).setBackColor(color);
        }
    }
}
