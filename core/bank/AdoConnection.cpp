#include "AdoConnection.h"

#include "AdoError.h"
#include "AppPath.h"
#include "BankErrorText.h"
#include "ConnectionString.h"
#include "RegularFile.h"
#include "SqliteLibrary.h"

#include <QFile>

namespace {

// Reached only through an open connection, which needed the library.
const SqliteLibrary &sqlite()
{
    return *SqliteLibrary::get();
}

QString quoteSql(const QString &text)
{
    QString q = text;
    q.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + q + QLatin1Char('\'');
}

void exec(sqlite3 *db, const QString &sql)
{
    const int rc = sqlite().exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throw AdoError(BankErrorText::fromSqlite(rc));
}

} // namespace

AdoConnection::~AdoConnection()
{
    Close();
}

sqlite3 *AdoConnection::openKeyed(const QString &path, const QString &password, bool create)
{
    if (!SqliteLibrary::get())
        throw AdoError(BankErrorText::noDatabaseLibrary());
    sqlite3 *db = nullptr;
    const int flags = create ? (SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) : SQLITE_OPEN_READONLY;
    const int rc = sqlite().open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        sqlite().close(db);
        throw AdoError(BankErrorText::fromSqlite(rc));
    }
    try {
        exec(db, QStringLiteral("PRAGMA key = %1").arg(quoteSql(password)));
        exec(db, QStringLiteral("PRAGMA kdf_iter = %1").arg(kKdfIterations));
        // The key is only tried on the first read of the file.
        exec(db, QStringLiteral("SELECT count(*) FROM sqlite_master"));
    } catch (...) {
        sqlite().close(db);
        throw;
    }
    return db;
}

void AdoConnection::Open(const QString &connectionString, const QString &, const QString &, int)
{
    if (m_db)
        throw AdoError(QStringLiteral("对象打开时，不允许操作。"));
    const ConnectionString cs = ConnectionString::parse(connectionString);
    if (!cs.isValid())
        throw AdoError(QStringLiteral("连接字符串的格式不正确。"));
    if (cs.value(QStringLiteral("Provider")).compare(QLatin1String(kProvider), Qt::CaseInsensitive) != 0)
        throw AdoError(QStringLiteral("找不到连接字符串所指的数据提供程序。"));
    const QString source = AppPath::toNative(cs.value(QStringLiteral("Data Source")));
    if (source.isEmpty() || !RegularFile::isRegular(source))
        throw AdoError(BankErrorText::missingFile(source));
    m_db = openKeyed(source, cs.value(QStringLiteral("Jet OLEDB:Database Password")), false);
}

void AdoConnection::Close()
{
    if (m_db) {
        sqlite().close(m_db);
        m_db = nullptr;
    }
}
