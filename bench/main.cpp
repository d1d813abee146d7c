// Times the game's hot paths as medians over repeated runs. Not a test:
// run it by hand on a quiet machine and copy the table into the README:
//   QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy build/bench/vexa-bench
#include "AppPath.h"
#include "BenchTimer.h"
#include "Clock.h"
#include "FormMain.h"
#include "GameState.h"
#include "ModuleCheck.h"
#include "ModuleContinue.h"
#include "ModuleEntry.h"
#include "ModuleGetNumber.h"
#include "ModuleHint.h"
#include "ModuleSaveFiles.h"
#include "MultimediaControl.h"
#include "ScriptedMessages.h"

#include <QApplication>
#include <QTemporaryDir>

namespace {

// Plays nothing, so that a check is timed without its sounds.
class SilentMultimedia : public MultimediaControl
{
public:
    void setCommand(const QString &) override { }
    int Mode() const override { return kModeStopped; }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    AppPath::setFolder(QStringLiteral(VEXA_BIN_DIR));
    ScriptedMessages messages; // the finish message is answered at once
    QList<BenchTimer::Result> results;

    {
        GameState state;
        results << BenchTimer::measure(
            QStringLiteral("open the bank and draw one puzzle with its 81 fields"), 50, 20, [&] {
                state.bank.GetNumber();
                for (int i = 0; i < 81; ++i)
                    state.SolutionNumber[std::size_t(i)]
                        = qint16(state.bank.rsProblem.Fields(QStringLiteral("l(%1)").arg(i)).toInt());
            });
    }

    // The game itself works on a scratch copy: it writes its files.
    QTemporaryDir scratch;
    for (const char *file : { "problem/problem.dbs", "bkmusic/osmira.mid" }) {
        QDir().mkpath(QFileInfo(scratch.filePath(QLatin1String(file))).path());
        QFile::copy(
            QStringLiteral(VEXA_BIN_DIR "/") + QLatin1String(file), scratch.filePath(QLatin1String(file)));
    }
    AppPath::setFolder(scratch.path());

    FormMain window;
    GameState &form = window.state();
    window.Form_Load();
    window.show();
    results << BenchTimer::measure(
        QStringLiteral("Start: board laid out, music started"), 30, 100, [&] { window.cmdStart_Click(); },
        [&] {
            form.cmdStart.setEnabled(true);
            form.MMControl1->setCommand(QStringLiteral("close"));
        });
    results << BenchTimer::measure(QStringLiteral("Next"), 30, 100, [&] { window.cmdNext_Click(); });

    // The overwrite question is answered Yes, so the save always lands.
    messages.answerNext(MessageBox::Answer::Yes);
    ModuleSaveFiles::SaveGame(form);
    results << BenchTimer::measure(
        QStringLiteral("Continue: saved board restored, music started"), 30, 100,
        [&] { ModuleContinue::cmdContinue_Click(form); },
        [&] { form.MMControl1->setCommand(QStringLiteral("close")); });
    int hover = 0;
    results << BenchTimer::measure(QStringLiteral("one cross-hint mouse move"), 200, 16,
        [&] { ModuleHint::L_MouseMove(form, hover = (hover + 7) % 81, 0); });

    int cell = 0;
    results << BenchTimer::measure(
        QStringLiteral("one typed digit"), 200, 2,
        [&] { ModuleEntry::txtEnter_KeyPress(form, QLatin1Char('5')); },
        [&] {
            while (form.L(cell).ForeColor() == 0)
                cell = (cell + 1) % 81;
            ModuleEntry::L_MouseDown(form, cell, 1);
            cell = (cell + 1) % 81;
        });

    SilentMultimedia silent;
    MultimediaControl *real = form.MMControl1;
    form.MMControl1 = &silent;
    for (int i = 0; i < 81; ++i)
        form.L(i).setCaption(QStringLiteral("1"));
    results << BenchTimer::measure(QStringLiteral("completion check of a wrong board, without its sounds"),
        200, 5, [&] { ModuleCheck::cmdFinished_Click(form); });
    form.MMControl1 = real;

    BenchTimer::print(results);
    return 0;
}
