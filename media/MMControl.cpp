#include "MMControl.h"

#include "AudioOutput.h"
#include "EffectQueue.h"
#include "FluidSynthLibrary.h"
#include "SdlLibrary.h"
#include "SoundFont.h"
#include "SoundWarning.h"
#include "TunePlayer.h"
#include "TuneRendering.h"

#include <QCoreApplication>

namespace {

void registerShutdown()
{
    static bool registered = false;
    if (!registered && QCoreApplication::instance()) {
        registered = true;
        qAddPostRoutine(&MMControl::shutdown);
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
    // The rendering starts here, so that by "play" the first of it is ready.
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
    return audioAvailable() && FluidSynthLibrary::isAvailable() && !SoundFont::resolved().isEmpty();
}

void MMControl::shutdown()
{
    TunePlayer::instance().silence();
    EffectQueue::instance().drain();
    AudioOutput::instance().shutdown();
    TuneRendering::stopAll();
    SdlLibrary::shutdown();
}
