#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <mutex>
#include <thread>

// A PulseAudio server of the test's own, as players' desktops have one
// (or PipeWire's, which serves the same clients): a null sink, whose monitor `parec`
// records, so that a test hears what a player would. It listens on a
// socket in a temporary folder, with its own home and runtime folders, and
// never reaches the desktop's sound, its D-Bus or its cookie.
//
// The constructor starts the server and, once it answers, points this
// process's PulseAudio clients and SDL at it (PULSE_SERVER,
// SDL_AUDIODRIVER); they stay so until the process ends, since SDL reads
// them again whenever it opens a device. The destructor ends every process
// it started.
//
// The recording's time. The null sink mixes on the monotonic clock, one
// block (kLatencyMsecs) at a time and at most one block ahead, and it is
// loaded without rewinds, so nothing it has mixed is mixed again. No bytes
// reach the recorder before they were mixed, so each time bytes arrive,
// "arrival time minus the length recorded so far" bounds when the first
// recorded frame was due; the smallest of these is origin(). Only one
// prompt arrival is needed, and the bytes are read on a thread of their
// own, so a busy test process does not spoil it. Checked against a tone
// that a client with a 5 ms buffer wrote at a known instant, idle and on
// a two-core machine loaded with four such tests and two busy loops: what
// the sink mixes at the instant T lies from 21 ms before to 2 ms after
// recordingMsecsAt(T) (the tone was found from 6 ms before to 2 ms after
// the instant it was written, and it was mixed up to 15 ms after that). A
// sound's delay after an event therefore reads up to 21 ms short and at
// most 2 ms long.
class PulseServer
{
public:
    static constexpr int kRate = 44100;
    static constexpr int kChannels = 2;
    static constexpr int kFrameBytes = kChannels * 2;
    static constexpr int kLatencyMsecs = 10;

    PulseServer();
    ~PulseServer();
    PulseServer(const PulseServer &) = delete;
    PulseServer &operator=(const PulseServer &) = delete;

    // Whether the server started and still runs (a frozen one runs).
    bool isRunning() const;
    // Why it did not start, for QSKIP; empty when it did.
    QString whyNot() const { return m_whyNot; }
    // The sink everything plays into.
    QString sink() const { return m_sink; }
    // Where its clients reach it, as PULSE_SERVER names it.
    QString address() const { return QStringLiteral("unix:") + m_socket; }

    // Records the sink from now on, signed 16-bit little-endian stereo at
    // kRate. Returns once the first bytes have arrived (the sink may have
    // been idle with a long block), false if none came.
    bool startRecording();
    // Ends the recording; what was recorded stays readable.
    void stopRecording();
    // Everything recorded so far, in whole frames.
    QByteArray recorded() const;
    // The recording's length so far.
    qint64 recordedMsecs() const;

    // The test's clock: the monotonic clock, in ms, as
    // QDeadlineTimer::current().deadline() tells it.
    static qint64 clockMsecs();
    // When the first recorded frame was mixed, on clockMsecs(); -1 before
    // any bytes arrived. Only ever moves earlier as bytes arrive.
    qint64 origin() const;
    // Where in the recording (ms from its start) the sink was mixing at the
    // given instant of clockMsecs().
    qint64 recordingMsecsAt(qint64 clockMsecs) const;

    // How many playback streams are connected now; -1 when the server does
    // not answer (also while it is frozen).
    int sinkInputs() const;
    // Stops the server dead (SIGSTOP), as a stalled sound server is, and
    // lets it go on. The null sink catches up afterwards, so the recording
    // keeps to the clock, with what was not played as silence.
    bool freeze();
    bool thaw();

private:
    QProcessEnvironment toolEnvironment() const;
    // A command-line tool of pulseaudio-utils against this server; its
    // output, or nothing when it failed or did not end in time.
    bool runTool(const QString &program, const QStringList &args, QByteArray *output) const;
    bool start();
    void readRecording(int fd);
    void stopDaemon();

    QTemporaryDir m_dir;
    QString m_socket;
    QString m_sink = QStringLiteral("vexa_test");
    QString m_whyNot;
    std::unique_ptr<QProcess> m_daemon;
    std::unique_ptr<QProcess> m_recorder;
    std::thread m_reader;
    bool m_frozen = false;

    mutable std::mutex m_lock;
    QByteArray m_recording;
    qint64 m_originNsecs = -1;
};
