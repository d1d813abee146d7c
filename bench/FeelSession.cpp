#include "FeelSession.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>
#include <csignal>
#include <sys/prctl.h>

namespace {

// A process of the session dies with the probe, also when the probe is
// interrupted and never reaches its clean-up.
std::unique_ptr<QProcess> sessionProcess()
{
    auto process = std::make_unique<QProcess>();
    process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    return process;
}

void stop(QProcess *process)
{
    if (process && process->state() != QProcess::NotRunning) {
        process->kill();
        process->waitForFinished(3000);
    }
}

} // namespace

FeelSession::FeelSession(const QString &builtProgramFolder, bool dummyAudio)
{
    if (!copyProgram(builtProgramFolder)) {
        m_error = QStringLiteral("cannot copy the program folder %1").arg(builtProgramFolder);
        return;
    }
    for (const char *tool : { "Xvfb", "openbox" }) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty()) {
            m_error = QStringLiteral("%1 is not installed").arg(QLatin1String(tool));
            return;
        }
    }
    if (!dummyAudio)
        m_sound = std::make_unique<PulseServer>();
    if (m_sound && !m_sound->isRunning()) {
        m_error = QStringLiteral("the sound cannot be measured as players hear it: ") + m_sound->whyNot();
        return;
    }
    if (!startServer()) {
        m_error = QStringLiteral("Xvfb did not start");
        return;
    }
    m_windowManager = sessionProcess();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    m_windowManager->setProcessEnvironment(env);
    m_windowManager->setStandardOutputFile(QProcess::nullDevice());
    m_windowManager->setStandardErrorFile(QProcess::nullDevice());
    m_windowManager->start(QStringLiteral("openbox"), {});
    if (!m_windowManager->waitForStarted()) {
        m_error = QStringLiteral("openbox did not start");
        return;
    }
    // openbox takes the root window's redirection a moment after it starts;
    // a window mapped before then is never managed.
    QThread::msleep(500);
}

FeelSession::~FeelSession()
{
    stop(m_game.get());
    stop(m_windowManager.get());
    stop(m_server.get());
}

bool FeelSession::copyProgram(const QString &from)
{
    if (!m_program.isValid() || !m_runtime.isValid())
        return false;
    const QDir source(from);
    QDirIterator it(source.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString rel = source.relativeFilePath(file);
        if (rel == QLatin1String("setting") || rel == QLatin1String("grade") || rel == QLatin1String("save")
            || rel.startsWith(QLatin1String("cache/")))
            continue;
        const QString target = m_program.filePath(rel);
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (!QFile::copy(file, target) || !QFile::setPermissions(target, QFile::permissions(file)))
            return false;
    }
    return QFileInfo(m_program.filePath(QStringLiteral("vexa-sudoku"))).isExecutable();
}

bool FeelSession::startServer()
{
    // The server picks a free display itself and tells its number.
    m_server = sessionProcess();
    m_server->start(QStringLiteral("Xvfb"),
        { QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
            QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp") });
    QDeadlineTimer deadline(15000);
    while (!deadline.hasExpired() && !m_server->canReadLine() && m_server->state() != QProcess::NotRunning)
        m_server->waitForReadyRead(200);
    const QString number = QString::fromLatin1(m_server->readLine()).trimmed();
    if (number.isEmpty())
        return false;
    m_display = QLatin1Char(':') + number;
    return true;
}

bool FeelSession::startGame()
{
    m_game = sessionProcess();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    // A lock of the session's own: a game the user runs meanwhile is not
    // taken for this one.
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    // A cache of the session's own: the first game renders the tune.
    env.insert(QStringLiteral("XDG_CACHE_HOME"), m_runtime.filePath(QStringLiteral("cache")));
    if (m_sound) {
        env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("pulseaudio"));
        env.insert(QStringLiteral("PULSE_SERVER"), m_sound->address());
    } else {
        env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    }
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    m_game->setProcessEnvironment(env);
    m_game->setWorkingDirectory(QDir::tempPath());
    const QString log = m_runtime.filePath(QStringLiteral("game.log"));
    m_game->setStandardOutputFile(log, QIODevice::Append);
    m_game->setStandardErrorFile(log, QIODevice::Append);
    m_game->start(m_program.filePath(QStringLiteral("vexa-sudoku")), {});
    return m_game->waitForStarted();
}

qint64 FeelSession::gamePid() const
{
    return isGameRunning() ? m_game->processId() : 0;
}

bool FeelSession::isGameRunning() const
{
    return m_game && m_game->state() == QProcess::Running;
}

bool FeelSession::waitForGameExit(int msecs)
{
    return !m_game || m_game->state() == QProcess::NotRunning || m_game->waitForFinished(msecs);
}

void FeelSession::killGame()
{
    stop(m_game.get());
}

QString FeelSession::gameLogTail() const
{
    QFile log(m_runtime.filePath(QStringLiteral("game.log")));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    const QByteArray all = log.readAll();
    return QString::fromLocal8Bit(all.right(2000));
}

bool FeelSession::keepScreenshot(const QString &path) const
{
    QProcess import;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    import.setProcessEnvironment(env);
    import.start(QStringLiteral("import"), { QStringLiteral("-window"), QStringLiteral("root"), path });
    return import.waitForFinished(15000) && import.exitStatus() == QProcess::NormalExit
        && import.exitCode() == 0;
}
