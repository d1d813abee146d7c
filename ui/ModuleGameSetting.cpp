#include "ModuleGameSetting.h"

#include "GameState.h"
#include "Skin.h"

const int ModuleGameSetting::kPieceCells[36] = {
    3, 4, 5, 12, 13, 14, 21, 22, 23, // top-middle
    27, 28, 29, 36, 37, 38, 45, 46, 47, // middle-left
    33, 34, 35, 42, 43, 44, 51, 52, 53, // middle-right
    57, 58, 59, 66, 67, 68, 75, 76, 77, // bottom-middle
};

void ModuleGameSetting::RepaintBoard(GameState &form)
{
    const QString text = form.lPieceColorValue;
    if (!form.menuSetting_PieceColor.Checked())
        return;
    for (const int i : kPieceCells) {
        int color = 0;
        if (!GameState::colorValue(text, &color))
            return;
        form.L(i).setBackColor(color);
    }
}

void ModuleGameSetting::ApplyLayout(GameState &form)
{
    const bool wide = form.menuSetting_ShowNumberHint.Checked();
    const int shift = wide ? 720 : 0;
    form.picTitle.setPicture(
        Skin::literal(wide ? QStringLiteral("titlelong") : QStringLiteral("titleshort")));
    form.Frame2.setVisible(wide);
    const int right = 4800 + shift;
    form.Frame1.setLeft(right);
    form.ProgressBarMake.setLeft(right);
    for (Control *control : { &form.cmdStart, &form.cmdContinue, &form.cmdNext, &form.cmdFinished,
             &form.cmdSave, &form.cmdExit, &form.labelTime })
        control->setLeft(right);
    form.window().setWindowSize(wide ? kWideWidth : kNarrowWidth, kHeight);
    form.picTitle.setLeft(30);
    form.picClose.setLeft(5640 + shift);
    form.picMinimize.setLeft(5220 + shift);
    form.picPutOnFront.setLeft(4900 + shift);
    form.picMusicPlay.setLeft(4630 + shift);
    form.picMusicStop.setLeft(4630 + shift);
    const QSize client = form.window().clientSize();
    form.Shape1.move(0, 0, client.width(), client.height());
    form.Shape3.move(15, 15, client.width() - 30, client.height() - 30);
}
