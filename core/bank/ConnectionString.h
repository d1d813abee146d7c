#pragma once

#include <QList>
#include <QPair>
#include <QString>

// A connection string of "key=value" pairs separated by ";". Keys are
// matched without regard to case or surrounding blanks; a value may be
// quoted with " or ' to hold a ";" (a doubled quote inside stands for one).
class ConnectionString
{
public:
    static ConnectionString parse(const QString &text);
    // Quotes a value when it would not survive parsing as it is.
    static QString quoteValue(const QString &value);

    bool contains(const QString &key) const;
    QString value(const QString &key) const;
    const QList<QPair<QString, QString>> &pairs() const { return m_pairs; }
    bool isValid() const { return m_valid; }

private:
    QList<QPair<QString, QString>> m_pairs;
    bool m_valid = true;
};
