#pragma once

#include "BoardCopy.h"

#include <QString>
#include <QWidget>

class CellLabel;
class GameState;
class QLabel;

// A borderless copy of the board, laid over the main window's board, that
// exists only to be saved as a picture with the game's watermark.
class FormSavePic : public QWidget
{
    Q_OBJECT
public:
    explicit FormSavePic(QWidget *parent = nullptr);

    // Creates the window, shows it, saves it as picsave.bmp in `folder`,
    // closes it and tells the player where the file went or why it could
    // not be written. `mainWindow` may be null. Returns whether it was saved.
    static bool capture(const GameState &form, QWidget *mainWindow, const QString &folder);

    // Copies the board and places the window over the main window's board,
    // in the main window's colours; without a main window it stays put.
    void Form_Load(const GameState &form, const QWidget *mainWindow);

    // Writes the window's picture as a Windows bitmap, replacing any file;
    // on failure `error` tells why.
    bool savePicture(const QString &path, QString *error);

    CellLabel &L(int index) const { return m_board.L(index); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    BoardCopy m_board;
    QLabel *imgWaterMark = nullptr;
    bool m_shape2Visible = false;
};
