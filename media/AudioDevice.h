#pragma once

#include "AudioWorker.h"

#include <QDeadlineTimer>
#include <QString>
#include <QtGlobal>
#include <functional>

// One output device of SDL: signed 16-bit samples at a fixed rate and
// channel count (SDL converts for the hardware), filled by a function that
// runs on SDL's audio thread. It is opened only while there is something
// to hear, since an open device wakes the process for every buffer even
// when silent. Opening and closing happen on the device's own worker, in
// order, so that a close, which waits for SDL's thread, holds up nobody.
class AudioDevice
{
public:
    // Called with room for `frames` frames; must fill all of them.
    using Fill = std::function<void(qint16 *samples, int frames)>;

    AudioDevice(const char *name, int rate, int channels, int bufferFrames, Fill fill);
    // Closes it and waits before it goes.
    ~AudioDevice();
    AudioDevice(const AudioDevice &) = delete;
    AudioDevice &operator=(const AudioDevice &) = delete;

    // Opens it (after any close asked for before) and waits for the
    // answer: true once it plays, else false with SDL's reason in `why`.
    // Not on the window's thread.
    bool openAndWait(QString *why);
    // Returns at once.
    void close();
    // Closes it and waits until SDL has let go of the device, or until the
    // deadline; false when SDL still holds it then.
    bool closeAndWait(QDeadlineTimer deadline = QDeadlineTimer::Forever);
    // Closes the device and ends its worker, within the deadline (at exit).
    bool shutdown(QDeadlineTimer deadline);


private:
    // On the worker.
    bool openNow(QString *why);
    void closeNow();
    static void callback(void *self, quint8 *stream, int bytes);

    const char *m_name;
    const int m_rate;
    const int m_channels;
    const int m_bufferFrames;
    const Fill m_fill;
    // The SDL device, 0 while closed; the worker's alone.
    quint32 m_id = 0;
    AudioWorker m_worker;
};
