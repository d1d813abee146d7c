#include "SaveFile.h"

#include "AppPath.h"
#include "BoardColors.h"
#include "TextFile.h"
#include "TimeText.h"

#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

namespace {

std::optional<SaveFile::Contents> fail(QString *why, const QString &reason)
{
    if (why)
        *why = reason;
    return std::nullopt;
}

QString damaged(const QString &what)
{
    return QStringLiteral("存档文件已损坏：") + what;
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isDigit(QChar c)
{
    // ASCII only: QChar::isDigit would take other scripts' digits.
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

QString SaveFile::path()
{
    return AppPath::dataFile(QStringLiteral("\\save"));
}

QString SaveFile::pathToRead()
{
    return AppPath::dataFileToRead(QStringLiteral("\\save"));
}

QString SaveFile::idLine(const QString &id)
{
    // Reads a number the way the game's files are read: blanks before it
    // are skipped and it ends at the first character that cannot go on.
    qsizetype k = 0;
    while (k < id.size() && isBlank(id.at(k)))
        ++k;
    bool negative = false;
    if (k < id.size() && (id.at(k) == QLatin1Char('-') || id.at(k) == QLatin1Char('+'))) {
        negative = id.at(k) == QLatin1Char('-');
        ++k;
    }
    while (k < id.size() && id.at(k) == QLatin1Char('0'))
        ++k;
    // The whole part only: a decimal point ends it, with the fraction.
    QString digits;
    while (k < id.size() && isDigit(id.at(k)))
        digits += id.at(k++);
    if (digits.isEmpty())
        return QStringLiteral(" 0 ");
    return (negative ? QLatin1Char('-') : QLatin1Char(' ')) + digits + QLatin1Char(' ');
}

QStringList SaveFile::lines(const Contents &contents, const QDate &today)
{
    QStringList out;
    out.reserve(kLineCount);
    out << idLine(contents.id) << contents.savedTime << contents.difficulty;
    for (int i = 0; i < kCells; ++i) {
        out << QStringLiteral("%1,").arg(i, 2, 10, QLatin1Char('0'))
                + QString::number(contents.number[std::size_t(i)]) + QLatin1Char(',')
                + QString::number(contents.color[std::size_t(i)]);
    }
    out << QLocale::system().toString(today, QLocale::ShortFormat);
    return out;
}

bool SaveFile::write(const QString &path, const Contents &contents, const QDate &today, QString *error)
{
    return TextFile::writeLines(path, lines(contents, today), error);
}

std::optional<SaveFile::Contents> SaveFile::parse(const QStringList &lines, QString *why)
{
    // The date line may be missing; anything longer is not a saved game,
    // however it ends.
    if (lines.size() < kLineCount - 1 || lines.size() > kLineCount)
        return fail(why, damaged(QStringLiteral("行数不对。")));

    Contents contents;
    static const QRegularExpression idPattern(
        QRegularExpression::anchoredPattern(QStringLiteral("[ \\t]*0*([0-9]+)[ \\t]*")));
    const QRegularExpressionMatch id = idPattern.match(lines.at(kIdLine - 1));
    bool ok = false;
    const qint64 idValue = id.hasMatch() ? id.captured(1).toLongLong(&ok) : 0;
    // The number goes into the bank's query: digits alone, nothing else.
    if (!ok || idValue <= 0)
        return fail(why, damaged(QStringLiteral("题号不对。")));
    contents.id = QString::number(idValue);

    contents.savedTime = lines.at(kTimeLine - 1);
    if (!TimeText::parse(contents.savedTime))
        return fail(why, damaged(QStringLiteral("用时不对。")));
    contents.difficulty = lines.at(kDifficultyLine - 1);

    // "index,digit,colour": the digit is the one character after the first
    // comma and the colour at most five digits, so a longer run of digits
    // cannot pass for a shorter colour.
    static const QRegularExpression cellPattern(
        QRegularExpression::anchoredPattern(QStringLiteral("[0-9]{2},([0-9]),([0-9]{1,5})")));
    for (int i = 0; i < kCells; ++i) {
        const int lineNumber = kFirstCellLine + i;
        const QRegularExpressionMatch cell = cellPattern.match(lines.at(lineNumber - 1));
        if (!cell.hasMatch())
            return fail(why, damaged(QStringLiteral("第 %1 行不是格子的记录。").arg(lineNumber)));
        const qint32 color = cell.captured(2).toInt();
        // Red is what the game itself writes for a cell its last check
        // found wrong, so a file it saved after a failed check must read
        // back; no other colour ever comes from the game.
        if (color != BoardColors::kGiven && color != BoardColors::kPlayer && color != BoardColors::kWrong)
            return fail(why, damaged(QStringLiteral("第 %1 行的颜色不对。").arg(lineNumber)));
        contents.number[std::size_t(i)] = qint16(cell.captured(1).toInt());
        contents.color[std::size_t(i)] = color;
    }
    return contents;
}

std::optional<SaveFile::Contents> SaveFile::read(const QString &path, QString *why)
{
    const auto lines = TextFile::readLines(path);
    if (!lines) {
        return fail(why,
            QFileInfo::exists(path) ? QStringLiteral("无法打开存档文件。")
                                    : QStringLiteral("存档文件不存在。"));
    }
    return parse(*lines, why);
}
