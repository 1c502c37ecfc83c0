#pragma once

#include "platform/sound_player.h"

#include <QObject>

#include <memory>

class QSoundEffect;

// Plays the shipped cues through Qt Multimedia; loaded once, so a cue starts without waiting.
class QSoundEffectPlayer final : public QObject, public SoundPlayer {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QSoundEffectPlayer)

public:
    // Reads "Sounds/start.wav" and "Sounds/stop.wav" below the resource directory.
    explicit QSoundEffectPlayer(const QString& resourceDirectory, QObject* parent = nullptr);
    ~QSoundEffectPlayer() override;

    void play(Sound sound) override;

private:
    std::unique_ptr<QSoundEffect> m_start;
    std::unique_ptr<QSoundEffect> m_stop;
};
