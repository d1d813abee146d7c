#pragma once

#include <SDL.h>

// libSDL2, loaded the first time a sound plays instead of at start: it
// brings the system's audio and display libraries with it, which a player
// who hears nothing should not carry. Only the audio workers call into it,
// or a caller that may wait.
class SdlLibrary
{
public:
    // The library with its audio started, or null when there is no SDL or
    // no audio driver; why is told once.
    static const SdlLibrary *audio();
    // Stops the audio and lets the library go; audio() may start it again.
    static void shutdown();
    // Whether audio() has found that there is no audio; from any thread.
    static bool isKnownMissing();
    // Frees what SDL keeps for the calling thread (its error text): SDL
    // frees it only for threads it started itself. An audio worker calls
    // this after each task.
    static void releaseThread();
    // Whether the driver plays several devices at once (a sound server or
    // ALSA's mixing); SDL's dummy and disk drivers open one at a time.
    bool allowsSeveralDevices() const;

    decltype(&SDL_GetError) GetError = nullptr;
    decltype(&SDL_OpenAudioDevice) OpenAudioDevice = nullptr;
    decltype(&SDL_CloseAudioDevice) CloseAudioDevice = nullptr;
    decltype(&SDL_PauseAudioDevice) PauseAudioDevice = nullptr;
    decltype(&SDL_RWFromConstMem) RWFromConstMem = nullptr;
    decltype(&SDL_LoadWAV_RW) LoadWAV_RW = nullptr;
    decltype(&SDL_FreeWAV) FreeWAV = nullptr;
    decltype(&SDL_BuildAudioCVT) BuildAudioCVT = nullptr;
    decltype(&SDL_ConvertAudio) ConvertAudio = nullptr;

private:
    decltype(&SDL_GetCurrentAudioDriver) GetCurrentAudioDriver = nullptr;
    decltype(&SDL_SetHint) SetHint = nullptr;
    decltype(&SDL_InitSubSystem) InitSubSystem = nullptr;
    decltype(&SDL_Quit) Quit = nullptr;
    decltype(&SDL_TLSCleanup) TLSCleanup = nullptr;
};
