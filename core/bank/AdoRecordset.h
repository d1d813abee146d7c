#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class AdoConnection;

// A static, read-only result: all rows are read when it opens, then walked
// with a current-record position.
class AdoRecordset
{
public:
    static constexpr int adOpenStatic = 3;
    static constexpr int adLockReadOnly = 1;

    // Throws AdoError with the failure's own description.
    void Open(const QString &sql, AdoConnection &connection, int cursorType = adOpenStatic,
        int lockType = adLockReadOnly, int options = -1);
    void Close();
    int State() const { return m_open ? 1 : 0; }

    int RecordCount() const;
    bool Bof() const;
    bool Eof() const;
    void MoveFirst();
    void MoveNext();
    // The value of the named field of the current record.
    QVariant Fields(const QString &name) const;
    const QStringList &fieldNames() const { return m_names; }

private:
    void requireOpen() const;

    bool m_open = false;
    QStringList m_names;
    QList<QList<QVariant>> m_rows;
    int m_position = 0; // -1 before the first record, size() after the last
};
