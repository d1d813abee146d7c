#pragma once

#include "MultimediaControl.h"

#include <QStringList>

// A sound device that plays nothing and remembers what it was asked:
// "command file-name" per command, the file name relative to the program
// folder when it lies inside it.
class RecordingMultimedia : public MultimediaControl
{
public:
    void setCommand(const QString &command) override;
    int Mode() const override { return m_mode; }

    QStringList history;
    // Only the files played with "sound", in order ("D_press.wav", ...).
    QStringList effects() const;
    void clear() { history.clear(); }

private:
    int m_mode = kModeNotOpen;
    bool m_open = false;
};
