#include "ReaderProperties.h"

#include "AppPath.h"
#include "BoardColors.h"
#include "ConnectionString.h"
#include "GradeFile.h"
#include "ModuleGetNumber.h"
#include "SaveFile.h"
#include "SettingFile.h"
#include "TextFile.h"
#include "TimeText.h"

#include <QDate>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <optional>

namespace {

// Collects the first broken property; later checks are skipped by callers
// once one has failed, as their findings would only be consequences.
class Verdict
{
public:
    bool check(bool holds, const QString &what)
    {
        if (!holds && m_why.isEmpty())
            m_why = what;
        return holds;
    }
    bool failed() const { return !m_why.isEmpty(); }
    QString why() const { return m_why; }

private:
    QString m_why;
};

bool isAscii(const QByteArray &bytes)
{
    return std::all_of(
        bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The lines the file readers see for these bytes, after checking what the
// text file layer promises: one line per line end, nothing of a line
// leaking into the next, and no line that had bytes coming out empty.
QStringList decodedLines(const QByteArray &fileBytes, Verdict &verdict)
{
    // readLines never hands on more than this.
    const QByteArray bytes = fileBytes.left(TextFile::kMaxReadBytes);
    const std::optional<QStringList> decoded = TextFile::decodeLines(bytes);
    if (!verdict.check(decoded.has_value(), QStringLiteral("the GBK decoder is not available")))
        return {};
    const QStringList &lines = *decoded;

    QList<QByteArray> pieces = bytes.split('\n');
    if (pieces.last().isEmpty())
        pieces.removeLast();
    if (!verdict.check(lines.size() == pieces.size(),
            QStringLiteral("%1 lines decoded from %2 raw lines").arg(lines.size()).arg(pieces.size())))
        return lines;
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QByteArray piece = pieces.at(n);
        if (piece.endsWith('\r'))
            piece.chop(1);
        const QString &line = lines.at(n);
        verdict.check(
            !line.contains(QLatin1Char('\n')), QStringLiteral("line %1 holds a line feed").arg(n + 1));
        verdict.check(piece.isEmpty() == line.isEmpty(),
            QStringLiteral("line %1 has %2 bytes but %3 characters")
                .arg(n + 1)
                .arg(piece.size())
                .arg(line.size()));
        if (isAscii(piece))
            verdict.check(line == QString::fromLatin1(piece),
                QStringLiteral("ASCII line %1 did not decode to itself").arg(n + 1));
        if (verdict.failed())
            break;
    }
    return lines;
}

QStringList gradeTexts(const GradeFile::Values &v)
{
    return { GradeFile::valueText(v.lastFinishedTime), GradeFile::valueText(v.fastestTime),
        GradeFile::valueText(v.totalTime), GradeFile::valueText(v.finishedCount), v.grade };
}

bool sameContents(const SaveFile::Contents &a, const SaveFile::Contents &b)
{
    return a.id == b.id && a.savedTime == b.savedTime && a.difficulty == b.difficulty && a.number == b.number
        && a.color == b.color;
}

} // namespace

QString ReaderProperties::setting(const QByteArray &bytes)
{
    Verdict verdict;
    const QStringList lines = decodedLines(bytes, verdict);
    if (verdict.failed())
        return verdict.why();

    const QStringList read = SettingFile::fromLines(lines);
    const QStringList defaults = SettingFile::defaultLines();
    if (!verdict.check(
            read.size() == SettingFile::kLines, QStringLiteral("%1 setting lines").arg(read.size())))
        return verdict.why();
    for (int n = 0; n < SettingFile::kLines; ++n) {
        const QString &expected = n < lines.size() ? lines.at(n) : defaults.at(n);
        if (!verdict.check(read.at(n) == expected, QStringLiteral("setting line %1 changed").arg(n + 1)))
            return verdict.why();
    }

    // What the window takes from the file is the seven switches; writing
    // them and reading the file back must give the same switches.
    const int valueLines[] = { SettingFile::kShowNumberHint, SettingFile::kShowCrossHint,
        SettingFile::kAutoSave, SettingFile::kPutOnFront, SettingFile::kPieceColor, SettingFile::kShowBorder,
        SettingFile::kFontBold };
    QStringList values;
    for (int line : valueLines)
        values << (SettingFile::isOn(read.at(line)) ? QStringLiteral("True") : QStringLiteral("False"));
    const QStringList written = SettingFile::lines(values);
    verdict.check(
        written.size() == SettingFile::kLines, QStringLiteral("%1 lines written").arg(written.size()));
    const QStringList reread = SettingFile::fromLines(written);
    for (int k = 0; k < 7; ++k) {
        verdict.check(
            SettingFile::isOn(reread.at(valueLines[k])) == SettingFile::isOn(read.at(valueLines[k])),
            QStringLiteral("setting %1 changed on writing").arg(k));
    }
    return verdict.why();
}

QString ReaderProperties::grade(const QByteArray &bytes)
{
    Verdict verdict;
    const QStringList lines = decodedLines(bytes, verdict);
    if (verdict.failed())
        return verdict.why();

    const GradeFile::Values read = GradeFile::fromLines(lines);
    const QStringList texts = gradeTexts(read);
    const QStringList defaults = gradeTexts(GradeFile::defaults());
    const int valueLines[] = { GradeFile::kLastFinishedTimeLine, GradeFile::kFastestTimeLine,
        GradeFile::kTotalTimeLine, GradeFile::kFinishedCountLine, GradeFile::kGradeLine };
    for (int k = 0; k < 5; ++k) {
        const int line = valueLines[k];
        const QString &expected = line <= lines.size() ? lines.at(line - 1) : defaults.at(k);
        if (!verdict.check(
                texts.at(k) == expected, QStringLiteral("grade value on line %1 changed").arg(line)))
            return verdict.why();
    }

    const QStringList written = GradeFile::lines(read);
    if (!verdict.check(
            written.size() == GradeFile::kLineCount, QStringLiteral("%1 lines written").arg(written.size())))
        return verdict.why();
    verdict.check(gradeTexts(GradeFile::fromLines(written)) == texts,
        QStringLiteral("grade values changed on writing and reading back"));
    return verdict.why();
}

QString ReaderProperties::save(const QByteArray &bytes)
{
    Verdict verdict;
    const QStringList lines = decodedLines(bytes, verdict);
    if (verdict.failed())
        return verdict.why();

    QString why;
    const std::optional<SaveFile::Contents> contents = SaveFile::parse(lines, &why);
    if (!contents) {
        verdict.check(!why.isEmpty(), QStringLiteral("a refused save file without a reason"));
        return verdict.why();
    }
    const SaveFile::Contents &c = *contents;

    // The number goes into the bank's query as it is.
    static const QRegularExpression plainNumber(QStringLiteral("^[1-9][0-9]*$"));
    verdict.check(plainNumber.match(c.id).hasMatch(), QStringLiteral("puzzle number \"%1\"").arg(c.id));
    verdict.check(TimeText::parse(c.savedTime).has_value(), QStringLiteral("time \"%1\"").arg(c.savedTime));
    verdict.check(
        c.difficulty == lines.at(SaveFile::kDifficultyLine - 1), QStringLiteral("difficulty changed"));
    for (int i = 0; i < SaveFile::kCells && !verdict.failed(); ++i) {
        const qint16 digit = c.number[std::size_t(i)];
        const qint32 color = c.color[std::size_t(i)];
        verdict.check(digit >= 0 && digit <= 9, QStringLiteral("cell %1 holds %2").arg(i).arg(digit));
        verdict.check(
            color == BoardColors::kGiven || color == BoardColors::kPlayer || color == BoardColors::kWrong,
            QStringLiteral("cell %1 has colour %2").arg(i).arg(color));
    }
    if (verdict.failed())
        return verdict.why();

    // Saving a continued game at once must give a file that continues the
    // same game.
    const QStringList written = SaveFile::lines(c, QDate(2026, 12, 8));
    const std::optional<SaveFile::Contents> again = SaveFile::parse(written, &why);
    if (!verdict.check(again.has_value(), QStringLiteral("a saved game that cannot be read back: ") + why))
        return verdict.why();
    verdict.check(sameContents(*again, c), QStringLiteral("a saved game that reads back differently"));
    return verdict.why();
}

QString ReaderProperties::connectionString(const QByteArray &bytes)
{
    Verdict verdict;
    const QString text = QString::fromUtf8(bytes);
    const ConnectionString cs = ConnectionString::parse(text);
    const auto &pairs = cs.pairs();
    for (qsizetype n = 0; n < pairs.size() && !verdict.failed(); ++n) {
        const QString &key = pairs.at(n).first;
        verdict.check(!key.isEmpty() && key == key.trimmed(), QStringLiteral("key \"%1\"").arg(key));
        verdict.check(cs.contains(key), QStringLiteral("key \"%1\" not found").arg(key));
        QString last;
        for (const auto &p : pairs)
            if (p.first.compare(key, Qt::CaseInsensitive) == 0)
                last = p.second;
        verdict.check(cs.value(key) == last, QStringLiteral("key \"%1\" gives another value").arg(key));
        verdict.check(cs.value(QLatin1Char(' ') + key + QLatin1Char('\t')) == last,
            QStringLiteral("key \"%1\" with blanks gives another value").arg(key));
    }
    if (verdict.failed())
        return verdict.why();

    // The program folder goes into the bank's connection string through
    // quoteValue, and must come out of it unchanged whatever it holds.
    AppPath::setFolder(text);
    const QString source = AppPath::folder() + QStringLiteral("\\problem\\problem.dbs");
    const QString built = ModuleGetNumber::connectionString();
    AppPath::reset();
    const ConnectionString bank = ConnectionString::parse(built);
    verdict.check(bank.isValid(), QStringLiteral("the folder makes the string invalid: ") + built);
    verdict.check(bank.pairs().size() == 4, QStringLiteral("the folder splits the string: ") + built);
    verdict.check(bank.value(QStringLiteral("Data Source")) == source,
        QStringLiteral("the bank's path comes back as \"%1\"")
            .arg(bank.value(QStringLiteral("Data Source"))));
    verdict.check(bank.value(QStringLiteral("Jet OLEDB:Database Password")) == QLatin1String("qoravt458zu"),
        QStringLiteral("the folder spoils the password: ") + built);

    const QString quoted = ConnectionString::quoteValue(text);
    const ConnectionString alone = ConnectionString::parse(QStringLiteral("A=") + quoted);
    verdict.check(alone.isValid() && alone.value(QStringLiteral("a")) == text,
        QStringLiteral("quoted value at the end comes back as \"%1\"").arg(alone.value(QStringLiteral("a"))));
    return verdict.why();
}
