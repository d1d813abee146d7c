#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// Runs vexa-tune-render, the program beside the game that turns a MIDI
// tune into sound with FluidSynth: the synthesiser and its soundfont never
// enter the game's own process, so their memory goes back whole when a
// rendering ends, and a file that breaks the synthesiser ends only the
// renderer. Its output comes in as it is made.
class TuneRenderer
{
public:
    enum class Outcome {
        Whole, // the whole tune came
        SoundFontRefused, // nothing came: the soundfont was refused or broke the renderer
        Failed, // the tune was refused, or the renderer broke off or could not run
        Stopped, // `more` asked to stop
    };

    // The renderer: a test's, else the one beside the running program,
    // else the one in the program folder.
    static QString program();
    static void setProgram(const QString &path);
    // What the renderer `program` reports of itself (FluidSynth's
    // version), asked once a run; "" when it cannot run. It waits for the
    // renderer.
    static QString synthesiser(const QString &program);

    // Renders `midi` with the soundfont; `take` gets the output in pieces
    // as it comes and returns false to stop. Waits until the renderer has
    // ended; `why` tells what went wrong. On a thread that Qt knows.
    static Outcome render(const QString &program, const QString &soundFont, const QByteArray &midi,
        const std::function<bool(const QByteArray &bytes)> &take, QString *why);
};
