#include "EffectSynth.h"

#include "Biquad.h"
#include "Reverb.h"
#include "Xorshift.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kStep = 1.0 / SampleBuffer::kRate;
constexpr double kNyquistGuard = 0.45 * SampleBuffer::kRate;
// Loud enough to be heard over the music, with headroom left for the mixer.
constexpr double kPeakDb = -3.0;

double timeAt(int index)
{
    return index * kStep;
}

double noteHz(int midiNote)
{
    return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0);
}

double smoothStep(double x)
{
    x = std::clamp(x, 0.0, 1.0);
    return x * x * (3.0 - 2.0 * x);
}

// Band-limited by construction: harmonics above `ceilingHz` are left out,
// so the low buzzes do not alias into a hiss.
double additiveSaw(double phase, double hz, double ceilingHz, double tilt)
{
    double sum = 0.0;
    for (int n = 1; n * hz < ceilingHz; ++n)
        sum += std::sin(n * phase) / std::pow(n, tilt);
    return sum;
}

double additiveSquare(double phase, double hz, double ceilingHz)
{
    double sum = 0.0;
    for (int n = 1; n * hz < ceilingHz; n += 2)
        sum += std::sin(n * phase) / n;
    return sum;
}

void addReverb(SampleBuffer &sound, double decay, double damping, double wet)
{
    Reverb room(decay, damping);
    for (int i = 0; i < sound.size(); ++i)
        sound[i] += wet * room.process(sound[i]);
}

void finish(SampleBuffer &sound, double attack, double release)
{
    sound.fadeIn(attack);
    sound.fadeOut(release);
    sound.normalise(kPeakDb);
}

// A bright, slightly brassy note: its upper harmonics die away faster than
// the fundamental, the way a struck or blown note mellows as it rings.
SampleBuffer brightNote(double hz, double seconds, double vibratoDelay)
{
    SampleBuffer note(seconds);
    double phase = 0.0;
    for (int i = 0; i < note.size(); ++i) {
        const double t = timeAt(i);
        const double vibrato
            = 1.0 + 0.004 * smoothStep((t - vibratoDelay) / 0.2) * std::sin(kTwoPi * 5.5 * t);
        phase += kTwoPi * hz * vibrato * kStep;
        double sum = 0.0;
        for (int n = 1; n <= 10 && n * hz < kNyquistGuard; ++n) {
            const double tau = 0.9 / (1.0 + 0.45 * (n - 1));
            sum += std::sin(n * phase) / std::pow(n, 1.3) * std::exp(-t / tau);
        }
        note[i] = sum;
    }
    note.fadeIn(0.006);
    note.fadeOut(0.06);
    return note;
}

// A mallet-on-bell tone: a few partials, the upper ones slightly stretched
// and short-lived.
SampleBuffer chime(double hz, double seconds)
{
    constexpr std::array ratios { 1.0, 2.0, 3.01, 4.07 };
    constexpr std::array amplitudes { 1.0, 0.35, 0.12, 0.05 };
    constexpr std::array decays { 0.45, 0.22, 0.12, 0.07 };
    SampleBuffer note(seconds);
    for (int i = 0; i < note.size(); ++i) {
        const double t = timeAt(i);
        double sum = 0.0;
        for (std::size_t p = 0; p < ratios.size(); ++p) {
            if (ratios[p] * hz < kNyquistGuard)
                sum += amplitudes[p] * std::sin(kTwoPi * ratios[p] * hz * t) * std::exp(-t / decays[p]);
        }
        note[i] = sum;
    }
    note.fadeIn(0.003);
    note.fadeOut(0.04);
    return note;
}

SampleBuffer sparklePing(double hz, double seconds)
{
    SampleBuffer ping(seconds);
    for (int i = 0; i < ping.size(); ++i) {
        const double t = timeAt(i);
        ping[i] = (std::sin(kTwoPi * hz * t) + 0.3 * std::sin(kTwoPi * 2.76 * hz * t) * std::exp(-t / 0.02))
            * std::exp(-t / 0.06);
    }
    ping.fadeIn(0.002);
    ping.fadeOut(0.03);
    return ping;
}

SampleBuffer squareBlip(double hz, double seconds)
{
    SampleBuffer blip(seconds);
    double phase = 0.0;
    for (int i = 0; i < blip.size(); ++i) {
        phase += kTwoPi * hz * kStep;
        // Only the first odd harmonics: square enough to sound "electronic",
        // soft enough not to be harsh.
        const double shape = std::sin(phase) + 0.25 * std::sin(3.0 * phase) + 0.08 * std::sin(5.0 * phase);
        blip[i] = shape * std::exp(-timeAt(i) / 0.07);
    }
    blip.fadeIn(0.003);
    blip.fadeOut(0.018);
    return blip;
}

} // namespace

std::vector<EffectSynth::Effect> EffectSynth::all()
{
    return {
        { "D_du.wav", du() },
        { "D_bubble.wav", bubble() },
        { "D_cancel.wav", cancel() },
        { "D_press.wav", press() },
        { "D_great.wav", great() },
        { "D_finished.wav", finished() },
        { "D_wrong.wav", wrong() },
        { "D_oohs.wav", oohs() },
    };
}

SampleBuffer EffectSynth::du()
{
    // A low sine that drops quickly in pitch: the ear hears a soft "du"
    // rather than a beep. A whisper of filtered noise gives it a front edge.
    SampleBuffer out(0.09);
    Xorshift noise(0xD0D0);
    Biquad edge;
    edge.setLowPass(1800.0, 0.7);
    double phase = 0.0;
    for (int i = 0; i < out.size(); ++i) {
        const double t = timeAt(i);
        const double hz = 170.0 + 300.0 * std::exp(-t / 0.010);
        phase += kTwoPi * hz * kStep;
        const double body = std::sin(phase) + 0.22 * std::sin(2.0 * phase) * std::exp(-t / 0.012);
        const double transient = 0.35 * edge.process(noise.range(-1.0, 1.0)) * std::exp(-t / 0.0025);
        out[i] = body * std::exp(-t / 0.026) + transient;
    }
    finish(out, 0.002, 0.02);
    return out;
}

SampleBuffer EffectSynth::bubble()
{
    // A bubble's resonance rises as it reaches the surface; most of the rise
    // happens early, while the sound is still loud.
    constexpr double length = 0.16;
    SampleBuffer out(length);
    double phase = 0.0;
    for (int i = 0; i < out.size(); ++i) {
        const double t = timeAt(i);
        const double hz = 280.0 * std::pow(1200.0 / 280.0, std::pow(t / length, 0.7));
        phase += kTwoPi * hz * kStep;
        const double env = std::exp(-t / 0.05);
        out[i] = env * (std::sin(phase) + 0.12 * std::sin(2.0 * phase) * std::exp(-t / 0.02));
    }
    finish(out, 0.004, 0.03);
    return out;
}

SampleBuffer EffectSynth::cancel()
{
    // Down a fifth: the interval reads as "back" without sounding like an
    // error.
    SampleBuffer out(0.21);
    out.mix(squareBlip(noteHz(76), 0.095), 0.0, 1.0);
    out.mix(squareBlip(noteHz(69), 0.115), 0.095, 1.0);
    finish(out, 0.002, 0.01);
    return out;
}

SampleBuffer EffectSynth::press()
{
    // A wood-block "tock": a short pitched body, an inharmonic overtone and
    // a very brief band of noise for the strike.
    SampleBuffer out(0.065);
    Xorshift noise(0x9E55);
    Biquad strike;
    strike.setBandPass(3200.0, 1.2);
    double body = 0.0;
    double overtone = 0.0;
    for (int i = 0; i < out.size(); ++i) {
        const double t = timeAt(i);
        body += kTwoPi * 1050.0 * (1.0 + 0.25 * std::exp(-t / 0.004)) * kStep;
        overtone += kTwoPi * 2570.0 * kStep;
        out[i] = 0.8 * std::sin(body) * std::exp(-t / 0.011)
            + 0.35 * std::sin(overtone) * std::exp(-t / 0.005)
            + 1.2 * strike.process(noise.range(-1.0, 1.0)) * std::exp(-t / 0.0022);
    }
    finish(out, 0.0006, 0.012);
    return out;
}

SampleBuffer EffectSynth::great()
{
    // A rising C major arpeggio into a held chord, with high pentatonic
    // pings scattered over it for sparkle.
    SampleBuffer out(1.5);
    constexpr std::array arpeggio { 72, 76, 79, 84 };
    for (std::size_t k = 0; k < arpeggio.size(); ++k)
        out.mix(brightNote(noteHz(arpeggio[k]), 0.35, 1.0), 0.085 * static_cast<double>(k), 0.5);

    constexpr double chordStart = 0.36;
    constexpr std::array chordNotes { 72, 76, 79, 84, 88 };
    for (const int note : chordNotes)
        out.mix(brightNote(noteHz(note), 1.1, 0.15), chordStart, 0.3);

    constexpr std::array pentatonic { 96, 98, 100, 103, 105, 108 };
    Xorshift random(0x6EA7);
    for (int k = 0; k < 10; ++k) {
        const double at = chordStart + 0.08 * k + random.range(0.0, 0.04);
        const int note
            = pentatonic[static_cast<std::size_t>(random.below(static_cast<int>(pentatonic.size())))];
        out.mix(sparklePing(noteHz(note), 0.25), at, random.range(0.15, 0.22) * (1.0 - 0.06 * k));
    }

    addReverb(out, 0.78, 0.3, 0.28);
    finish(out, 0.002, 0.15);
    return out;
}

SampleBuffer EffectSynth::finished()
{
    // Two chime strokes up a fourth, G to C, with a faint third above the
    // second: pleased, not triumphant.
    SampleBuffer out(0.85);
    out.mix(chime(noteHz(79), 0.5), 0.0, 0.8);
    out.mix(chime(noteHz(84), 0.7), 0.15, 1.0);
    out.mix(chime(noteHz(88), 0.7), 0.15, 0.3);
    addReverb(out, 0.7, 0.4, 0.18);
    finish(out, 0.002, 0.12);
    return out;
}

SampleBuffer EffectSynth::wrong()
{
    // Two low saws a third of a semitone apart beat against each other, a
    // square an octave below adds weight, and the pitch sags at the end.
    SampleBuffer out(0.38);
    Biquad lowPass1;
    Biquad lowPass2;
    lowPass1.setLowPass(1500.0, 0.707);
    lowPass2.setLowPass(1500.0, 0.707);
    double phase1 = 0.0;
    double phase2 = 0.0;
    double phaseSub = 0.0;
    for (int i = 0; i < out.size(); ++i) {
        const double t = timeAt(i);
        const double bend = 1.0 - 0.05 * smoothStep((t - 0.2) / 0.18);
        const double hz1 = 98.0 * bend;
        const double hz2 = 98.0 * 1.018 * bend;
        const double hzSub = 49.0 * bend;
        phase1 += kTwoPi * hz1 * kStep;
        phase2 += kTwoPi * hz2 * kStep;
        phaseSub += kTwoPi * hzSub * kStep;
        const double raw = 0.5 * additiveSaw(phase1, hz1, 7000.0, 1.0)
            + 0.5 * additiveSaw(phase2, hz2, 7000.0, 1.0) + 0.35 * additiveSquare(phaseSub, hzSub, 3000.0);
        out[i] = lowPass2.process(lowPass1.process(raw));
    }
    finish(out, 0.006, 0.09);
    return out;
}

SampleBuffer EffectSynth::oohs()
{
    // A small crowd going "oh..." in disappointment: a few voices, each a
    // soft buzz shaped by vowel formants that glide from "oh" towards "oo",
    // pitch lifting briefly and then falling, vibrato growing as it goes.
    constexpr double length = 0.8;
    SampleBuffer out(length);

    struct Voice
    {
        double ratio;
        double vibratoRate;
        double vibratoPhase;
        double gain;
        double phase;
    };
    std::array voices {
        Voice { 1.0, 5.3, 0.0, 1.0, 0.0 },
        Voice { 1.0069, 5.9, 1.7, 0.8, 0.0 },
        Voice { 0.9945, 5.6, 4.4, 0.6, 0.0 },
        Voice { 0.5015, 4.8, 3.1, 0.7, 0.0 },
    };

    Xorshift noise(0x0085);
    std::array<Biquad, 3> formants;
    constexpr std::array formantGain { 1.0, 0.55, 0.12 };
    constexpr std::array bandwidth { 70.0, 90.0, 150.0 };

    for (int i = 0; i < out.size(); ++i) {
        const double t = timeAt(i);
        const double lift = std::sin(0.5 * std::numbers::pi * std::clamp(t / 0.09, 0.0, 1.0));
        const double fall = smoothStep((t - 0.12) / (length - 0.12));
        const double semitones = 1.0 * lift - 9.0 * fall;
        const double vibratoDepth = 0.3 * std::min(1.0, t / 0.5);

        double source = 0.0;
        for (Voice &voice : voices) {
            const double vibrato
                = vibratoDepth * std::sin(kTwoPi * voice.vibratoRate * t + voice.vibratoPhase);
            const double hz = 330.0 * voice.ratio * std::pow(2.0, (semitones + vibrato) / 12.0);
            voice.phase += kTwoPi * hz * kStep;
            source += voice.gain * additiveSaw(voice.phase, hz, 4500.0, 1.7);
        }
        source += 0.04 * noise.range(-1.0, 1.0);

        if (i % 32 == 0) {
            const double vowel = smoothStep(t / length);
            const std::array centre { 520.0 - 190.0 * vowel, 900.0 - 170.0 * vowel, 2550.0 - 100.0 * vowel };
            for (std::size_t f = 0; f < formants.size(); ++f)
                formants[f].setBandPass(centre[f], centre[f] / bandwidth[f]);
        }
        double voiced = 0.0;
        for (std::size_t f = 0; f < formants.size(); ++f)
            voiced += formantGain[f] * formants[f].process(source);

        const double swell = 0.85 + 0.15 * std::sin(std::numbers::pi * t / length);
        out[i] = voiced * swell;
    }
    addReverb(out, 0.72, 0.45, 0.15);
    finish(out, 0.06, 0.25);
    return out;
}
