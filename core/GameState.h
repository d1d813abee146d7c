#pragma once

#include "CellLabel.h"
#include "ProgressModel.h"

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <array>
#include <memory>

// Everything the main window keeps for a game: the 81 cells (which are the
// board), the solved grid, and the public variables that the modules and
// the other windows read and write. The main window is one of these; the
// game logic works on this state alone and so runs without a display.
class GameState
{
public:
    static constexpr int kCells = 81;

    // Mouse pointers of the main window.
    static constexpr int kPointerDefault = 0;
    static constexpr int kPointerHourglass = 11;
    static constexpr int kPointerCustom = 99;

    GameState();
    virtual ~GameState();
    GameState(const GameState &) = delete;
    GameState &operator=(const GameState &) = delete;

    // The cell labels L(0)..L(80), row by row from the top-left.
    CellLabel &L(int index) { return *m_cells.at(std::size_t(index)); }
    const CellLabel &L(int index) const { return *m_cells.at(std::size_t(index)); }

    int MousePointer() const { return m_mousePointer; }
    virtual void setMousePointer(int pointer) { m_mousePointer = pointer; }

    // Reads a colour variable the way the game does at each use: the text
    // must hold a whole number, otherwise the conversion fails.
    static bool colorValue(const QString &text, int *value);

    ProgressModel ProgressBarMake;

    // The solved grid of the current puzzle, in cell order.
    std::array<qint16, kCells> SolutionNumber {};
    // -1 while the current game came from the saved-game file, else 0.
    qint16 IsContinuedGame = 0;

    // Public variables, in their order of declaration.
    QString Difficulty;
    qint16 EnterIndex = 0;
    QString GetNumberOrder;
    QString lColorValue;
    QString lEmptyColorValue;
    QString lPieceColorValue;
    QString lNumericalTimeTrueColor;
    QVariant strFontBold;
    QVariant strShowNumberHint;
    QVariant strShowCrossHint;
    QVariant strExitAutoSave;
    QVariant strPutOnFront;
    QVariant strPieceColor;
    QVariant strShowBorder;
    QString strPlayMusic;
    QVariant strLastFinishedTime;
    QVariant strFastestTime;
    QVariant strTotalTime;
    QVariant strFinishedCount;
    QString strGrade;
    // Time stamps carry their date too, so that spans across midnight come
    // out right; the game shows and stores only their time of day.
    QDateTime timeStart;
    QDateTime timeEnd;
    QDateTime GameTimeStart;
    QDateTime GameTimeEnd;
    qint64 GameTime = 0; // milliseconds

private:
    std::array<std::unique_ptr<CellLabel>, kCells> m_cells;
    int m_mousePointer = kPointerDefault;
};
