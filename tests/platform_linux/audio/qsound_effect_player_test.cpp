#include "platform/linux/audio/qsound_effect_player.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

// The cues are read ahead only while they are on; a cue asked for before that reads them first,
// and a folder without them leaves the cue silent instead of ending the program.
TEST(QSoundEffectPlayerTest, ACueAskedForBeforeTheCuesAreReadIsReadFirstAndAMissingOneStaysSilent)
{
    const QTemporaryDir empty;
    QSoundEffectPlayer player(empty.path());
    player.play(SoundPlayer::Sound::Start);
    player.play(SoundPlayer::Sound::Stop);
    player.prepare();
    player.play(SoundPlayer::Sound::Start);
    SUCCEED();
}
