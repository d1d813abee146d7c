#pragma once

#include "AudioWorker.h"

#include <QtGlobal>
#include <functional>

// One output device of SDL: signed 16-bit samples at a fixed rate and
// channel count (SDL converts for the hardware), filled by a function that
// runs on SDL's audio thread. It is opened only while there is something
// to hear, since an open device wakes the process for every buffer even
// when silent. Opening and closing happen on the device's own worker, in
// order; its owner may post its own slow work there too.
class AudioDevice
{
public:
    // Called with room for `frames` frames; must fill all of them.
    using Fill = std::function<void(qint16 *samples, int frames)>;

    // `openFailed` runs on the worker when the device cannot be opened.
    AudioDevice(const char *name, int rate, int channels, int bufferFrames, Fill fill,
        std::function<void()> openFailed);
    // Close it and wait before it goes.
    ~AudioDevice();
    AudioDevice(const AudioDevice &) = delete;
    AudioDevice &operator=(const AudioDevice &) = delete;

    // Both return at once.
    void open();
    void close();
    // Closes and waits until SDL has let go of the device.
    void closeAndWait();

    // How long one buffer plays.
    int bufferMsecs() const { return m_bufferFrames * 1000 / m_rate; }
    AudioWorker &worker() { return m_worker; }
    // Closes the device and ends its worker (at exit).
    void shutdown();

private:
    // On the worker.
    void openNow();
    void closeNow();
    static void callback(void *self, quint8 *stream, int bytes);

    const char *m_name;
    const int m_rate;
    const int m_channels;
    const int m_bufferFrames;
    const Fill m_fill;
    const std::function<void()> m_openFailed;
    // The SDL device, 0 while closed; the worker's alone.
    quint32 m_id = 0;
    AudioWorker m_worker;
};
