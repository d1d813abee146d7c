// How the game feels to a player, measured from outside the real program on
// an X server of its own, its sound played by a PulseAudio server of its
// own as on a desktop: how long each action keeps the window from
// answering, the memory it holds, and what it costs while the clock runs.
// Not a test: run it by hand on a quiet machine and paste the table it
// prints into the README:
//   build/bench/vexa-feel [--dummy-audio] [rounds] [idle seconds]
// --dummy-audio plays into SDL's dummy driver instead, which leaves out
// what the sound system itself costs.
#include "FeelPlayer.h"
#include "FeelSession.h"
#include "FeelTable.h"
#include "PingProbe.h"
#include "ProcessMeter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTextStream>

namespace {

// Places in twips from the window's top-left corner, narrow layout.
constexpr int kRight = 4800 + 667;
const QPoint kStart(kRight, 1920 + 187);
const QPoint kContinue(kRight, 2380 + 187);
const QPoint kFinish(kRight, 3820 + 187);
const QPoint kMusicStop(4630 + 112, 85 + 112);
// A pixel of the note that the stop picture draws orange and the play
// picture grey.
const QPoint kMusicStopNote(4630 + 7 * 15, 85 + 4 * 15);

// Long enough for the splash's leftovers, an effect's device (closed 1.5 s
// after the last sound) and the tune's start to have come and gone.
constexpr int kSettleMs = 3000;

using Failure = FeelPlayer::Failure;

struct Samples
{
    QList<double> click, digit, cancel, save, wrongFinish, rightFinish, closeFinish, start, resume;
    QList<double> before, firstRun, cached, stopped;
    QList<double> cpuTune, cpuQuiet, wakeupsTune, wakeupsQuiet;
    // Where the wakeups come from, for whoever brings them down.
    QString threadsTune, threadsQuiet;
};

QString threadList(const ProcessMeter::Usage &usage)
{
    QStringList threads;
    for (const auto &[name, perSecond] : usage.wakeupsByThread)
        if (perSecond > 0)
            threads << QStringLiteral("%1 %2").arg(name).arg(perSecond, 0, 'f', 1);
    return threads.join(QStringLiteral(", "));
}

void say(const QString &text)
{
    FeelPlayer::say(text);
}

void pause(int msecs)
{
    FeelPlayer::pause(msecs);
}

// The first game of a fresh folder renders the tune into the cache.
void firstRun(FeelPlayer &player, Samples &s)
{
    say(QStringLiteral("memory, first run: the tune is rendered into the cache"));
    const ProcessMeter meter = player.launch();
    pause(kSettleMs);
    s.before << meter.residentMb();
    player.click(kStart);
    if (!FeelPlayer::waitFor([&] { return player.tuneCached(); }, 180000))
        throw Failure { QStringLiteral("the tune never lay complete in the cache") };
    pause(kSettleMs);
    s.firstRun << meter.residentMb();
    player.exitGame();
}

void cachedRun(FeelPlayer &player, Samples &s, int idleSeconds)
{
    say(QStringLiteral("memory and idle cost, the tune from the cache"));
    const ProcessMeter meter = player.launch();
    pause(kSettleMs);
    s.before << meter.residentMb();
    player.click(kStart);
    pause(kSettleMs);
    s.cached << meter.residentMb();
    say(QStringLiteral("  %1 s with the clock running, tune playing").arg(idleSeconds));
    const ProcessMeter::Usage tune = meter.usageOver(idleSeconds * 1000);
    s.cpuTune << tune.cpuPercent;
    s.wakeupsTune << tune.wakeupsPerSecond;
    s.threadsTune = threadList(tune);

    // The stop picture gives way to the play picture when the music stops.
    const unsigned long playing = player.pixel(kMusicStopNote);
    player.click(kMusicStop);
    if (!FeelPlayer::waitFor([&] { return player.pixel(kMusicStopNote) != playing; }, 5000))
        throw Failure { QStringLiteral("the music did not stop") };
    pause(kSettleMs);
    s.stopped << meter.residentMb();
    say(QStringLiteral("  %1 s with the clock running, music stopped").arg(idleSeconds));
    const ProcessMeter::Usage quiet = meter.usageOver(idleSeconds * 1000);
    s.cpuQuiet << quiet.cpuPercent;
    s.wakeupsQuiet << quiet.wakeupsPerSecond;
    s.threadsQuiet = threadList(quiet);
    player.exitGame();
}

// One round: a new game started after launch and saved, a few cells typed
// and one cancelled; then, after a new launch, the same game continued,
// filled in with one mistake, finished wrong and then right.
void round(FeelPlayer &player, Samples &s, FeelSession &session)
{
    ProcessMeter meter = player.launch();
    pause(kSettleMs);
    s.before << meter.residentMb();
    s.start << player.measureClick(kStart);

    // Without a save there is no overwrite question: the message that
    // shows is the one after writing.
    QFile::remove(session.file(QStringLiteral("save")));
    s.save << player.measureKey(QStringLiteral("s"), PingProbe::Modifier::Control);
    player.closeBox(QStringLiteral("Save"));
    const FeelPlayer::Puzzle puzzle = player.savedPuzzle();

    for (int k = 0; k < 3; ++k) {
        const int cell = puzzle.playerCells.at(k);
        s.click << player.measureClick(FeelPlayer::middleOf(cell));
        s.digit << player.measureKey(QString::number(puzzle.solution[std::size_t(cell)]));
        player.requireGreen(cell, QStringLiteral("a typed digit"));
    }
    const QPoint cancelled = FeelPlayer::middleOf(puzzle.playerCells.at(3));
    player.click(cancelled);
    pause(300);
    s.cancel << player.measureClick(cancelled, 3);
    player.exitGame();

    meter = player.launch();
    pause(kSettleMs);
    s.before << meter.residentMb();
    s.resume << player.measureClick(kContinue);
    const int wrong = puzzle.playerCells.last();
    for (const int cell : puzzle.playerCells) {
        const int digit = puzzle.solution[std::size_t(cell)];
        player.enter(cell, cell == wrong ? digit % 9 + 1 : digit);
    }
    pause(1000);
    s.wrongFinish << player.measureClick(kFinish);
    player.requireRed(wrong, QStringLiteral("完成 on a wrong board"));
    // The two effects of a wrong board, then the mistake put right.
    pause(1500);
    player.enter(wrong, puzzle.solution[std::size_t(wrong)]);
    pause(1000);
    s.rightFinish << player.measureClick(kFinish);
    s.closeFinish << player.closeBox(QStringLiteral("the finish message"));
    pause(1000);
    player.exitGame();
}

FeelTable tableOf(const Samples &s)
{
    using Unit = FeelTable::Unit;
    FeelTable table;
    // Only the moves a player makes many times a game have a target; the
    // others are shown for what they are (a file written, a box shown, the
    // bank opened) with no target.
    const auto block = [&table](const QString &figure, const QList<double> &samples, const QString &earlier,
                           double target = 0) {
        FeelTable::Row row;
        row.figure = figure;
        row.unit = Unit::Milliseconds;
        row.samples = samples;
        row.target = target;
        row.earlier = earlier;
        table.add(row);
    };
    block(
        QStringLiteral("window blocked by a click on an empty cell"), s.click, QStringLiteral("186 ms"), 16);
    block(QStringLiteral("… by a typed digit"), s.digit, QStringLiteral("77 ms"), 16);
    block(QStringLiteral("… by a right-click cancel"), s.cancel, QStringLiteral("230 ms"), 16);
    block(QStringLiteral("… by Save (Ctrl+S), until its message shows"), s.save, QStringLiteral("–"));
    block(QStringLiteral("… by 完成 on a wrong board"), s.wrongFinish, QStringLiteral("1,272 ms"), 16);
    block(QStringLiteral("… by 完成 on a right board, until its message shows"), s.rightFinish,
        QStringLiteral("–"));
    block(QStringLiteral("… by closing that message (its effect, the window loaded afresh)"), s.closeFinish,
        QStringLiteral("–"));
    block(QStringLiteral("… by Start, the first game after launch"), s.start, QStringLiteral("–"));
    block(QStringLiteral("… by Continue, after launch"), s.resume, QStringLiteral("–"));

    const auto row
        = [&table](const QString &figure, Unit unit, const QList<double> &samples, double target,
              const QString &earlier, const QString &gnome, const QString &solo, const QString &ksudoku) {
              table.add({ figure, unit, samples, target, earlier, gnome, solo, ksudoku });
          };
    row(QStringLiteral("resident memory before a game"), Unit::Megabytes, s.before, 34,
        QStringLiteral("46 MB"), QStringLiteral("37.8 MB"), QStringLiteral("27.4 MB"),
        QStringLiteral("113 MB"));
    row(QStringLiteral("resident memory in a game, tune playing, first run (tune just rendered)"),
        Unit::Megabytes, s.firstRun, 36, QStringLiteral("68–71 MB"), QStringLiteral("38.8 MB"),
        QStringLiteral("27.5 MB"), QStringLiteral("115 MB"));
    row(QStringLiteral("resident memory in a game, tune playing from the cache"), Unit::Megabytes, s.cached,
        36, QStringLiteral("68–71 MB"), QStringLiteral("38.8 MB"), QStringLiteral("27.5 MB"),
        QStringLiteral("115 MB"));
    // No figure of its own: stopping the music should leave no more than a
    // game with music may hold.
    row(QStringLiteral("resident memory in a game after the music stops"), Unit::Megabytes, s.stopped, 36,
        QStringLiteral("–"), QStringLiteral("–"), QStringLiteral("–"), QStringLiteral("–"));
    row(QStringLiteral("CPU with the clock running, tune playing"), Unit::Percent, s.cpuTune, 0.5,
        QStringLiteral("2.3 %"), QStringLiteral("0.10 %"), QStringLiteral("0.00 %"),
        QStringLiteral("0.00 %"));
    row(QStringLiteral("CPU with the clock running, music stopped"), Unit::Percent, s.cpuQuiet, 0.5,
        QStringLiteral("–"), QStringLiteral("–"), QStringLiteral("–"), QStringLiteral("–"));
    row(QStringLiteral("wakeups a second, tune playing"), Unit::PerSecond, s.wakeupsTune, 15,
        QStringLiteral("35"), QStringLiteral("1.8"), QStringLiteral("0"), QStringLiteral("0"));
    row(QStringLiteral("wakeups a second, no sound playing"), Unit::PerSecond, s.wakeupsQuiet, 12,
        QStringLiteral("34.5"), QStringLiteral("1.8"), QStringLiteral("0"), QStringLiteral("0"));
    return table;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList numbers = QCoreApplication::arguments().mid(1);
    const bool dummyAudio = numbers.removeAll(QStringLiteral("--dummy-audio")) > 0;
    const int rounds = numbers.size() > 0 ? std::max(1, numbers.at(0).toInt()) : 5;
    const int idleSeconds = numbers.size() > 1 ? std::max(1, numbers.at(1).toInt()) : 20;

    FeelSession session { QStringLiteral(VEXA_BIN_DIR), dummyAudio };
    if (!session.error().isEmpty()) {
        say(session.error());
        return 1;
    }
    PingProbe x(session.display());
    if (!x.isOpen()) {
        say(QStringLiteral("cannot reach the X server at ") + session.display());
        return 1;
    }
    FeelPlayer player(session, x);
    Samples samples;
    try {
        firstRun(player, samples);
        cachedRun(player, samples, idleSeconds);
        for (int r = 0; r < rounds; ++r) {
            say(QStringLiteral("round %1 of %2").arg(r + 1).arg(rounds));
            round(player, samples, session);
        }
    } catch (const Failure &failure) {
        say(QStringLiteral("stopped: ") + failure.what);
        const QString shot = QDir::temp().filePath(QStringLiteral("vexa-feel-failure.png"));
        if (session.keepScreenshot(shot))
            say(QStringLiteral("the screen then: ") + shot);
        say(QStringLiteral("the game's output ends with:\n") + session.gameLogTail());
        return 1;
    }

    const FeelTable table = tableOf(samples);
    QTextStream out(stdout);
    table.printDetails(out);
    out << "wakeups a second by thread, tune playing: " << samples.threadsTune << '\n'
        << "wakeups a second by thread, no sound playing: " << samples.threadsQuiet << "\n\n";
    table.printMarkdown(out);
    out << '\n';
    table.printMissed(out);
    return 0;
}
