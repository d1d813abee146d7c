#include "SdlLibrary.h"

#include "RuntimeLibrary.h"
#include "SoundWarning.h"

#include <atomic>
#include <mutex>

namespace {

enum class State { Untried, Ready, Failed };
std::atomic<State> g_state = State::Untried;
std::mutex g_startLock;
SdlLibrary g_sdl;
RuntimeLibrary *g_library = nullptr;

} // namespace

const SdlLibrary *SdlLibrary::audio()
{
    // Both devices' workers may ask first.
    std::lock_guard lock(g_startLock);
    if (g_state != State::Untried)
        return g_state == State::Ready ? &g_sdl : nullptr;

    // Failed until it has worked.
    g_state = State::Failed;
    static RuntimeLibrary library(QStringLiteral("SDL2-2.0"), 0);
    g_library = &library;
    if (!library.load()) {
        SoundWarning::once(SoundWarning::AudioInit, QStringLiteral("no SDL: %1").arg(library.errorString()));
        return nullptr;
    }
    SdlLibrary &sdl = g_sdl;
    const bool complete = library.resolve({ { sdl.GetError, "SDL_GetError" }, { sdl.SetHint, "SDL_SetHint" },
        { sdl.InitSubSystem, "SDL_InitSubSystem" }, { sdl.Quit, "SDL_Quit" },
        { sdl.OpenAudioDevice, "SDL_OpenAudioDevice" }, { sdl.CloseAudioDevice, "SDL_CloseAudioDevice" },
        { sdl.PauseAudioDevice, "SDL_PauseAudioDevice" }, { sdl.RWFromConstMem, "SDL_RWFromConstMem" },
        { sdl.LoadWAV_RW, "SDL_LoadWAV_RW" }, { sdl.FreeWAV, "SDL_FreeWAV" },
        { sdl.BuildAudioCVT, "SDL_BuildAudioCVT" },
        { sdl.GetCurrentAudioDriver, "SDL_GetCurrentAudioDriver" }, { sdl.ConvertAudio, "SDL_ConvertAudio" },
        { sdl.TLSCleanup, "SDL_TLSCleanup" } });
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
