#pragma once

#include <QObject>

class QSocketNotifier;

// Ends the game the ordinary way when the system asks it to (SIGTERM at a
// logout or shutdown, SIGHUP when the session goes, SIGINT from a
// terminal): the main window is closed, so the automatic save, the
// preferences and the playing time are written as after the close button.
class QuitSignals : public QObject
{
    Q_OBJECT

public:
    explicit QuitSignals(QObject *parent = nullptr);
    ~QuitSignals() override;

    // False when the signals could not be taken; they then keep their
    // default action and end the program at once.
    bool isInstalled() const { return m_notifier != nullptr; }

private:
    void received();

    QSocketNotifier *m_notifier = nullptr;
};
