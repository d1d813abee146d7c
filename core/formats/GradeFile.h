#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

// The statistics file "grade" in the program folder: five values, each
// under a key line and followed by an empty line. Values are found by
// their line number alone; the key lines are written but never read.
class GradeFile
{
public:
    // Line numbers (1-based) of the values, and the file's length.
    static constexpr int kLastFinishedTimeLine = 2;
    static constexpr int kFastestTimeLine = 5;
    static constexpr int kTotalTimeLine = 8;
    static constexpr int kFinishedCountLine = 11;
    static constexpr int kGradeLine = 14;
    static constexpr int kLineCount = 14;

    // The values as the game holds them: texts read from the file, or a
    // number once the game has counted a finished puzzle.
    struct Values
    {
        QVariant lastFinishedTime;
        QVariant fastestTime;
        QVariant totalTime;
        QVariant finishedCount;
        QString grade;
    };

    // The file in the current data folder (see AppPath::dataFolder).
    static QString path();
    // Where the file is read from (see AppPath::dataFileToRead).
    static QString pathToRead();

    static Values defaults();

    // Lines missing from the file (or the whole file) take the default
    // values; lines that are there are taken as they are, even if garbled.
    static Values read(const QString &path);
    // The same for lines already read.
    static Values fromLines(const QStringList &lines);

    // The fourteen lines of the file holding the values.
    static QStringList lines(const Values &values);
    static bool write(const QString &path, const Values &values, QString *error = nullptr);
    // Writes the default file unless one exists; false if it had to be
    // written and could not be.
    static bool createDefaultIfMissing(const QString &path, QString *error = nullptr);

    // A value as the file takes it: a text unchanged, a number in the
    // number print format.
    static QString valueText(const QVariant &value);
    // The print format of a number: the sign's place (a blank when not
    // negative), the digits, one trailing blank; 1 gives " 1 ".
    static QString numberText(const QVariant &number);
    static bool isNumber(const QVariant &value);
};
