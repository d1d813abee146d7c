#include "FluidSynthLibrary.h"

namespace {

template <typename F> bool resolve(QLibrary &library, F &function, const char *name)
{
    function = reinterpret_cast<F>(library.resolve(name));
    return function != nullptr;
}

} // namespace

FluidSynthLibrary::FluidSynthLibrary()
    : m_library(QStringLiteral("fluidsynth"), 3)
{
    // Once loaded it stays: libinstpatch under it registers GObject types
    // that cannot be registered again after an unload, so a second
    // rendering would find it broken.
    m_library.setLoadHints(QLibrary::PreventUnloadHint);
    if (!m_library.load())
        return;
    QLibrary &l = m_library;
    m_loaded = resolve(l, newSettings, "new_fluid_settings")
        && resolve(l, deleteSettings, "delete_fluid_settings") && resolve(l, setNum, "fluid_settings_setnum")
        && resolve(l, setInt, "fluid_settings_setint") && resolve(l, setStr, "fluid_settings_setstr")
        && resolve(l, newSynth, "new_fluid_synth") && resolve(l, deleteSynth, "delete_fluid_synth")
        && resolve(l, loadSoundFont, "fluid_synth_sfload") && resolve(l, setGain, "fluid_synth_set_gain")
        && resolve(l, writeS16, "fluid_synth_write_s16") && resolve(l, newPlayer, "new_fluid_player")
        && resolve(l, deletePlayer, "delete_fluid_player") && resolve(l, addMidi, "fluid_player_add_mem")
        && resolve(l, play, "fluid_player_play") && resolve(l, status, "fluid_player_get_status");
}

FluidSynthLibrary::~FluidSynthLibrary() = default;

bool FluidSynthLibrary::isAvailable()
{
    return FluidSynthLibrary().isLoaded();
}
