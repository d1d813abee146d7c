#include "AdoRecordset.h"

#include "AdoConnection.h"
#include "AdoError.h"
#include "BankErrorText.h"
#include "SqliteLibrary.h"

namespace {

// Reached only through an open connection, which needed the library.
const SqliteLibrary &sqlite()
{
    return *SqliteLibrary::get();
}

// The texts the player's system gave for these in his language.
const QString kClosed = QStringLiteral("对象关闭时，不允许操作。");
const QString kNoCurrent
    = QStringLiteral("BOF 或 EOF 中有一个是“真”，或者当前的记录已被删除，所需的操作要求一个当前的记录。");
} // namespace

void AdoRecordset::Open(const QString &sql, AdoConnection &connection, int, int, int)
{
    if (m_open)
        throw AdoError(QStringLiteral("对象打开时，不允许操作。"));
    if (connection.State() != 1)
        throw AdoError(kClosed);
    sqlite3 *db = connection.handle();
    sqlite3_stmt *stmt = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (const int rc = sqlite().prepare_v2(db, utf8.constData(), int(utf8.size()), &stmt, nullptr);
        rc != SQLITE_OK)
        throw AdoError(BankErrorText::fromSqlite(rc));
    QStringList names;
    const int columns = sqlite().column_count(stmt);
    for (int c = 0; c < columns; ++c)
        names << QString::fromUtf8(sqlite().column_name(stmt, c));
    QList<QList<QVariant>> rows;
    int rc;
    while ((rc = sqlite().step(stmt)) == SQLITE_ROW) {
        QList<QVariant> row;
        row.reserve(columns);
        for (int c = 0; c < columns; ++c) {
            switch (sqlite().column_type(stmt, c)) {
            case SQLITE_INTEGER:
                row << QVariant(qlonglong(sqlite().column_int64(stmt, c)));
                break;
            case SQLITE_FLOAT:
                row << QVariant(sqlite().column_double(stmt, c));
                break;
            case SQLITE_NULL:
                row << QVariant();
                break;
            default:
                row << QVariant(
                    QString::fromUtf8(reinterpret_cast<const char *>(sqlite().column_text(stmt, c))));
            }
        }
        rows << row;
    }
    if (rc != SQLITE_DONE) {
        sqlite().finalize(stmt);
        throw AdoError(BankErrorText::fromSqlite(rc));
    }
    sqlite().finalize(stmt);
    m_names = names;
    m_rows = rows;
    m_position = 0;
    m_open = true;
}

void AdoRecordset::Close()
{
    if (!m_open)
        throw AdoError(kClosed);
    m_open = false;
    m_rows.clear();
    m_names.clear();
}

void AdoRecordset::requireOpen() const
{
    if (!m_open)
        throw AdoError(kClosed);
}

int AdoRecordset::RecordCount() const
{
    requireOpen();
    return int(m_rows.size());
}

bool AdoRecordset::Bof() const
{
    requireOpen();
    return m_rows.isEmpty() || m_position < 0;
}

bool AdoRecordset::Eof() const
{
    requireOpen();
    return m_rows.isEmpty() || m_position >= m_rows.size();
}

void AdoRecordset::MoveFirst()
{
    requireOpen();
    if (m_rows.isEmpty())
        throw AdoError(kNoCurrent);
    m_position = 0;
}

void AdoRecordset::MoveNext()
{
    requireOpen();
    if (m_position >= m_rows.size())
        throw AdoError(kNoCurrent);
    ++m_position;
}

QVariant AdoRecordset::Fields(const QString &name) const
{
    requireOpen();
    // Field names are matched without regard to case.
    qsizetype column = -1;
    for (qsizetype c = 0; c < m_names.size() && column < 0; ++c) {
        if (m_names.at(c).compare(name, Qt::CaseInsensitive) == 0)
            column = c;
    }
    if (column < 0)
        throw AdoError(BankErrorText::missingField(name));
    if (Bof() || Eof())
        throw AdoError(kNoCurrent);
    return m_rows.at(m_position).at(column);
}
