// vexa-tune-render: renders one MIDI tune with FluidSynth, as a process of
// its own. The game runs it so that the synthesiser's memory (the soundfont
// alone is megabytes) goes back to the system whole when the rendering
// ends, and so that a soundfont or tune that breaks the synthesiser can
// only end this process, never the game.
//
//   vexa-tune-render --version      prints FluidSynth's version
//   vexa-tune-render SOUNDFONT      reads a standard MIDI file on standard
//                                   input and writes the tune to standard
//                                   output as signed 16-bit little-endian
//                                   stereo frames at 44100 Hz
//
// Exit status: 0 the whole tune was written, 2 wrong use, 3 the soundfont
// was refused, 4 the tune was refused, 5 the output was closed. Why is
// told on standard error, in one line.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fluidsynth.h>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

enum Status { Complete = 0, Usage = 2, SoundFontRefused = 3, TuneRefused = 4, OutputClosed = 5 };

constexpr int kRate = 44100;
constexpr int kBlockFrames = 4096;
// Longer only if the tune never ends.
constexpr long long kLongestFrames = 15LL * 60 * kRate;
// Larger is no tune.
constexpr std::size_t kLargestMidi = 4u << 20;

bool readAll(int fd, std::vector<char> &bytes)
{
    char block[65536];
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n == 0)
            return true;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.insert(bytes.end(), block, block + n);
        if (bytes.size() > kLargestMidi)
            return false;
    }
}

bool writeAll(int fd, const char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

int fail(Status status, const std::string &why)
{
    std::fprintf(stderr, "%s\n", why.c_str());
    return status;
}

// FluidSynth's own complaints name the cause (a broken sample chunk, a
// track that does not parse); they go to standard error on one line each,
// where the game reads the last one as the reason.
void logLine(int level, const char *message, void *)
{
    if (level <= FLUID_WARN)
        std::fprintf(stderr, "%s\n", message);
}

int render(const char *soundFont)
{
    std::vector<char> midi;
    if (!readAll(STDIN_FILENO, midi))
        return fail(TuneRefused, "the tune could not be read or is too large");

    for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
        fluid_set_log_function(level, level <= FLUID_WARN ? logLine : nullptr, nullptr);

    // Everything FluidSynth made is freed on every way out, so that a
    // leak checker sees only leaks of its own.
    const std::unique_ptr<fluid_settings_t, decltype(&delete_fluid_settings)> settings(
        new_fluid_settings(), delete_fluid_settings);
    fluid_settings_setnum(settings.get(), "synth.sample-rate", kRate);
    // Time is counted in samples made, not on the clock, so the tune is
    // made as fast as the processor allows.
    fluid_settings_setstr(settings.get(), "player.timing-source", "sample");
    fluid_settings_setint(settings.get(), "synth.lock-memory", 0);
    const std::unique_ptr<fluid_synth_t, decltype(&delete_fluid_synth)> synth(
        new_fluid_synth(settings.get()), delete_fluid_synth);
    if (!synth || fluid_synth_sfload(synth.get(), soundFont, 1) == FLUID_FAILED)
        return fail(SoundFontRefused, std::string("FluidSynth refused the soundfont ") + soundFont);
    // Full scale, as the game's tunes always played.
    fluid_synth_set_gain(synth.get(), 1.0f);
    const std::unique_ptr<fluid_player_t, decltype(&delete_fluid_player)> player(
        new_fluid_player(synth.get()), delete_fluid_player);
    if (!player || fluid_player_add_mem(player.get(), midi.data(), midi.size()) != FLUID_OK
        || fluid_player_play(player.get()) != FLUID_OK)
        return fail(TuneRefused, "FluidSynth refused the tune");

    std::vector<short> block(std::size_t(kBlockFrames) * 2);
    long long frames = 0;
    while (fluid_player_get_status(player.get()) == FLUID_PLAYER_PLAYING && frames < kLongestFrames) {
        if (fluid_synth_write_s16(synth.get(), kBlockFrames, block.data(), 0, 2, block.data(), 1, 2)
            != FLUID_OK)
            return fail(TuneRefused, "FluidSynth could not make the tune's sound");
        if (!writeAll(
                STDOUT_FILENO, reinterpret_cast<const char *>(block.data()), block.size() * sizeof(short)))
            return fail(OutputClosed, std::string("cannot write the sound: ") + std::strerror(errno));
        frames += kBlockFrames;
    }
    if (frames == 0)
        return fail(TuneRefused, "the tune holds no sound FluidSynth can play");
    return Complete;
}

} // namespace

int main(int argc, char **argv)
{
    // A reader that has gone away shows as a failed write, not a signal.
    std::signal(SIGPIPE, SIG_IGN);
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("FluidSynth %s\n", fluid_version_str());
        return std::fflush(stdout) == 0 ? Complete : OutputClosed;
    }
    if (argc != 2 || argv[1][0] == '-')
        return fail(
            Usage, "usage: vexa-tune-render --version | vexa-tune-render SOUNDFONT < tune.mid > tune.raw");
    return render(argv[1]);
}
