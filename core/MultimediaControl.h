#pragma once

#include <QString>

// What the game drives of its one sound device: the properties it sets and
// the commands it issues. The real device plays through SDL; tests record.
class MultimediaControl
{
public:
    static constexpr int kModeNotOpen = 524;
    static constexpr int kModeStopped = 525;
    static constexpr int kModePlaying = 526;

    virtual ~MultimediaControl() = default;

    QString DeviceType;
    QString FileName;
    bool Notify = false;
    bool Wait = false;

    // Runs at once: "open", "play", "stop", "close", "prev", "sound".
    virtual void setCommand(const QString &command) = 0;
    virtual int Mode() const = 0;
};
