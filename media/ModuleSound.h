#pragma once

#include <QString>

class GameState;

// Short effects for clicks, keys and the result of a check. Each plays once
// on the shared sound device and returns when it has ended, so two effects
// in a row follow each other.
class ModuleSound
{
public:
    // `literal` names the file under the program folder ("\\bkmusic\\D_du.wav").
    static void PlayEffect(GameState &form, const QString &literal);
    static void PlaySoundDu(GameState &form);
    static void PlaySoundBubble(GameState &form);
    static void PlaySoundCancel(GameState &form);
};
