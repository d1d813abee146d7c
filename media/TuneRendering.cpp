#include "TuneRendering.h"

#include "AppPath.h"
#include "MidiFile.h"
#include "RegularFile.h"
#include "SoundFont.h"
#include "SoundWarning.h"
#include "TuneRenderer.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QThread>
#include <QtEndian>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Larger is no tune.
constexpr qint64 kLargestMidiFile = 4 << 20;
// Shorter is no tune: looped, it would restart many times a second.
constexpr qint64 kShortestTuneFrames = TuneRendering::kRate / 10;
// Quieter than this (-60 dB) the last notes have rung out; what follows is
// cut off, all but a moment.
constexpr int kQuiet = 32;
constexpr qint64 kTailFrames = TuneRendering::kRate / 20;
// Frames kept in memory, a block at a time.
constexpr qint64 kMemoryBlockFrames = 65536;
// Part of every cache key: a change of how tunes are rendered renders them anew.
constexpr char kRenderingVersion[] = "vexa-tune/2 44100 s16 stereo gain 1 tail -60dB";

std::mutex g_registryLock;
std::condition_variable g_allStopped;
// Renderings alive, by tune, and those whole but kept nowhere else than in
// this run: later games find them here instead of rendering them again.
std::map<QByteArray, std::weak_ptr<TuneRendering>> g_alive;
std::map<QByteArray, std::shared_ptr<TuneRendering>> g_kept;
int g_running = 0;
std::atomic<bool> g_stopping { false };
// The cache folders cleaned up in this run.
QSet<QString> g_cleaned;

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

QString cacheKey(const QByteArray &midi, const QString &soundFont, const QString &synthesiser)
{
    const QFileInfo font(soundFont);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(midi);
    hash.addData(QFile::encodeName(font.absoluteFilePath()));
    hash.addData(QByteArray::number(font.size()));
    hash.addData(QByteArray::number(font.lastModified().toMSecsSinceEpoch()));
    hash.addData(synthesiser.toUtf8());
    hash.addData(QByteArray(kRenderingVersion));
    return QString::fromLatin1(hash.result().toHex().left(16));
}

// Whether `name` is a rendering of `tune`: "<tune>-<16 hex digits>.wav".
bool isRenderingOf(const QString &name, const QString &tune)
{
    const qsizetype keyAt = tune.size() + 1;
    if (name.size() != keyAt + 16 + 4 || !name.startsWith(tune + QLatin1Char('-'))
        || !name.endsWith(QLatin1String(".wav")))
        return false;
    return std::all_of(name.begin() + keyAt, name.begin() + keyAt + 16, [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            || (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
    });
}

// Everything up to `size` bytes at `offset`, or what was done before an
// error (errno tells it).
template <typename Data, typename Transfer>
qint64 allAt(int fd, Data *data, qint64 size, qint64 offset, Transfer transfer)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = transfer(fd, data + done, std::size_t(size - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    return done;
}

qint64 writeAt(int fd, const char *data, qint64 size, qint64 offset)
{
    return allAt(fd, data, size, offset, ::pwrite);
}

qint64 readAt(int fd, char *data, qint64 size, qint64 offset)
{
    return allAt(fd, data, size, offset, ::pread);
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Opens a regular file to read, never through a link, never waiting; -1
// otherwise.
int openRegular(const QString &path)
{
    const int fd = ::open(
        QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Files a run that ended before its rendering did left behind, in the
// cache folder, and the cache of earlier versions, which lay in the data
// folder. A part file that a rendering still writes is locked by it.
void cleanUp(const QString &folder, const QString &legacyFolder)
{
    const QDir dir(folder);
    for (const QString &name :
        dir.entryList({ QStringLiteral("*.part") }, QDir::Files | QDir::System | QDir::Hidden)) {
        const QByteArray path = QFile::encodeName(dir.filePath(name));
        struct stat status
        {
        };
        if (::lstat(path.constData(), &status) != 0)
            continue;
        if (S_ISREG(status.st_mode)) {
            const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
            if (fd < 0)
                continue;
            if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
                ::unlink(path.constData());
            ::close(fd);
        } else if (!S_ISDIR(status.st_mode)) {
            ::unlink(path.constData());
        }
    }
    QDir legacy(legacyFolder);
    if (legacyFolder.isEmpty() || !legacy.exists())
        return;
    for (const QString &name :
        legacy.entryList({ QStringLiteral("*.wav"), QStringLiteral("*.part") }, QDir::Files))
        legacy.remove(name);
    QDir().rmdir(legacyFolder);
}

} // namespace

TuneRendering::TuneRendering(Setting setting)
    : m_setting(std::move(setting))
{ }

TuneRendering::~TuneRendering()
{
    const int fd = m_fd.load();
    if (fd >= 0)
        ::close(fd);
}

std::shared_ptr<TuneRendering> TuneRendering::of(const QString &midiPath)
{
    const std::optional<QByteArray> read = RegularFile::read(midiPath, kLargestMidiFile);
    if (!read) {
        SoundWarning::once(SoundWarning::TuneLoad, QStringLiteral("no tune at \"%1\"").arg(midiPath));
        return {};
    }
    if (!MidiFile::isStandard(*read)) {
        SoundWarning::once(SoundWarning::TuneLoad, QStringLiteral("\"%1\" is not a MIDI file").arg(midiPath));
        return {};
    }
    Setting setting;
    setting.midiPath = midiPath;
    setting.midi = *read;
    setting.id = QFile::encodeName(QFileInfo(midiPath).absoluteFilePath()) + '\n'
        + QCryptographicHash::hash(*read, QCryptographicHash::Sha1);
    setting.cacheFolder = AppPath::cacheFolder();
    setting.soundFonts = SoundFont::candidates();
    setting.renderer = TuneRenderer::program();

    std::lock_guard lock(g_registryLock);
    if (const auto kept = g_kept.find(setting.id); kept != g_kept.end())
        return kept->second;
    if (auto alive = g_alive[setting.id].lock())
        return alive;
    static bool legacyNamed = false;
    if (!legacyNamed) {
        // Asked once: it may probe the program folder.
        legacyNamed = true;
        setting.legacyCacheFolder = AppPath::dataFile(QStringLiteral("cache"));
    }
    std::shared_ptr<TuneRendering> rendering(new TuneRendering(std::move(setting)));
    g_alive[rendering->m_setting.id] = rendering;
    return rendering;
}

void TuneRendering::start()
{
    State waiting = State::Waiting;
    if (!m_state.compare_exchange_strong(waiting, State::Rendering))
        return;
    {
        std::lock_guard lock(g_registryLock);
        if (g_running == 0)
            g_stopping = false;
        ++g_running;
    }
    QThread *thread = QThread::create([self = shared_from_this()] {
        self->run();
        std::lock_guard lock(g_registryLock);
        --g_running;
        g_allStopped.notify_all();
    });
    thread->setObjectName(QStringLiteral("tune rendering"));
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start(QThread::LowPriority);
}

bool TuneRendering::stopAll(QDeadlineTimer deadline)
{
    std::unique_lock lock(g_registryLock);
    g_stopping = true;
    const auto none = [] { return g_running == 0; };
    if (deadline.isForever()) {
        g_allStopped.wait(lock, none);
        return true;
    }
    return g_allStopped.wait_until(lock, deadline.deadline<std::chrono::steady_clock>(), none);
}

void TuneRendering::run()
{
    // Over a size limit (ulimit -f) a write fails instead of ending the
    // game: the tune then goes on in memory.
    static std::once_flag ignoreFileLimit;
    std::call_once(ignoreFileLimit, [] { std::signal(SIGXFSZ, SIG_IGN); });
    {
        // Before any rendering of this run makes its part file there.
        std::lock_guard lock(g_registryLock);
        if (!g_cleaned.contains(m_setting.cacheFolder)) {
            g_cleaned.insert(m_setting.cacheFolder);
            cleanUp(m_setting.cacheFolder, m_setting.legacyCacheFolder);
        }
    }

    const QString synthesiser = TuneRenderer::synthesiser(m_setting.renderer);
    if (synthesiser.isEmpty()) {
        SoundWarning::once(SoundWarning::TuneRender,
            QStringLiteral("the tune renderer \"%1\" cannot run; tunes stay silent").arg(m_setting.renderer));
        m_state = State::Failed;
        return;
    }
    const QStringList soundFonts = SoundFont::usable(m_setting.soundFonts);
    const QString tune = QFileInfo(m_setting.midiPath).completeBaseName();
    for (const QString &soundFont : soundFonts) {
        const QString target
            = QDir(m_setting.cacheFolder)
                  .filePath(tune + QLatin1Char('-') + cacheKey(m_setting.midi, soundFont, synthesiser)
                      + QStringLiteral(".wav"));
        if (openCached(target))
            return;
        if (renderWith(soundFont, target) != Made::SoundFontRefused)
            return;
        SoundFont::refuse(soundFont);
    }
    SoundWarning::once(SoundWarning::SoundFont,
        QStringLiteral("no soundfont in %1 that the synthesiser takes; tunes stay silent")
            .arg(m_setting.soundFonts.join(QLatin1String(", "))));
    m_state = State::Failed;
}

bool TuneRendering::openCached(const QString &path)
{
    const int fd = openRegular(path);
    if (fd < 0)
        return false;
    struct stat status
    {
    };
    QByteArray header(int(kDataOffset), '\0');
    const qint64 data = ::fstat(fd, &status) == 0 ? qint64(status.st_size) - kDataOffset : -1;
    if (data < kFrameBytes || data % kFrameBytes != 0
        || readAt(fd, header.data(), kDataOffset, 0) != kDataOffset || header != waveHeader(data)) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_fileFrames = data / kFrameBytes;
    {
        std::lock_guard lock(m_memoryLock);
        m_cacheFile = path;
    }
    m_ready = data / kFrameBytes;
    m_state = State::Finished;
    return true;
}

TuneRendering::Made TuneRendering::renderWith(const QString &soundFont, const QString &target)
{
    m_received = 0;
    m_lastLoud = -1;
    m_partialFrame.clear();
    m_toMemory = true;
    if (!QDir().mkpath(m_setting.cacheFolder)) {
        SoundWarning::once(SoundWarning::TuneCache,
            QStringLiteral("no cache folder at \"%1\"; tunes are kept in memory").arg(m_setting.cacheFolder));
    } else {
        // A name of its own, made here: whatever lies at another name (a
        // FIFO, a link) is never opened.
        QByteArray part = QFile::encodeName(target) + ".XXXXXX.part";
        const int fd = ::mkostemps(part.data(), 5, O_CLOEXEC);
        if (fd < 0) {
            SoundWarning::once(SoundWarning::TuneCache,
                QStringLiteral("cannot write in the cache folder \"%1\" (%2); tunes are kept in memory")
                    .arg(m_setting.cacheFolder, systemError()));
        } else {
            // Held while it is written, so that another run leaves it alone.
            ::flock(fd, LOCK_EX | LOCK_NB);
            m_partPath = QFile::decodeName(part);
            m_fd = fd;
            m_toMemory = writeAt(fd, waveHeader(0).constData(), kDataOffset, 0) != kDataOffset;
        }
    }

    QString why;
    const TuneRenderer::Outcome outcome = TuneRenderer::render(
        m_setting.renderer, soundFont, m_setting.midi,
        [this](const QByteArray &bytes) {
            if (g_stopping)
                return false;
            take(bytes);
            return true;
        },
        &why);
    switch (outcome) {
    case TuneRenderer::Outcome::Whole:
        finish(true, target);
        return Made::Whole;
    case TuneRenderer::Outcome::SoundFontRefused:
        SoundWarning::once(SoundWarning::SoundFont,
            QStringLiteral("the synthesiser refused the soundfont \"%1\": %2; trying the next")
                .arg(soundFont, why));
        dropPart();
        return Made::SoundFontRefused;
    case TuneRenderer::Outcome::Failed:
        if (m_received > 0) {
            SoundWarning::once(SoundWarning::TuneRender,
                QStringLiteral("rendering \"%1\" broke off: %2; it plays as far as it came")
                    .arg(m_setting.midiPath, why));
            finish(false, target);
            return Made::Whole;
        }
        SoundWarning::once(SoundWarning::TuneRender,
            QStringLiteral("cannot render \"%1\": %2").arg(m_setting.midiPath, why));
        break;
    case TuneRenderer::Outcome::Stopped:
        break;
    }
    dropPart();
    m_state = State::Failed;
    return Made::Failed;
}

void TuneRendering::take(const QByteArray &bytes)
{
    m_partialFrame.append(bytes);
    const qint64 frames = m_partialFrame.size() / kFrameBytes;
    if (frames == 0)
        return;
    const auto *samples = reinterpret_cast<const qint16 *>(m_partialFrame.constData());
    for (qint64 i = frames * kChannels - 1; i >= 0; --i) {
        if (std::abs(int(qFromLittleEndian(samples[i]))) > kQuiet) {
            m_lastLoud = std::max(m_lastLoud, m_received + i / kChannels);
            break;
        }
    }
    qint64 written = 0;
    if (!m_toMemory) {
        const int fd = m_fd.load();
        const qint64 bytesWritten = writeAt(fd, m_partialFrame.constData(), frames * kFrameBytes,
            kDataOffset + m_fileFrames.load() * kFrameBytes);
        written = bytesWritten / kFrameBytes;
        m_fileFrames += written;
        if (written < frames) {
            SoundWarning::once(SoundWarning::TuneCache,
                QStringLiteral("cannot write the rendered tune to \"%1\" (%2); the rest is kept in memory")
                    .arg(m_partPath, systemError()));
            m_toMemory = true;
        }
    }
    if (written < frames)
        keepInMemory(samples + written * kChannels, frames - written);
    m_received += frames;
    m_partialFrame.remove(0, int(frames * kFrameBytes));
    // Only what is known not to be the silence at the end, so that the
    // player never plays into what will be cut off.
    m_ready = std::min(m_received, m_lastLoud + 1 + kTailFrames);
}

void TuneRendering::keepInMemory(const qint16 *samples, qint64 frames)
{
    std::lock_guard lock(m_memoryLock);
    while (frames > 0) {
        if (m_memory.empty() || qint64(m_memory.back().size()) == kMemoryBlockFrames * kChannels) {
            m_memory.emplace_back();
            m_memory.back().reserve(std::size_t(kMemoryBlockFrames * kChannels));
        }
        std::vector<qint16> &block = m_memory.back();
        const qint64 room = kMemoryBlockFrames - qint64(block.size()) / kChannels;
        const qint64 now = std::min(room, frames);
        block.insert(block.end(), samples, samples + now * kChannels);
        samples += now * kChannels;
        frames -= now;
        m_memoryFrames += now;
    }
}

void TuneRendering::finish(bool whole, const QString &target)
{
    const qint64 total = std::max(
        std::min(m_received, m_lastLoud + 1 + kTailFrames), std::min(m_received, kShortestTuneFrames));
    bool kept = false;
    const int fd = m_fd.load();
    if (whole && !m_toMemory && fd >= 0 && !m_partPath.isEmpty()) {
        const QByteArray header = waveHeader(total * kFrameBytes);
        const QByteArray part = QFile::encodeName(m_partPath);
        const QByteArray name = QFile::encodeName(target);
        kept = writeAt(fd, header.constData(), kDataOffset, 0) == kDataOffset
            && ::ftruncate(fd, off_t(kDataOffset + total * kFrameBytes)) == 0 && ::fdatasync(fd) == 0
            && ::rename(part.constData(), name.constData()) == 0;
        if (!kept)
            SoundWarning::once(SoundWarning::TuneCache,
                QStringLiteral("cannot keep the rendered tune at \"%1\" (%2); it is kept for this run only")
                    .arg(target, systemError()));
    }
    if (kept) {
        m_partPath.clear();
        {
            std::lock_guard lock(m_memoryLock);
            m_cacheFile = target;
        }
        // Renderings of this tune made with another soundfont, another
        // synthesiser or by an older version are not needed any more.
        const QFileInfo info(target);
        QDir dir = info.dir();
        const QString tune = QFileInfo(m_setting.midiPath).completeBaseName();
        for (const QString &name : dir.entryList(QDir::Files | QDir::System)) {
            if (name != info.fileName() && isRenderingOf(name, tune))
                dir.remove(name);
        }
    } else {
        // The samples written stay readable through the open file.
        dropPart();
        std::lock_guard lock(g_registryLock);
        g_kept[m_setting.id] = shared_from_this();
    }
    m_ready = total;
    m_state = total > 0 ? State::Finished : State::Failed;
}

void TuneRendering::dropPart()
{
    if (!m_partPath.isEmpty())
        ::unlink(QFile::encodeName(m_partPath).constData());
    m_partPath.clear();
    if (m_received == 0) {
        const int fd = m_fd.exchange(-1);
        if (fd >= 0)
            ::close(fd);
        m_fileFrames = 0;
    }
}

qint64 TuneRendering::read(qint64 from, qint16 *to, qint64 frames) const
{
    const qint64 ready = m_ready.load();
    const qint64 wanted = std::min(frames, ready - from);
    if (wanted <= 0)
        return 0;
    // Loaded after `ready`: a frame below it is in the file, or else in
    // memory, where the frames that the file did not take follow them.
    const qint64 inFile = m_fileFrames.load();
    qint64 done = 0;
    if (from < inFile) {
        const qint64 part = std::min(wanted, inFile - from);
        const qint64 bytes = readAt(
            m_fd.load(), reinterpret_cast<char *>(to), part * kFrameBytes, kDataOffset + from * kFrameBytes);
        done = bytes / kFrameBytes;
        if (done < part)
            return done;
    }
    std::lock_guard lock(m_memoryLock);
    while (done < wanted) {
        const qint64 at = from + done - inFile;
        const std::size_t block = std::size_t(at / kMemoryBlockFrames);
        if (block >= m_memory.size())
            break;
        const std::vector<qint16> &samples = m_memory[block];
        const qint64 offset = at % kMemoryBlockFrames;
        const qint64 part = std::min(wanted - done, qint64(samples.size()) / kChannels - offset);
        if (part <= 0)
            break;
        std::memcpy(
            to + done * kChannels, samples.data() + offset * kChannels, std::size_t(part) * kFrameBytes);
        done += part;
    }
    return done;
}

QString TuneRendering::cacheFile() const
{
    std::lock_guard lock(m_memoryLock);
    return m_cacheFile;
}
