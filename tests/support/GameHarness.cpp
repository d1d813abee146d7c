#include "GameHarness.h"

#include "CellLabelView.h"
#include "Clock.h"
#include "FileBytes.h"
#include "RandomSource.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QtTest>

GameHarness::GameHarness(quint32 seed, const QDateTime &now)
{
    RandomSource::setFixedClockSeed(seed);
    Clock::setFixed(now);
}

GameHarness::~GameHarness()
{
    m_form.reset();
    RandomSource::setFixedClockSeed(std::nullopt);
    Clock::reset();
}

FormMain &GameHarness::load()
{
    m_form = std::make_unique<FormMain>();
    if (!m_realSound)
        m_form->state().MMControl1 = &sound;
    m_form->Form_Load();
    m_form->show();
    progress.clear();
    QObject::connect(&m_form->state().ProgressBarMake, &ProgressModel::valueChanged, m_form.get(),
        [this](int value) { progress << value; });
    return *m_form;
}

FormMain &GameHarness::startGame()
{
    load();
    click(QStringLiteral("cmdStart"));
    return *m_form;
}

void GameHarness::useRealClock()
{
    Clock::reset();
}

void GameHarness::click(const QString &name, Qt::MouseButton button)
{
    QWidget *widget = m_form->view(name);
    QVERIFY2(widget, qPrintable(name));
    QTest::mouseClick(widget, button, {}, widget->rect().center());
}

void GameHarness::clickCell(int index, Qt::MouseButton button)
{
    QWidget *cell = m_form->cellView(index);
    QTest::mousePress(cell, button, {}, cell->rect().center());
    QTest::mouseRelease(cell, button, {}, cell->rect().center());
}

void GameHarness::type(QChar character)
{
    QTest::keyClick(m_form->view(QStringLiteral("txtEnter")), character.toLatin1());
}

void GameHarness::typeKey(Qt::Key key)
{
    QTest::keyClick(m_form->view(QStringLiteral("txtEnter")), key);
}

void GameHarness::enter(int index, QChar character)
{
    clickCell(index);
    type(character);
}

void GameHarness::trigger(const QString &menuItem)
{
    QAction *action = m_form->action(menuItem);
    QVERIFY2(action, qPrintable(menuItem));
    action->trigger();
}

QPointF GameHarness::pressAndDrag(QWidget *target, const QPoint &grab, const QPointF &by)
{
    QCursor::setPos(target->mapToGlobal(grab));
    QTest::mousePress(target, Qt::LeftButton, {}, grab);
    const QPointF to = target->mapToGlobal(QPointF(grab)) + by;
    QMouseEvent move(
        QEvent::MouseMove, target->mapFromGlobal(to), to, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    return to;
}

void GameHarness::tick(int seconds)
{
    Clock::advance(qint64(seconds) * 1000);
    m_form->Timer1_Timer();
}

QList<int> GameHarness::playerCells()
{
    QList<int> cells;
    for (int i = 0; i < GameState::kCells; ++i)
        if (m_form->state().L(i).ForeColor() != 0)
            cells << i;
    return cells;
}

void GameHarness::solve()
{
    for (const int i : playerCells())
        enter(i, QChar('0' + m_form->state().SolutionNumber[std::size_t(i)]));
}

int GameHarness::solveWithOneWrong()
{
    solve();
    const int wrong = playerCells().first();
    enter(wrong, QChar('0' + m_form->state().SolutionNumber[std::size_t(wrong)] % 9 + 1));
    return wrong;
}

QByteArray GameHarness::file(const QString &name) const
{
    return FileBytes::read(m_folder.file(name));
}
