#include "TuneComposer.h"

#include "Notation.h"
#include "Xorshift.h"

#include <algorithm>
#include <array>
#include <climits>
#include <string>

namespace {

constexpr int kQuarter = Notation::kTicksPerQuarter;
constexpr int kEighth = kQuarter / 2;
constexpr int kSixteenth = kQuarter / 4;

// General MIDI programs (0-based) and drum keys used below.
enum Program {
    AcousticGrandPiano = 0,
    Vibraphone = 11,
    Marimba = 12,
    AcousticBass = 32,
    Cello = 42,
    Harp = 46,
    PizzicatoStrings = 45,
    StringEnsemble1 = 48,
    StringEnsemble2 = 49,
    Clarinet = 71,
    Flute = 73,
};

enum DrumKey {
    Kick = 36,
    SideStick = 37,
    Snare = 38,
    HandClap = 39,
    LowTom = 45,
    ClosedHiHat = 42,
    OpenHiHat = 46,
    Crash = 49,
};

struct LineStyle
{
    int velocity;
    double legato; // fraction of the written length actually held
    int transpose = 0;
    int from = 0; // only notes starting in [from, to)
    int to = INT_MAX;
};

// Plays a written line: the first beat of each bar leans a little, and no
// two notes come out at quite the same strength.
void playLine(MidiSong &song, int track, const std::vector<Notation::Note> &notes, const LineStyle &style,
    Xorshift &random)
{
    for (const Notation::Note &note : notes) {
        if (note.start < style.from || note.start >= style.to)
            continue;
        const bool downbeat = note.start % song.ticksPerBar() == 0;
        const int velocity = style.velocity + (downbeat ? 8 : 0) + random.below(7) - 3;
        const int length = std::max(kSixteenth / 2, static_cast<int>(note.length * style.legato));
        song.addNote(track, note.start, length, note.pitch + style.transpose, velocity);
    }
}

// Sustained chords in close position between `low` and `high`.
void playPad(MidiSong &song, int track, const std::vector<Notation::ChordSpan> &spans, int low, int high,
    int velocity, int from, int to)
{
    for (const Notation::ChordSpan &span : spans) {
        if (span.start < from || span.start >= to)
            continue;
        for (const int pitch : span.chord.tonesBetween(low, high))
            song.addNote(track, span.start, span.length, pitch, velocity);
    }
}

// Open-spread arpeggio rising from the root (placed at or above `low`) and
// falling back: root, fifth, octave, tenth, twelfth, then the seventh or
// the double octave.
std::array<int, 6> openLadder(const Chord &chord, int low)
{
    const int root = Chord::placeAtOrAbove(chord.root(), low);
    const auto &intervals = chord.intervals();
    const int third = intervals.at(1);
    const int fifth = intervals.at(2);
    const int top = intervals.size() > 3 ? root + 12 + intervals[3] : root + 24;
    return { root, root + fifth, root + 12, root + 12 + third, root + 12 + fifth, top };
}

} // namespace

MidiSong TuneComposer::osmira()
{
    // 72 bpm in 4/4: two bars of harp alone, then A A' B A'' of four bars
    // each, one minute in all.
    MidiSong song("Osmira", 72, 4, 2, false);
    const int bar = song.ticksPerBar();
    Xorshift random(0x05A1);

    const auto spans = Notation::chart("D | Asus4 A | "
                                       "D | Bm7 | Gmaj7 | Asus4 A | "
                                       "D | F#m7 | G A7 | D | "
                                       "Gmaj7 | F#m7 | Em7 | Asus4 A7 | "
                                       "D | Bm7 | Em7 A7 | D",
        bar, 0);
    const auto melody = Notation::melody(
        // A: a falling figure answered by a rise, closing on the dominant.
        "F#5:q. E5:e D5:q A4:q | B4:q. C#5:e D5:q F#5:q | G5:q. F#5:e E5:q D5:q | E5:q. D5:e C#5:h | "
        // A': reaches up to A, then comes home to D.
        "F#5:q. E5:e D5:q A5:q | A5:q. G5:e F#5:q E5:q | B5:q A5:q G5:q E5:q | D5:h. r:q | "
        // B: higher, lingering on the subdominant side.
        "B5:q. A5:e B5:q D6:q | C#6:q. B5:e A5:h | G5:q. F#5:e G5:q B5:q | A5:h G5:q E5:q | "
        // A'': the opening again, now with a full close.
        "F#5:q. E5:e D5:q A4:q | B4:q. C#5:e D5:q F#5:q | G5:q. F#5:e E5:q C#5:q | D5:w",
        bar, 2 * bar);
    const int sectionA = 2 * bar;
    const int sectionA2 = 6 * bar;
    const int sectionB = 10 * bar;
    const int sectionA3 = 14 * bar;
    song.setLength(18 * bar);

    const int piano = song.addTrack("Piano", 0, AcousticGrandPiano, 112, 70, 70);
    const int flute = song.addTrack("Flute", 4, Flute, 86, 50, 80);
    const int harp = song.addTrack("Harp", 1, Harp, 104, 44, 80);
    const int strings = song.addTrack("Strings", 2, StringEnsemble2, 84, 86, 90);
    const int cello = song.addTrack("Cello", 3, Cello, 90, 60, 70);

    playLine(song, piano, melody, { 86, 0.95 }, random);
    // A soft flute doubling lifts the contrasting phrase without changing
    // what is played.
    playLine(song, flute, melody, { 58, 0.98, 0, sectionB, sectionA3 }, random);

    // Eighth-note arpeggios that ring on, as if with the pedal down.
    constexpr std::array pattern { 0, 1, 2, 3, 4, 5, 4, 3 };
    for (const Notation::ChordSpan &span : spans) {
        const auto ladder = openLadder(span.chord, 42);
        const int end = span.start + span.length;
        for (int step = 0; span.start + step * kEighth < end; ++step) {
            const int start = span.start + step * kEighth;
            const int velocity = (step == 0 ? 72 : step % 2 == 0 ? 64 : 57) + random.below(5) - 2;
            song.addNote(
                harp, start, end - start, ladder[static_cast<std::size_t>(pattern[step % 8])], velocity);
        }
    }

    playPad(song, strings, spans, 55, 67, 40, sectionA, sectionA2);
    playPad(song, strings, spans, 55, 67, 46, sectionA2, sectionB);
    playPad(song, strings, spans, 55, 67, 54, sectionB, sectionA3);
    playPad(song, strings, spans, 55, 67, 46, sectionA3, song.length());

    for (const Notation::ChordSpan &span : spans) {
        if (span.start >= sectionA)
            song.addNote(
                cello, span.start, span.length, span.chord.bassFrom(38), span.start >= sectionB ? 56 : 50);
    }
    return song;
}

MidiSong TuneComposer::happygm()
{
    // 132 bpm in 4/4: a two-bar groove, then A A' B A of eight bars each.
    MidiSong song("Happygm", 132, 4, -1, false);
    const int bar = song.ticksPerBar();
    Xorshift random(0x4A99);

    const std::string chartA = "F | Dm | Bb | C | F | Dm | Gm7 C7 | F";
    const std::string chartA2 = "F | Dm | Bb | C | Am | Dm | Gm7 C7 | F";
    const std::string chartB = "Bb | C | Am | Dm | Gm | C | Bb | C7";
    const auto spans
        = Notation::chart("F | C7 | " + chartA + " | " + chartA2 + " | " + chartB + " | " + chartA, bar, 0);
    const int sectionA = 2 * bar;
    const int sectionA2 = 10 * bar;
    const int sectionB = 18 * bar;
    const int sectionA3 = 26 * bar;
    const int bars = 34;
    song.setLength(bars * bar);

    // The hook: up the F chord and a skip back, answered on D minor.
    const std::string tuneA = "F5:e A5:e C6:q A5:e F5:e G5:q | A5:e F5:e D5:q r:e D5:e F5:e A5:e | "
                              "Bb5:q. A5:e G5:e F5:e D5:q | E5:q G5:q C6:h | "
                              "F5:e A5:e C6:q A5:e F5:e G5:q | A5:e F5:e D5:q r:e F5:e A5:e D6:e | "
                              "D6:e Bb5:e A5:e G5:e E5:e G5:e Bb5:e G5:e | F5:q C5:q F5:q r:q";
    const std::string tuneA2 = "F5:e A5:e C6:q A5:e F5:e G5:q | A5:e F5:e D5:q r:e D5:e F5:e A5:e | "
                               "Bb5:q. A5:e G5:e F5:e D5:q | G5:e E5:e G5:e C6:e E6:q r:q | "
                               "E6:q. C6:e A5:q E5:q | F5:e E5:e F5:e A5:e D6:q. r:e | "
                               "Bb5:e A5:e G5:e F5:e E5:e F5:e G5:e Bb5:e | A5:q C6:q F5:h";
    // B: broader notes on the vibraphone while the marimba keeps the motion.
    const std::string tuneB = "D6:q. C6:e Bb5:h | C6:q. Bb5:e G5:h | A5:q. G5:e E5:q A5:q | F5:q A5:q D6:h | "
                              "Bb5:q. A5:e G5:q D5:q | E5:q G5:q C6:q E6:q | D6:q. C6:e Bb5:q G5:q | "
                              "C6:q Bb5:q G5:q E5:q";

    const int marimba = song.addTrack("Marimba", 0, Marimba, 108, 54, 50);
    const int vibes = song.addTrack("Vibraphone", 1, Vibraphone, 90, 78, 60);
    const int pizzicato = song.addTrack("Pizzicato", 2, PizzicatoStrings, 82, 90, 50);
    const int bass = song.addTrack("Bass", 3, AcousticBass, 104, 64, 30);
    const int drums = song.addTrack("Drums", MidiSong::kDrumChannel, 0, 90, 64, 40);

    playLine(song, marimba, Notation::melody(tuneA, bar, sectionA), { 90, 0.8 }, random);
    playLine(song, marimba, Notation::melody(tuneA2, bar, sectionA2), { 92, 0.8 }, random);
    playLine(song, vibes, Notation::melody(tuneB, bar, sectionB), { 86, 0.92 }, random);
    playLine(song, marimba, Notation::melody(tuneA, bar, sectionA3), { 94, 0.8 }, random);
    playLine(song, vibes, Notation::melody(tuneA, bar, sectionA3), { 60, 0.9, -12 }, random);

    // Vibraphone chords underneath the second phrase.
    playPad(song, vibes, spans, 62, 74, 38, sectionA2, sectionB);

    // Marimba broken chords in B, so the bounce carries on under the tune.
    constexpr std::array broken { 0, 1, 2, 3, 2, 1, 2, 3 };
    for (const Notation::ChordSpan &span : spans) {
        if (span.start < sectionB || span.start >= sectionA3)
            continue;
        const auto tones = span.chord.tonesBetween(Chord::placeAtOrAbove(span.chord.root(), 53), 80);
        for (int step = 0; step * kEighth < span.length; ++step) {
            const int pitch = tones.at(static_cast<std::size_t>(broken[step % 8]) % tones.size());
            song.addNote(marimba, span.start + step * kEighth, kEighth - 20, pitch,
                (step % 2 == 0 ? 56 : 48) + random.below(5) - 2);
        }
    }

    // A bouncing bass: root, a pickup on the root, fifth, octave and fifth.
    struct BassStep
    {
        int at; // sixteenths into the chord
        int length; // sixteenths
        int interval; // 0 root, 7 fifth, 12 octave
    };
    constexpr std::array wholeBar { BassStep { 0, 3, 0 }, BassStep { 6, 2, 0 }, BassStep { 8, 3, 7 },
        BassStep { 12, 2, 12 }, BassStep { 14, 2, 7 } };
    constexpr std::array halfBar { BassStep { 0, 3, 0 }, BassStep { 4, 3, 7 } };
    for (const Notation::ChordSpan &span : spans) {
        const int root = Chord::placeAtOrAbove(span.chord.root(), 36);
        const int fifth = span.chord.intervals().at(2);
        const bool full = span.length == bar;
        const auto steps = full ? std::vector<BassStep>(wholeBar.begin(), wholeBar.end())
                                : std::vector<BassStep>(halfBar.begin(), halfBar.end());
        for (const BassStep &step : steps) {
            const int interval = step.interval == 7 ? fifth : step.interval;
            song.addNote(bass, span.start + step.at * kSixteenth, step.length * kSixteenth - 10,
                root + interval, (step.at == 0 ? 94 : 80) + random.below(5) - 2);
        }
    }

    // Pizzicato chords on every off-beat: the "and" is where the bounce lives.
    for (const Notation::ChordSpan &span : spans) {
        const int loudness = span.start >= sectionB && span.start < sectionA3 ? 64 : 56;
        const auto tones = span.chord.tonesBetween(58, 70);
        for (int beat = 0; beat * kQuarter < span.length; ++beat) {
            const int velocity = loudness - (beat % 2) * 6 + random.below(5) - 2;
            for (const int pitch : tones)
                song.addNote(
                    pizzicato, span.start + beat * kQuarter + kEighth, kSixteenth + 40, pitch, velocity);
        }
    }

    // Light drums: kick on one and three, a side-stick or snare backbeat,
    // eighth hi-hats, a crash into each phrase and a small fill out of it.
    const auto hit = [&](int tick, int key, int velocity) {
        song.addNote(drums, tick, kSixteenth, key, velocity + random.below(5) - 2);
    };
    for (int b = 0; b < bars; ++b) {
        const int start = b * bar;
        const bool inA2 = start >= sectionA2 && start < sectionB;
        const bool inB = start >= sectionB && start < sectionA3;
        const bool inLast = start >= sectionA3;
        const bool fill = b == 1 || b == 9 || b == 17 || b == 25 || b == bars - 1;
        if (start == sectionA || start == sectionA2 || start == sectionB || start == sectionA3)
            hit(start, Crash, start == sectionA ? 66 : 78);

        hit(start, Kick, 96);
        hit(start + 2 * kQuarter, Kick, 86);
        if (inA2 || inB || inLast)
            hit(start + 2 * kQuarter + kEighth, Kick, 66);

        if (b > 0) {
            for (const int beat : { 1, 3 }) {
                if (fill && beat == 3)
                    continue;
                const int key = (inA2 || inB || inLast) ? Snare : SideStick;
                hit(start + beat * kQuarter, key, key == Snare ? 66 : 72);
                if (inLast)
                    hit(start + beat * kQuarter, HandClap, 58);
            }
        }

        for (int step = 0; step < 8; ++step) {
            if (fill && step >= 6)
                continue;
            const bool open = inB && step == 7;
            hit(start + step * kEighth, open ? OpenHiHat : ClosedHiHat, step % 2 == 0 ? 64 : 46);
        }
        if (fill) {
            hit(start + 3 * kQuarter, Snare, 62);
            hit(start + 3 * kQuarter + kSixteenth, Snare, 50);
            hit(start + 3 * kQuarter + 2 * kSixteenth, Snare, 68);
            hit(start + 3 * kQuarter + 3 * kSixteenth, LowTom, 76);
        }
    }
    return song;
}

MidiSong TuneComposer::waltz()
{
    // 138 bpm in 3/4: two bars of oom-pah-pah, then A A' B A'' of eight
    // bars each.
    MidiSong song("Waltz", 138, 3, -3, false);
    const int bar = song.ticksPerBar();
    Xorshift random(0x3A17);

    const std::string chartA = "Eb | Cm | Fm7 | Bb7 | Eb | Ab | Bb7 | Eb";
    // A's fourth bar sits on the tonic over its fifth, so the high G lands
    // on a chord tone before the cadence.
    const std::string chartA2 = "Eb | Cm | Fm7 | Eb/Bb | Ab | Bb7 | Eb | Eb";
    // B turns to the relative minor, through its own dominant.
    const std::string chartB = "Cm | G7 | Cm | Ab | Fm | Bb7 | Eb | Bb7";
    const auto spans = Notation::chart(
        "Eb | Bb7 | " + chartA + " | " + chartA2 + " | " + chartB + " | " + chartA2, bar, 0);
    const int sectionA = 2 * bar;
    const int sectionA2 = 10 * bar;
    const int sectionB = 18 * bar;
    const int sectionA3 = 26 * bar;
    song.setLength(34 * bar);

    const std::string tuneA = "G5:h Bb5:q | Eb6:h C6:q | Ab5:q. Bb5:e C6:q | F5:q Bb5:q Ab5:q | "
                              "G5:h Bb5:q | C6:h Eb6:q | D6:q C6:q Ab5:q | G5:h F5:q";
    // A' climbs to the high A-flat before settling; the last bar is left to
    // the clarinet's pickup.
    const std::string tuneA2 = "G5:h Bb5:q | Eb6:h Bb5:q | C6:q Eb6:q Ab6:q | G6:h F6:q | "
                               "Eb6:h C6:q | D6:h F6:q | Eb6:h. | r:h.";
    const std::string tuneB = "r:h Bb4:q | C5:h Eb5:q | D5:h B4:q | C5:q Eb5:q G5:q | Ab5:h. | "
                              "C6:q Bb5:q Ab5:q | F5:q D5:q Bb4:q | Eb5:q G5:q Bb5:q | Ab5:h F5:q";
    const std::string tuneA3 = "G5:h Bb5:q | Eb6:h Bb5:q | C6:q Eb6:q Ab6:q | G6:h F6:q | "
                               "Eb6:h C6:q | D6:h F6:q | Eb6:h. | Bb5:q G5:q Eb5:q";

    const int flute = song.addTrack("Flute", 0, Flute, 100, 56, 70);
    const int clarinet = song.addTrack("Clarinet", 1, Clarinet, 96, 74, 70);
    const int piano = song.addTrack("Piano", 2, AcousticGrandPiano, 90, 64, 60);
    const int strings = song.addTrack("Strings", 3, StringEnsemble1, 70, 84, 90);

    playLine(song, flute, Notation::melody(tuneA, bar, sectionA), { 82, 0.94 }, random);
    playLine(song, flute, Notation::melody(tuneA2, bar, sectionA2), { 84, 0.94 }, random);
    playLine(song, clarinet, Notation::melody(tuneB, bar, sectionB - bar), { 80, 0.96 }, random);
    playLine(song, flute, Notation::melody(tuneA3, bar, sectionA3), { 86, 0.94 }, random);
    playLine(song, clarinet, Notation::melody(tuneA3, bar, sectionA3), { 64, 0.94, -12 }, random);

    // Oom-pah-pah: a low note on the downbeat, the chord on two and three.
    // When a chord lasts two bars the bass steps down to its fifth the
    // second time, as a waltz bass does.
    const Chord *previous = nullptr;
    bool alternate = false;
    for (const Notation::ChordSpan &span : spans) {
        const bool repeated = previous && previous->root() == span.chord.root()
            && previous->intervals() == span.chord.intervals();
        alternate = repeated && !alternate;
        previous = &span.chord;
        const int low = alternate
            ? Chord::placeAtOrAbove((span.chord.root() + span.chord.intervals().at(2)) % 12, 34)
            : span.chord.bassFrom(36);
        song.addNote(piano, span.start, kQuarter * 9 / 10, low, 64 + random.below(5) - 2);
        const auto tones = span.chord.tonesBetween(55, 67);
        for (const int beat : { 1, 2 }) {
            for (const int pitch : tones)
                song.addNote(piano, span.start + beat * kQuarter, kQuarter * 11 / 20, pitch,
                    (beat == 1 ? 47 : 42) + random.below(5) - 2);
        }
    }

    playPad(song, strings, spans, 60, 72, 38, sectionA2, sectionB);
    playPad(song, strings, spans, 60, 72, 48, sectionB, sectionA3);
    playPad(song, strings, spans, 60, 72, 44, sectionA3, song.length());
    return song;
}
