#pragma once

#include "GameState.h"
#include "ModuleGetNumber.h"

#include <QWidget>
#include <array>

class CellLabelView;
class QGroupBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QRadioButton;
class QTimer;
class SkinButton;

// The main window: the board of 81 cells, the column of commands on the
// right and the game state they show. Its one instance is `formMain`.
class FormMain : public QWidget, public GameState
{
    Q_OBJECT
public:
    // Board geometry in twips.
    static constexpr std::array<int, 9> kColumnLeft { 150, 650, 1140, 1650, 2150, 2640, 3150, 3650, 4145 };
    static constexpr std::array<int, 9> kRowTop { 535, 1030, 1530, 2040, 2540, 3030, 3540, 4040, 4530 };
    static constexpr int kCellSize = 515;

    explicit FormMain(QWidget *parent = nullptr);
    ~FormMain() override;

    void setMousePointer(int pointer) override;

    // The view of cell i (the model is L(i)).
    CellLabelView *cellView(int index) const { return m_cellViews.at(std::size_t(index)); }

    ModuleGetNumber moduleGetNumber { *this };

    // Shared controls.
    QLineEdit *txtEnter = nullptr;
    std::array<QLabel *, 9> Label1 {};
    QLabel *labelTime = nullptr;
    QProgressBar *progressBar = nullptr; // shows ProgressBarMake
    QTimer *Timer1 = nullptr;
    QTimer *Timer2 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QFrame *Frame2 = nullptr;
    QRadioButton *optEasy = nullptr;
    QRadioButton *optMedium = nullptr;
    QRadioButton *optHard = nullptr;
    SkinButton *cmdStart = nullptr;
    SkinButton *cmdContinue = nullptr;
    SkinButton *cmdSave = nullptr;
    SkinButton *cmdNext = nullptr;
    SkinButton *cmdFinished = nullptr;
    SkinButton *cmdExit = nullptr;

private:
    void createControls();

    std::array<CellLabelView *, kCells> m_cellViews {};
};

// The one main window of the program, or null while none exists.
extern FormMain *formMain;
