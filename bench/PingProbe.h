#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>

// The game's window on an X display, driven as a player drives it (XTest
// input, so the X server delivers it as from a real mouse and keyboard) and
// timed by the window manager's liveness check: Qt answers a _NET_WM_PING
// from its event loop, so a ping waits exactly while the GUI thread is busy.
//
// One ping sent right after the input could be answered before the input is
// handled (Qt reads both off the connection and answers pings at once), so a
// stream of pings follows the input, one every 2 ms; the one that waited
// longest tells how long the window was blocked.
class PingProbe
{
public:
    enum class Modifier { None, Control, Alt };

    struct Block
    {
        // The longest a ping waited for its answer.
        double blockedMs = 0;
        // False when a ping was still unanswered when the probe gave up.
        bool answered = true;
    };

    explicit PingProbe(const QString &display);
    ~PingProbe();
    PingProbe(const PingProbe &) = delete;
    PingProbe &operator=(const PingProbe &) = delete;

    bool isOpen() const;

    // The viewable windows of the game (its WM_CLASS), all or those of a
    // given client size.
    QList<unsigned long> gameWindows() const;
    unsigned long gameWindowOfSize(const QList<QSize> &sizes) const;

    // The window that input is aimed at and pings are sent to.
    void setWindow(unsigned long window) { m_window = window; }
    unsigned long window() const { return m_window; }
    // Its client area's top-left corner on the screen.
    QPoint origin() const;

    // The pointer to a place given in twips from the window's top-left
    // corner (15 twips a pixel), and there until the server has moved it.
    void moveTo(const QPoint &twips);
    // Input, sent on the next sync or measure.
    void click(int button = 1);
    void key(const QString &keysym, Modifier modifier = Modifier::None);
    // Sends what is queued and waits until the server has handled it.
    void sync();

    // Sends the input `queueInput` queues, then pings until the window has
    // answered promptly for `quietMs` in a row (at most `limitMs`).
    Block measure(const std::function<void()> &queueInput, int quietMs = 250, int limitMs = 8000);

    // The colour of one pixel of the window, in twips from its corner, as
    // 0xRRGGBB on the server's true-colour screen.
    unsigned long pixel(const QPoint &twips) const;
    // The colours of the pixels of a rectangle in twips, row by row.
    QList<unsigned long> pixels(const QRect &twips) const;

private:
    struct Connection;
    std::unique_ptr<Connection> m_x;
    unsigned long m_window = 0;
    long m_nextSerial = 1;
};
