#include "ModuleGetNumber.h"

#include "AdoError.h"
#include "AppPath.h"
#include "ConnectionString.h"
#include "GameState.h"
#include "MessageBox.h"
#include "RandomSource.h"

ModuleGetNumber::ModuleGetNumber(GameState &form)
    : m_form(form)
{ }

QString ModuleGetNumber::connectionString()
{
    // A folder name holding ";" or quotes is quoted, so the string still
    // parses back to the same path.
    const QString source = AppPath::folder() + QStringLiteral("\\problem\\problem.dbs");
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False;Data Source=")
        + ConnectionString::quoteValue(source) + QStringLiteral(";Jet OLEDB:Database Password=qoravt458zu");
}

QString ModuleGetNumber::bankPassword()
{
    return ConnectionString::parse(connectionString()).value(QStringLiteral("Jet OLEDB:Database Password"));
}

void ModuleGetNumber::CloseBank()
{
    if (rsProblem.State() == 1) {
        rsProblem.Close();
        cnProblem.Close();
    }
}

void ModuleGetNumber::GetNumber()
{
    CloseBank();
    RandomSource::randomize(0);
    const int n = int(RandomSource::next() * 8 + 1);
    try {
        strProblemSql = QStringLiteral("select * from [Problem] where [ID] like '%1'").arg(n);
        cnProblem.Open(connectionString(), QString(), QString(), -1);
        rsProblem.Open(
            strProblemSql, cnProblem, AdoRecordset::adOpenStatic, AdoRecordset::adLockReadOnly, -1);
    } catch (const AdoError &error) {
        MessageBox::critical(
            QStringLiteral("产生错误"), QStringLiteral("连接题库时出错！") + error.description());
        m_form.ProgressBarMake.setValue(0);
        m_form.ProgressBarMake.setVisible(false);
        m_form.setMousePointer(GameState::kPointerCustom);
        CloseBank();
        // A connection left open by a failed query would make the next
        // draw fail on opening it again.
        cnProblem.Close();
    }
}

void ModuleGetNumber::OpenSavedPuzzle(const QString &id)
{
    CloseBank();
    strProblemSql = QStringLiteral("select * from [Problem] where [Finished] = 'false' and [ID] like '%1'")
                        .arg(id.trimmed());
    try {
        cnProblem.Open(connectionString(), QString(), QString(), -1);
        rsProblem.Open(
            strProblemSql, cnProblem, AdoRecordset::adOpenStatic, AdoRecordset::adLockReadOnly, -1);
        rsProblem.MoveFirst();
    } catch (...) {
        // Leave nothing half open: the next draw opens a fresh connection.
        if (rsProblem.State() == 1)
            rsProblem.Close();
        cnProblem.Close();
        throw;
    }
}
