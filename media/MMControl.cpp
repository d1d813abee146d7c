#include "MMControl.h"

#include "AudioOutput.h"
#include "EffectQueue.h"
#include "SdlLibrary.h"
#include "SoundFont.h"
#include "SoundWarning.h"
#include "TunePlayer.h"
#include "TuneRenderer.h"
#include "TuneRendering.h"

#include <QCoreApplication>

namespace {

void registerShutdown()
{
    static bool registered = false;
    if (!registered && QCoreApplication::instance()) {
        registered = true;
        // For a program that ends without asking for the shutdown itself.
        qAddPostRoutine([] { MMControl::shutdown(QDeadlineTimer(MMControl::kExitWaitMsecs)); });
    }
}

} // namespace

MMControl::MMControl(QObject *parent)
    : QObject(parent)
{
    registerShutdown();
}

MMControl::~MMControl()
{
    // A tune of a control that is gone has nobody to report to.
    if (ownsTune())
        TunePlayer::instance().unload();
}

void MMControl::setCommand(const QString &command)
{
    const QString name = command.trimmed().toLower();
    emit commandIssued(name, FileName);

    if (name == QLatin1String("open"))
        open();
    else if (name == QLatin1String("play"))
        play();
    else if (name == QLatin1String("stop"))
        stop();
    else if (name == QLatin1String("close"))
        close();
    else if (name == QLatin1String("prev"))
        prev();
    else if (name == QLatin1String("sound"))
        sound();
    else
        SoundWarning::once(
            SoundWarning::UnknownCommand, QStringLiteral("unknown command \"%1\" ignored").arg(command));
}

int MMControl::Mode() const
{
    return ownsTune() && TunePlayer::instance().isPlaying() ? kModePlaying : kModeStopped;
}

bool MMControl::ownsTune() const
{
    return m_tune && TunePlayer::instance().owner() == this;
}

void MMControl::open()
{
    close();
    // Without a device nothing would hear the tune.
    if (SdlLibrary::isKnownMissing())
        return;
    // Rendered, if it must be, once the device plays.
    m_tune = TuneRendering::of(FileName);
}

void MMControl::play()
{
    if (!m_tune) {
        if (!SdlLibrary::isKnownMissing())
            SoundWarning::once(SoundWarning::NothingOpen, QStringLiteral("play with no tune open ignored"));
        return;
    }
    m_notifyTune = Notify;
    TunePlayer &player = TunePlayer::instance();
    if (player.owner() != this) {
        player.load(m_tune, this, [this] {
            if (m_notifyTune)
                emit Done(kNotifySuccessful);
        });
    }
    player.play();
}

void MMControl::stop()
{
    if (ownsTune())
        TunePlayer::instance().stop();
}

void MMControl::close()
{
    if (ownsTune())
        TunePlayer::instance().unload();
    m_tune.reset();
}

void MMControl::prev()
{
    if (ownsTune())
        TunePlayer::instance().rewind();
}

void MMControl::sound()
{
    registerShutdown();
    if (SdlLibrary::isKnownMissing())
        return;
    if (Notify)
        EffectQueue::instance().play(FileName, this, [this] { emit Done(kNotifySuccessful); });
    else
        EffectQueue::instance().play(FileName);
}

bool MMControl::audioAvailable()
{
    return SdlLibrary::audio() != nullptr;
}

bool MMControl::midiAvailable()
{
    return audioAvailable() && !TuneRenderer::synthesiser(TuneRenderer::program()).isEmpty()
        && !SoundFont::resolved().isEmpty();
}

bool MMControl::shutdown(QDeadlineTimer deadline)
{
    TunePlayer &tune = TunePlayer::instance();
    tune.silence();
    // Renderings stop beside the rest.
    TuneRendering::stopAll(QDeadlineTimer(0));
    bool whole = EffectQueue::instance().drain(deadline);
    whole = tune.shutdown(deadline) && whole;
    whole = AudioOutput::instance().shutdown(deadline) && whole;
    whole = TuneRendering::stopAll(deadline) && whole;
    // SDL goes only when no thread can be inside it any more.
    if (whole)
        SdlLibrary::shutdown();
    return whole;
}
