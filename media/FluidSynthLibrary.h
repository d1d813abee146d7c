#pragma once

#include <QLibrary>
#include <fluidsynth.h>

// libfluidsynth, loaded the first time a tune is rendered rather than at
// start: most runs find their tunes in the cache and never need it. The
// synthesiser with its soundfont is the largest thing the game ever holds;
// that is freed after each rendering, the library's code stays mapped.
class FluidSynthLibrary
{
public:
    FluidSynthLibrary();
    ~FluidSynthLibrary();
    FluidSynthLibrary(const FluidSynthLibrary &) = delete;
    FluidSynthLibrary &operator=(const FluidSynthLibrary &) = delete;

    bool isLoaded() const { return m_loaded; }
    QString errorString() const { return m_library.errorString(); }
    // Whether the library can be loaded on this system.
    static bool isAvailable();

    decltype(&new_fluid_settings) newSettings = nullptr;
    decltype(&delete_fluid_settings) deleteSettings = nullptr;
    decltype(&fluid_settings_setnum) setNum = nullptr;
    decltype(&fluid_settings_setint) setInt = nullptr;
    decltype(&fluid_settings_setstr) setStr = nullptr;
    decltype(&new_fluid_synth) newSynth = nullptr;
    decltype(&delete_fluid_synth) deleteSynth = nullptr;
    decltype(&fluid_synth_sfload) loadSoundFont = nullptr;
    decltype(&fluid_synth_set_gain) setGain = nullptr;
    decltype(&fluid_synth_write_s16) writeS16 = nullptr;
    decltype(&new_fluid_player) newPlayer = nullptr;
    decltype(&delete_fluid_player) deletePlayer = nullptr;
    decltype(&fluid_player_add_mem) addMidi = nullptr;
    decltype(&fluid_player_play) play = nullptr;
    decltype(&fluid_player_get_status) status = nullptr;

private:
    QLibrary m_library;
    bool m_loaded = false;
};
