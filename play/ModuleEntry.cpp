#include "ModuleEntry.h"

#include "EntryCancel.h"
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
    if (cell.ForeColor() == 0)
        return; // a given cell
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
    form.Frame1.setEnabled(false);
    form.optEasy.setEnabled(false);
    form.optMedium.setEnabled(false);
    form.optHard.setEnabled(false);
    form.menuDo_Difficoulty.setEnabled(false);
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

void ModuleEntry::txtEnter_KeyPress(GameState &form, int &keyAscii)
{
    const QString remembered = form.txtEnter.Text();
    // Emptying the box empties the cell at once, whatever the key.
    form.txtEnter.setText(QString());
    if (keyAscii == kEscape) {
        closeBox(form);
    } else if (keyAscii == '0' || keyAscii == '.') {
        keyAscii = 0;
        form.L(form.EnterIndex).setCaption(QString());
        closeBox(form);
    } else if (keyAscii >= '1' && keyAscii <= '9') {
        closeBox(form);
        for (int i = 0; i < GameState::kCells; ++i)
            form.L(i).setEnabled(true);
        ModuleSound::PlayEffect(form, QStringLiteral("\\bkmusic\\D_press.wav"));
    } else {
        keyAscii = 0;
        form.txtEnter.setText(remembered);
    }
}

void ModuleEntry::typeCharacter(GameState &form, QChar character)
{
    int keyAscii = character.unicode();
    txtEnter_KeyPress(form, keyAscii);
    if (keyAscii >= 32)
        form.txtEnter.setText(form.txtEnter.Text() + QChar(keyAscii));
}

void ModuleEntry::txtEnter_Change(GameState &form)
{
    form.L(form.EnterIndex).setCaption(form.txtEnter.Text().left(1));
    int filled = 0;
    for (int i = 0; i < GameState::kCells; ++i)
        if (!form.L(i).Caption().isEmpty())
            ++filled;
    const bool full = filled == GameState::kCells;
    Skin::setEnabled(form.cmdFinished, QStringLiteral("finish"), full);
    form.menuDo_Finished.setEnabled(full);
    Skin::setEnabled(form.cmdSave, QStringLiteral("save"), true);
    form.menuGame_Save.setEnabled(true);
}

void ModuleEntry::Form_KeyUp(GameState &form, int keyCode)
{
    if (keyCode == kF1)
        form.window().menuAbout_Help_Click();
}
