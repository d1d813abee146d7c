#include "BankErrorText.h"

#include <sqlite3.h>

QString BankErrorText::noDatabaseLibrary()
{
    return QStringLiteral("找不到读取题库所需的 SQLCipher 程序库。");
}

QString BankErrorText::missingFile(const QString &path)
{
    return QStringLiteral("找不到题库文件“%1”。").arg(path);
}

QString BankErrorText::fromSqlite(int resultCode)
{
    // Extended codes carry their family in the low byte.
    switch (resultCode & 0xFF) {
    case SQLITE_NOTADB:
        // SQLCipher cannot tell a wrong key from a file that is no database.
        return QStringLiteral("这个文件不是题库，或者题库的密码不对。");
    case SQLITE_ERROR:
        // The game's queries are fixed; they fail only where the table or
        // its columns are missing.
        return QStringLiteral("这个文件里没有题目表，不是本游戏的题库。");
    case SQLITE_CORRUPT:
        return QStringLiteral("题库文件已损坏。");
    case SQLITE_CANTOPEN:
        return QStringLiteral("无法打开题库文件。");
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("没有读取题库文件的权限。");
    case SQLITE_IOERR:
        return QStringLiteral("读取题库文件时出错。");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("题库文件正被别的程序占用。");
    case SQLITE_NOMEM:
        return QStringLiteral("内存不足，无法读取题库。");
    default:
        return QStringLiteral("读取题库时出错（错误代码 %1）。").arg(resultCode);
    }
}

QString BankErrorText::damagedRecord(const QString &id, int cell)
{
    return QStringLiteral("题库中第 %1 题的记录已损坏：第 %2 行第 %3 列不是 1 到 9 的数字。")
        .arg(id.trimmed())
        .arg(cell / 9 + 1)
        .arg(cell % 9 + 1);
}

QString BankErrorText::missingField(const QString &name)
{
    return QStringLiteral("题库中缺少字段“%1”。").arg(name);
}
