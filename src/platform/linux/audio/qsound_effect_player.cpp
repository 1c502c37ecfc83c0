#include "platform/linux/audio/qsound_effect_player.h"

#include <QDir>
#include <QSoundEffect>
#include <QUrl>

namespace {

std::unique_ptr<QSoundEffect> load(const QString& directory, const QString& name)
{
    auto effect = std::make_unique<QSoundEffect>();
    effect->setSource(QUrl::fromLocalFile(QDir(directory).filePath(QStringLiteral("Sounds/") + name)));
    effect->setVolume(0.6f);
    return effect;
}

} // namespace

QSoundEffectPlayer::QSoundEffectPlayer(const QString& resourceDirectory, QObject* parent)
    : QObject(parent)
    , m_directory(resourceDirectory)
{
}

QSoundEffectPlayer::~QSoundEffectPlayer() = default;

void QSoundEffectPlayer::prepare()
{
    if (m_start)
        return;
    m_start = load(m_directory, QStringLiteral("start.wav"));
    m_stop = load(m_directory, QStringLiteral("stop.wav"));
}

void QSoundEffectPlayer::play(Sound sound)
{
    prepare();
    // A cue that failed to load (no output device) stays silent; dictation goes on without it.
    QSoundEffect& effect = sound == Sound::Start ? *m_start : *m_stop;
    effect.play();
}
