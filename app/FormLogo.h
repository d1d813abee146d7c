#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>
#include <optional>

class QLabel;
class SingleInstance;

// The splash: the start-up picture with the motto and the version. Its load
// makes sure no other copy runs, loads the hidden main window, then fades
// itself in and hands over to the main window once fully shown.
class FormLogo : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kPictureWidth = 360;
    static constexpr int kPictureHeight = 240;

    // The lock is held by the caller for the life of the program: the
    // splash goes long before the game ends.
    explicit FormLogo(SingleInstance &instance, QWidget *parent = nullptr);
    ~FormLogo() override;

    // False when another copy of the game runs: the caller then ends at
    // once, before any window shows. Otherwise the main window (`formMain`)
    // exists, is loaded and hidden; it outlives the splash and whoever ends
    // the program deletes it.
    bool Form_Load();

    // Closes and deletes the splash if it still exists; runs when the main
    // window it loaded becomes active.
    static void unloadSplash();
    // The splash while it exists, else null.
    static FormLogo *current();

    qint16 alphaValue() const { return AlphaValue; }
    bool isFading() const { return m_fading; }
    // The opacity last handed to the window, 0 to 255; -1 while none was.
    int opacityByte() const { return m_opacityByte; }
    // How long the main window's Form_Load took.
    qint64 formLoadNsecs() const { return m_formLoadNsecs; }

    // One fade step: the next AlphaValue, and the timer's interval for it.
    static qint16 nextAlpha(qint16 alpha);
    static int intervalFor(qint16 alpha, int interval);
    static QString versionCaption();

    // Stands in for the running system's name, so that tests can take the
    // path of the systems that cannot fade a window.
    void forceSystemName(const QString &name) { m_systemName = name; }

    QLabel *Picture1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *labelVer = nullptr;
    QTimer Timer1;

public slots:
    void Timer1_Timer();
    void Picture1_Click();

signals:
    // The picture is being drawn for the first time: the player can see
    // the splash from now on.
    void firstPainted();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void setOpacityByte(int value);
    void showMainWindow(bool focus);
    QString systemName() const;

    SingleInstance &m_instance;
    qint16 AlphaValue = 0;
    bool m_fading = false;
    bool m_painted = false;
    int m_opacityByte = -1;
    qint64 m_formLoadNsecs = 0;
    std::optional<QString> m_systemName;
};
