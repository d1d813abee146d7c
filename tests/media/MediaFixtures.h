#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

class MMControl;

// Sound files the media tests make for themselves, and a way to tell sound
// from silence in raw PCM.
namespace MediaFixtures {

// A mono 16-bit 44.1 kHz WAV holding a sine of the given length, pitch and
// peak (0..1).
bool writeSineWav(const QString &path, int milliseconds, double frequency = 440.0, double peak = 0.5);

// A format-0 standard MIDI file at 120 beats a minute that plays one note for
// the given length on the given General MIDI program.
bool writeOneNoteMidi(const QString &path, int milliseconds, int program = 0, int note = 60);

// Bytes that no decoder takes for a sound.
bool writeGarbage(const QString &path, int size = 4096);

// Signed 16-bit little-endian samples.
struct Loudness
{
    qint64 samples = 0; // all samples looked at
    qint64 nonZero = 0; // samples that are not exactly silent
    double loudestWindowRms = 0; // RMS of the loudest run of kWindow samples
};
constexpr int kWindow = 1024;
Loudness measure(const QByteArray &pcm16);

// The bytes of a growing file from the given offset to the given end (or to
// its current end).
QByteArray readRange(const QString &path, qint64 from, qint64 to = -1);
qint64 fileSize(const QString &path);

// How many playback devices SDL has open in this process now.
int openDevices();

// Opens the file on the control and plays it, with Notify set so that
// Done tells when it ends, as the game starts its tune.
void openAndPlay(MMControl &control, const QString &file);

// The game's tune loop on the control: on Done, a tune that has stopped is
// rewound and played again.
void loopOnDone(MMControl &control);

// Collects what the sound tells the log while it lives, passing it on as
// usual. One at a time.
class SoundWarnings
{
public:
    SoundWarnings();
    ~SoundWarnings();
    SoundWarnings(const SoundWarnings &) = delete;
    SoundWarnings &operator=(const SoundWarnings &) = delete;

    QStringList said() const;
    void clear();

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message);
};

// A recording of the sound server: signed 16-bit little-endian stereo at
// 44.1 kHz, read in windows of kLevelFrames (10 ms) on the mean of both
// channels.
constexpr int kRecordingRate = 44100;
constexpr int kLevelFrames = 441;
constexpr int kLevelMsecs = kLevelFrames * 1000 / kRecordingRate;

// For each window, the peak a sine of the given frequency has there
// (0..32768), by Goertzel's algorithm over the Hann-weighted window. A
// steady tone 200 Hz or more away reads under 3 % of its own peak; the
// window where one starts or stops splashes more: up to a quarter of its
// peak 200 Hz away, a tenth 440 Hz away.
QList<double> toneLevels(const QByteArray &stereo16, double frequency);
// For each window, the RMS of the samples, whatever sounds.
QList<double> rmsLevels(const QByteArray &stereo16);

// A stretch of a recording, in ms from its start.
struct Interval
{
    qint64 startMsecs = 0;
    qint64 endMsecs = 0;
    qint64 msecs() const { return endMsecs - startMsecs; }
};
// The runs of windows whose level is at least `threshold`; runs less than
// `mergeGapMsecs` apart count as one.
QList<Interval> intervalsAbove(const QList<double> &levels, double threshold, int mergeGapMsecs = 0);
// Where the frequency is heard at `threshold` (a peak, as toneLevels
// reads it), and where anything sounds at an RMS of `threshold`.
QList<Interval> toneIntervals(
    const QByteArray &stereo16, double frequency, double threshold, int mergeGapMsecs = 0);
QList<Interval> soundIntervals(const QByteArray &stereo16, double threshold, int mergeGapMsecs = 50);
// How long the intervals last together.
qint64 totalMsecs(const QList<Interval> &intervals);
QString describe(const QList<Interval> &intervals);

} // namespace MediaFixtures
