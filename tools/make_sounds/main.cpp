// Synthesises the game's wave effects and composes its background tunes,
// writing them into the folder given (data/bkmusic in the source tree).
// Everything is made from fixed seeds, so a rerun reproduces the files byte
// for byte. With --info it reads such files back and describes them.
#include "EffectSynth.h"
#include "SoundInfo.h"
#include "TuneComposer.h"

#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

int usage()
{
    std::cerr << "usage: make_sounds OUTPUT_DIR\n"
                 "       make_sounds --info FILE...\n";
    return 2;
}

int describe(const std::vector<std::string> &paths)
{
    int status = 0;
    for (const std::string &path : paths) {
        try {
            std::cout << path << ": " << SoundInfo::describe(path) << "\n";
        } catch (const std::exception &e) {
            std::cerr << "make_sounds: " << path << ": " << e.what() << "\n";
            status = 1;
        }
    }
    return status;
}

int generate(const std::filesystem::path &folder)
{
    std::filesystem::create_directories(folder);
    for (const EffectSynth::Effect &effect : EffectSynth::all()) {
        const std::string path = (folder / effect.fileName).string();
        effect.sound.writeWav(path);
        std::cout << path << ": " << SoundInfo::describe(path) << "\n";
    }
    const std::vector<std::pair<std::string, MidiSong>> tunes {
        { "osmira.mid", TuneComposer::osmira() },
        { "happygm.mid", TuneComposer::happygm() },
        { "waltz.mid", TuneComposer::waltz() },
    };
    for (const auto &[name, song] : tunes) {
        const std::string path = (folder / name).string();
        song.write(path);
        std::cout << path << ": " << SoundInfo::describe(path) << "\n";
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        return usage();
    if (args.front() == "--info")
        return args.size() > 1 ? describe({ args.begin() + 1, args.end() }) : usage();
    if (args.size() != 1 || args.front().starts_with("-"))
        return usage();
    try {
        return generate(args.front());
    } catch (const std::exception &e) {
        std::cerr << "make_sounds: " << e.what() << "\n";
        return 1;
    }
}
