#pragma once

#include <QDialog>
#include <QPointer>
#include <QVariant>

class DLControl;
class QLabel;
class QProgressBar;
class QPushButton;

// The update check: fetches the maker's version file into the program
// folder, compares its first line with this program's version and offers
// the download page when a newer one is published. The main window is
// disabled while the dialog lives.
class FormUpdate : public QDialog
{
    Q_OBJECT
public:
    // Client area in twips.
    static constexpr int kWidth = 3255;
    static constexpr int kHeight = 1695;

    // Not a child of the main window: disabling that would disable this
    // one too.
    explicit FormUpdate(QWidget *mainWindow);
    ~FormUpdate() override;

    // Creates, loads and shows the dialog without blocking; an open one is
    // raised instead.
    static FormUpdate *open(QWidget *mainWindow);
    // The dialog that is open, or null.
    static FormUpdate *instance();

    void Form_Load();

    QLabel *labelState = nullptr;
    DLControl *DLControl1 = nullptr;
    QProgressBar *progressBar = nullptr;
    QPushButton *cmdReStart = nullptr;
    QPushButton *cmdCancel = nullptr;

    // The address of the version file, stored when the dialog loads.
    const QString &versionAddress() const { return m_address; }

public slots:
    void cmdReStart_Click();
    void cmdCancel_Click();
    void DLControl1_Connecting(const QVariant &address);
    void DLControl1_Verifying();
    void DLControl1_Finished(qint32 value);
    void DLControl1_Failed(qint32 code, const QVariant &detail);
    void DLControl1_Disconnected();
    void DLControl1_Reconnecting(const QVariant &address);
    void DLControl1_Progress(qint64 received, qint64 total);

    // Esc: the cancel button's click.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // The status text, centred anew over the dialog for every text.
    void setState(const QString &text);
    void unload();
    // Gives the main window back to the player; once.
    void releaseMainWindow();

    QPointer<QWidget> m_mainWindow;
    QString m_address;
    bool m_released = false;
};
