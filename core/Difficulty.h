#pragma once

#include <QString>
#include <span>

class Control;
class GameState;

// The levels of the game, each said once: the option control and the menu
// item that choose it, their caption, the word the game keeps in
// `Difficulty`, the word the save file stores and how many cells the
// blanking draws. Everything that lists or tells the levels apart reads
// this table, so a new level is a row here and its two controls.
class Difficulty
{
public:
    struct Level
    {
        Control GameState::*option; // in the frame "难度选择"
        Control GameState::*menuItem; // under "难度选择" in the Do menu
        const char *caption; // UTF-8, the option's and the menu item's
        const char *word; // GameState::Difficulty, compared case-sensitively
        const char *savedWord; // line 3 of the save file
        int draws; // of the blanking (ModuleEmptySetting)
        int optionTop; // twips, inside the frame

        QString captionText() const { return QString::fromUtf8(caption); }
        QString wordText() const { return QLatin1String(word); }
        QString savedWordText() const { return QLatin1String(savedWord); }
    };

    // In the order of the frame and of the menu.
    static std::span<const Level> levels();
    // The level selected when the window loads.
    static const Level &atStart();

    // The level of a control or a word, or null when none has it.
    static const Level *withOption(Control GameState::*option);
    static const Level *withMenuItem(Control GameState::*menuItem);
    static const Level *withWord(const QString &word);
    static const Level *withSavedWord(const QString &savedWord);
    // The level whose option is selected, read in table order so that the
    // last selected one would win; null when none is.
    static const Level *selected(const GameState &form);
    // How many cells the blanking draws for a `Difficulty` word; 0 for any
    // word that is no level's.
    static int drawsFor(const QString &word);

    // Checks the level's menu item and unchecks the others.
    static void checkMenuItem(GameState &form, const Level &level);
    // Takes the selection from every option but the level's.
    static void deselectOthers(GameState &form, const Level &level);
    // The frame, the options and the difficulty menu: offered (no game, or
    // a finished one) or locked (an entry open, a continued game).
    static void enableChoice(GameState &form, bool enabled);
};
