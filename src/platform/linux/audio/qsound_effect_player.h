#pragma once

#include "platform/sound_player.h"

#include <QObject>

#include <memory>

class QSoundEffect;

// Plays the shipped cues through Qt Multimedia. They are read once, by prepare() or at the first
// play: read ahead, a cue starts without waiting, and until then Qt Multimedia keeps no connection
// to the sound server and no threads.
class QSoundEffectPlayer final : public QObject, public SoundPlayer {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QSoundEffectPlayer)

public:
    // Reads "Sounds/start.wav" and "Sounds/stop.wav" below the resource directory.
    explicit QSoundEffectPlayer(const QString& resourceDirectory, QObject* parent = nullptr);
    ~QSoundEffectPlayer() override;

    // Reads the cues unless they are read already.
    void prepare();
    void play(Sound sound) override;

private:
    const QString m_directory;
    std::unique_ptr<QSoundEffect> m_start;
    std::unique_ptr<QSoundEffect> m_stop;
};
