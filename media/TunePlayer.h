#pragma once

#include <QObject>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class TuneRendering;

// The background tune: reads a rendering and plays it through
// AudioOutput, which gives it a large buffer where it can, since a tune
// needs no quick start. One tune at a time for the whole process; whoever
// loads one is its owner.
class TunePlayer : public QObject
{
    Q_OBJECT
public:
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
    void silence();

private:
    TunePlayer();

    // On SDL's audio thread.
    void mix(qint16 *samples, int frames);
    // On this thread.
    void reachedEnd(quint64 generation, bool failed);
    void closeSoon();

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
    // The audio thread's: samples read before they are mixed.
    std::vector<qint16> m_scratch;
};
