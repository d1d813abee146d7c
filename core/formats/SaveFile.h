#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// The saved-game file "save" in the program folder: the puzzle number, the
// time played, the difficulty word (Difficulty::Level::savedWord), one line
// per cell ("07,0,50232": index, digit or 0, text colour, one of
// BoardColors' text colours) and the day it was saved. Cells are found by
// their line alone; the index and the date are written but never read.
class SaveFile
{
public:
    static constexpr int kCells = 81;
    // Line numbers (1-based).
    static constexpr int kIdLine = 1;
    static constexpr int kTimeLine = 2;
    static constexpr int kDifficultyLine = 3;
    static constexpr int kFirstCellLine = 4;
    static constexpr int kDateLine = kFirstCellLine + kCells;
    static constexpr int kLineCount = kDateLine;

    struct Contents
    {
        // Written as the whole number the text starts with (" 7 " for "7");
        // read back as the decimal text of that number ("7").
        QString id;
        QString savedTime;
        QString difficulty;
        std::array<qint16, kCells> number {};
        std::array<qint32, kCells> color {};
    };

    // The file in the current data folder (see AppPath::dataFolder).
    static QString path();
    // Where the file is read from (see AppPath::dataFileToRead).
    static QString pathToRead();

    // The 85 lines of the file, `today` on the last.
    static QStringList lines(const Contents &contents, const QDate &today);
    // Replaces the file as a whole; on failure the previous file stays as
    // it was and the error's description is handed back.
    static bool write(const QString &path, const Contents &contents, const QDate &today, QString *error);

    // The contents of a file's lines, or nothing and the reason (for the
    // player) when they are not what the game writes.
    static std::optional<Contents> parse(const QStringList &lines, QString *why);
    // Reads and parses the file; a missing file is unreadable too.
    static std::optional<Contents> read(const QString &path, QString *why);

    // The puzzle number's line: the whole part of the number `id` starts
    // with, between the sign's place and one blank (" 7 ").
    static QString idLine(const QString &id);
};
