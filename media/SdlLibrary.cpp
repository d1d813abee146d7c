#include "SdlLibrary.h"

#include "SoundWarning.h"

#include <QLibrary>
#include <atomic>
#include <mutex>

namespace {

enum class State { Untried, Ready, Failed };
std::atomic<State> g_state = State::Untried;
std::mutex g_startLock;
SdlLibrary g_sdl;
QLibrary *g_library = nullptr;

template <typename F> bool resolve(F &function, const char *name)
{
    function = reinterpret_cast<F>(g_library->resolve(name));
    return function != nullptr;
}

} // namespace

const SdlLibrary *SdlLibrary::audio()
{
    // Both devices' workers may ask first.
    std::lock_guard lock(g_startLock);
    if (g_state != State::Untried)
        return g_state == State::Ready ? &g_sdl : nullptr;

    // Failed until it has worked.
    g_state = State::Failed;
    static QLibrary library(QStringLiteral("SDL2-2.0"), 0);
    g_library = &library;
    if (!library.load()) {
        SoundWarning::once(SoundWarning::AudioInit, QStringLiteral("no SDL: %1").arg(library.errorString()));
        return nullptr;
    }
    SdlLibrary &sdl = g_sdl;
    const bool complete = resolve(sdl.GetError, "SDL_GetError") && resolve(sdl.SetHint, "SDL_SetHint")
        && resolve(sdl.InitSubSystem, "SDL_InitSubSystem") && resolve(sdl.Quit, "SDL_Quit")
        && resolve(sdl.OpenAudioDevice, "SDL_OpenAudioDevice")
        && resolve(sdl.CloseAudioDevice, "SDL_CloseAudioDevice")
        && resolve(sdl.PauseAudioDevice, "SDL_PauseAudioDevice")
        && resolve(sdl.RWFromConstMem, "SDL_RWFromConstMem") && resolve(sdl.LoadWAV_RW, "SDL_LoadWAV_RW")
        && resolve(sdl.FreeWAV, "SDL_FreeWAV") && resolve(sdl.BuildAudioCVT, "SDL_BuildAudioCVT")
        && resolve(sdl.GetCurrentAudioDriver, "SDL_GetCurrentAudioDriver")
        && resolve(sdl.ConvertAudio, "SDL_ConvertAudio") && resolve(sdl.TLSCleanup, "SDL_TLSCleanup");
    if (!complete) {
        SoundWarning::once(SoundWarning::AudioInit, QStringLiteral("SDL lacks the audio functions"));
        library.unload();
        return nullptr;
    }
    // SDL would otherwise catch SIGINT and SIGTERM for an event loop the game
    // does not run, and a logout could no longer end the game.
    sdl.SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (sdl.InitSubSystem(SDL_INIT_AUDIO) != 0) {
        SoundWarning::once(SoundWarning::AudioInit, QStringLiteral("no audio: %1").arg(sdl.GetError()));
        sdl.Quit();
        library.unload();
        return nullptr;
    }
    g_state = State::Ready;
    return &sdl;
}

bool SdlLibrary::allowsSeveralDevices() const
{
    const char *driver = GetCurrentAudioDriver();
    const QByteArray name = driver ? QByteArray(driver) : QByteArray();
    return name == "pulseaudio" || name == "pipewire" || name == "alsa" || name == "jack";
}

bool SdlLibrary::isKnownMissing()
{
    return g_state.load() == State::Failed;
}

void SdlLibrary::releaseThread()
{
    std::lock_guard lock(g_startLock);
    if (g_state == State::Ready)
        g_sdl.TLSCleanup();
}

void SdlLibrary::shutdown()
{
    std::lock_guard lock(g_startLock);
    if (g_state == State::Ready) {
        // All of SDL, not only its audio: the hints and the calling thread's
        // error text go too, which the library would keep after an unload.
        g_sdl.Quit();
        g_library->unload();
    }
    g_state = State::Untried;
}
