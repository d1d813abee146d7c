#pragma once

#include "AudioDevice.h"

#include <QObject>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>

class TuneRendering;

// The background tune: reads a rendering and plays it on a device of its
// own with a large buffer, since a tune needs no quick start and a large
// buffer wakes the process only a few times a second. One tune at a time
// for the whole process; whoever loads one is its owner.
class TunePlayer : public QObject
{
    Q_OBJECT
public:
    // About 370 ms of sound a buffer.
    static constexpr int kBufferFrames = 16384;

    static TunePlayer &instance();

    // Replaces the tune (and its owner) without a word to the one before.
    // `ended` runs on this thread each time the tune plays to its end.
    void load(std::shared_ptr<TuneRendering> tune, const void *owner, std::function<void()> ended);
    const void *owner() const { return m_owner; }
    // From where it stood, or from the top once it has ended.
    void play();
    // Keeps the place for the next play.
    void stop();
    void rewind();
    void unload();
    bool isPlaying() const { return m_playing; }

    // At exit: silent at once.
    void closeAndWait();

private:
    TunePlayer();

    // On SDL's audio thread.
    void fill(qint16 *samples, int frames);
    // On this thread.
    void reachedEnd(quint64 generation, bool failed);
    void closeSoon();

    AudioDevice m_device;
    QTimer m_closeLater;
    const void *m_owner = nullptr;
    std::function<void()> m_ended;
    bool m_playing = false;

    // Shared with the audio thread.
    std::mutex m_lock;
    std::shared_ptr<TuneRendering> m_tune;
    std::FILE *m_file = nullptr;
    qint64 m_position = 0;
    bool m_sounding = false;
    bool m_atEnd = false;
    // Counts loads, plays, stops and rewinds, so that an end reported for
    // an earlier state of the player is recognised as stale.
    quint64 m_generation = 0;
};
