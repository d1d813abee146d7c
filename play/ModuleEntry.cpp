#include "ModuleEntry.h"

#include "Difficulty.h"
#include "EntryCancel.h"
#include "GameCommands.h"
#include "GameState.h"
#include "ModuleSound.h"
#include "Skin.h"

void ModuleEntry::attach(GameState &form)
{
    QObject::connect(
        &form.txtEnter, &Control::captionChanged, &form.txtEnter, [&form] { txtEnter_Change(form); });
}

void ModuleEntry::L_MouseDown(GameState &form, int index, int button)
{
    if (button == 2) {
        if (form.txtEnter.Visible())
            EntryCancel::cancel(form);
        return;
    }
    if (button != 1)
        return;
    CellLabel &cell = form.L(index);
    if (cell.kind() == CellKind::Given)
        return;
    form.EnterIndex = qint16(index);
    form.txtEnter.setTop(cell.Top());
    form.txtEnter.setLeft(cell.Left());
    form.txtEnter.setEnabled(true);
    form.txtEnter.setVisible(true);
    form.txtEnter.setFontBold(true);
    form.txtEnter.setText(cell.Caption());
    form.txtEnter.setForeColor(cell.ForeColor());
    form.txtEnter.SetFocus();
    Skin::setEnabled(form.cmdSave, QStringLiteral("save"), false);
    Skin::setEnabled(form.cmdNext, QStringLiteral("next"), false);
    form.menuGame_Save.setEnabled(false);
    form.menuDo_Next.setEnabled(false);
    Difficulty::enableChoice(form, false);
    ModuleSound::PlaySoundBubble(form);
}

void ModuleEntry::txtEnter_MouseDown(GameState &form, int button)
{
    if (button == 2)
        EntryCancel::cancel(form);
}

void ModuleEntry::closeBox(GameState &form)
{
    form.txtEnter.setVisible(false);
    form.txtEnter.setEnabled(false);
}

void ModuleEntry::txtEnter_KeyPress(GameState &form, QChar key)
{
    const QString remembered = form.txtEnter.Text();
    // Emptying the box empties the cell at once, whatever the key.
    form.txtEnter.setText(QString());
    if (key == QChar(kEscape)) {
        closeBox(form);
    } else if (key == QLatin1Char('0') || key == QLatin1Char('.')) {
        form.L(form.EnterIndex).setDigit(0);
        closeBox(form);
    } else if (CellLabel::digitOf(key) != 0) {
        closeBox(form);
        for (int i = 0; i < GameState::kCells; ++i)
            form.L(i).setEnabled(true);
        ModuleSound::PlayEffect(form, QStringLiteral("\\bkmusic\\D_press.wav"));
        // The digit goes into the emptied box, whose Change writes it
        // into the cell.
        form.txtEnter.setText(QString(key));
    } else {
        // Any other key is swallowed.
        form.txtEnter.setText(remembered);
    }
}

void ModuleEntry::txtEnter_Change(GameState &form)
{
    form.L(form.EnterIndex).setDigit(CellLabel::digitOf(QStringView(form.txtEnter.Text()).left(1)));
    GameCommands::offerFinish(form);
    Skin::setEnabled(form.cmdSave, QStringLiteral("save"), true);
    form.menuGame_Save.setEnabled(true);
}

void ModuleEntry::Form_KeyUp(GameState &form, int keyCode)
{
    if (keyCode == kF1)
        form.window().menuAbout_Help_Click();
}
