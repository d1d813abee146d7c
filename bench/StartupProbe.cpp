// Times the game's start as the player sees it: from launching the program
// to the splash on screen, and the main window's load behind it. Medians
// over repeated runs of the real executable. Not a test: run it by hand on
// a quiet machine:
//   build/bench/vexa-startup-probe [runs]
#include "BenchTimer.h"
#include "FormLogo.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {

struct Sample
{
    double sinceMainMs = 0;
    double sinceLaunchMs = 0;
    double formLoadMs = 0;
};

// The game writes its settings beside itself; it runs from a copy so that
// the build folder stays as built.
bool copyProgram(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(source);
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (!QFile::copy(source, target) || !QFile::setPermissions(target, QFile::permissions(source)))
            return false;
    }
    return true;
}

std::optional<Sample> runOnce(const QString &program, QString &error)
{
    QTemporaryDir runtime; // a lock of its own for every run
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("VEXA_REPORT_STARTUP"), QStringLiteral("1"));

    QProcess game;
    game.setProcessEnvironment(env);
    game.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer launch;
    launch.start();
    game.start(program, {});
    Sample sample;
    bool visible = false;
    bool loaded = false;
    while (!(visible && loaded) && game.waitForReadyRead(30000)) {
        while (game.canReadLine()) {
            const QList<QByteArray> words = game.readLine().trimmed().split(' ');
            if (words.size() != 2)
                continue;
            if (words[0] == "splash-visible-ms") {
                sample.sinceLaunchMs = double(launch.nsecsElapsed()) / 1e6;
                sample.sinceMainMs = words[1].toDouble();
                visible = true;
            } else if (words[0] == "form-load-ms") {
                sample.formLoadMs = words[1].toDouble();
                loaded = true;
            }
        }
    }
    if (!game.waitForFinished(30000))
        game.kill();
    if (!(visible && loaded)) {
        error = QStringLiteral("no start-up report; exit %1, stderr: %2")
                    .arg(game.exitCode())
                    .arg(QString::fromLocal8Bit(game.readAllStandardError()));
        return std::nullopt;
    }
    return sample;
}

BenchTimer::Result summary(const QString &name, QList<double> times, double targetMs)
{
    std::sort(times.begin(), times.end());
    BenchTimer::Result r;
    r.name = name;
    r.runs = int(times.size());
    r.medianMs = times.at(times.size() / 2);
    r.minMs = times.first();
    r.maxMs = times.last();
    r.targetMs = targetMs;
    return r;
}

// How long the fade keeps the main window back, step by step as the splash
// runs it, with each wait rounded up to the timer's resolution.
double designedFadeMs(double resolutionMs)
{
    qint16 alpha = 25;
    int interval = 1;
    double total = 0;
    while (alpha < 255) {
        total += resolutionMs > 0 ? std::ceil(interval / resolutionMs) * resolutionMs : interval;
        alpha = FormLogo::nextAlpha(alpha);
        interval = FormLogo::intervalFor(alpha, interval);
    }
    return total;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 15;
    QTextStream out(stdout);

    QTemporaryDir folder;
    if (!copyProgram(QStringLiteral(VEXA_BIN_DIR), folder.path())) {
        out << "cannot copy " << VEXA_BIN_DIR << '\n';
        return 1;
    }
    const QString program = folder.filePath(QStringLiteral("vexa-sudoku"));

    QList<double> sinceMain, sinceLaunch, formLoad;
    QString error;
    // The first start fills the system's file cache and is not counted.
    if (!runOnce(program, error)) {
        out << error << '\n';
        return 1;
    }
    for (int i = 0; i < runs; ++i) {
        const std::optional<Sample> sample = runOnce(program, error);
        if (!sample) {
            out << error << '\n';
            return 1;
        }
        sinceMain << sample->sinceMainMs;
        sinceLaunch << sample->sinceLaunchMs;
        formLoad << sample->formLoadMs;
    }

    BenchTimer::print({ summary(QStringLiteral("splash visible, since launch"), sinceLaunch, 300),
        summary(QStringLiteral("splash visible, since main()"), sinceMain, 300),
        summary(QStringLiteral("main window Form_Load"), formLoad, 150) });
    out << "\ndesigned fade until the main window shows (not counted above): "
        << QString::number(designedFadeMs(0), 'f', 0) << " ms at the nominal intervals, "
        << QString::number(designedFadeMs(15.625), 'f', 0) << " ms on a 15.6 ms system timer\n";
    return 0;
}
