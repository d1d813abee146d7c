#include "Difficulty.h"

#include "GameState.h"

#include <array>

namespace {

// As the game was designed: the draws that blank the board, the words its
// files keep, the captions of its options.
constexpr std::array<Difficulty::Level, 3> kLevels { {
    { &GameState::optEasy, &GameState::menuDo_Difficoulty_Easy, "初级", "easy", "Easy", 38, 280 },
    { &GameState::optMedium, &GameState::menuDo_Difficoulty_Medium, "普通", "medium", "Medium", 54, 570 },
    { &GameState::optHard, &GameState::menuDo_Difficoulty_Hard, "高级", "hard", "Hard", 68, 855 },
} };
constexpr std::size_t kAtStart = 1;

template <typename Matches> const Difficulty::Level *find(Matches matches)
{
    for (const Difficulty::Level &level : kLevels)
        if (matches(level))
            return &level;
    return nullptr;
}

} // namespace

std::span<const Difficulty::Level> Difficulty::levels()
{
    return kLevels;
}

const Difficulty::Level &Difficulty::atStart()
{
    return kLevels[kAtStart];
}

const Difficulty::Level *Difficulty::withOption(Control GameState::*option)
{
    return find([option](const Level &level) { return level.option == option; });
}

const Difficulty::Level *Difficulty::withMenuItem(Control GameState::*menuItem)
{
    return find([menuItem](const Level &level) { return level.menuItem == menuItem; });
}

const Difficulty::Level *Difficulty::withWord(const QString &word)
{
    return find([&word](const Level &level) { return word == QLatin1String(level.word); });
}

const Difficulty::Level *Difficulty::withSavedWord(const QString &savedWord)
{
    return find([&savedWord](const Level &level) { return savedWord == QLatin1String(level.savedWord); });
}

const Difficulty::Level *Difficulty::selected(const GameState &form)
{
    const Level *selected = nullptr;
    for (const Level &level : kLevels)
        if ((form.*level.option).Value())
            selected = &level;
    return selected;
}

int Difficulty::drawsFor(const QString &word)
{
    const Level *level = withWord(word);
    return level ? level->draws : 0;
}

void Difficulty::checkMenuItem(GameState &form, const Level &level)
{
    for (const Level &other : kLevels)
        (form.*other.menuItem).setChecked(&other == &level);
}

void Difficulty::deselectOthers(GameState &form, const Level &level)
{
    for (const Level &other : kLevels)
        if (&other != &level)
            (form.*other.option).setValue(false);
}

void Difficulty::enableChoice(GameState &form, bool enabled)
{
    form.Frame1.setEnabled(enabled);
    for (const Level &level : kLevels)
        (form.*level.option).setEnabled(enabled);
    form.menuDo_Difficoulty.setEnabled(enabled);
}
