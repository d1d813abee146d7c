#include "CjkFont.h"
#include "CommandLine.h"
#include "FormHelp.h"
#include "FormLogo.h"
#include "FormMain.h"
#include "MMControl.h"
#include "PlatformChoice.h"
#include "QtMessageBox.h"
#include "QuitSignals.h"
#include "SingleInstance.h"
#include "X11Display.h"

#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QIcon>
#include <QPointer>
#include <cstdio>
#include <cstdlib>

namespace {

// For the start-up probe in bench/: how long the player waits for the
// splash and for the main window's load, then the program ends at once.
void reportStartup(FormLogo &splash, const QElapsedTimer &sinceStart)
{
    // Queued, so that the time is taken once the first picture is drawn.
    QObject::connect(
        &splash, &FormLogo::firstPainted, &splash,
        [&splash, &sinceStart] {
            const double visible = double(sinceStart.nsecsElapsed()) / 1e6;
            const double formLoad = double(splash.formLoadNsecs()) / 1e6;
            std::printf("splash-visible-ms %.2f\nform-load-ms %.2f\n", visible, formLoad);
            std::fflush(stdout);
            QCoreApplication::exit(0);
        },
        Qt::QueuedConnection);
}

// The game's icon in every size it was drawn in; the window system picks
// the one that fits.
QIcon gameIcon()
{
    QIcon icon;
    // No name filter: it would load the regular expression engine at start.
    QDirIterator it(QStringLiteral(":/icons"), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        if (file.endsWith(QLatin1String(".png")))
            icon.addFile(file);
    }
    return icon;
}

} // namespace

int main(int argc, char **argv)
{
    // Help, the version and a mistyped option are answered before anything
    // needs a display.
    if (const std::optional<int> answered = CommandLine::answer(argc, argv))
        return *answered;

    QElapsedTimer sinceStart;
    sinceStart.start();

    PlatformChoice platform(argc, argv);
    // Qt would abort with a core dump and a message about plugins; the
    // player is told what is missing instead.
    if (QString why; platform.needsX11() && !X11Display::reachable(qgetenv("DISPLAY"), &why)) {
        std::fputs(PlatformChoice::noXServerMessage(why).constData(), stderr);
        return 1;
    }
    QApplication app(platform.argc(), platform.argv());
    QApplication::setApplicationName(QStringLiteral("Vexa Sudoku"));
    QApplication::setApplicationVersion(QStringLiteral(VEXA_VERSION));
    // Lets the desktop match the windows to the installed menu entry and its
    // icon; on X11 the entry names the window class, which is the
    // application name.
    QGuiApplication::setDesktopFileName(QStringLiteral("vexa-sudoku"));
    // Every window without an icon of its own shows this one.
    QApplication::setWindowIcon(gameIcon());
    QApplication::setFont(CjkFont::interface());
    QtMessageBox::install();
    QuitSignals quitSignals;

    // Held for the whole run; the splash is gone long before the game ends.
    SingleInstance instance;
    QPointer<FormLogo> splash = new FormLogo(instance);
    if (!splash->Form_Load()) {
        // Another copy runs: end quietly, nothing has been shown.
        delete splash.data();
        return 0;
    }
    if (qEnvironmentVariableIsSet("VEXA_REPORT_STARTUP"))
        reportStartup(*splash, sinceStart);
    splash->show();

    const int status = QApplication::exec();
    // The main window unloads the splash once it is active; either may
    // still be there when the game ends another way. The help window
    // stands on its own and outlives reloads of the main window.
    delete splash.data();
    delete FormHelp::instance();
    delete formMain;
    // The player's files are written by now. The sound ends while the lock
    // is still held, so that a copy started meanwhile cannot run beside
    // this one; a sound server that does not answer in time cannot keep
    // the game from ending.
    if (!MMControl::shutdown(QDeadlineTimer(MMControl::kExitWaitMsecs))) {
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(status);
    }
    return status;
}
