#include "ModuleSaveFiles.h"

#include "Clock.h"
#include "Difficulty.h"
#include "GameState.h"
#include "GradeFile.h"
#include "MessageBox.h"
#include "ModuleSound.h"
#include "SaveFile.h"
#include "SettingFile.h"
#include "TextFile.h"

#include <QFileInfo>

bool ModuleSaveFiles::SaveGrade(GameState &form, QString *error)
{
    GradeFile::Values values;
    values.lastFinishedTime = form.strLastFinishedTime;
    values.fastestTime = form.strFastestTime;
    values.totalTime = form.strTotalTime;
    values.finishedCount = form.strFinishedCount;
    values.grade = form.strGrade;
    return GradeFile::write(GradeFile::path(), values, error);
}

bool ModuleSaveFiles::SaveSetting(GameState &form, QString *error)
{
    const QStringList values { form.strShowNumberHint.toString(), form.strShowCrossHint.toString(),
        form.strExitAutoSave.toString(), form.strPutOnFront.toString(), form.strPieceColor.toString(),
        form.strShowBorder.toString(), form.strFontBold.toString() };
    return TextFile::writeLines(SettingFile::path(), SettingFile::lines(values), error);
}

bool ModuleSaveFiles::SaveGame(GameState &form)
{
    const QString title = QStringLiteral("数独SUDOKU 存盘");
    SaveFile::Contents contents;
    if (const Difficulty::Level *level = Difficulty::selected(form))
        contents.difficulty = level->savedWordText();
    // The save being replaced may still be the one beside the program.
    if (QFileInfo::exists(SaveFile::pathToRead())
        && MessageBox::question(title, QStringLiteral("是否覆盖上次的记录？")) != MessageBox::Answer::Yes)
        return false;
    contents.id = form.GetNumberOrder;
    contents.savedTime = form.strLastFinishedTime.toString();
    for (int i = 0; i < GameState::kCells; ++i) {
        const CellLabel &cell = form.L(i);
        contents.number[std::size_t(i)] = qint16(cell.digit());
        contents.color[std::size_t(i)] = qint32(cell.ForeColor());
    }
    QString error;
    if (!SaveFile::write(SaveFile::path(), contents, Clock::now().date(), &error)) {
        MessageBox::critical(title, QStringLiteral("存盘失败！\r\n") + error);
        return false;
    }
    MessageBox::information(title, QStringLiteral("存盘操作完成！"));
    return true;
}

void ModuleSaveFiles::cmdSave_Click(GameState &form)
{
    ModuleSound::PlaySoundBubble(form);
    form.strLastFinishedTime = form.labelTime.Caption();
    SaveGame(form);
}
