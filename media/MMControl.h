#pragma once

#include "MultimediaControl.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <map>

// SDL_mixer's handles, declared here so that callers need no SDL include path.
struct _Mix_Music;
struct Mix_Chunk;

// The game's multimedia control: background tunes (MIDI, rendered by
// SDL2_mixer's FluidSynth back end with a General MIDI soundfont) and short
// sound effects (WAV), driven by string commands.
//
// Audio is optional equipment. Without a device, a file, a soundfont or a
// sensible command, nothing sounds and nothing fails: no exception, no
// dialog, at most one warning per kind of trouble for the whole process, and
// Mode() keeps telling the truth (stopped).
//
// Every member is meant for the thread that owns the object (the UI thread).
//
// Done and the tune loop. The game loops its tune from the Done handler:
// "if Mode() == kModeStopped, prev then play". So Done(kNotifySuccessful) is
// raised only when something actually ran to its end:
//   - a tune started by "play" while Notify was true reached its last note;
//   - an effect started by "sound" while Notify was true finished sounding.
// Commands that complete at once ("open", "stop", "close", "prev") raise no
// Done, and neither does a tune the program stopped, closed or replaced, nor
// a command that failed. A stop therefore can never look like "reached the
// end" to the loop, and a missing device cannot turn the loop into a busy
// spin of failing plays. Because a notified effect also reaches the Done
// handler, the game issues its effects with Notify false.
class MMControl : public QObject, public MultimediaControl
{
    Q_OBJECT

public:
    // Mode() only ever reports stopped or playing: the game treats every
    // state that is not playing alike, and "stopped" is what its loop waits
    // for. DeviceType "Sequencer" opens standard MIDI files only; any other
    // type lets the decoder go by the file's contents. Notify makes "play" and "sound" raise Done once they
    // have run to their end; Wait makes "sound" return only once the effect
    // has ended (or after its own length plus a second, should the device
    // be stuck). "play" never blocks: a tune's end is reported through Done.
    static constexpr int kModeOpen = 530;
    static constexpr int kNotifySuccessful = 1;

    explicit MMControl(QObject *parent = nullptr);
    ~MMControl() override;

    // Runs the command at once: "open", "play", "stop", "close", "prev" or
    // "sound" (case and surrounding blanks do not matter).
    void setCommand(const QString &command) override;

    // kModePlaying while this control's tune sounds, kModeStopped otherwise
    // (including right after the tune reached its end).
    int Mode() const override;

    // Every command issued, oldest first, as "command FileName" (command in
    // lower case), so that callers' tests can check what was played and in
    // which order without listening. The oldest entries go past kHistoryLimit.
    QStringList history() const { return m_history; }
    void clearHistory() { m_history.clear(); }
    static constexpr int kHistoryLimit = 512;

    // A soundfont to prefer over the usual places (empty: none).
    static void setSoundFontPath(const QString &path);
    static QString soundFontPath();
    // Where a soundfont is looked for, in order: the preferred one, then
    // <program folder>/bkmusic/TimGM6mb.sf2 (AppPath's folder), then Debian's
    // /usr/share/sounds/sf2/TimGM6mb.sf2.
    static QStringList soundFontCandidates();
    // The first candidate that is a readable SoundFont 2 file, or "".
    static QString resolvedSoundFont();

    // Whether the audio device could be opened (opens it on the first call).
    static bool audioAvailable();
    // Whether tunes can sound: a device, the FluidSynth MIDI back end and a
    // usable soundfont.
    static bool midiAvailable();

signals:
    void Done(int notifyCode);
    // Raised for every command before it runs, with the FileName of the moment.
    void commandIssued(const QString &command, const QString &fileName);

private:
    struct Effect
    {
        Mix_Chunk *chunk = nullptr;
        bool notify = false;
    };

    void open();
    void play();
    void stop();
    void close();
    void prev();
    void sound();

    bool tuneIsLive() const;
    bool startTune();
    void releaseTune();
    void finishEffect(quint64 token);
    void releaseAll();
    void onMusicEnded(quint64 token);

    static bool ensureAudio();
    static void shutdownAudio();
    static void musicFinishedHook();
    static void channelFinishedHook(int channel);

    _Mix_Music *m_music = nullptr;
    // Identifies this control's current start of the tune in the mixer; 0
    // when none. A finished-hook report carrying another token is stale.
    quint64 m_tuneToken = 0;
    bool m_playing = false;
    bool m_notifyTune = false;
    std::map<quint64, Effect> m_effects;
    QStringList m_history;
};
