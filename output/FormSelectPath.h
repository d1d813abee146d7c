#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

class DirListBox;
class GameState;
class QComboBox;
class QPushButton;

// Asks for the folder that the picture of the board goes into. It stays
// on top and keeps the main window disabled while it is open, without
// blocking; confirming saves the picture as the window closes.
class FormSelectPath : public QWidget
{
    Q_OBJECT
public:
    // Client area in twips.
    static constexpr int kWidth = 4695;
    static constexpr int kHeight = 4320;

    // `mainWindow` may be null: then nothing is disabled or pictured.
    FormSelectPath(GameState &form, QWidget *mainWindow);

    // The main window's Save Picture command: loads the window and shows it.
    // The window deletes itself when it closes.
    static FormSelectPath *menuGame_SavePicture_Click(GameState &form, QWidget *mainWindow);

    void Form_Load();

    // The folder last confirmed, kept for the rest of the run.
    static QString strSavePath;
    // Whether this window was closed by confirming a folder.
    bool OK = false;

    QComboBox *Drive = nullptr;
    DirListBox *Dir = nullptr;

    // The roots of the mounted file systems, "/" first, each once.
    static QStringList driveRoots();

public slots:
    void Drive_Change();
    void cmdEnter_Click();
    void cmdCancel_Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QPushButton *addButton(const QString &name, const QString &caption, int left);

    GameState &m_form;
    QPointer<QWidget> m_main;
    bool m_hasMain = false;
    QPushButton *cmdEnter = nullptr;
    QPushButton *cmdCancel = nullptr;
    bool m_unloaded = false;
};
