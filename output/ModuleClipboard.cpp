#include "ModuleClipboard.h"

#include "GameState.h"
#include "MessageBox.h"

#include <QClipboard>
#include <QGuiApplication>

QString ModuleClipboard::puzzleText(const GameState &form)
{
    QString text;
    for (int i = 0; i < GameState::kCells; ++i) {
        const CellLabel &cell = form.L(i);
        // Given digits are the black ones; the player's are coloured.
        if (cell.ForeColor() == 0 && !cell.Caption().isEmpty())
            text += cell.Caption();
        else
            text += QLatin1Char('0');
    }
    return text;
}

void ModuleClipboard::menuGame_CopyToClipboard_Click(GameState &form)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(puzzleText(form));
    MessageBox::information(
        QStringLiteral("复制到剪贴板"), QStringLiteral("已经把该题数字串放置到剪贴板中 ！"));
}
