#include "BankBuilder.h"

#include "AdoConnection.h"
#include "AdoError.h"
#include "SqliteLibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringList>

namespace {

// Reached only through an open connection, which needed the library.
const SqliteLibrary &sqlite()
{
    return *SqliteLibrary::get();
}

void check(sqlite3 *db, int rc)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE)
        throw AdoError(QString::fromUtf8(sqlite().errmsg(db)));
}

void fill(sqlite3 *db, const QList<BankBuilder::Entry> &entries)
{
    QStringList columns { QStringLiteral("[ID] TEXT NOT NULL"), QStringLiteral("[Finished] TEXT NOT NULL") };
    QStringList marks { QStringLiteral("?"), QStringLiteral("?") };
    for (int i = 0; i < 81; ++i) {
        columns << QStringLiteral("\"l(%1)\" INTEGER NOT NULL").arg(i);
        marks << QStringLiteral("?");
    }
    const QByteArray create
        = QStringLiteral("CREATE TABLE [Problem] (%1)").arg(columns.join(QLatin1String(", "))).toUtf8();
    check(db, sqlite().exec(db, create.constData(), nullptr, nullptr, nullptr));
    check(db, sqlite().exec(db, "BEGIN", nullptr, nullptr, nullptr));
    const QByteArray insert
        = QStringLiteral("INSERT INTO [Problem] VALUES (%1)").arg(marks.join(QLatin1Char(','))).toUtf8();
    sqlite3_stmt *stmt = nullptr;
    check(db, sqlite().prepare_v2(db, insert.constData(), -1, &stmt, nullptr));
    for (const auto &entry : entries) {
        const QByteArray id = entry.id.toUtf8();
        const QByteArray finished = entry.finished.toUtf8();
        sqlite().bind_text(stmt, 1, id.constData(), -1, SQLITE_TRANSIENT);
        sqlite().bind_text(stmt, 2, finished.constData(), -1, SQLITE_TRANSIENT);
        for (int i = 0; i < 81; ++i)
            sqlite().bind_int(stmt, 3 + i, entry.cells[std::size_t(i)]);
        const int rc = sqlite().step(stmt);
        if (rc != SQLITE_DONE) {
            sqlite().finalize(stmt);
            check(db, rc);
        }
        sqlite().reset(stmt);
    }
    sqlite().finalize(stmt);
    check(db, sqlite().exec(db, "COMMIT", nullptr, nullptr, nullptr));
}

} // namespace

void BankBuilder::write(const QString &path, const QString &password, const QList<Entry> &entries)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString temp = path + QStringLiteral(".new");
    QFile::remove(temp);
    sqlite3 *db = AdoConnection::openKeyed(temp, password, true);
    try {
        fill(db, entries);
    } catch (...) {
        sqlite().close(db);
        QFile::remove(temp);
        throw;
    }
    sqlite().close(db);
    QFile::remove(path);
    if (!QFile::rename(temp, path))
        throw AdoError(QStringLiteral("cannot replace %1").arg(path));
}

QList<BankBuilder::Entry> BankBuilder::parseSource(const QString &text)
{
    QList<Entry> entries;
    QSet<QString> ids;
    QString currentId;
    QString digits;
    int lineNo = 0;
    int idLine = 0;
    auto finish = [&]() {
        if (currentId.isNull())
            return;
        const auto cells = SudokuGrid::parse(digits);
        if (!cells)
            throw AdoError(QStringLiteral("grid %1 (line %2) does not hold exactly 81 digits")
                               .arg(currentId)
                               .arg(idLine));
        QString why;
        if (!SudokuGrid::isValidSolution(*cells, &why))
            throw AdoError(QStringLiteral("grid %1 (line %2) is not a valid solution: %3")
                               .arg(currentId)
                               .arg(idLine)
                               .arg(why));
        entries.append({ currentId, QStringLiteral("false"), *cells });
    };
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString &raw : lines) {
        ++lineNo;
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            finish();
            currentId = line.mid(1, line.size() - 2).trimmed();
            if (currentId.isEmpty() || ids.contains(currentId))
                throw AdoError(QStringLiteral("line %1: empty or repeated ID").arg(lineNo));
            ids.insert(currentId);
            digits.clear();
            idLine = lineNo;
            continue;
        }
        if (currentId.isNull())
            throw AdoError(QStringLiteral("line %1: digits before the first [ID]").arg(lineNo));
        digits += line;
    }
    finish();
    return entries;
}
