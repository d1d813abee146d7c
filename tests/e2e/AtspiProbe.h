#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class XSession;

// The game as a screen reader finds it: atspi_probe.py run on the
// session's AT-SPI bus, its answers parsed. Objects are read afresh on
// every call; name and focus changes are heard by a watcher that runs
// while the probe lives.
class AtspiProbe
{
public:
    struct Node
    {
        QString name;
        QString role;
        QStringList states;
        QStringList actions;
        QRect extents;
        int depth = 0;

        bool has(const QString &state) const { return states.contains(state); }
    };
    using Tree = QList<Node>;

    explicit AtspiProbe(const XSession &session);
    ~AtspiProbe();

    // A Python 3 that can import pyatspi, or nothing.
    static QString interpreter();

    // Every object of the game's application, the application first;
    // empty when it is not on the bus (yet).
    Tree tree() const;
    // Reads the tree until `condition` holds of it or the time is up, and
    // returns the last one read.
    Tree waitForTree(const std::function<bool(const Tree &)> &condition, int msecs = 20000) const;
    // The Press action of the push button with this name.
    bool press(const QString &name) const;

    // Starts hearing the game's events; true once the watcher listens.
    bool watch();
    // Forgets the events heard so far.
    void forgetEvents();
    // Waits for an event `condition` accepts among those heard since the
    // last forgetEvents().
    bool waitForEvent(const std::function<bool(const QJsonObject &)> &condition, int msecs = 15000);
    // How many of the events heard since the last forgetEvents() `condition`
    // accepts.
    qsizetype countEvents(const std::function<bool(const QJsonObject &)> &condition) const;
    // The last events heard, for the reader of a failed test.
    QString recentEvents(int count = 15) const;
    // What went wrong with the last call, for the same reader.
    QString lastError() const { return m_error; }

private:
    int run(const QStringList &args, QByteArray *output) const;
    void readEvents();

    const XSession &m_session;
    qint64 m_pid;
    std::unique_ptr<QProcess> m_watcher;
    QList<QJsonObject> m_events;
    mutable QString m_error;
};
