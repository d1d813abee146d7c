#pragma once

#include <optional>

// The game's own command line: help and the version, answered before
// anything needs a display, in the language of the player's locale
// (Chinese for a Chinese locale, English otherwise). No option changes how
// the game plays. Qt's standard options (-platform, -display, -style, …)
// are left for Qt, which reads them when the application starts.
class CommandLine
{
public:
    // The exit status when the arguments were answered here: 0 after the
    // help or the version, 2 after a usage line for an option or argument
    // the game does not take. Nothing when the game is to start.
    static std::optional<int> answer(int argc, const char *const *argv);
};
