#include "AppPath.h"
#include "BoardGeometry.h"
#include "GameState.h"
#include "XSession.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtTest>
#include <functional>
#include <sys/stat.h>

namespace {

// Places in twips from the window's top-left corner, narrow layout.
constexpr int kRight = 4800 + 667;
const QPoint kStart(kRight, 1920 + 187);
const QPoint kContinue(kRight, 2380 + 187);
const QPoint kFinish(kRight, 3820 + 187);
const QPoint kExit(kRight, 4660 + 187);
const QPoint kMenuButton(900, 195);
const QPoint kTitle(3000, 195);
const QPoint kPin(4900 + 112, 85 + 112);

const QByteArray kDefaultSetting
    = "[ShowNumberHint]\r\nFalse\r\n\r\n[ShowCrossHint]\r\nTrue\r\n\r\n[AutoSave]\r\n"
      "False\r\n\r\n[PutOnFront]\r\nTrue\r\n\r\n[PieceColor]\r\nTrue\r\n\r\n"
      "[ShowBorder]\r\nFalse\r\n\r\n[FontBold]\r\nFalse\r\n";

struct Puzzle
{
    QString id;
    std::array<int, 81> solution {};
    QList<int> playerCells;
};

// The puzzle on the board, as the game's own save file names it, with its
// solution from the program's bank.
Puzzle readSavedPuzzle(const XSession &x)
{
    Puzzle p;
    const QList<QByteArray> lines = x.readFile(QStringLiteral("save")).split('\n');
    if (lines.size() < 84)
        return p;
    p.id = QString::fromLatin1(lines.at(0)).trimmed();
    for (int i = 0; i < 81; ++i)
        if (lines.at(3 + i).trimmed().endsWith(",50232"))
            p.playerCells << i;
    AppPath::setFolder(x.programFolder());
    GameState state;
    state.bank.OpenSavedPuzzle(p.id);
    for (int i = 0; i < 81; ++i)
        p.solution[std::size_t(i)] = state.bank.rsProblem.Fields(QStringLiteral("l(%1)").arg(i)).toInt();
    state.bank.CloseBank();
    AppPath::reset();
    return p;
}

// Presses a key that closes the box or menu in front and waits until the
// main window is the only one left.
bool closeByKey(XSession &x, const QString &key)
{
    x.key(key);
    return XSession::waitFor([&] { return x.visibleWindows() == 1; });
}

// Opens the menu with a click on its button (which sounds on the press).
bool openMenuByMouse(XSession &x)
{
    x.click(kMenuButton.x(), kMenuButton.y());
    return x.waitForDialog();
}

// Saves by the shortcut and answers the game's messages; the save file
// then names the puzzle on the board.
bool saveByShortcut(XSession &x, bool overwrite)
{
    x.key(QStringLiteral("ctrl+s"));
    if (!x.waitForDialog())
        return false;
    if (overwrite) {
        x.key(QStringLiteral("alt+y"));
        if (!x.waitForDialog())
            return false;
    }
    return closeByKey(x, QStringLiteral("Return"));
}

// Waits for a message box with `title`, closes it with Return and waits
// until it has gone.
bool dismissBox(XSession &x, const QString &title)
{
    return x.waitForDialog() && x.property(x.dialog(), QStringLiteral("WM_NAME")).contains(title)
        && closeByKey(x, QStringLiteral("Return"));
}

bool pixelLike(const QImage &image, const QImage &expected, const QPoint &at)
{
    // The button's middle pixel against the same pixel of its skin image.
    const QColor shown = image.pixelColor(at);
    const QColor want = expected.pixelColor(expected.width() / 2, expected.height() / 2);
    return qAbs(shown.red() - want.red()) < 12 && qAbs(shown.green() - want.green()) < 12
        && qAbs(shown.blue() - want.blue()) < 12;
}

// The pixels inside a cell's square, a few pixels in from its edges, that
// pass a test of their colour.
int pixelsInCell(const QImage &shot, const CellLabel &cell, const std::function<bool(const QColor &)> &test)
{
    const QRect square((cell.Left() * 2 + 15) / 30, (cell.Top() * 2 + 15) / 30, 34, 34);
    int count = 0;
    for (int yy = square.top() + 3; yy < square.bottom() - 2; ++yy)
        for (int xx = square.left() + 3; xx < square.right() - 2; ++xx)
            count += test(shot.pixelColor(xx, yy)) ? 1 : 0;
    return count;
}

bool startButtonShows(XSession &x, const QString &image)
{
    const QImage skin = QImageReader(x.file(QStringLiteral("interface/black/") + image)).read();
    const QPoint middle((kStart.x() * 2 + 15) / 30, (kStart.y() * 2 + 15) / 30);
    return XSession::waitFor([&] { return pixelLike(x.windowShot(), skin, middle); }, 5000);
}

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<XSession> x;

private slots:
    void init()
    {
        x = std::make_unique<XSession>();
        QVERIFY2(x->isReady(), "no X server");
    }

    void cleanup()
    {
        if (x)
            x->keepScreenshotIfFailed();
        x.reset();
    }

    void firstStartWritesDefaultFiles()
    {
        QVERIFY(x->launch());
        QVERIFY(x->property(QStringLiteral("_NET_WM_STATE")).contains(QLatin1String("_NET_WM_STATE_ABOVE")));
        x->click(kExit.x(), kExit.y());
        QVERIFY(x->waitForExit());
        QCOMPARE(x->readFile(QStringLiteral("setting")), kDefaultSetting);
        const QList<QByteArray> grade = x->readFile(QStringLiteral("grade")).split('\n');
        QCOMPARE(grade.size(), 15);
        QCOMPARE(grade.at(1), QByteArray("00:00:00\r"));
        QCOMPARE(grade.at(4), QByteArray("00:00:00\r"));
        // The run's few seconds were added to the total.
        QVERIFY2(grade.at(7).startsWith("00:00:"), grade.at(7).constData());
        QCOMPARE(grade.at(10), QByteArray("0\r"));
        QCOMPARE(grade.at(13), QByteArray("\xA1\xEF\r"));
        QVERIFY(!QFile::exists(x->file(QStringLiteral("save"))));
    }

    void wholeGameToACorrectFinish()
    {
        QVERIFY(x->launch());
        x->click(kStart.x(), kStart.y());
        QVERIFY(startButtonShows(*x, QStringLiteral("start3")));
        QVERIFY(saveByShortcut(*x, false));
        const Puzzle puzzle = readSavedPuzzle(*x);
        QVERIFY(!puzzle.playerCells.isEmpty());
        for (const int cell : puzzle.playerCells)
            x->enterDigit(cell, puzzle.solution[std::size_t(cell)]);
        x->click(kFinish.x(), kFinish.y());
        QVERIFY(x->waitForDialog(15000));
        x->key(QStringLiteral("Return"));
        QVERIFY(XSession::waitFor(
            [&] { return x->readFile(QStringLiteral("grade")).contains("[FinishedCount]\r\n 1 \r\n"); }));
        const QList<QByteArray> grade = x->readFile(QStringLiteral("grade")).split('\n');
        // The first finish is the record.
        QCOMPARE(grade.at(1), grade.at(4));
        QVERIFY(grade.at(1) != QByteArray("00:00:00\r"));
        // Back to Start, with the next puzzle on the board.
        QVERIFY(startButtonShows(*x, QStringLiteral("start1")));
    }

    void wrongFinishShowsRedCells()
    {
        QVERIFY(x->launch());
        x->click(kStart.x(), kStart.y());
        QVERIFY(saveByShortcut(*x, false));
        const Puzzle puzzle = readSavedPuzzle(*x);
        const int wrong = puzzle.playerCells.last();
        for (const int cell : puzzle.playerCells) {
            const int digit = puzzle.solution[std::size_t(cell)];
            x->enterDigit(cell, cell == wrong ? digit % 9 + 1 : digit);
        }
        x->click(kFinish.x(), kFinish.y());
        XSession::pause(1500);
        QCOMPARE(x->visibleWindows(), 1); // no message
        const int red = pixelsInCell(x->windowShot(), CellLabel(wrong),
            [](const QColor &c) { return c.red() > 180 && c.green() < 90 && c.blue() < 90; });
        QVERIFY2(red > 10, qPrintable(QString::number(red)));
        QVERIFY(!x->readFile(QStringLiteral("grade")).contains(" 1 "));
    }

    void saveExitRestartAndContinue()
    {
        QVERIFY(x->launch());
        x->click(kStart.x(), kStart.y());
        QVERIFY(saveByShortcut(*x, false));
        const Puzzle puzzle = readSavedPuzzle(*x);
        for (int n = 0; n < 3; ++n)
            x->enterDigit(puzzle.playerCells.at(n), puzzle.solution[std::size_t(puzzle.playerCells.at(n))]);
        QVERIFY(saveByShortcut(*x, true));
        const QList<QByteArray> before = x->readFile(QStringLiteral("save")).split('\n');
        x->key(QStringLiteral("ctrl+F4"));
        QVERIFY(x->waitForExit());

        QVERIFY(x->launch());
        x->click(kContinue.x(), kContinue.y());
        QVERIFY(startButtonShows(*x, QStringLiteral("start3")));
        QVERIFY(saveByShortcut(*x, true));
        const QList<QByteArray> after = x->readFile(QStringLiteral("save")).split('\n');
        QCOMPARE(after.mid(3, 81), before.mid(3, 81));
        QCOMPARE(after.at(0), before.at(0));
        // The clock went on from the saved time.
        QVERIFY(after.at(1) >= before.at(1));
        x->key(QStringLiteral("ctrl+F4"));
        QVERIFY(x->waitForExit());
    }

    void preferencesSurviveARestart()
    {
        // Every preference the other way round from its default.
        const QByteArray flipped
            = "[ShowNumberHint]\r\nTrue\r\n\r\n[ShowCrossHint]\r\nFalse\r\n\r\n[AutoSave]\r\nTrue\r\n"
              "\r\n[PutOnFront]\r\nFalse\r\n\r\n[PieceColor]\r\nFalse\r\n\r\n[ShowBorder]\r\nTrue\r\n"
              "\r\n[FontBold]\r\nTrue\r\n";
        x->writeFile(QStringLiteral("setting"), flipped);
        QVERIFY(x->launch());
        QVERIFY(!x->property(QStringLiteral("_NET_WM_STATE")).contains(QLatin1String("_NET_WM_STATE_ABOVE")));
        QCOMPARE(x->windowShot().width(), 469);
        x->key(QStringLiteral("ctrl+F4"));
        QVERIFY(x->waitForExit());
        QCOMPARE(x->readFile(QStringLiteral("setting")), flipped);

        // Changed during a run, kept for the next one.
        QVERIFY(x->launch());
        x->click(kPin.x() + 720, kPin.y());
        x->key(QStringLiteral("ctrl+F4"));
        QVERIFY(x->waitForExit());
        QVERIFY(x->readFile(QStringLiteral("setting")).contains("[PutOnFront]\r\nTrue\r\n"));
        QVERIFY(x->launch());
        QVERIFY(XSession::waitFor([&] {
            return x->property(QStringLiteral("_NET_WM_STATE"))
                .contains(QLatin1String("_NET_WM_STATE_ABOVE"));
        }));
    }

    void middleClickPastesNothingIntoTheEntryBox()
    {
        QVERIFY(x->launch());
        x->click(kStart.x(), kStart.y());
        QVERIFY(saveByShortcut(*x, false));
        const Puzzle puzzle = readSavedPuzzle(*x);
        QVERIFY(!puzzle.playerCells.isEmpty());
        const CellLabel model(puzzle.playerCells.first());
        const int middleX = model.Left() + BoardGeometry::kCellSize / 2;
        const int middleY = model.Top() + BoardGeometry::kCellSize / 2;
        x->click(middleX, middleY);
        x->setPrimarySelection(QStringLiteral("8888"));
        x->click(middleX, middleY, 2);
        XSession::pause(700);
        // Digits in the box would be drawn in the cell's green; the text
        // cursor alone is a thin line of it.
        const int green = pixelsInCell(x->windowShot(), model,
            [](const QColor &c) { return c.green() > 140 && c.red() < 130 && c.blue() < 90; });
        QVERIFY2(green < 60, qPrintable(QString::number(green)));
    }

    void secondCopyEndsSilently()
    {
        QVERIFY(x->launch());
        QByteArray output;
        QCOMPARE(x->launchSecondCopy(&output), 0);
        QVERIFY2(output.isEmpty(), output.constData());
        QVERIFY(x->isRunning());
        QCOMPARE(x->visibleWindows(), 1);
    }

    void titleBarDragMovesTheWindow()
    {
        QVERIFY(x->launch());
        const QPoint before = x->origin();
        x->mouseDown(kTitle.x(), kTitle.y());
        const QPoint grab = before + QPoint((kTitle.x() * 2 + 15) / 30, (kTitle.y() * 2 + 15) / 30);
        for (int step = 1; step <= 5; ++step)
            x->moveToScreen(grab + QPoint(step * 10, step * 6));
        x->mouseUp();
        QVERIFY(XSession::waitFor([&] { return x->origin() != before; }, 5000));
        const QPoint moved = x->origin() - before;
        QVERIFY2(qAbs(moved.x() - 50) <= 3 && qAbs(moved.y() - 30) <= 3,
            qPrintable(QStringLiteral("%1,%2").arg(moved.x()).arg(moved.y())));
    }

    void keepOnTopIsTheWindowManagersAboveState()
    {
        QVERIFY(x->launch());
        auto above = [&] {
            return x->property(QStringLiteral("_NET_WM_STATE"))
                .contains(QLatin1String("_NET_WM_STATE_ABOVE"));
        };
        QVERIFY(above());
        x->click(kPin.x(), kPin.y());
        QVERIFY(XSession::waitFor([&] { return !above(); }));
        x->click(kPin.x(), kPin.y());
        QVERIFY(XSession::waitFor(above));
    }

    void messageAfterAQuestionStandsAboveTheWindow()
    {
        // Kept on top, as by default: the box after the overwrite question
        // is raised while no window of the game is active.
        QVERIFY(x->launch());
        QVERIFY(x->property(QStringLiteral("_NET_WM_STATE")).contains(QLatin1String("_NET_WM_STATE_ABOVE")));
        x->click(kStart.x(), kStart.y());
        QVERIFY(startButtonShows(*x, QStringLiteral("start3")));
        QVERIFY(saveByShortcut(*x, false));
        x->key(QStringLiteral("ctrl+s"));
        QVERIFY(x->waitForDialog());
        x->key(QStringLiteral("alt+y"));
        QVERIFY(x->waitForDialog());
        const QString box = x->dialog();
        QVERIFY(x->property(box, QStringLiteral("WM_NAME")).contains(QStringLiteral("数独SUDOKU 存盘")));
        const QStringList stacking = x->stackingOrder();
        QVERIFY2(stacking.indexOf(box) > stacking.indexOf(x->mainWindow()), qPrintable(stacking.join(u' ')));
        QVERIFY(closeByKey(*x, QStringLiteral("Return")));
    }

    void fifosInPlaceOfFilesCountAsMissing()
    {
        // Each would stop the game in open() for a writer that never comes:
        // the files read at start, the save, an effect and the help.
        for (const char *name :
            { "setting", "grade", "save", "interface/black/start1", "bkmusic/D_du.wav", "help/index.html" }) {
            const QString path = x->file(QLatin1String(name));
            QFile::remove(path);
            QVERIFY2(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0, name);
        }
        QVERIFY(x->launch());
        // The menu button sounds on its press, then the menu opens.
        QVERIFY(openMenuByMouse(*x));
        QVERIFY(closeByKey(*x, QStringLiteral("Escape")));
        // A save there is, though it cannot be read.
        x->click(kContinue.x(), kContinue.y());
        QVERIFY(dismissBox(*x, QStringLiteral("产生错误")));
        x->key(QStringLiteral("F1"));
        QVERIFY(dismissBox(*x, QStringLiteral("出错")));
        x->key(QStringLiteral("ctrl+F4"));
        QVERIFY(x->waitForExit());
        // The exit wrote the settings and statistics as files of their own.
        QVERIFY(QFileInfo(x->file(QStringLiteral("setting"))).isFile());
        QVERIFY(QFileInfo(x->file(QStringLiteral("grade"))).isFile());
    }

    void pressOnTheIdleBoardEndsWithTheRelease()
    {
        // No game: the cells take no input and the press falls through to
        // the window's background, which moves the window.
        QVERIFY(x->launch());
        const QPoint before = x->origin();
        const CellLabel cell(40);
        const QPoint middle(
            cell.Left() + BoardGeometry::kCellSize / 2, cell.Top() + BoardGeometry::kCellSize / 2);
        x->mouseDown(middle.x(), middle.y());
        XSession::pause(200);
        x->mouseUp();
        const QPoint pointer = before + QPoint((middle.x() * 2 + 15) / 30, (middle.y() * 2 + 15) / 30);
        for (int step = 1; step <= 5; ++step)
            x->moveToScreen(pointer + QPoint(step * 12, step * 8));
        XSession::pause(300);
        QCOMPARE(x->origin(), before);
    }

    void menuByMouseAndKeyboard()
    {
        QVERIFY(x->launch());
        QVERIFY(openMenuByMouse(*x));
        QVERIFY(closeByKey(*x, QStringLiteral("Escape")));
        // Opened by the mouse, chosen by the keyboard: the first item starts.
        QVERIFY(openMenuByMouse(*x));
        x->key(QStringLiteral("Down"));
        x->key(QStringLiteral("Return"));
        QVERIFY(startButtonShows(*x, QStringLiteral("start3")));
        // A shortcut with the menu closed: Ctrl+N lays out another puzzle,
        // and the puzzle string goes to the clipboard from the menu.
        x->key(QStringLiteral("ctrl+n"));
        QVERIFY(startButtonShows(*x, QStringLiteral("start3")));
    }
};

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_e2e.moc"
