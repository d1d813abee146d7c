#pragma once

#include "PrintQueue.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>

class BoardCopy;
class CellLabel;
class CellLabelView;
class GameState;
class QCheckBox;
class QDateTime;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;

// The print window: a preview of the board the way it goes onto paper,
// with options for the logo, the date, a border and the shaded boxes. The
// main window is hidden while it is open and comes back when it closes.
// Print hands the preview to a PrintJob.
class FormPrint : public QWidget
{
    Q_OBJECT
public:
    // Client area in twips.
    static constexpr int kWidth = 7095;
    static constexpr int kHeight = 6345;
    static constexpr int kCells = 81;

    // `mainWindow` may be null; then there is nothing to hide or centre on.
    FormPrint(GameState &form, QWidget *mainWindow);
    ~FormPrint() override;

    // The main window's Print command: loads the window and shows it
    // without blocking. The window deletes itself when it closes.
    static FormPrint *menuGame_Print_Click(GameState &form, QWidget *mainWindow);

    // Centres the window on the main window, hides the main window and
    // copies the board into the preview.
    void Form_Load();

    // The preview's own cells L(0)..L(80).
    CellLabel &L(int index) const;
    CellLabelView *cellView(int index) const;

    // Prints into this PDF file instead of on the default printer; an empty
    // name goes back to the printer. Lets tests print without a printer.
    static void setPdfOutput(const QString &fileName);

    // The printer's name, driver and port, one item a line; empty without
    // a printer.
    static QString printerText(const std::optional<PrintQueue::Printer> &printer);
    // "2006年 03月 07日 14:05:09".
    static QString timeText(const QDateTime &when);

public slots:
    void chkLogo_Click();
    void chkTime_Click();
    void chkBorder_Click();
    void chkColorPiece_Click();
    void cmdPrint_Click();
    void cmdClose_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    QCheckBox *addCheckBox(const QString &name, const QString &caption, int top, bool checked);
    QPushButton *addButton(const QString &name, const QString &caption, int top);
    void centreOnMainWindow();
    void keepOnScreen();
    // Hides everything but the preview, or shows it all again.
    void setPrintLayout(bool printing);

    GameState &m_form;
    QPointer<QWidget> m_main;
    // The printer shown in labelPrinter, which the window prints on.
    std::optional<PrintQueue::Printer> m_printer;
    // From the load until the window is first active or pressed: the window
    // manager may still be putting its frame round it.
    bool m_placing = false;

    QFrame *Frame2 = nullptr;
    QLabel *m_frame2Caption = nullptr;
    QLabel *picLogo = nullptr;
    QLabel *labelTitle = nullptr;
    QLabel *labelTime = nullptr;
    QFrame *Shape1 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QCheckBox *chkLogo = nullptr;
    QCheckBox *chkTime = nullptr;
    QCheckBox *chkBorder = nullptr;
    QCheckBox *chkColorPiece = nullptr;
    QLabel *labelPrinter = nullptr;
    QPushButton *cmdPrint = nullptr;
    QPushButton *cmdClose = nullptr;
    std::unique_ptr<BoardCopy> m_board;
};
