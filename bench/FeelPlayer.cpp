#include "FeelPlayer.h"

#include "AdoError.h"
#include "AppPath.h"
#include "BoardColors.h"
#include "BoardGeometry.h"
#include "CellLabel.h"
#include "SaveFile.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QTextStream>
#include <QThread>

namespace {

// The main window, narrow or wide; the splash is smaller.
const QList<QSize> kMainWindowSizes { QSize(421, 349), QSize(469, 349) };
// A cell a quarter of a second with the pointer's move: the click's and
// the digit's effects end before the next cell's begin, as for a quick
// player.
constexpr int kFillPaceMs = 170;
constexpr int kClickToKeyMs = 50;

} // namespace

FeelPlayer::FeelPlayer(FeelSession &session, PingProbe &x)
    : m_session(session)
    , m_x(x)
{ }

void FeelPlayer::say(const QString &text)
{
    QTextStream(stderr) << text << Qt::endl;
}

void FeelPlayer::pause(int msecs)
{
    QThread::msleep(ulong(msecs));
}

bool FeelPlayer::waitFor(const std::function<bool()> &condition, int msecs)
{
    QDeadlineTimer deadline(msecs);
    while (!deadline.hasExpired()) {
        if (condition())
            return true;
        pause(50);
    }
    return condition();
}

QPoint FeelPlayer::middleOf(int cell)
{
    return { BoardGeometry::kColumnLeft[std::size_t(cell % 9)] + BoardGeometry::kCellSize / 2,
        BoardGeometry::kRowTop[std::size_t(cell / 9)] + BoardGeometry::kCellSize / 2 };
}

ProcessMeter FeelPlayer::launch()
{
    if (!m_session.startGame())
        throw Failure { QStringLiteral("the game did not start") };
    unsigned long window = 0;
    if (!waitFor([&] { return (window = m_x.gameWindowOfSize(kMainWindowSizes)) != 0; }, 30000))
        throw Failure { QStringLiteral("the main window did not show") };
    m_x.setWindow(window);
    // The splash hands over and unloads itself on the main window's
    // activation; clicks before then may land on it.
    if (!waitFor([&] { return m_x.gameWindows().size() == 1; }, 10000))
        throw Failure { QStringLiteral("the splash did not go") };
    return ProcessMeter(m_session.gamePid());
}

void FeelPlayer::exitGame()
{
    m_x.key(QStringLiteral("F4"), PingProbe::Modifier::Control);
    m_x.sync();
    if (!m_session.waitForGameExit(15000)) {
        m_session.killGame();
        throw Failure { QStringLiteral("the game did not end on Ctrl+F4") };
    }
}

// A block that never ended is reported as the time the probe waited, and
// said so.
double FeelPlayer::blocked(const QString &action, const PingProbe::Block &block) const
{
    if (!block.answered)
        say(QStringLiteral("  %1: the window had not answered after %2 ms").arg(action).arg(block.blockedMs));
    return block.blockedMs;
}

double FeelPlayer::measureClick(const QPoint &twips, int button)
{
    m_x.moveTo(twips);
    return blocked(QStringLiteral("click"), m_x.measure([&] { m_x.click(button); }));
}

double FeelPlayer::measureKey(const QString &keysym, PingProbe::Modifier modifier)
{
    return blocked(keysym, m_x.measure([&] { m_x.key(keysym, modifier); }));
}

void FeelPlayer::click(const QPoint &twips, int button)
{
    m_x.moveTo(twips);
    m_x.click(button);
    m_x.sync();
}

void FeelPlayer::enter(int cell, int digit)
{
    m_x.moveTo(middleOf(cell));
    m_x.click();
    m_x.sync();
    // The window manager holds a click until it has seen it (it raises and
    // focuses on click) and lets it through a few ms later; a key sent at
    // once would reach the game before the click.
    pause(kClickToKeyMs);
    m_x.key(QString::number(digit));
    m_x.sync();
    pause(kFillPaceMs);
}

double FeelPlayer::closeBox(const QString &what)
{
    if (!waitFor([&] { return m_x.gameWindows().size() > 1; }, 10000))
        throw Failure { what + QStringLiteral(": no message showed") };
    // The window manager gives the box the focus once it is mapped.
    pause(300);
    const double closing = measureKey(QStringLiteral("Return"));
    if (!waitFor([&] { return m_x.gameWindows().size() == 1; }, 10000))
        throw Failure { what + QStringLiteral(": the message did not close") };
    return closing;
}

FeelPlayer::Puzzle FeelPlayer::savedPuzzle() const
{
    QString why;
    const std::optional<SaveFile::Contents> saved
        = SaveFile::read(m_session.file(QStringLiteral("save")), &why);
    if (!saved)
        throw Failure { QStringLiteral("the save cannot be read: ") + why };
    Puzzle p;
    p.id = saved->id;
    for (int i = 0; i < GameState::kCells; ++i)
        if (saved->color[std::size_t(i)] != BoardColors::kGiven)
            p.playerCells << i;
    AppPath::setFolder(m_session.programFolder());
    try {
        GameState state;
        state.bank.OpenSavedPuzzle(p.id);
        for (int i = 0; i < GameState::kCells; ++i)
            p.solution[std::size_t(i)] = state.bank.rsProblem.Fields(QStringLiteral("l(%1)").arg(i)).toInt();
        state.bank.CloseBank();
    } catch (const AdoError &error) {
        AppPath::reset();
        throw Failure {
            QStringLiteral("the bank does not give puzzle %1: %2").arg(p.id, error.description())
        };
    }
    AppPath::reset();
    if (p.playerCells.size() < 5)
        throw Failure { QStringLiteral("puzzle %1 has too few empty cells").arg(p.id) };
    return p;
}

bool FeelPlayer::tuneCached() const
{
    // Complete once a wave file lies in the cache and no part file is
    // growing beside it.
    const QDir cache(m_session.cacheFolder());
    return !cache.entryList({ QStringLiteral("*.wav") }, QDir::Files).isEmpty()
        && cache.entryList({ QStringLiteral("*.part") }, QDir::Files).isEmpty();
}

// Inside the cell's square, a few pixels in from its edges.
int FeelPlayer::pixelsInCell(int cell, const std::function<bool(int red, int green, int blue)> &test) const
{
    const QPoint corner(
        BoardGeometry::kColumnLeft[std::size_t(cell % 9)], BoardGeometry::kRowTop[std::size_t(cell / 9)]);
    const int inset = 4 * 15;
    const QRect square(corner + QPoint(inset, inset),
        QSize(BoardGeometry::kCellSize - 2 * inset, BoardGeometry::kCellSize - 2 * inset));
    int count = 0;
    for (const unsigned long rgb : m_x.pixels(square))
        count += test(int(rgb >> 16 & 0xFF), int(rgb >> 8 & 0xFF), int(rgb & 0xFF)) ? 1 : 0;
    return count;
}

void FeelPlayer::requireGreen(int cell, const QString &step) const
{
    const bool shown = waitFor(
        [&] {
            return pixelsInCell(cell, [](int r, int g, int b) { return g > 140 && r < 130 && b < 90; }) > 10;
        },
        3000);
    if (!shown)
        throw Failure { QStringLiteral("%1: cell %2 shows no green digit").arg(step).arg(cell) };
}

void FeelPlayer::requireRed(int cell, const QString &step) const
{
    const bool shown = waitFor(
        [&] {
            return pixelsInCell(cell, [](int r, int g, int b) { return r > 180 && g < 90 && b < 90; }) > 10;
        },
        3000);
    if (!shown)
        throw Failure { QStringLiteral("%1: cell %2 shows no red digit").arg(step).arg(cell) };
}
