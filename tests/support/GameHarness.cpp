#include "GameHarness.h"

#include "CellLabelView.h"
#include "Clock.h"
#include "RandomSource.h"

#include <QAction>
#include <QFile>
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

void GameHarness::load()
{
    m_form = std::make_unique<FormMain>();
    if (!m_realSound)
        m_form->state().MMControl1 = &sound;
    m_form->Form_Load();
    m_form->show();
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

void GameHarness::trigger(const QString &menuItem)
{
    QAction *action = m_form->action(menuItem);
    QVERIFY2(action, qPrintable(menuItem));
    action->trigger();
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
    for (const int i : playerCells()) {
        clickCell(i);
        type(QChar('0' + m_form->state().SolutionNumber[std::size_t(i)]));
    }
}

QByteArray GameHarness::file(const QString &name) const
{
    QFile f(m_folder.file(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}
