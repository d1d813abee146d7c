#include "SoundWarning.h"

#include <array>
#include <atomic>

void SoundWarning::once(Kind kind, const QString &text)
{
    static std::array<std::atomic<bool>, Count> said {};
    if (said[std::size_t(kind)].exchange(true))
        return;
    qWarning("MMControl: %s", qUtf8Printable(text));
}
