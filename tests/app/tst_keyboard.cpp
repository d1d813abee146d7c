#include "BoardColors.h"
#include "CellLabelView.h"
#include "GameHarness.h"
#include "ModuleKeyboard.h"

#include <QAccessible>
#include <QMenu>
#include <QtTest>

namespace {

// The next editable cell from `from` in a direction, found the slow way.
int expectedTarget(FormMain &form, int from, int dx, int dy)
{
    for (int r = from / 9 + dy, c = from % 9 + dx; r >= 0 && r < 9 && c >= 0 && c < 9; r += dy, c += dx)
        if (form.state().L(r * 9 + c).ForeColor() != 0)
            return r * 9 + c;
    return -1;
}

// The arrow keys that take the entry box from one editable cell to another,
// by a breadth-first search over the moves the arrows make; empty when the
// arrows cannot get there.
QList<Qt::Key> arrowPath(FormMain &form, int from, int to)
{
    struct Move
    {
        Qt::Key key;
        int dx, dy;
    };
    const Move moves[]
        = { { Qt::Key_Right, 1, 0 }, { Qt::Key_Left, -1, 0 }, { Qt::Key_Down, 0, 1 }, { Qt::Key_Up, 0, -1 } };
    QHash<int, QPair<int, Qt::Key>> cameFrom;
    QList<int> queue { from };
    cameFrom.insert(from, { -1, Qt::Key_unknown });
    for (qsizetype head = 0; head < queue.size() && !cameFrom.contains(to); ++head) {
        const int at = queue.at(head);
        for (const Move &move : moves) {
            const int next = expectedTarget(form, at, move.dx, move.dy);
            if (next >= 0 && !cameFrom.contains(next)) {
                cameFrom.insert(next, { at, move.key });
                queue << next;
            }
        }
    }
    QList<Qt::Key> path;
    if (!cameFrom.contains(to))
        return path;
    for (int at = to; at != from; at = cameFrom.value(at).first)
        path.prepend(cameFrom.value(at).second);
    return path;
}

const QStringList kCommandButtons { QStringLiteral("cmdStart"), QStringLiteral("cmdContinue"),
    QStringLiteral("cmdSave"), QStringLiteral("cmdNext"), QStringLiteral("cmdFinished"),
    QStringLiteral("cmdExit") };

} // namespace

class TestKeyboard : public QObject
{
    Q_OBJECT

private slots:
    void arrowsDoNothingWithoutAPuzzle()
    {
        GameHarness game;
        FormMain &form = game.load();
        QTest::keyClick(&form, Qt::Key_Down);
        QTest::keyClick(&form, Qt::Key_Up);
        QVERIFY(!form.state().txtEnter.Visible());
        QCOMPARE(form.state().Difficulty, QStringLiteral("medium"));
        QVERIFY(game.sound.effects().isEmpty());
    }

    void closedBoxOpensOnTheFirstEditableCell()
    {
        GameHarness game;
        FormMain &form = game.startGame();
        game.sound.clear();
        QTest::keyClick(&form, Qt::Key_Right);
        const int first = game.playerCells().first();
        QVERIFY(form.state().txtEnter.Visible());
        QCOMPARE(form.state().EnterIndex, qint16(first));
        // Exactly what a click does: the sound, and save/next/difficulty locked.
        QCOMPARE(game.sound.effects(), QStringList { QStringLiteral("D_bubble.wav") });
        QVERIFY(!form.state().cmdSave.Enabled() && !form.state().cmdNext.Enabled()
            && !form.state().optEasy.Enabled());
        QCOMPARE(form.state().txtEnter.Left(), form.state().L(first).Left());
    }

    void arrowsWalkOverGivenCellsAndStopAtTheEdge_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("dx");
        QTest::addColumn<int>("dy");
        QTest::newRow("right") << int(Qt::Key_Right) << 1 << 0;
        QTest::newRow("left") << int(Qt::Key_Left) << -1 << 0;
        QTest::newRow("down") << int(Qt::Key_Down) << 0 << 1;
        QTest::newRow("up") << int(Qt::Key_Up) << 0 << -1;
    }

    void arrowsWalkOverGivenCellsAndStopAtTheEdge()
    {
        QFETCH(int, key);
        QFETCH(int, dx);
        QFETCH(int, dy);
        GameHarness game;
        FormMain &form = game.startGame();
        for (const int start : game.playerCells()) {
            game.clickCell(start);
            int at = start;
            // Walk to the edge: every step lands where a click would, and
            // the last one stays put without a sound.
            for (int steps = 0; steps < 10; ++steps) {
                const int next = expectedTarget(form, at, dx, dy);
                game.sound.clear();
                QTest::keyClick(form.view(QStringLiteral("txtEnter")), Qt::Key(key));
                if (next < 0) {
                    QCOMPARE(form.state().EnterIndex, qint16(at));
                    QVERIFY(game.sound.effects().isEmpty());
                    break;
                }
                QCOMPARE(form.state().EnterIndex, qint16(next));
                QCOMPARE(game.sound.effects(), QStringList { QStringLiteral("D_bubble.wav") });
                QVERIFY(form.state().L(next).ForeColor() != 0);
                at = next;
            }
        }
    }

    void arrowsLeaveTheEntryKeysAlone()
    {
        GameHarness game;
        FormMain &form = game.startGame();
        const int cell = game.playerCells().first();
        game.enter(cell, QLatin1Char('4'));
        // A closed box reopens on the cell last chosen; the arrow itself
        // types nothing and the digit stays.
        QTest::keyClick(&form, Qt::Key_Left);
        QCOMPARE(form.state().EnterIndex, qint16(cell));
        QVERIFY(form.state().txtEnter.Visible());
        QCOMPARE(form.state().L(cell).Caption(), QStringLiteral("4"));
        game.type(QLatin1Char('a'));
        QCOMPARE(form.state().L(cell).Caption(), QStringLiteral("4"));
        QVERIFY(form.state().txtEnter.Visible());
        game.type(QLatin1Char('7'));
        QCOMPARE(form.state().L(cell).Caption(), QStringLiteral("7"));
        QVERIFY(!form.state().txtEnter.Visible());
    }

    // What a player without a mouse does from start to finish: Ctrl+B, the
    // arrows to every cell to fill, the digits, Ctrl+F.
    void aWholeGameByKeyboardAlone()
    {
        GameHarness game;
        FormMain &form = game.load();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTest::keyClick(&form, Qt::Key_B, Qt::ControlModifier);
        const QList<int> cells = game.playerCells();
        QVERIFY(!cells.isEmpty());

        int at = cells.first();
        for (const int cell : cells) {
            // Any arrow opens the closed box where it last was.
            QTest::keyClick(&form, Qt::Key_Right);
            QVERIFY(form.state().txtEnter.Visible());
            QCOMPARE(form.state().EnterIndex, qint16(at));
            const QList<Qt::Key> path = arrowPath(form, at, cell);
            QVERIFY2(cell == at || !path.isEmpty(),
                qPrintable(QStringLiteral("cell %1 cannot be reached").arg(cell)));
            for (const Qt::Key key : path)
                QTest::keyClick(form.view(QStringLiteral("txtEnter")), key);
            QCOMPARE(form.state().EnterIndex, qint16(cell));
            game.type(QChar('0' + form.state().SolutionNumber[std::size_t(cell)]));
            QVERIFY(!form.state().txtEnter.Visible());
            at = cell;
        }

        QVERIFY(form.state().cmdFinished.Enabled());
        QTest::keyClick(&form, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(game.messages.count() > 0);
        QVERIFY2(game.messages.last().text.startsWith(QStringLiteral("恭喜你，完全正确")),
            qPrintable(game.messages.last().text));
    }

    // The menu without the mouse: F10 or the menu key opens it, and the
    // arrows and Return choose from it, also while the entry box is open.
    void menuKeysOpenTheMenu()
    {
        GameHarness game;
        FormMain &form = game.load();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        const auto open = [&](QWidget *target, Qt::Key key, const QList<Qt::Key> &choose) {
            QPointer<QMenu> shown;
            QTimer::singleShot(0, &form, [&] {
                shown = qobject_cast<QMenu *>(QApplication::activePopupWidget());
                if (shown)
                    for (const Qt::Key k : choose)
                        QTest::keyClick(shown, k);
            });
            QTest::keyClick(target, key);
            return shown == form.menu() && !form.menu()->isVisible();
        };
        // The first item is Start.
        QVERIFY(open(&form, Qt::Key_F10, { Qt::Key_Down, Qt::Key_Return }));
        QVERIFY(!form.state().cmdStart.Enabled());
        game.clickCell(game.playerCells().first());
        QVERIFY(open(form.view(QStringLiteral("txtEnter")), Qt::Key_Menu, { Qt::Key_Escape }));
        QVERIFY(form.state().txtEnter.Visible());
        QCOMPARE(form.state().L(game.playerCells().first()).Caption(), QString());
    }

    void cellsAndButtonsHaveSpokenNames()
    {
        GameHarness game;
        FormMain &form = game.startGame();
        const int player = game.playerCells().first();
        int given = 0;
        while (form.state().L(given).ForeColor() != 0)
            ++given;
        const auto name = [&](int i) { return form.cellView(i)->accessibleName(); };
        QCOMPARE(name(given),
            QStringLiteral("第%1行 第%2列 %3 已知")
                .arg(given / 9 + 1)
                .arg(given % 9 + 1)
                .arg(form.state().L(given).Caption()));
        QCOMPARE(
            name(player), QStringLiteral("第%1行 第%2列 空 待填").arg(player / 9 + 1).arg(player % 9 + 1));
        game.clickCell(player);
        QCOMPARE(form.view(QStringLiteral("txtEnter"))->accessibleName(),
            QStringLiteral("第%1行 第%2列 输入框").arg(player / 9 + 1).arg(player % 9 + 1));
        game.type(QLatin1Char('6'));
        QCOMPARE(
            name(player), QStringLiteral("第%1行 第%2列 6 玩家填写").arg(player / 9 + 1).arg(player % 9 + 1));
        form.state().L(player).setForeColor(BoardColors::kWrong);
        QVERIFY(name(player).endsWith(QStringLiteral(" 错误")));
        const QStringList &buttons = kCommandButtons;
        const QStringList spoken { QStringLiteral("开始"), QStringLiteral("继续"), QStringLiteral("存盘"),
            QStringLiteral("下一题"), QStringLiteral("完成"), QStringLiteral("退出") };
        for (int b = 0; b < buttons.size(); ++b) {
            QAccessibleInterface *a = QAccessible::queryAccessibleInterface(form.view(buttons.at(b)));
            QVERIFY(a);
            QCOMPARE(a->text(QAccessible::Name), spoken.at(b));
        }
        QCOMPARE(form.view(QStringLiteral("picClose"))->accessibleName(), QStringLiteral("关闭"));
        QCOMPARE(form.view(QStringLiteral("picTitleLeft"))->accessibleName(), QStringLiteral("菜单"));
    }

    void difficultiesAreRadioButtonsThatPress()
    {
        GameHarness game;
        FormMain &form = game.load();
        const QStringList options { QStringLiteral("optEasy"), QStringLiteral("optMedium"),
            QStringLiteral("optHard") };
        const QStringList spoken { QStringLiteral("初级"), QStringLiteral("普通"), QStringLiteral("高级") };
        const auto option
            = [&](int n) { return QAccessible::queryAccessibleInterface(form.view(options.at(n))); };
        for (int n = 0; n < options.size(); ++n) {
            QVERIFY(option(n));
            QCOMPARE(option(n)->role(), QAccessible::RadioButton);
            QCOMPARE(option(n)->text(QAccessible::Name), spoken.at(n));
            QVERIFY(option(n)->state().checkable);
            QCOMPARE(bool(option(n)->state().checked), n == 1);
        }

        // Pressing one chooses it and only it, as a click does.
        option(2)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTRY_COMPARE(form.state().Difficulty, QStringLiteral("hard"));
        for (int n = 0; n < options.size(); ++n)
            QCOMPARE(bool(option(n)->state().checked), n == 2);

        // A locked option ignores the press.
        game.click(QStringLiteral("cmdStart"));
        game.clickCell(game.playerCells().first());
        QVERIFY(!form.state().optEasy.Enabled());
        option(0)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTest::qWait(50);
        QCOMPARE(form.state().Difficulty, QStringLiteral("hard"));
    }

    void cellsAreTableCellsReadOnlyWhenGiven()
    {
        GameHarness game;
        FormMain &form = game.startGame();
        const QList<int> player = game.playerCells();
        QVERIFY(!player.isEmpty() && player.size() < GameState::kCells);
        for (int i = 0; i < GameState::kCells; ++i) {
            QAccessibleInterface *a = QAccessible::queryAccessibleInterface(form.cellView(i));
            QVERIFY(a);
            QCOMPARE(a->role(), QAccessible::Cell);
            QCOMPARE(a->text(QAccessible::Name), form.cellView(i)->accessibleName());
            QCOMPARE(a->state().readOnly, !player.contains(i));
            QVERIFY(!a->state().disabled);
        }
    }

    void commandButtonsArePushButtonsThatPress()
    {
        GameHarness game;
        FormMain &form = game.load();
        for (const QString &name : kCommandButtons) {
            QAccessibleInterface *a = QAccessible::queryAccessibleInterface(form.view(name));
            QVERIFY(a);
            QCOMPARE(a->role(), QAccessible::Button);
            QVERIFY(a->actionInterface());
            QVERIFY(a->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
            QCOMPARE(a->state().disabled, !form.view(name)->isEnabled());
        }
        // The menu icon opens on the mouse's press and release alone: it
        // must not offer a press that does nothing.
        QAccessibleInterface *menu
            = QAccessible::queryAccessibleInterface(form.view(QStringLiteral("picTitleLeft")));
        QVERIFY(menu);
        QVERIFY(!menu->actionInterface()
            || !menu->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));

        // A disabled button ignores the press.
        QVERIFY(!form.view(QStringLiteral("cmdFinished"))->isEnabled());
        QAccessible::queryAccessibleInterface(form.view(QStringLiteral("cmdFinished")))
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::pressAction());
        QTest::qWait(50);
        QVERIFY(game.sound.effects().isEmpty());
        QCOMPARE(game.messages.count(), 0);

        // The press answers at once and starts the game right after.
        QAccessible::queryAccessibleInterface(form.view(QStringLiteral("cmdStart")))
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(!form.state().L(0).Enabled());
        QTRY_VERIFY(form.state().L(0).Enabled());
        QVERIFY(!game.playerCells().isEmpty());
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
