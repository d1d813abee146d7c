#pragma once

#include "MultimediaControl.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <memory>

class TuneRendering;

// The game's multimedia control: background tunes (MIDI files, rendered by
// FluidSynth with a General MIDI soundfont) and short sound effects (wave
// files), driven by string commands. It only dispatches: the effects queue,
// the tune player, the rendering and SDL itself each live in a part of
// their own.
//
// Audio is optional equipment. Without a device, a file, the renderer or a
// soundfont, nothing sounds and nothing fails: no exception, no dialog, at
// most one warning per kind of trouble for the whole process, and Mode()
// keeps telling the truth (stopped, once the device has failed to open;
// nothing is rendered for a device that cannot sound).
//
// No command waits for sound. "sound" queues the effect after those before
// it and returns; Wait is kept for the callers but changes nothing.
//
// Done and the tune loop. The game loops its tune from the Done handler:
// "if Mode() == kModeStopped, prev then play". So Done(kNotifySuccessful) is
// raised only when something actually ran to its end:
//   - a tune started by "play" while Notify was true reached its last note;
//   - an effect queued by "sound" while Notify was true finished sounding.
// Commands that complete at once ("open", "stop", "close", "prev") raise no
// Done, and neither does a tune the program stopped, closed or replaced, nor
// a command that failed. Because a notified effect also reaches the Done
// handler, the game queues its effects with Notify false.
class MMControl : public QObject, public MultimediaControl
{
    Q_OBJECT

public:
    static constexpr int kNotifySuccessful = 1;

    explicit MMControl(QObject *parent = nullptr);
    ~MMControl() override;

    // Runs the command at once: "open", "play", "stop", "close", "prev" or
    // "sound" (case and surrounding blanks do not matter). "open" takes a
    // standard MIDI file only, as a sequencer does, whatever DeviceType says.
    void setCommand(const QString &command) override;

    // kModePlaying while this control's tune sounds, kModeStopped otherwise
    // (including right after the tune reached its end).
    int Mode() const override;

    // Whether the audio device can be opened (waits to find out).
    static bool audioAvailable();
    // Whether tunes can sound: a device, the renderer and a soundfont that
    // looks usable (waits to find out).
    static bool midiAvailable();
    // At exit: the effect now sounding ends, the devices close, renderings
    // stop and SDL goes; the next command starts them again. Waits no
    // longer than the deadline, and returns false when something was
    // still held then: a thread stuck in a stalled sound server, which
    // only the process's end can stop.
    static bool shutdown(QDeadlineTimer deadline);
    // How long the exit waits for sound at most.
    static constexpr int kExitWaitMsecs = 3000;

signals:
    void Done(int notifyCode);
    // Raised for every command before it runs, with the FileName of the moment.
    void commandIssued(const QString &command, const QString &fileName);

private:
    void open();
    void play();
    void stop();
    void close();
    void prev();
    void sound();
    bool ownsTune() const;

    std::shared_ptr<TuneRendering> m_tune;
    bool m_notifyTune = false;
};
