#include "MediaFixtures.h"

#include "MMControl.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringList>
#include <QtEndian>
#include <cmath>
#include <numbers>
#include <vector>

namespace MediaFixtures {

namespace {

void put16(QByteArray &out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void put32(QByteArray &out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

void putBig16(QByteArray &out, quint16 v)
{
    char b[2];
    qToBigEndian(v, b);
    out.append(b, 2);
}

void putBig32(QByteArray &out, quint32 v)
{
    char b[4];
    qToBigEndian(v, b);
    out.append(b, 4);
}

// MIDI's variable-length quantity: seven bits a byte, most significant first.
void putVarLen(QByteArray &out, quint32 v)
{
    QByteArray bytes;
    bytes.prepend(char(v & 0x7f));
    while ((v >>= 7) != 0)
        bytes.prepend(char((v & 0x7f) | 0x80));
    out.append(bytes);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

} // namespace

bool writeSineWav(const QString &path, int milliseconds, double frequency, double peak)
{
    constexpr int rate = 44100;
    const int frames = rate * milliseconds / 1000;
    QByteArray data;
    data.reserve(frames * 2);
    for (int i = 0; i < frames; ++i) {
        const double v = peak * std::sin(2.0 * std::numbers::pi * frequency * i / rate);
        put16(data, quint16(qint16(std::lround(v * 32767.0))));
    }

    QByteArray wav("RIFF");
    put32(wav, quint32(36 + data.size()));
    wav.append("WAVEfmt ");
    put32(wav, 16); // fmt chunk size
    put16(wav, 1); // PCM
    put16(wav, 1); // mono
    put32(wav, rate);
    put32(wav, rate * 2); // bytes a second
    put16(wav, 2); // bytes a frame
    put16(wav, 16); // bits a sample
    wav.append("data");
    put32(wav, quint32(data.size()));
    wav.append(data);
    return writeFile(path, wav);
}

bool writeOneNoteMidi(const QString &path, int milliseconds, int program, int note)
{
    constexpr int division = 480; // ticks a quarter note
    constexpr int microsPerQuarter = 500000; // 120 beats a minute
    const quint32 ticks = quint32(qint64(milliseconds) * 1000 * division / microsPerQuarter);

    QByteArray track;
    putVarLen(track, 0);
    track.append("\xff\x51\x03", 3);
    track.append(char((microsPerQuarter >> 16) & 0xff));
    track.append(char((microsPerQuarter >> 8) & 0xff));
    track.append(char(microsPerQuarter & 0xff));
    putVarLen(track, 0);
    track.append(char(0xc0));
    track.append(char(program & 0x7f));
    putVarLen(track, 0);
    track.append(char(0x90));
    track.append(char(note & 0x7f));
    track.append(char(120));
    putVarLen(track, ticks);
    track.append(char(0x80));
    track.append(char(note & 0x7f));
    track.append(char(64));
    putVarLen(track, 0);
    track.append("\xff\x2f\x00", 3);

    QByteArray smf("MThd");
    putBig32(smf, 6);
    putBig16(smf, 0); // format 0: everything on one track
    putBig16(smf, 1); // track count
    putBig16(smf, division);
    smf.append("MTrk");
    putBig32(smf, quint32(track.size()));
    smf.append(track);
    return writeFile(path, smf);
}

bool writeGarbage(const QString &path, int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator rng(20240611);
    for (char &c : bytes)
        c = char(rng.bounded(256));
    return writeFile(path, bytes);
}

Loudness measure(const QByteArray &pcm16)
{
    Loudness result;
    const qint64 count = pcm16.size() / 2;
    result.samples = count;
    std::vector<double> squares(static_cast<size_t>(count));
    for (qint64 i = 0; i < count; ++i) {
        const qint16 s = qFromLittleEndian<qint16>(pcm16.constData() + 2 * i);
        if (s != 0)
            ++result.nonZero;
        squares[size_t(i)] = double(s) * double(s);
    }
    double window = 0;
    for (qint64 i = 0; i < count; ++i) {
        window += squares[size_t(i)];
        if (i >= kWindow)
            window -= squares[size_t(i - kWindow)];
        // Only whole windows count, so that one stray sample cannot pass for a tone.
        if (i + 1 >= kWindow || i + 1 == count) {
            const double n = double(qMin<qint64>(i + 1, kWindow));
            result.loudestWindowRms = qMax(result.loudestWindowRms, std::sqrt(qMax(window, 0.0) / n));
        }
    }
    return result;
}

QByteArray readRange(const QString &path, qint64 from, qint64 to)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(from))
        return {};
    return to < 0 ? file.readAll() : file.read(qMax<qint64>(to - from, 0));
}

qint64 fileSize(const QString &path)
{
    return QFileInfo(path).size();
}

void openAndPlay(MMControl &control, const QString &file)
{
    control.Notify = true;
    control.FileName = file;
    control.setCommand(QStringLiteral("open"));
    control.setCommand(QStringLiteral("play"));
}

void loopOnDone(MMControl &control)
{
    QObject::connect(&control, &MMControl::Done, &control, [&control](int) {
        if (control.Mode() == MMControl::kModeStopped) {
            control.setCommand(QStringLiteral("prev"));
            control.setCommand(QStringLiteral("play"));
        }
    });
}

namespace {
QStringList g_said;
QtMessageHandler g_passOn = nullptr;
} // namespace

SoundWarnings::SoundWarnings()
{
    g_said.clear();
    g_passOn = qInstallMessageHandler(&SoundWarnings::handle);
}

SoundWarnings::~SoundWarnings()
{
    qInstallMessageHandler(g_passOn);
    g_passOn = nullptr;
}

QStringList SoundWarnings::said() const
{
    return g_said;
}

void SoundWarnings::clear()
{
    g_said.clear();
}

void SoundWarnings::handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("MMControl:")))
        g_said << message;
    if (g_passOn)
        g_passOn(type, context, message);
}

int openDevices()
{
    // SDL names the thread that feeds an open playback device "SDLAudioP<n>".
    int devices = 0;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks.filePath(task + QStringLiteral("/comm")));
        if (comm.open(QIODevice::ReadOnly) && comm.readAll().startsWith("SDLAudioP"))
            ++devices;
    }
    return devices;
}

namespace {

// The mean of both channels of each frame of one window.
std::vector<double> windowFrames(const QByteArray &stereo16, qsizetype window)
{
    std::vector<double> frames(kLevelFrames);
    const char *at = stereo16.constData() + window * kLevelFrames * 4;
    for (int i = 0; i < kLevelFrames; ++i, at += 4)
        frames[size_t(i)]
            = (double(qFromLittleEndian<qint16>(at)) + double(qFromLittleEndian<qint16>(at + 2))) / 2;
    return frames;
}

qsizetype windowCount(const QByteArray &stereo16)
{
    return stereo16.size() / 4 / kLevelFrames;
}

} // namespace

QList<double> toneLevels(const QByteArray &stereo16, double frequency)
{
    const double coefficient = 2 * std::cos(2 * std::numbers::pi * frequency / kRecordingRate);
    std::vector<double> hann(kLevelFrames);
    double weight = 0;
    for (int i = 0; i < kLevelFrames; ++i) {
        hann[size_t(i)] = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * i / (kLevelFrames - 1));
        weight += hann[size_t(i)];
    }
    QList<double> levels;
    for (qsizetype w = 0; w < windowCount(stereo16); ++w) {
        const std::vector<double> frames = windowFrames(stereo16, w);
        double s1 = 0;
        double s2 = 0;
        for (int i = 0; i < kLevelFrames; ++i) {
            const double s0 = frames[size_t(i)] * hann[size_t(i)] + coefficient * s1 - s2;
            s2 = s1;
            s1 = s0;
        }
        const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
        // A sine of peak A gives a magnitude of A times half the weight.
        levels.append(2 * std::sqrt(qMax(power, 0.0)) / weight);
    }
    return levels;
}

QList<double> rmsLevels(const QByteArray &stereo16)
{
    QList<double> levels;
    for (qsizetype w = 0; w < windowCount(stereo16); ++w) {
        double sum = 0;
        for (const double v : windowFrames(stereo16, w))
            sum += v * v;
        levels.append(std::sqrt(sum / kLevelFrames));
    }
    return levels;
}

QList<Interval> intervalsAbove(const QList<double> &levels, double threshold, int mergeGapMsecs)
{
    QList<Interval> found;
    for (qsizetype w = 0; w < levels.size(); ++w) {
        if (levels[w] < threshold)
            continue;
        const qint64 start = w * kLevelFrames * 1000 / kRecordingRate;
        const qint64 end = (w + 1) * kLevelFrames * 1000 / kRecordingRate;
        if (!found.isEmpty() && start - found.last().endMsecs < qMax(mergeGapMsecs, 1))
            found.last().endMsecs = end;
        else
            found.append(Interval { start, end });
    }
    return found;
}

QList<Interval> toneIntervals(
    const QByteArray &stereo16, double frequency, double threshold, int mergeGapMsecs)
{
    return intervalsAbove(toneLevels(stereo16, frequency), threshold, mergeGapMsecs);
}

QList<Interval> soundIntervals(const QByteArray &stereo16, double threshold, int mergeGapMsecs)
{
    return intervalsAbove(rmsLevels(stereo16), threshold, mergeGapMsecs);
}

qint64 totalMsecs(const QList<Interval> &intervals)
{
    qint64 total = 0;
    for (const Interval &i : intervals)
        total += i.msecs();
    return total;
}

QString describe(const QList<Interval> &intervals)
{
    QStringList parts;
    for (const Interval &i : intervals)
        parts << QStringLiteral("%1-%2 ms").arg(i.startMsecs).arg(i.endMsecs);
    return parts.isEmpty() ? QStringLiteral("nothing") : parts.join(QStringLiteral(", "));
}

} // namespace MediaFixtures
