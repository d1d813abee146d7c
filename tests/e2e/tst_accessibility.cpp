#include "AtspiProbe.h"
#include "BoardColors.h"
#include "BoardGeometry.h"
#include "CellLabel.h"
#include "SaveFile.h"
#include "XSession.h"

#include <QSet>
#include <QtTest>
#include <array>
#include <map>
#include <optional>

namespace {

using Tree = AtspiProbe::Tree;
using Node = AtspiProbe::Node;

// The Start button, in twips from the window's top-left corner.
const QPoint kStart(4800 + 667, 1920 + 187);

const QStringList kButtons { QStringLiteral("开始"), QStringLiteral("继续"), QStringLiteral("存盘"),
    QStringLiteral("下一题"), QStringLiteral("完成"), QStringLiteral("退出") };

int px(int twips)
{
    return (twips * 2 + 15) / 30;
}

struct Cell
{
    int index = 0;
    int digit = 0; // 0 when empty
    bool given = false;
    const Node *node = nullptr;
};

// The board as a screen reader hears it: every cell read from its name,
// or nothing and the reason when the names are not those of a laid-out
// puzzle (81 cells, each place once, each given or still to fill).
std::optional<std::map<int, Cell>> boardOf(const Tree &tree, QString *why)
{
    static const QRegularExpression pattern(
        QStringLiteral("^第([1-9])行 第([1-9])列 (?:([1-9]) 已知|空 待填|([1-9]) 玩家填写)$"));
    std::map<int, Cell> board;
    for (const Node &node : tree) {
        if (node.role != QLatin1String("table cell"))
            continue;
        const auto m = pattern.match(node.name);
        if (!m.hasMatch()) {
            *why = QStringLiteral("a cell named \"%1\"").arg(node.name);
            return std::nullopt;
        }
        Cell cell;
        cell.index = (m.captured(1).toInt() - 1) * 9 + m.captured(2).toInt() - 1;
        cell.given = !m.captured(3).isEmpty();
        cell.digit = cell.given ? m.captured(3).toInt() : m.captured(4).toInt();
        cell.node = &node;
        if (!board.emplace(cell.index, cell).second) {
            *why = QStringLiteral("two cells at \"%1\"").arg(node.name);
            return std::nullopt;
        }
    }
    if (board.size() != 81) {
        *why = QStringLiteral("%1 cells").arg(board.size());
        return std::nullopt;
    }
    return board;
}

bool isLaidOut(const Tree &tree)
{
    QString why;
    return boardOf(tree, &why).has_value();
}

QString cellPlace(int index)
{
    return QStringLiteral("第%1行 第%2列").arg(index / 9 + 1).arg(index % 9 + 1);
}

QString boxName(int index)
{
    return cellPlace(index) + QStringLiteral(" 输入框");
}

const Node *find(const Tree &tree, const QString &name, const QString &role)
{
    const Node *found = nullptr;
    for (const Node &node : tree)
        if (node.name == name && node.role == role) {
            if (found)
                return nullptr; // not one
            found = &node;
        }
    return found;
}

// The entry box as it is shown now, if it is.
const Node *shownBox(const Tree &tree)
{
    for (const Node &node : tree)
        if (node.role == QLatin1String("text") && node.name.endsWith(QStringLiteral(" 输入框"))
            && node.has(QStringLiteral("showing")))
            return &node;
    return nullptr;
}

// The next cell to fill from `from` in a direction, the way a player
// would look for it.
int nextEmpty(const std::map<int, Cell> &board, int from, int dx, int dy)
{
    for (int r = from / 9 + dy, c = from % 9 + dx; r >= 0 && r < 9 && c >= 0 && c < 9; r += dy, c += dx)
        if (!board.at(r * 9 + c).given)
            return r * 9 + c;
    return -1;
}

auto heard(const QString &type, const QString &role, const QString &name, int detail1 = -1)
{
    return [=](const QJsonObject &e) {
        return e.value(QStringLiteral("event")).toString() == type
            && e.value(QStringLiteral("role")).toString() == role
            && e.value(QStringLiteral("name")).toString() == name
            && (detail1 < 0 || e.value(QStringLiteral("detail1")).toInt() == detail1);
    };
}

const QString kNameChanged = QStringLiteral("object:property-change:accessible-name");
const QString kFocusChanged = QStringLiteral("object:state-changed:focused");

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<XSession> x;
    std::unique_ptr<AtspiProbe> probe;
    Tree before;

private slots:
    void initTestCase()
    {
        if (XSession::accessibilityLauncher().isEmpty())
            QSKIP("at-spi2-core's bus launcher is not installed");
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
            QSKIP("dbus-daemon is not installed");
        if (AtspiProbe::interpreter().isEmpty())
            QSKIP("no Python 3 with pyatspi (python3-pyatspi)");
    }

    // Every test starts the game and its reader afresh; `before` is the
    // game's tree as first read.
    void init()
    {
        x = std::make_unique<XSession>(XSession::Accessibility::On);
        QVERIFY2(x->isReady(), "no X server");
        QVERIFY2(x->hasAccessibility(), "no D-Bus session or AT-SPI bus");
        QVERIFY(x->launch());
        probe = std::make_unique<AtspiProbe>(*x);
        before = probe->waitForTree([](const Tree &t) {
            return find(t, kButtons.first(), QStringLiteral("push button")) != nullptr;
        });
        QVERIFY2(!before.isEmpty(), qPrintable(probe->lastError()));
        QVERIFY2(probe->watch(), qPrintable(probe->lastError()));
    }

    void cleanup()
    {
        if (QTest::currentTestFailed() && probe)
            qWarning("last events heard:\n%s", qPrintable(probe->recentEvents()));
        if (x)
            x->keepScreenshotIfFailed();
        probe.reset();
        // Nothing started for the session may outlive it: no bus, no
        // launcher, no registry.
        if (x)
            QVERIFY(x->shutdown());
        x.reset();
    }

    void startShowsTheWholeBoardAndTheSaveAgrees()
    {
        QCOMPARE(before.first().role, QStringLiteral("application"));
        QCOMPARE(before.first().name, QStringLiteral("Vexa Sudoku"));
        for (const QString &name : kButtons) {
            const Node *button = find(before, name, QStringLiteral("push button"));
            QVERIFY2(button, qPrintable(name));
            QVERIFY2(button->actions.contains(QStringLiteral("Press")), qPrintable(name));
            QVERIFY2(button->has(QStringLiteral("showing")), qPrintable(name));
            // Before a game, with nothing saved, only Start and Exit can be
            // pressed.
            const bool pressable = name == QStringLiteral("开始") || name == QStringLiteral("退出");
            QVERIFY2(button->has(QStringLiteral("sensitive")) == pressable, qPrintable(name));
        }
        // One difficulty of three, chosen: radio buttons, not check boxes.
        for (const QString &name :
            { QStringLiteral("初级"), QStringLiteral("普通"), QStringLiteral("高级") }) {
            const Node *option = find(before, name, QStringLiteral("radio button"));
            QVERIFY2(option, qPrintable(name));
            QVERIFY2(
                option->has(QStringLiteral("checked")) == (name == QStringLiteral("普通")), qPrintable(name));
        }

        x->click(kStart.x(), kStart.y());
        const Tree tree = probe->waitForTree(isLaidOut);
        QString why;
        const auto board = boardOf(tree, &why);
        QVERIFY2(board, qPrintable(why + QLatin1Char(' ') + probe->lastError()));

        const QPoint origin = x->origin();
        int given = 0;
        std::array<QSet<int>, 27> seen; // rows, columns, boxes
        for (const auto &[index, cell] : *board) {
            QVERIFY2(cell.digit == 0 || cell.given, qPrintable(cell.node->name));
            // Where a screen reader's pointer review would look for it.
            const CellLabel model(index);
            const QRect expected(origin + QPoint(px(model.Left()), px(model.Top())),
                QSize(px(BoardGeometry::kCellSize), px(BoardGeometry::kCellSize)));
            const QRect shown = cell.node->extents;
            QVERIFY2(qAbs(shown.x() - expected.x()) <= 1 && qAbs(shown.y() - expected.y()) <= 1
                    && qAbs(shown.width() - expected.width()) <= 1
                    && qAbs(shown.height() - expected.height()) <= 1,
                qPrintable(QStringLiteral("%1 at %2,%3 %4x%5")
                               .arg(cell.node->name)
                               .arg(shown.x())
                               .arg(shown.y())
                               .arg(shown.width())
                               .arg(shown.height())));
            QCOMPARE(cell.node->has(QStringLiteral("read only")), cell.given);
            QVERIFY(cell.node->has(QStringLiteral("sensitive")));
            if (!cell.given)
                continue;
            ++given;
            // A given digit appears once in its row, column and box.
            const int r = index / 9;
            const int c = index % 9;
            for (const int group : { r, 9 + c, 18 + r / 3 * 3 + c / 3 }) {
                QVERIFY2(!seen[std::size_t(group)].contains(cell.digit), qPrintable(cell.node->name));
                seen[std::size_t(group)].insert(cell.digit);
            }
        }
        QVERIFY(given > 0 && given < 81);

        // Saved without the mouse: the button's action, then the message
        // the game answers with, read and closed the same way.
        QVERIFY2(probe->press(QStringLiteral("存盘")), qPrintable(probe->lastError()));
        const Tree told = probe->waitForTree(
            [](const Tree &t) { return find(t, QStringLiteral("存盘操作完成！"), QStringLiteral("label")); });
        QVERIFY2(find(told, QStringLiteral("数独SUDOKU 存盘"), QStringLiteral("alert")),
            qPrintable(probe->lastError()));
        QVERIFY2(probe->press(QStringLiteral("确定")), qPrintable(probe->lastError()));
        const auto closed = [](const Tree &t) {
            return !t.isEmpty() && !find(t, QStringLiteral("数独SUDOKU 存盘"), QStringLiteral("alert"));
        };
        QVERIFY2(closed(probe->waitForTree(closed)), qPrintable(probe->lastError()));
        QString error;
        const auto saved = SaveFile::read(x->file(QStringLiteral("save")), &error);
        QVERIFY2(saved, qPrintable(error));
        for (const auto &[index, cell] : *board) {
            QCOMPARE(saved->color[std::size_t(index)] == BoardColors::kGiven, cell.given);
            QCOMPARE(int(saved->number[std::size_t(index)]), cell.digit);
        }
    }

    void aDigitTypedIntoAClickedCellIsHeard()
    {
        // Started by the button's action, as a screen reader would.
        QVERIFY2(probe->press(QStringLiteral("开始")), qPrintable(probe->lastError()));
        const Tree tree = probe->waitForTree(isLaidOut);
        QString why;
        const auto board = boardOf(tree, &why);
        QVERIFY2(board, qPrintable(why + QLatin1Char(' ') + probe->lastError()));
        const auto empty
            = std::find_if(board->rbegin(), board->rend(), [](const auto &c) { return !c.second.given; });
        QVERIFY(empty != board->rend());
        const int index = empty->first;
        const int digit = index % 9 + 1;

        // Clicked where the tree says the cell is.
        probe->forgetEvents();
        x->clickScreen(empty->second.node->extents.center());
        QVERIFY2(probe->waitForEvent(heard(kFocusChanged, QStringLiteral("text"), boxName(index), 1)),
            qPrintable(boxName(index)));
        // The tree is kept: the node points into it.
        const Tree open = probe->tree();
        const Node *box = shownBox(open);
        QVERIFY(box);
        QCOMPARE(box->name, boxName(index));
        QVERIFY(box->has(QStringLiteral("focused")) && box->has(QStringLiteral("editable")));

        probe->forgetEvents();
        x->type(QString::number(digit));
        const QString filled = QStringLiteral("%1 %2 玩家填写").arg(cellPlace(index)).arg(digit);
        QVERIFY2(probe->waitForEvent(heard(kNameChanged, QStringLiteral("table cell"), filled)),
            qPrintable(filled));
        const Tree after = probe->tree();
        const Node *cell = find(after, filled, QStringLiteral("table cell"));
        QVERIFY2(cell, qPrintable(filled));
        QVERIFY(!cell->has(QStringLiteral("read only")));
        // The digit closed the box.
        QVERIFY(!shownBox(after));
    }

    void theKeyboardAloneStartsMovesAndFills()
    {
        x->key(QStringLiteral("ctrl+b"));
        const Tree tree = probe->waitForTree(isLaidOut);
        // The running clock is heard too, once for each second it shows.
        // A busy machine may deliver a tick late, showing a later second
        // than its number, so the times heard are checked for their order.
        static const QRegularExpression time(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$"));
        QStringList times;
        const auto secondTick = [&times](const QJsonObject &e) {
            const QString name = e.value(QStringLiteral("name")).toString();
            if (e.value(QStringLiteral("event")).toString() != kNameChanged
                || e.value(QStringLiteral("role")).toString() != QStringLiteral("label")
                || !time.match(name).hasMatch() || name == QStringLiteral("00:00:00"))
                return false;
            times << name;
            return times.size() == 2;
        };
        QVERIFY2(probe->waitForEvent(secondTick), qPrintable("clock heard: " + times.join(QLatin1Char(' '))));
        // Same width, so the texts compare as the times they are.
        QVERIFY2(times.at(0) < times.at(1), qPrintable(times.join(QLatin1Char(' '))));
        QString why;
        const auto board = boardOf(tree, &why);
        QVERIFY2(board, qPrintable(why + QLatin1Char(' ') + probe->lastError()));
        const auto first
            = std::find_if(board->begin(), board->end(), [](const auto &c) { return !c.second.given; });
        QVERIFY(first != board->end());

        // The first arrow opens the box on the first cell to fill.
        probe->forgetEvents();
        x->key(QStringLiteral("Right"));
        QVERIFY2(probe->waitForEvent(heard(kFocusChanged, QStringLiteral("text"), boxName(first->first), 1)),
            qPrintable(boxName(first->first)));

        // The next arrow takes it to the neighbouring cell to fill, and the
        // box's new name says where it is.
        struct Arrow
        {
            const char *key;
            int dx, dy;
        };
        int from = first->first;
        int to = -1;
        QString key;
        for (const Arrow &arrow : { Arrow { "Right", 1, 0 }, Arrow { "Down", 0, 1 }, Arrow { "Left", -1, 0 },
                 Arrow { "Up", 0, -1 } }) {
            to = nextEmpty(*board, from, arrow.dx, arrow.dy);
            if (to >= 0) {
                key = QString::fromLatin1(arrow.key);
                break;
            }
        }
        QVERIFY2(to >= 0, "a cell to fill with no other in any direction");
        probe->forgetEvents();
        x->key(key);
        QVERIFY2(probe->waitForEvent(heard(kNameChanged, QStringLiteral("text"), boxName(to))),
            qPrintable(boxName(to)));
        // The tree is kept: the node points into it.
        const Tree open = probe->tree();
        const Node *box = shownBox(open);
        QVERIFY(box);
        QCOMPARE(box->name, boxName(to));
        QVERIFY(box->has(QStringLiteral("focused")));

        const int digit = to % 9 + 1;
        probe->forgetEvents();
        x->key(QString::number(digit));
        const QString filled = QStringLiteral("%1 %2 玩家填写").arg(cellPlace(to)).arg(digit);
        QVERIFY2(probe->waitForEvent(heard(kNameChanged, QStringLiteral("table cell"), filled)),
            qPrintable(filled));
        QVERIFY(find(probe->tree(), filled, QStringLiteral("table cell")));
    }
};

QTEST_GUILESS_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
