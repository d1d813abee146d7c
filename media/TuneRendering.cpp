#include "TuneRendering.h"

#include "AppPath.h"
#include "FluidSynthLibrary.h"
#include "MidiFile.h"
#include "RegularFile.h"
#include "SoundFont.h"
#include "SoundWarning.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <map>
#include <thread>
#include <vector>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// Longer only if the MIDI file never ends.
constexpr qint64 kLongestTuneFrames = qint64(TuneRendering::kRate) * 15 * 60;
// Shorter is no tune: looped, it would restart many times a second.
constexpr qint64 kShortestTuneFrames = TuneRendering::kRate / 10;
constexpr int kBlockFrames = 4096;
constexpr qint64 kLargestMidiFile = 4 << 20;
// Part of every cache key: a change of how tunes are rendered renders them anew.
constexpr char kRenderingVersion[] = "vexa-tune/1 44100 s16 stereo gain 1";

std::mutex g_registryLock;
std::condition_variable g_allStopped;
std::map<QString, std::weak_ptr<TuneRendering>> g_inProgress;
int g_running = 0;
std::atomic<bool> g_stopping { false };

QByteArray waveHeader(qint64 dataBytes)
{
    QByteArray h(int(TuneRendering::kDataOffset), '\0');
    char *p = h.data();
    const auto put32 = [&p](quint32 v) { qToLittleEndian(v, p), p += 4; };
    const auto put16 = [&p](quint16 v) { qToLittleEndian(v, p), p += 2; };
    std::memcpy(p, "RIFF", 4), p += 4;
    put32(quint32(36 + dataBytes));
    std::memcpy(p, "WAVEfmt ", 8), p += 8;
    put32(16);
    put16(1);
    put16(TuneRendering::kChannels);
    put32(TuneRendering::kRate);
    put32(TuneRendering::kRate * TuneRendering::kFrameBytes);
    put16(TuneRendering::kFrameBytes);
    put16(16);
    std::memcpy(p, "data", 4), p += 4;
    put32(quint32(dataBytes));
    return h;
}

// The frames of a complete cache file, or -1.
qint64 cachedFrames(const QString &path)
{
    QFile file(path);
    if (!RegularFile::open(file))
        return -1;
    const qint64 data = file.size() - TuneRendering::kDataOffset;
    if (data < kShortestTuneFrames * TuneRendering::kFrameBytes || data % TuneRendering::kFrameBytes != 0)
        return -1;
    if (file.read(TuneRendering::kDataOffset) != waveHeader(data))
        return -1;
    return data / TuneRendering::kFrameBytes;
}

QString cacheKey(const QByteArray &midi, const QString &soundFont)
{
    const QFileInfo font(soundFont);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(midi);
    hash.addData(QFile::encodeName(font.absoluteFilePath()));
    hash.addData(QByteArray::number(font.size()));
    hash.addData(QByteArray::number(font.lastModified().toMSecsSinceEpoch()));
    hash.addData(QByteArray(kRenderingVersion));
    return QString::fromLatin1(hash.result().toHex().left(16));
}

// The synthesiser's samples (megabytes) are allocated on the rendering
// thread. glibc serves large blocks from that thread's arena once its mmap
// threshold has grown, and it never gives the top of a thread's arena back,
// not even to malloc_trim: fixing the threshold keeps large blocks in maps
// of their own, which go back to the system when they are freed.
void keepLargeBlocksApart()
{
#if defined(__GLIBC__)
    static std::once_flag once;
    std::call_once(once, [] { mallopt(M_MMAP_THRESHOLD, 128 * 1024); });
#endif
}

void giveMemoryBack()
{
#if defined(__GLIBC__)
    // What is free in the arenas goes back too.
    malloc_trim(0);
#endif
}

} // namespace

TuneRendering::TuneRendering(const QString &path, qint64 frames, bool finished)
    : m_path(path)
    , m_framesReady(frames)
    , m_state(finished ? State::Finished : State::Rendering)
{ }

QString TuneRendering::cacheFolder()
{
    return AppPath::dataFile(QStringLiteral("cache"));
}

std::shared_ptr<TuneRendering> TuneRendering::of(const QString &midiPath)
{
    const std::optional<QByteArray> read = RegularFile::read(midiPath, kLargestMidiFile);
    if (!read) {
        SoundWarning::once(SoundWarning::TuneLoad, QStringLiteral("no tune at \"%1\"").arg(midiPath));
        return {};
    }
    const QByteArray &midi = *read;
    if (!MidiFile::isStandard(midi)) {
        SoundWarning::once(SoundWarning::TuneLoad, QStringLiteral("\"%1\" is not a MIDI file").arg(midiPath));
        return {};
    }
    const QString soundFont = SoundFont::resolved();
    if (soundFont.isEmpty()) {
        SoundWarning::once(SoundWarning::SoundFont,
            QStringLiteral("no usable soundfont in %1; tunes stay silent")
                .arg(SoundFont::candidates().join(QLatin1String(", "))));
        return {};
    }
    const QString folder = cacheFolder();
    if (!QDir().mkpath(folder)) {
        SoundWarning::once(SoundWarning::TuneRender, QStringLiteral("no cache folder at \"%1\"").arg(folder));
        return {};
    }
    const QString key = cacheKey(midi, soundFont);
    const QString target = QDir(folder).filePath(
        QFileInfo(midiPath).completeBaseName() + QLatin1Char('-') + key + QStringLiteral(".wav"));
    const qint64 frames = cachedFrames(target);
    if (frames > 0)
        return std::make_shared<TuneRendering>(target, frames, true);

    std::lock_guard lock(g_registryLock);
    if (auto running = g_inProgress[target].lock())
        return running;
    // Made here, so that the player can open it as soon as this returns.
    const QString part = target + QStringLiteral(".part");
    std::FILE *out = std::fopen(QFile::encodeName(part).constData(), "wb");
    if (!out) {
        SoundWarning::once(SoundWarning::TuneRender, QStringLiteral("cannot write \"%1\"").arg(part));
        return {};
    }
    auto rendering = std::make_shared<TuneRendering>(part, 0, false);
    g_inProgress[target] = rendering;
    ++g_running;
    g_stopping = false;
    keepLargeBlocksApart();
    std::thread(&TuneRendering::render, rendering, out, midi, soundFont, target).detach();
    return rendering;
}

void TuneRendering::render(
    std::shared_ptr<TuneRendering> self, std::FILE *out, QByteArray midi, QString soundFont, QString target)
{
    self->renderNow(out, midi, soundFont, target);
    giveMemoryBack();
    std::lock_guard lock(g_registryLock);
    g_inProgress.erase(target);
    --g_running;
    g_allStopped.notify_all();
}

void TuneRendering::renderNow(
    std::FILE *out, const QByteArray &midi, const QString &soundFont, const QString &target)
{
    const QString part = filePath();
    const auto fail = [&](const QString &why) {
        if (!why.isEmpty())
            SoundWarning::once(SoundWarning::TuneRender, why);
        QFile::remove(part);
        m_state = State::Failed;
    };
    FluidSynthLibrary fluid;
    if (!fluid.isLoaded()) {
        std::fclose(out);
        return fail(QStringLiteral("no FluidSynth, tunes stay silent: %1").arg(fluid.errorString()));
    }

    fluid_settings_t *settings = fluid.newSettings();
    fluid.setNum(settings, "synth.sample-rate", kRate);
    // The player keeps time by the samples made, not by the clock, so that
    // it can run ahead of real time.
    fluid.setStr(settings, "player.timing-source", "sample");
    fluid.setInt(settings, "synth.lock-memory", 0);
    fluid_synth_t *synth = fluid.newSynth(settings);
    fluid_player_t *player = nullptr;
    bool ok
        = synth && fluid.loadSoundFont(synth, QFile::encodeName(soundFont).constData(), 1) != FLUID_FAILED;
    if (ok) {
        // Full scale, as the game's tunes always played.
        fluid.setGain(synth, 1.0f);
        player = fluid.newPlayer(synth);
        ok = player && fluid.addMidi(player, midi.constData(), std::size_t(midi.size())) == FLUID_OK
            && fluid.play(player) == FLUID_OK;
    }
    ok = ok && std::fwrite(waveHeader(0).constData(), 1, kDataOffset, out) == std::size_t(kDataOffset);

    std::vector<qint16> block(std::size_t(kBlockFrames) * kChannels);
    qint64 frames = 0;
    while (ok && !g_stopping && fluid.status(player) == FLUID_PLAYER_PLAYING && frames < kLongestTuneFrames) {
        fluid.writeS16(synth, kBlockFrames, block.data(), 0, 2, block.data(), 1, 2);
        ok = std::fwrite(block.data(), kFrameBytes, kBlockFrames, out) == std::size_t(kBlockFrames)
            && std::fflush(out) == 0;
        if (ok) {
            frames += kBlockFrames;
            m_framesReady = frames;
        }
    }
    if (player)
        fluid.deletePlayer(player);
    if (synth)
        fluid.deleteSynth(synth);
    fluid.deleteSettings(settings);

    const bool complete = ok && !g_stopping && frames >= kShortestTuneFrames;
    const QByteArray header = waveHeader(frames * kFrameBytes);
    const bool written = complete && std::fseek(out, 0, SEEK_SET) == 0
        && std::fwrite(header.constData(), 1, std::size_t(header.size()), out) == std::size_t(header.size());
    if (std::fclose(out) != 0 || !written
        || std::rename(QFile::encodeName(part).constData(), QFile::encodeName(target).constData()) != 0)
        return fail(
            complete ? QStringLiteral("cannot keep the rendered tune \"%1\"").arg(target) : QString());

    setPath(target);
    m_state = State::Finished;
    // Renderings of this tune made with another soundfont or of an older
    // version of it are not needed any more.
    const QFileInfo kept(target);
    const QString tune = kept.completeBaseName().section(QLatin1Char('-'), 0, -2);
    const QStringList stale = kept.dir().entryList({ tune + QStringLiteral("-*.wav") }, QDir::Files);
    for (const QString &name : stale) {
        if (name != kept.fileName())
            kept.dir().remove(name);
    }
}

void TuneRendering::stopAll()
{
    std::unique_lock lock(g_registryLock);
    g_stopping = true;
    g_allStopped.wait(lock, [] { return g_running == 0; });
}

QString TuneRendering::filePath() const
{
    std::lock_guard lock(m_lock);
    return m_path;
}

void TuneRendering::setPath(const QString &path)
{
    std::lock_guard lock(m_lock);
    m_path = path;
}
