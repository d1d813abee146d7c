#include "ConnectionString.h"

ConnectionString ConnectionString::parse(const QString &text)
{
    ConnectionString result;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        // Key up to "=".
        const qsizetype eq = text.indexOf(QLatin1Char('='), i);
        const qsizetype semi = text.indexOf(QLatin1Char(';'), i);
        if (eq < 0 || (semi >= 0 && semi < eq)) {
            // A part without "=": only blanks are allowed there.
            const qsizetype end = semi < 0 ? n : semi;
            if (!text.mid(i, end - i).trimmed().isEmpty())
                result.m_valid = false;
            i = end + 1;
            continue;
        }
        const QString key = text.mid(i, eq - i).trimmed();
        i = eq + 1;
        while (i < n && text.at(i) == QLatin1Char(' '))
            ++i;
        QString value;
        if (i < n && (text.at(i) == QLatin1Char('"') || text.at(i) == QLatin1Char('\''))) {
            const QChar quote = text.at(i++);
            bool closed = false;
            while (i < n) {
                if (text.at(i) == quote) {
                    if (i + 1 < n && text.at(i + 1) == quote) {
                        value += quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                value += text.at(i++);
            }
            if (!closed)
                result.m_valid = false;
            // Only blanks may stand between the closing quote and ";".
            const qsizetype end = text.indexOf(QLatin1Char(';'), i);
            const qsizetype stop = end < 0 ? n : end;
            if (!text.mid(i, stop - i).trimmed().isEmpty())
                result.m_valid = false;
            i = stop + 1;
        } else {
            const qsizetype end = text.indexOf(QLatin1Char(';'), i);
            const qsizetype stop = end < 0 ? n : end;
            value = text.mid(i, stop - i).trimmed();
            i = stop + 1;
        }
        if (key.isEmpty())
            result.m_valid = false;
        else
            result.m_pairs.append({ key, value });
    }
    return result;
}

QString ConnectionString::quoteValue(const QString &value)
{
    const bool plain = !value.contains(QLatin1Char(';')) && !value.contains(QLatin1Char('"'))
        && !value.contains(QLatin1Char('\'')) && value.trimmed() == value;
    if (plain)
        return value;
    QString quoted = value;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

bool ConnectionString::contains(const QString &key) const
{
    for (const auto &p : m_pairs)
        if (p.first.compare(key.trimmed(), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString ConnectionString::value(const QString &key) const
{
    // The last assignment of a key wins, as with repeated keys elsewhere.
    QString found;
    for (const auto &p : m_pairs)
        if (p.first.compare(key.trimmed(), Qt::CaseInsensitive) == 0)
            found = p.second;
    return found;
}
