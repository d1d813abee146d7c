#pragma once

#include <QString>
#include <QStringList>

// The settings file "setting": seven preferences, each as a key line, a
// value line and an empty line between them, 20 lines in all. Read by line
// position only; a value counts as on when it is exactly "True".
class SettingFile
{
public:
    static constexpr int kLines = 20;
    // Value lines, counted from 0: number hint, cross hint, auto-save,
    // keep on top, box shading, border, bold digits.
    static constexpr int kShowNumberHint = 1;
    static constexpr int kShowCrossHint = 4;
    static constexpr int kAutoSave = 7;
    static constexpr int kPutOnFront = 10;
    static constexpr int kPieceColor = 13;
    static constexpr int kShowBorder = 16;
    static constexpr int kFontBold = 19;

    // The file in the current data folder (see AppPath::dataFolder).
    static QString path();
    // Where the file is read from (see AppPath::dataFileToRead).
    static QString pathToRead();

    static QStringList defaultLines();
    // The 20 lines of the file; lines a short (or missing) file lacks take
    // their default.
    static QStringList read(const QString &path);
    // The same for lines already read.
    static QStringList fromLines(QStringList lines);
    static bool isOn(const QString &value) { return value == QLatin1String("True"); }
    // The file for seven values in the order above ("True"/"False").
    static QStringList lines(const QStringList &values);
};
