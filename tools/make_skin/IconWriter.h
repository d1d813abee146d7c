// Draws the program's icon, the logo tile, in the sizes a desktop menu
// asks for, as a freedesktop icon theme folder that the install copies
// into share/icons.
#pragma once

#include <QDir>
#include <QString>
#include <QTextStream>

class IconWriter
{
public:
    static constexpr int kSizes[] = { 16, 24, 32, 48, 64, 128, 256 };

    // `hicolorDir` is the theme folder: the icons go to
    // hicolorDir/<n>x<n>/apps/vexa-sudoku.png.
    explicit IconWriter(const QString &hicolorDir);

    // Returns false, after reporting on stderr, as soon as one file fails.
    bool writeAll();

private:
    QDir m_theme;
    QTextStream m_out;
    QTextStream m_err;
};
