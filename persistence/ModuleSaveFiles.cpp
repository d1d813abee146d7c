#include "ModuleSaveFiles.h"

#include "GameState.h"
#include "GradeFile.h"

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
