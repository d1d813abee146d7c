#include "GameHarness.h"
#include "MMControl.h"
#include "MediaFixtures.h"
#include "TuneRenderer.h"

#include <QApplication>
#include <QMenu>
#include <QtTest>

namespace {

// FluidSynth lets a tune ring out for a few seconds after its last note.
constexpr int kTuneEndTimeout = 12000;

MMControl *deviceOf(FormMain &form)
{
    return dynamic_cast<MMControl *>(form.state().MMControl1);
}

// How often the device was told to play, of the commands a spy on its
// commandIssued saw.
int plays(const QSignalSpy &issued)
{
    return int(std::count_if(issued.cbegin(), issued.cend(),
        [](const QList<QVariant> &command) { return command.at(0).toString() == QLatin1String("play"); }));
}

} // namespace

// The background music as a player hears it: the window's own sound device
// on SDL's dummy driver, driven by clicks on the window.
class TestMusic : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TuneRenderer::setProgram(ProgramFolder::buildFolder() + QStringLiteral("/vexa-tune-render"));
        if (!MMControl::midiAvailable())
            QSKIP("no audio device, FluidSynth or soundfont here");
    }

    void tuneLoopsWhateverEffectsPlayInBetween()
    {
        GameHarness game;
        game.useRealSound();
        // A short tune, so that three endings take seconds, not minutes.
        QVERIFY(
            MediaFixtures::writeOneNoteMidi(game.folder().file(QStringLiteral("bkmusic/osmira.mid")), 150));
        FormMain &form = game.load();
        MMControl *device = deviceOf(form);
        QVERIFY(device);
        QSignalSpy issued(device, &MMControl::commandIssued);

        game.click(QStringLiteral("cmdStart"));
        QCOMPARE(plays(issued), 1);
        const QList<int> cells = game.playerCells();
        for (int ending = 1; ending <= 3; ++ending) {
            // Selecting a cell sounds an effect on the same device while the
            // tune plays.
            game.clickCell(cells.at(ending));
            QTRY_COMPARE_WITH_TIMEOUT(plays(issued), ending + 1, kTuneEndTimeout);
        }
        QCOMPARE(device->Mode(), MultimediaControl::kModePlaying);
        QVERIFY(form.state().menuSetting_PlayMusic_StopPlay.Visible());
    }

    void effectNeverOpensAsMusic()
    {
        GameHarness game;
        game.useRealSound();
        FormMain &form = game.load();
        MMControl *device = deviceOf(form);
        QVERIFY(device);

        // The menu button's press sounds an effect; its menu is closed again.
        QTimer::singleShot(200, this, [] {
            if (QWidget *popup = QApplication::activePopupWidget())
                popup->close();
        });
        game.click(QStringLiteral("picTitleLeft"));
        QVERIFY(device->FileName.endsWith(QLatin1String("D_du.wav")));
        QSignalSpy issued(device, &MMControl::commandIssued);

        // Music from the title bar before any game: no tune is picked yet,
        // so the effect's file is all the device has.
        game.click(QStringLiteral("picMusicPlay"));
        QCOMPARE(plays(issued), 1);
        QVERIFY(form.state().picMusicStop.Visible());
        QVERIFY(!form.state().picMusicPlay.Visible());
        QVERIFY(form.state().menuSetting_PlayMusic_StopPlay.Visible());
        QTest::qWait(1000);
        QCOMPARE(device->Mode(), MultimediaControl::kModeStopped);
        QCOMPARE(plays(issued), 1);
    }
};

QTEST_MAIN(TestMusic)
#include "tst_music.moc"
