#include "MMControl.h"

#include "AppPath.h"
#include "RegularFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QMetaObject>
#include <SDL.h>
#include <SDL_mixer.h>
#include <array>
#include <mutex>
#include <utility>
#include <vector>

namespace {

enum class Failure {
    AudioInit,
    MidiBackEnd,
    SoundFont,
    MusicLoad,
    MusicPlay,
    NothingOpen,
    EffectLoad,
    EffectPlay,
    UnknownCommand,
    Count
};

// A game that plays a click on every move would otherwise repeat the same
// complaint thousands of times.
bool firstComplaint(Failure kind)
{
    static std::array<bool, static_cast<size_t>(Failure::Count)> said {};
    bool &s = said[static_cast<size_t>(kind)];
    if (s)
        return false;
    s = true;
    return true;
}

void warnOnce(Failure kind, const QString &text)
{
    if (firstComplaint(kind))
        qWarning("MMControl: %s", qUtf8Printable(text));
}

enum class AudioState { Untried, Ready, Failed, ShutDown };
AudioState g_audio = AudioState::Untried;

constexpr int kMixChannels = 16;
constexpr int kSampleRate = 44100;
constexpr int kChunkFrames = 2048;
constexpr int kOutputChannels = 2;
// Far more than any click or fanfare; what is longer is not an effect.
constexpr qint64 kMaxEffectBytes = 16 * 1024 * 1024;

// What the audio thread needs to know to report an ending, and to whom. Only
// the finished hooks and the UI thread touch it, always under g_handOver.
// Lock order: SDL's audio lock, then g_handOver. The hooks run with the audio
// lock held, so the UI thread never calls into SDL_mixer while holding
// g_handOver.
struct Owner
{
    MMControl *control = nullptr;
    quint64 token = 0;
};
std::mutex g_handOver;
Owner g_liveTune;
std::vector<Owner> g_channelOwners;

// UI thread only.
quint64 g_nextToken = 0;
QString g_preferredSoundFont;
QList<MMControl *> g_instances;

bool isSoundFont(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(12);
    return head.size() == 12 && head.startsWith("RIFF") && head.mid(8, 4) == "sfbk";
}

// FluidSynth takes any bytes for a MIDI file and only finds out when it
// plays them, at which point the "tune" ends at once. Looped from Done, that
// would restart it forever, so a file the mixer reads as MIDI has to be a
// standard MIDI file (bare or in a RIFF RMID wrapper) with a track in it.
bool isMidiFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(64);
    if (head.startsWith("RIFF") && head.mid(8, 4) == "RMID")
        return true;
    if (!head.startsWith("MThd") || head.size() < 8)
        return false;
    const quint32 headerLength = (quint32(quint8(head[4])) << 24) | (quint32(quint8(head[5])) << 16)
        | (quint32(quint8(head[6])) << 8) | quint32(quint8(head[7]));
    if (headerLength < 6 || headerLength > 1024 || !file.seek(8 + headerLength))
        return false;
    return file.read(4) == "MTrk";
}

QByteArray localPath(const QString &path)
{
    return QFile::encodeName(path);
}

} // namespace

MMControl::MMControl(QObject *parent)
    : QObject(parent)
{
    g_instances.append(this);
}

MMControl::~MMControl()
{
    g_instances.removeOne(this);
    {
        // From here on the audio thread can no longer address this object;
        // anything it already posted is discarded with the object.
        std::lock_guard lock(g_handOver);
        if (g_liveTune.control == this)
            g_liveTune = {};
        for (Owner &owner : g_channelOwners) {
            if (owner.control == this)
                owner = {};
        }
    }
    releaseAll();
}

void MMControl::setCommand(const QString &command)
{
    const QString name = command.trimmed().toLower();
    m_history.append(name + QLatin1Char(' ') + FileName);
    while (m_history.size() > kHistoryLimit)
        m_history.removeFirst();
    emit commandIssued(name, FileName);

    if (name == QLatin1String("open"))
        open();
    else if (name == QLatin1String("play"))
        play();
    else if (name == QLatin1String("stop"))
        stop();
    else if (name == QLatin1String("close"))
        close();
    else if (name == QLatin1String("prev"))
        prev();
    else if (name == QLatin1String("sound"))
        sound();
    else
        warnOnce(Failure::UnknownCommand, QStringLiteral("unknown command \"%1\" ignored").arg(command));
}

int MMControl::Mode() const
{
    return m_playing && tuneIsLive() ? kModePlaying : kModeStopped;
}

void MMControl::open()
{
    close();
    if (!ensureAudio())
        return;
    if (!QFileInfo(FileName).isFile()) {
        warnOnce(Failure::MusicLoad, QStringLiteral("no tune at \"%1\"").arg(FileName));
        return;
    }
    // A sequencer plays MIDI and nothing else. The name left behind by an
    // effect must not open as music, or the tune loop would replay the
    // effect ten times a second.
    if (DeviceType.compare(QLatin1String("Sequencer"), Qt::CaseInsensitive) == 0 && !isMidiFile(FileName)) {
        warnOnce(Failure::MusicLoad, QStringLiteral("\"%1\" is not a MIDI file").arg(FileName));
        return;
    }
    // Set before every load, since FluidSynth reads the soundfont for each
    // tune and the preferred one may have changed since.
    const QString soundFont = resolvedSoundFont();
    if (soundFont.isEmpty())
        warnOnce(Failure::SoundFont,
            QStringLiteral("no usable soundfont in %1; tunes stay silent")
                .arg(soundFontCandidates().join(QLatin1String(", "))));
    else
        Mix_SetSoundFonts(localPath(soundFont).constData());

    m_music = Mix_LoadMUS(localPath(FileName).constData());
    if (!m_music) {
        warnOnce(Failure::MusicLoad, QStringLiteral("cannot open \"%1\": %2").arg(FileName, Mix_GetError()));
        return;
    }
    if (Mix_GetMusicType(m_music) == MUS_MID && !isMidiFile(FileName)) {
        Mix_FreeMusic(m_music);
        m_music = nullptr;
        warnOnce(Failure::MusicLoad, QStringLiteral("\"%1\" is not a MIDI file").arg(FileName));
    }
}

void MMControl::play()
{
    if (!m_music) {
        // Without a device nothing could be opened, and that was said already.
        if (ensureAudio())
            warnOnce(Failure::NothingOpen, QStringLiteral("play with no tune open ignored"));
        return;
    }
    m_notifyTune = Notify;
    if (tuneIsLive()) {
        // Stopped tunes are only paused, so they carry on where they were.
        if (!m_playing) {
            Mix_ResumeMusic();
            m_playing = true;
        }
        return;
    }
    startTune();
}

void MMControl::stop()
{
    // Pausing rather than halting keeps the place for the next "play" and
    // never fires SDL_mixer's finished hook, so a stop cannot pass for the
    // end of the tune. An end reported just before the stop carries a token
    // the stop has made stale (see onMusicEnded).
    if (m_playing && tuneIsLive())
        Mix_PauseMusic();
    m_playing = false;
}

void MMControl::close()
{
    m_playing = false;
    releaseTune();
    if (m_music) {
        Mix_FreeMusic(m_music);
        m_music = nullptr;
    }
}

void MMControl::prev()
{
    // A tune that is not in the mixer (never played, ended, replaced) starts
    // from the top at the next "play" anyway.
    if (!m_music || !tuneIsLive())
        return;
    if (Mix_SetMusicPosition(0.0) == 0)
        return;
    // The decoder cannot seek (FluidSynth cannot): start over instead, which
    // for a stopped tune means leaving the start to the next "play".
    const bool wasPlaying = m_playing;
    releaseTune();
    m_playing = false;
    if (wasPlaying)
        startTune();
}

void MMControl::sound()
{
    if (!ensureAudio())
        return;
    // Read here, from a regular file only: the mixer would wait forever on
    // a FIFO.
    const std::optional<QByteArray> bytes = RegularFile::read(FileName, kMaxEffectBytes);
    if (!bytes) {
        warnOnce(Failure::EffectLoad, QStringLiteral("no effect at \"%1\"").arg(FileName));
        return;
    }
    Mix_Chunk *chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes->constData(), int(bytes->size())), 1);
    if (!chunk) {
        warnOnce(Failure::EffectLoad,
            QStringLiteral("cannot load effect \"%1\": %2").arg(FileName, Mix_GetError()));
        return;
    }

    // The channel is claimed before it starts so that the audio thread can
    // always tell whose effect ended, however short the effect.
    const quint64 token = ++g_nextToken;
    int channel = -1;
    for (int i = 0; i < static_cast<int>(g_channelOwners.size()) && channel < 0; ++i) {
        if (Mix_Playing(i))
            continue;
        std::lock_guard lock(g_handOver);
        if (!g_channelOwners[i].control) {
            g_channelOwners[i] = { this, token };
            channel = i;
        }
    }
    if (channel < 0 || Mix_PlayChannel(channel, chunk, 0) < 0) {
        if (channel >= 0) {
            std::lock_guard lock(g_handOver);
            g_channelOwners[channel] = {};
        }
        Mix_FreeChunk(chunk);
        warnOnce(Failure::EffectPlay, QStringLiteral("cannot play effect \"%1\"").arg(FileName));
        return;
    }
    m_effects[token] = Effect { chunk, Notify };
    if (!Wait)
        return;

    // Chunks are converted to the mixer's own format, which is fixed (see
    // ensureAudio), so their size gives their length.
    constexpr quint64 bytesPerSecond
        = quint64(kSampleRate) * kOutputChannels * (SDL_AUDIO_BITSIZE(MIX_DEFAULT_FORMAT) / 8);
    // A stuck device must not hang the game: give up a second after the
    // effect should have ended.
    const Uint64 limit = SDL_GetTicks64() + chunk->alen * 1000ULL / bytesPerSecond + 1000;
    while (Mix_Playing(channel) && SDL_GetTicks64() < limit)
        SDL_Delay(5);
    if (Mix_Playing(channel))
        Mix_HaltChannel(channel);
    // The hook's own report of this ending will find nothing left to do.
    finishEffect(token);
}

bool MMControl::tuneIsLive() const
{
    std::lock_guard lock(g_handOver);
    return m_tuneToken != 0 && g_liveTune.control == this && g_liveTune.token == m_tuneToken;
}

bool MMControl::startTune()
{
    // The mixer holds one tune at a time: whichever is in there, this
    // control's or another's, leaves without reporting an end.
    {
        std::lock_guard lock(g_handOver);
        g_liveTune = {};
    }
    Mix_HaltMusic();

    const quint64 token = ++g_nextToken;
    {
        std::lock_guard lock(g_handOver);
        g_liveTune = { this, token };
    }
    if (Mix_PlayMusic(m_music, 0) != 0) {
        {
            std::lock_guard lock(g_handOver);
            g_liveTune = {};
        }
        warnOnce(Failure::MusicPlay, QStringLiteral("cannot play \"%1\": %2").arg(FileName, Mix_GetError()));
        m_tuneToken = 0;
        m_playing = false;
        return false;
    }
    m_tuneToken = token;
    m_playing = true;
    return true;
}

void MMControl::releaseTune()
{
    if (tuneIsLive()) {
        {
            std::lock_guard lock(g_handOver);
            g_liveTune = {};
        }
        Mix_HaltMusic();
    }
    m_tuneToken = 0;
}

void MMControl::finishEffect(quint64 token)
{
    const auto it = m_effects.find(token);
    if (it == m_effects.end())
        return;
    const Effect effect = it->second;
    m_effects.erase(it);
    Mix_FreeChunk(effect.chunk);
    if (effect.notify) {
        // Queued even when the effect ended inside setCommand, so that the
        // Done handler never runs in the middle of the caller's command.
        QMetaObject::invokeMethod(
            this, [this] { emit Done(kNotifySuccessful); }, Qt::QueuedConnection);
    }
}

void MMControl::releaseAll()
{
    if (g_audio != AudioState::Ready) {
        // SDL_mixer is gone (or never came): its handles went with it.
        m_music = nullptr;
        m_effects.clear();
        return;
    }
    // Freeing a chunk silences the channels playing it; their owners are
    // forgotten first so that the channels can be claimed again.
    {
        std::lock_guard lock(g_handOver);
        for (Owner &owner : g_channelOwners) {
            if (owner.control == this)
                owner = {};
        }
    }
    for (const auto &entry : m_effects)
        Mix_FreeChunk(entry.second.chunk);
    m_effects.clear();
    close();
}

void MMControl::onMusicEnded(quint64 token)
{
    if (token != m_tuneToken)
        return;
    m_tuneToken = 0;
    const bool wasPlaying = m_playing;
    m_playing = false;
    if (wasPlaying && m_notifyTune)
        emit Done(kNotifySuccessful);
}

void MMControl::setSoundFontPath(const QString &path)
{
    g_preferredSoundFont = path;
}

QString MMControl::soundFontPath()
{
    return g_preferredSoundFont;
}

QStringList MMControl::soundFontCandidates()
{
    QStringList candidates;
    if (!g_preferredSoundFont.isEmpty())
        candidates << g_preferredSoundFont;
    candidates << AppPath::file(QStringLiteral("bkmusic/TimGM6mb.sf2"));
    candidates << QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2");
    return candidates;
}

QString MMControl::resolvedSoundFont()
{
    const QStringList candidates = soundFontCandidates();
    for (const QString &path : candidates) {
        if (isSoundFont(path))
            return path;
    }
    return {};
}

bool MMControl::audioAvailable()
{
    return ensureAudio();
}

bool MMControl::midiAvailable()
{
    return ensureAudio() && Mix_HasMusicDecoder("FLUIDSYNTH") && !resolvedSoundFont().isEmpty();
}

bool MMControl::ensureAudio()
{
    if (g_audio != AudioState::Untried)
        return g_audio == AudioState::Ready;
    g_audio = AudioState::Failed;

    // SDL would otherwise catch SIGINT and SIGTERM for an event loop the game
    // does not run, and a logout could no longer end the game.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        warnOnce(Failure::AudioInit, QStringLiteral("no audio: %1").arg(SDL_GetError()));
        return false;
    }
    if ((Mix_Init(MIX_INIT_MID) & MIX_INIT_MID) == 0)
        warnOnce(Failure::MidiBackEnd,
            QStringLiteral("no MIDI back end, tunes stay silent: %1").arg(Mix_GetError()));
    // No format changes allowed: SDL converts for the device if it must, and
    // the mixer's format stays the one asked for.
    if (Mix_OpenAudioDevice(kSampleRate, MIX_DEFAULT_FORMAT, kOutputChannels, kChunkFrames, nullptr, 0)
        != 0) {
        warnOnce(Failure::AudioInit, QStringLiteral("no audio device: %1").arg(Mix_GetError()));
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    if (!Mix_HasMusicDecoder("FLUIDSYNTH"))
        warnOnce(Failure::MidiBackEnd, QStringLiteral("SDL_mixer has no FluidSynth back end"));

    const int channels = Mix_AllocateChannels(kMixChannels);
    {
        std::lock_guard lock(g_handOver);
        g_channelOwners.assign(static_cast<size_t>(qMax(channels, 0)), Owner {});
    }
    Mix_HookMusicFinished(&MMControl::musicFinishedHook);
    Mix_ChannelFinished(&MMControl::channelFinishedHook);
    qAddPostRoutine(&MMControl::shutdownAudio);
    g_audio = AudioState::Ready;
    return true;
}

void MMControl::shutdownAudio()
{
    if (g_audio != AudioState::Ready)
        return;
    for (MMControl *control : std::as_const(g_instances))
        control->releaseAll();
    Mix_HookMusicFinished(nullptr);
    Mix_ChannelFinished(nullptr);
    {
        std::lock_guard lock(g_handOver);
        g_liveTune = {};
        g_channelOwners.clear();
    }
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    g_audio = AudioState::ShutDown;
}

// Runs on the audio thread (natural end) or inside Mix_HaltMusic. Only posts:
// the report is handled on the owner's thread, where the state lives.
void MMControl::musicFinishedHook()
{
    std::lock_guard lock(g_handOver);
    MMControl *control = g_liveTune.control;
    const quint64 token = g_liveTune.token;
    g_liveTune = {};
    if (control)
        QMetaObject::invokeMethod(
            control, [control, token] { control->onMusicEnded(token); }, Qt::QueuedConnection);
}

void MMControl::channelFinishedHook(int channel)
{
    std::lock_guard lock(g_handOver);
    if (channel < 0 || channel >= static_cast<int>(g_channelOwners.size()))
        return;
    const Owner owner = g_channelOwners[static_cast<size_t>(channel)];
    g_channelOwners[static_cast<size_t>(channel)] = {};
    if (owner.control) {
        MMControl *control = owner.control;
        const quint64 token = owner.token;
        QMetaObject::invokeMethod(
            control, [control, token] { control->finishEffect(token); }, Qt::QueuedConnection);
    }
}
