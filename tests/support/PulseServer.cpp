#include "PulseServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QThread>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

// A process of the server dies with the test, also when the test crashes
// before its clean-up.
std::unique_ptr<QProcess> serverProcess(int stdoutFd = -1)
{
    auto process = std::make_unique<QProcess>();
    process->setChildProcessModifier([stdoutFd] {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (stdoutFd >= 0)
            ::dup2(stdoutFd, STDOUT_FILENO);
    });
    return process;
}

void endProcess(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

// The state letter of /proc/<pid>/stat: 'T' once a SIGSTOP has taken hold.
char processState(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.readAll();
    // The name in parentheses may hold blanks; the state follows it.
    const qsizetype close = line.lastIndexOf(')');
    return close >= 0 && close + 2 < line.size() ? line.at(close + 2) : char(0);
}

} // namespace

PulseServer::PulseServer()
{
    if (!start()) {
        if (m_whyNot.isEmpty())
            m_whyNot = QStringLiteral("the PulseAudio server did not start");
        stopDaemon();
        return;
    }
    qputenv("PULSE_SERVER", QFile::encodeName(address()));
    qputenv("PULSE_CLIENTCONFIG", QFile::encodeName(m_dir.filePath(QStringLiteral("client.conf"))));
    // A client makes its cookie where it finds none; not in the user's home.
    qputenv("PULSE_COOKIE", QFile::encodeName(m_dir.filePath(QStringLiteral("cookie"))));
    // SDL 2's name for its PulseAudio driver; with it, SDL fails instead of
    // falling back to another driver when the server does not answer.
    qputenv("SDL_AUDIODRIVER", "pulseaudio");
}

PulseServer::~PulseServer()
{
    stopRecording();
    stopDaemon();
}

bool PulseServer::start()
{
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    if (daemon.isEmpty()) {
        m_whyNot = QStringLiteral("no pulseaudio (Debian package pulseaudio)");
        return false;
    }
    for (const QString &tool : { QStringLiteral("pactl"), QStringLiteral("parec") }) {
        if (QStandardPaths::findExecutable(tool).isEmpty()) {
            m_whyNot = QStringLiteral("no %1 (Debian package pulseaudio-utils)").arg(tool);
            return false;
        }
    }
    if (!m_dir.isValid()) {
        m_whyNot = QStringLiteral("no temporary folder: %1").arg(m_dir.errorString());
        return false;
    }
    const QDir dir(m_dir.path());
    dir.mkpath(QStringLiteral("home"));
    dir.mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(
        m_dir.filePath(QStringLiteral("runtime")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // The clients of this process and the tools: never start a server of
    // their own when this one is gone or frozen.
    QFile clientConf(m_dir.filePath(QStringLiteral("client.conf")));
    if (!clientConf.open(QIODevice::WriteOnly) || clientConf.write("autospawn = no\n") < 0) {
        m_whyNot = QStringLiteral("cannot write the client configuration");
        return false;
    }
    clientConf.close();
    m_socket = m_dir.filePath(QStringLiteral("native"));

    m_daemon = serverProcess();
    m_daemon->setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment env = toolEnvironment();
    // Without a session bus the server cannot take the desktop server's
    // D-Bus names, which would make it give up.
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    m_daemon->setProcessEnvironment(env);
    // No rewinds: what the sink has mixed is never mixed again, so the
    // monitor's stream keeps to the clock.
    m_daemon->start(daemon,
        { QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
            QStringLiteral("--use-pid-file=no"), QStringLiteral("--disable-shm=yes"),
            QStringLiteral("--system=no"), QStringLiteral("-L"),
            QStringLiteral("module-null-sink sink_name=%1 rate=%2 channels=%3 norewinds=1")
                .arg(m_sink)
                .arg(kRate)
                .arg(kChannels),
            QStringLiteral("-L"),
            QStringLiteral("module-native-protocol-unix socket=%1 auth-anonymous=1").arg(m_socket) });
    if (!m_daemon->waitForStarted(5000)) {
        m_whyNot = QStringLiteral("pulseaudio did not start: %1").arg(m_daemon->errorString());
        return false;
    }
    QDeadlineTimer deadline(15000);
    while (!deadline.hasExpired()) {
        if (m_daemon->state() == QProcess::NotRunning) {
            m_whyNot = QStringLiteral("pulseaudio ended at once: %1")
                           .arg(QString::fromLocal8Bit(m_daemon->readAll()).trimmed().right(600));
            return false;
        }
        QByteArray info;
        if (runTool(QStringLiteral("pactl"), { QStringLiteral("info") }, &info))
            return true;
        QThread::msleep(50);
    }
    m_whyNot = QStringLiteral("pulseaudio did not answer on %1 within 15 s").arg(m_socket);
    return false;
}

void PulseServer::stopDaemon()
{
    if (!m_daemon)
        return;
    // A stopped process takes no SIGTERM until it goes on.
    if (m_daemon->state() != QProcess::NotRunning)
        ::kill(pid_t(m_daemon->processId()), SIGCONT);
    m_frozen = false;
    endProcess(*m_daemon);
    m_daemon.reset();
}

bool PulseServer::isRunning() const
{
    return m_daemon && m_daemon->state() == QProcess::Running;
}

QProcessEnvironment PulseServer::toolEnvironment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), m_dir.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.filePath(QStringLiteral("runtime")));
    env.remove(QStringLiteral("XDG_CONFIG_HOME"));
    env.insert(QStringLiteral("PULSE_SERVER"), address());
    env.insert(QStringLiteral("PULSE_CLIENTCONFIG"), m_dir.filePath(QStringLiteral("client.conf")));
    env.insert(QStringLiteral("PULSE_COOKIE"), m_dir.filePath(QStringLiteral("cookie")));
    return env;
}

bool PulseServer::runTool(const QString &program, const QStringList &args, QByteArray *output) const
{
    QProcess tool;
    tool.setProcessEnvironment(toolEnvironment());
    tool.start(program, args);
    if (!tool.waitForFinished(5000)) {
        tool.kill();
        tool.waitForFinished(1000);
        return false;
    }
    *output = tool.readAllStandardOutput();
    return tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

int PulseServer::sinkInputs() const
{
    if (!isRunning() || m_frozen)
        return -1;
    QByteArray list;
    if (!runTool(QStringLiteral("pactl"),
            { QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("sink-inputs") }, &list))
        return -1;
    return int(list.count('\n'));
}

bool PulseServer::freeze()
{
    if (!isRunning() || ::kill(pid_t(m_daemon->processId()), SIGSTOP) != 0)
        return false;
    m_frozen = true;
    QDeadlineTimer deadline(2000);
    while (processState(m_daemon->processId()) != 'T') {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(1);
    }
    return true;
}

bool PulseServer::thaw()
{
    if (!isRunning() || ::kill(pid_t(m_daemon->processId()), SIGCONT) != 0)
        return false;
    m_frozen = false;
    return true;
}

bool PulseServer::startRecording()
{
    if (!isRunning() || m_recorder)
        return false;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return false;
    // parec writes into a pipe that a thread of ours reads as the bytes
    // come, so that their arrival is timed whatever the test's thread is
    // doing.
    m_recorder = serverProcess(fds[1]);
    m_recorder->setProcessEnvironment(toolEnvironment());
    m_recorder->setStandardOutputFile(QProcess::nullDevice());
    m_recorder->setStandardErrorFile(m_dir.filePath(QStringLiteral("parec.log")));
    m_recorder->start(QStringLiteral("parec"),
        { QStringLiteral("-d"), m_sink + QStringLiteral(".monitor"), QStringLiteral("--raw"),
            QStringLiteral("--format=s16le"), QStringLiteral("--rate=%1").arg(kRate),
            QStringLiteral("--channels=%1").arg(kChannels),
            QStringLiteral("--latency-msec=%1").arg(kLatencyMsecs) });
    const bool started = m_recorder->waitForStarted(5000);
    // Only parec holds the pipe now, so the reader sees its end when parec
    // ends.
    ::close(fds[1]);
    if (!started) {
        ::close(fds[0]);
        m_recorder.reset();
        return false;
    }
    m_reader = std::thread([this, fd = fds[0]] { readRecording(fd); });
    // An idle null sink mixes in blocks of seconds; the first bytes come
    // once the block under way is done.
    QDeadlineTimer deadline(5000);
    while (origin() < 0) {
        if (deadline.hasExpired() || m_recorder->state() != QProcess::Running)
            return false;
        QThread::msleep(5);
    }
    return true;
}

void PulseServer::readRecording(int fd)
{
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        const qint64 now = QDeadlineTimer::current().deadlineNSecs();
        std::lock_guard lock(m_lock);
        m_recording.append(buffer, n);
        const qint64 frames = m_recording.size() / kFrameBytes;
        const qint64 origin = now - frames * 1000000000 / kRate;
        if (m_originNsecs < 0 || origin < m_originNsecs)
            m_originNsecs = origin;
    }
    ::close(fd);
}

void PulseServer::stopRecording()
{
    if (!m_recorder)
        return;
    endProcess(*m_recorder);
    if (m_reader.joinable())
        m_reader.join();
    m_recorder.reset();
}

QByteArray PulseServer::recorded() const
{
    std::lock_guard lock(m_lock);
    return m_recording.left(m_recording.size() / kFrameBytes * kFrameBytes);
}

qint64 PulseServer::recordedMsecs() const
{
    std::lock_guard lock(m_lock);
    return m_recording.size() / kFrameBytes * 1000 / kRate;
}

qint64 PulseServer::clockMsecs()
{
    return QDeadlineTimer::current().deadline();
}

qint64 PulseServer::origin() const
{
    std::lock_guard lock(m_lock);
    return m_originNsecs < 0 ? -1 : m_originNsecs / 1000000;
}

qint64 PulseServer::recordingMsecsAt(qint64 clockMsecs) const
{
    std::lock_guard lock(m_lock);
    return m_originNsecs < 0 ? -1 : clockMsecs - m_originNsecs / 1000000;
}
