#pragma once

#include <QString>
#include <exception>

// A failure of the puzzle bank layer, carrying the description text that
// the game shows after its own prefix.
class AdoError : public std::exception
{
public:
    explicit AdoError(QString description)
        : m_description(std::move(description))
        , m_utf8(m_description.toUtf8())
    { }
    const QString &description() const { return m_description; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_description;
    QByteArray m_utf8;
};
