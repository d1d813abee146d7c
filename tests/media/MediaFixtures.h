#pragma once

#include <QByteArray>
#include <QString>

// Sound files the media tests make for themselves, and a way to tell sound
// from silence in raw PCM.
namespace MediaFixtures {

// A mono 16-bit 44.1 kHz WAV holding a sine of the given length, pitch and
// peak (0..1).
bool writeSineWav(const QString &path, int milliseconds, double frequency = 440.0, double peak = 0.5);

// A format-0 standard MIDI file at 120 beats a minute that plays one note for
// the given length on the given General MIDI program.
bool writeOneNoteMidi(const QString &path, int milliseconds, int program = 0, int note = 60);

// Bytes that no decoder takes for a sound.
bool writeGarbage(const QString &path, int size = 4096);

// Signed 16-bit little-endian samples.
struct Loudness
{
    qint64 samples = 0; // all samples looked at
    qint64 nonZero = 0; // samples that are not exactly silent
    double loudestWindowRms = 0; // RMS of the loudest run of kWindow samples
};
constexpr int kWindow = 1024;
Loudness measure(const QByteArray &pcm16);

// The bytes of a growing file from the given offset to the given end (or to
// its current end).
QByteArray readRange(const QString &path, qint64 from, qint64 to = -1);
qint64 fileSize(const QString &path);

// How many playback devices SDL has open in this process now.
int openDevices();

} // namespace MediaFixtures
