#include "SettingFile.h"

#include "AppPath.h"
#include "TextFile.h"

namespace {
const char *const kKeys[7] = { "[ShowNumberHint]", "[ShowCrossHint]", "[AutoSave]", "[PutOnFront]",
    "[PieceColor]", "[ShowBorder]", "[FontBold]" };
const char *const kDefaults[7] = { "False", "True", "False", "True", "True", "False", "False" };
} // namespace

QStringList SettingFile::lines(const QStringList &values)
{
    QStringList out;
    for (int k = 0; k < 7; ++k) {
        out << QLatin1String(kKeys[k]) << values.value(k);
        if (k < 6)
            out << QString();
    }
    return out;
}

QString SettingFile::path()
{
    return AppPath::dataFile(QStringLiteral("\\setting"));
}

QString SettingFile::pathToRead()
{
    return AppPath::dataFileToRead(QStringLiteral("\\setting"));
}

QStringList SettingFile::defaultLines()
{
    QStringList values;
    for (const char *value : kDefaults)
        values << QLatin1String(value);
    return lines(values);
}

QStringList SettingFile::read(const QString &path)
{
    return fromLines(TextFile::readLines(path).value_or(QStringList()));
}

QStringList SettingFile::fromLines(QStringList lines)
{
    const QStringList defaults = defaultLines();
    if (lines.size() > kLines)
        lines.resize(kLines);
    while (lines.size() < kLines)
        lines << defaults.at(lines.size());
    return lines;
}
