#include "ModuleClipboard.h"

#include "GameState.h"
#include "MessageBox.h"

#include <QClipboard>
#include <QGuiApplication>

QString ModuleClipboard::puzzleText(const GameState &form)
{
    QString text;
    for (int i = 0; i < GameState::kCells; ++i) {
        // Given digits are the black ones; the player's are coloured. An
        // empty cell's digit is 0.
        const CellLabel &cell = form.L(i);
        text += QString::number(cell.kind() == CellKind::Given ? cell.digit() : 0);
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
