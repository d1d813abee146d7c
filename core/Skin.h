#pragma once

#include <QString>

class Control;

// Skin pictures: literals of the files under the skin folder, and the rule
// that a command button's picture follows its enabled state.
class Skin
{
public:
    // "\\interface\\black\\" + name, the way the game names its skin files.
    static QString literal(const QString &name);
    // Enables with the normal picture ("<base>1") or disables with the
    // greyed one ("<base>3").
    static void setEnabled(Control &button, const QString &base, bool enabled);
};
