#include "GradeFile.h"

#include "AppPath.h"
#include "TextFile.h"
#include "TimeText.h"

#include <QFileInfo>
#include <array>
#include <cmath>

namespace {
QString keyLine(int valueLine)
{
    switch (valueLine) {
    case GradeFile::kLastFinishedTimeLine:
        return QStringLiteral("[LastFinishedTime]");
    case GradeFile::kFastestTimeLine:
        return QStringLiteral("[FastestTime]");
    case GradeFile::kTotalTimeLine:
        return QStringLiteral("[TotalTime]");
    case GradeFile::kFinishedCountLine:
        return QStringLiteral("[FinishedCount]");
    default:
        return QStringLiteral("[Grade]");
    }
}
} // namespace

QString GradeFile::path()
{
    return AppPath::dataFile(QStringLiteral("\\grade"));
}

QString GradeFile::pathToRead()
{
    return AppPath::dataFileToRead(QStringLiteral("\\grade"));
}

GradeFile::Values GradeFile::defaults()
{
    Values v;
    v.lastFinishedTime = TimeText::zero();
    v.fastestTime = TimeText::zero();
    v.totalTime = TimeText::zero();
    v.finishedCount = QStringLiteral("0");
    v.grade = QStringLiteral("★");
    return v;
}

GradeFile::Values GradeFile::read(const QString &path)
{
    return fromLines(TextFile::readLines(path).value_or(QStringList()));
}

GradeFile::Values GradeFile::fromLines(const QStringList &lines)
{
    Values v = defaults();
    const auto take = [&lines](int lineNumber, auto &value) {
        if (lineNumber <= lines.size())
            value = lines.at(lineNumber - 1);
    };
    take(kLastFinishedTimeLine, v.lastFinishedTime);
    take(kFastestTimeLine, v.fastestTime);
    take(kTotalTimeLine, v.totalTime);
    take(kFinishedCountLine, v.finishedCount);
    take(kGradeLine, v.grade);
    return v;
}

QStringList GradeFile::lines(const Values &values)
{
    const std::array<QString, 5> texts { valueText(values.lastFinishedTime), valueText(values.fastestTime),
        valueText(values.totalTime), valueText(values.finishedCount), values.grade };
    const std::array<int, 5> valueLines { kLastFinishedTimeLine, kFastestTimeLine, kTotalTimeLine,
        kFinishedCountLine, kGradeLine };
    QStringList out;
    for (std::size_t k = 0; k < texts.size(); ++k) {
        if (k > 0)
            out << QString();
        out << keyLine(valueLines[k]) << texts[k];
    }
    return out;
}

bool GradeFile::write(const QString &path, const Values &values, QString *error)
{
    return TextFile::writeLines(path, lines(values), error);
}

bool GradeFile::createDefaultIfMissing(const QString &path, QString *error)
{
    if (QFileInfo::exists(path))
        return true;
    return write(path, defaults(), error);
}

bool GradeFile::isNumber(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Float:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

QString GradeFile::valueText(const QVariant &value)
{
    return isNumber(value) ? numberText(value) : value.toString();
}

QString GradeFile::numberText(const QVariant &number)
{
    const int type = number.metaType().id();
    QString digits;
    bool negative = false;
    if (type == QMetaType::Float || type == QMetaType::Double) {
        const double d = number.toDouble();
        negative = d < 0;
        // Fifteen significant digits, and no ".0" after a whole number.
        digits = QString::number(std::abs(d), 'g', 15);
    } else if (type == QMetaType::ULongLong || type == QMetaType::ULong || type == QMetaType::UInt) {
        digits = QString::number(number.toULongLong());
    } else {
        const qlonglong n = number.toLongLong();
        negative = n < 0;
        digits = negative ? QString::number(n).mid(1) : QString::number(n);
    }
    return (negative ? QLatin1Char('-') : QLatin1Char(' ')) + digits + QLatin1Char(' ');
}
