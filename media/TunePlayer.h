#pragma once

#include "AudioWorker.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class TuneRendering;

// The background tune: plays a rendering through AudioOutput, which gives
// it a large buffer where it can, since a tune needs no quick start. One
// tune at a time for the whole process; whoever loads one is its owner.
//
// The samples are read ahead by a worker of the player's own into a ring
// that SDL's audio thread only copies from, so that neither the audio
// thread nor the window's thread ever waits for the disk; the lock they
// share is held for copies only.
class TunePlayer : public QObject
{
    Q_OBJECT
public:
    static TunePlayer &instance();

    // Replaces the tune (and its owner) without a word to the one before.
    // `ended` runs on this thread each time the tune plays to its end.
    void load(std::shared_ptr<TuneRendering> tune, const void *owner, std::function<void()> ended);
    const void *owner() const { return m_owner; }
    // From where it stood, or from the top once it has ended. The tune is
    // rendered, if it must be, once its device plays.
    void play();
    // Keeps the place for the next play.
    void stop();
    void rewind();
    void unload();
    // Playing: asked to play, and neither ended nor without a device.
    bool isPlaying() const { return m_playing; }

    // At exit: silent at once, and the reader ends within the deadline.
    void silence();
    bool shutdown(QDeadlineTimer deadline);

private:
    TunePlayer();

    // On SDL's audio thread.
    void mix(qint16 *samples, int frames);
    // On the reader.
    void readAhead();
    // On this thread.
    void reachedEnd(quint64 generation, bool failed);
    // Under m_lock: empties the ring and reads from `frame` on.
    void restartAt(qint64 frame);
    void askToRead();

    QTimer m_closeLater;
    const void *m_owner = nullptr;
    std::function<void()> m_ended;
    bool m_playing = false;
    AudioWorker m_reader;
    // The reader's: where the samples are read into before the ring.
    std::vector<qint16> m_scratch;

    // Shared with the audio thread and the reader.
    std::mutex m_lock;
    std::shared_ptr<TuneRendering> m_tune;
    std::vector<qint16> m_ring;
    std::size_t m_head = 0; // the next frame to play, in the ring
    std::size_t m_frames = 0; // frames in the ring
    qint64 m_readAt = 0; // the next frame of the tune to read
    bool m_sounding = false;
    // The reader found the end: what is in the ring is the last of it.
    bool m_lastRead = false;
    bool m_atEnd = false;
    // Counts loads, plays, stops and rewinds, so that an end reported or
    // samples read for an earlier state are known as stale.
    quint64 m_generation = 0;
    std::atomic<bool> m_readAsked { false };
};
