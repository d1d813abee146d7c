#include "PingProbe.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <algorithm>
#include <cstring>
#include <ctime>
#include <strings.h>
#include <unistd.h>
#include <vector>

namespace {

double nowMs()
{
    timespec t {};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Windows vanish while they are looked at (a message box closing); the
// default handler would end the probe for that.
int ignoreErrors(Display *, XErrorEvent *)
{
    return 0;
}

int px(int twips)
{
    return (twips * 2 + 15) / 30;
}

bool isGame(Display *display, Window window)
{
    XClassHint hint {};
    if (!XGetClassHint(display, window, &hint))
        return false;
    const auto named = [](const char *text) { return text && strcasecmp(text, "vexa-sudoku") == 0; };
    const bool game = named(hint.res_name) || named(hint.res_class);
    if (hint.res_name)
        XFree(hint.res_name);
    if (hint.res_class)
        XFree(hint.res_class);
    return game;
}

struct Found
{
    Window window;
    int width;
    int height;
};

// The window manager puts each client into a frame of its own, so the
// game's windows are found at any depth below the root.
void collectGameWindows(Display *display, Window parent, std::vector<Found> &found)
{
    Window root = 0;
    Window up = 0;
    Window *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, parent, &root, &up, &children, &count))
        return;
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes a {};
        if (!XGetWindowAttributes(display, children[i], &a) || a.map_state != IsViewable)
            continue;
        if (isGame(display, children[i]))
            found.push_back({ children[i], a.width, a.height });
        collectGameWindows(display, children[i], found);
    }
    if (children)
        XFree(children);
}

} // namespace

struct PingProbe::Connection
{
    Display *display = nullptr;
    Window root = 0;
    Atom protocols = 0;
    Atom ping = 0;
};

PingProbe::PingProbe(const QString &display)
    : m_x(std::make_unique<Connection>())
{
    m_x->display = XOpenDisplay(display.toLocal8Bit().constData());
    if (!m_x->display)
        return;
    XSetErrorHandler(ignoreErrors);
    m_x->root = DefaultRootWindow(m_x->display);
    m_x->protocols = XInternAtom(m_x->display, "WM_PROTOCOLS", False);
    m_x->ping = XInternAtom(m_x->display, "_NET_WM_PING", False);
    // Qt sends its answer to the root window, for whoever selected its
    // structure events there.
    XSelectInput(m_x->display, m_x->root, StructureNotifyMask);
    XSync(m_x->display, False);
}

PingProbe::~PingProbe()
{
    if (m_x->display)
        XCloseDisplay(m_x->display);
}

bool PingProbe::isOpen() const
{
    return m_x->display != nullptr;
}

QList<unsigned long> PingProbe::gameWindows() const
{
    std::vector<Found> found;
    collectGameWindows(m_x->display, m_x->root, found);
    QList<unsigned long> windows;
    for (const Found &f : found)
        windows << f.window;
    return windows;
}

unsigned long PingProbe::gameWindowOfSize(const QList<QSize> &sizes) const
{
    std::vector<Found> found;
    collectGameWindows(m_x->display, m_x->root, found);
    for (const Found &f : found)
        if (sizes.contains(QSize(f.width, f.height)))
            return f.window;
    return 0;
}

QPoint PingProbe::origin() const
{
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(m_x->display, m_window, m_x->root, 0, 0, &x, &y, &child);
    return { x, y };
}

void PingProbe::moveTo(const QPoint &twips)
{
    const QPoint at = origin() + QPoint(px(twips.x()), px(twips.y()));
    XTestFakeMotionEvent(m_x->display, -1, at.x(), at.y(), 0);
    XSync(m_x->display, False);
    // The motion is handled by the game before the press that follows, so
    // that its hover work is not counted with the press.
    usleep(30000);
}

void PingProbe::click(int button)
{
    XTestFakeButtonEvent(m_x->display, unsigned(button), True, 0);
    XTestFakeButtonEvent(m_x->display, unsigned(button), False, 0);
}

void PingProbe::key(const QString &keysym, Modifier modifier)
{
    Display *d = m_x->display;
    const KeyCode code = XKeysymToKeycode(d, XStringToKeysym(keysym.toLatin1().constData()));
    KeyCode held = 0;
    if (modifier == Modifier::Control)
        held = XKeysymToKeycode(d, XK_Control_L);
    else if (modifier == Modifier::Alt)
        held = XKeysymToKeycode(d, XK_Alt_L);
    if (held)
        XTestFakeKeyEvent(d, held, True, 0);
    XTestFakeKeyEvent(d, code, True, 0);
    XTestFakeKeyEvent(d, code, False, 0);
    if (held)
        XTestFakeKeyEvent(d, held, False, 0);
}

void PingProbe::sync()
{
    XSync(m_x->display, False);
}

PingProbe::Block PingProbe::measure(const std::function<void()> &queueInput, int quietMs, int limitMs)
{
    Display *d = m_x->display;
    // Answers to an earlier measure's pings are not this one's.
    while (XPending(d)) {
        XEvent e;
        XNextEvent(d, &e);
    }
    const long first = m_nextSerial;
    std::vector<double> sent; // when each ping went out; -1 once answered
    sent.reserve(std::size_t(limitMs));
    Block block;

    const double t0 = nowMs();
    queueInput();
    XFlush(d);
    double lastSend = -1e9;
    double lastSlow = t0;
    // Pings go out in order, so the oldest unanswered one is all that
    // tells whether the window is still busy.
    std::size_t oldest = 0;
    const auto sendPing = [&](double at) {
        XEvent e;
        std::memset(&e, 0, sizeof e);
        e.xclient.type = ClientMessage;
        e.xclient.window = m_window;
        e.xclient.message_type = m_x->protocols;
        e.xclient.format = 32;
        e.xclient.data.l[0] = long(m_x->ping);
        e.xclient.data.l[1] = first + long(sent.size());
        e.xclient.data.l[2] = long(m_window);
        XSendEvent(d, m_window, False, NoEventMask, &e);
        XFlush(d);
        sent.push_back(at);
        lastSend = at;
    };

    while (nowMs() - t0 < limitMs) {
        const double t = nowMs();
        if (t - lastSend >= 2.0)
            sendPing(t);
        while (XPending(d)) {
            XEvent e;
            XNextEvent(d, &e);
            if (e.type != ClientMessage || Atom(e.xclient.data.l[0]) != m_x->ping)
                continue;
            const long k = e.xclient.data.l[1] - first;
            if (k < 0 || k >= long(sent.size()) || sent[std::size_t(k)] < 0)
                continue;
            const double back = nowMs();
            const double waited = back - sent[std::size_t(k)];
            sent[std::size_t(k)] = -1;
            block.blockedMs = std::max(block.blockedMs, waited);
            // A ping answered after more than a few ms was held up by work,
            // not by the round trip.
            if (waited > 3.0)
                lastSlow = back;
        }
        while (oldest < sent.size() && sent[oldest] < 0)
            ++oldest;
        const double now = nowMs();
        const bool waiting = oldest < sent.size() && now - sent[oldest] > 5.0;
        if (!waiting && now - lastSlow > quietMs && now - t0 > quietMs)
            break;
        usleep(200);
    }
    if (oldest < sent.size() && nowMs() - sent[oldest] > 5.0) {
        block.answered = false;
        block.blockedMs = std::max(block.blockedMs, nowMs() - sent[oldest]);
    }
    m_nextSerial = first + long(sent.size()) + 1;
    return block;
}

unsigned long PingProbe::pixel(const QPoint &twips) const
{
    XImage *image = XGetImage(m_x->display, m_window, px(twips.x()), px(twips.y()), 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return ~0UL;
    const unsigned long value = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return value;
}

QList<unsigned long> PingProbe::pixels(const QRect &twips) const
{
    const int left = px(twips.left());
    const int top = px(twips.top());
    const int width = std::max(1, px(twips.right()) - left);
    const int height = std::max(1, px(twips.bottom()) - top);
    QList<unsigned long> found;
    XImage *image
        = XGetImage(m_x->display, m_window, left, top, unsigned(width), unsigned(height), AllPlanes, ZPixmap);
    if (!image)
        return found;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            found << XGetPixel(image, x, y);
    XDestroyImage(image);
    return found;
}
