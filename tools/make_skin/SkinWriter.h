// Draws every image and writes it to its place under the data folder.
#pragma once

#include <QDir>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QTextStream>

class SkinWriter
{
public:
    explicit SkinWriter(const QString &dataDir);

    // Returns false, after reporting on stderr, as soon as one file fails.
    bool writeAll();

private:
    bool writeButtons();
    bool writeTitleBar();
    bool writeCursors();
    bool writeCursor(const QString &name, const QImage &image, QPoint hotSpot);
    bool writePictures();
    bool save(const QString &relativePath, const QImage &image, QSize expected);
    bool makeFolder(const QString &relativePath);

    QDir m_data;
    QTextStream m_out;
    QTextStream m_err;
};
