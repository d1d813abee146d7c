#include "EffectQueue.h"
#include "GameHarness.h"
#include "MMControl.h"
#include "MediaFixtures.h"
#include "PulseServer.h"

#include <QtTest>
#include <memory>

using namespace MediaFixtures;

namespace {

// An effect, as against the quiet between them.
constexpr double kHeard = 500;

// How long a wave file of the game plays.
qint64 lengthMsecs(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray header = file.read(44);
    const auto read32 = [&header](int at) { return qFromLittleEndian<quint32>(header.constData() + at); };
    const quint32 bytesASecond = read32(28);
    return bytesASecond == 0 ? -1 : qint64(read32(40)) * 1000 / bytesASecond;
}

} // namespace

// The game's effects as a player hears them on a desktop with a sound
// server, played through the window by real key presses: whatever the
// player does, they keep up with the keys instead of falling behind them.
class TestDesktopSound : public QObject
{
    Q_OBJECT

    std::unique_ptr<PulseServer> m_server;

    QByteArray since(qint64 fromMsecs) const
    {
        return m_server->recorded().mid(fromMsecs * PulseServer::kRate / 1000 * PulseServer::kFrameBytes);
    }

    // A game on a full board with one wrong digit, the music stopped.
    void prepareWrongBoard(GameHarness &game)
    {
        game.useRealSound();
        game.load();
        game.click(QStringLiteral("cmdStart"));
        game.trigger(QStringLiteral("menuSetting_PlayMusic_StopPlay"));
        game.solve();
        const int wrong = game.playerCells().first();
        const int right = game.state().SolutionNumber[std::size_t(wrong)];
        game.clickCell(wrong);
        game.type(QChar('0' + (right % 9) + 1));
        QVERIFY(game.state().cmdFinished.Enabled());
        QTRY_COMPARE_WITH_TIMEOUT(EffectQueue::instance().pending(), 0, 30000);
    }

private slots:
    void initTestCase()
    {
        m_server = std::make_unique<PulseServer>();
        if (!m_server->isRunning())
            QSKIP(qPrintable(m_server->whyNot()));
        QVERIFY(m_server->startRecording());
        QVERIFY2(MMControl::audioAvailable(), "SDL's PulseAudio driver does not reach the server");
    }

    void cleanupTestCase()
    {
        MMControl::shutdown(QDeadlineTimer(MMControl::kExitWaitMsecs));
        m_server.reset();
    }

    void heldCheckKeyLeavesNoEffectBehind()
    {
        GameHarness game;
        prepareWrongBoard(game);
        const qint64 pair = lengthMsecs(game.folder().file(QStringLiteral("bkmusic/D_wrong.wav")))
            + lengthMsecs(game.folder().file(QStringLiteral("bkmusic/D_oohs.wav")));
        QVERIFY(pair > 0);

        // Ctrl+F held for two seconds, repeated by the keyboard 25 times a
        // second: each press checks the wrong board and asks for both
        // effects again.
        const qint64 from = m_server->recordedMsecs();
        QElapsedTimer held;
        held.start();
        while (held.elapsed() < 2000) {
            QTest::keyClick(&game.form(), Qt::Key_F, Qt::ControlModifier);
            QTest::qWait(40);
        }
        const qint64 letGo = m_server->recordingMsecsAt(PulseServer::clockMsecs()) - from;
        QTRY_COMPARE_WITH_TIMEOUT(EffectQueue::instance().pending(), 0, 30000);
        const qint64 quietFrom = m_server->recordedMsecs();
        QTRY_VERIFY_WITH_TIMEOUT(m_server->recordedMsecs() > quietFrom + 500, 5000);

        // The pair then sounding ends whole; nothing is left to follow it.
        const QList<Interval> heard = soundIntervals(since(from), kHeard);
        const QByteArray what = QStringLiteral("effects at %1, key let go at %2 ms, a pair lasts %3 ms")
                                    .arg(describe(heard))
                                    .arg(letGo)
                                    .arg(pair)
                                    .toUtf8();
        QVERIFY2(!heard.isEmpty(), what.constData());
        QVERIFY2(heard.last().endMsecs - letGo < pair + 300, what.constData());
    }

    void fastEntryKeepsUpWithTheKeys()
    {
        GameHarness game;
        prepareWrongBoard(game);
        // Thirty entries at eight a second: a click on a cell and its digit,
        // each with its effect, longer together than the time between two.
        const QList<int> cells = game.playerCells();
        QVERIFY(cells.size() >= 30);
        const qint64 from = m_server->recordedMsecs();
        for (int n = 0; n < 30; ++n) {
            const int cell = cells.at(n);
            game.clickCell(cell);
            QTest::qWait(40);
            game.type(QChar('0' + game.state().SolutionNumber[std::size_t(cell)]));
            QTest::qWait(85);
        }
        const qint64 lastKey = m_server->recordingMsecsAt(PulseServer::clockMsecs()) - from;
        QTRY_COMPARE_WITH_TIMEOUT(EffectQueue::instance().pending(), 0, 30000);
        const qint64 quietFrom = m_server->recordedMsecs();
        QTRY_VERIFY_WITH_TIMEOUT(m_server->recordedMsecs() > quietFrom + 500, 5000);

        // Heard until the entries end, and no effect starts long after the
        // last key: none waited behind the others for more than half a
        // second.
        const QList<Interval> heard = soundIntervals(since(from), kHeard);
        const QByteArray what
            = QStringLiteral("effects at %1, last key at %2 ms").arg(describe(heard)).arg(lastKey).toUtf8();
        QVERIFY2(!heard.isEmpty() && heard.last().endMsecs > lastKey - 500, what.constData());
        for (const Interval &effect : heard)
            QVERIFY2(effect.startMsecs < lastKey + EffectQueue::kLateMsecs + 100, what.constData());
    }
};

QTEST_MAIN(TestDesktopSound)
#include "tst_desktopsound.moc"
