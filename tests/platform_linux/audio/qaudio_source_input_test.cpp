#include "dictation/capture/audio_recorder.h"
#include "platform/linux/audio/qaudio_source_input.h"

#include "pulse_tone_source.h"
#include "service_check.h"
#include "test_audio.h"
#include "test_text.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>

namespace {

// Counts what the real input delivers, so the test records for a known stretch of audio.
class CountingInput final : public AudioInput {
public:
    explicit CountingInput(AudioInput& inner)
        : m_inner(inner)
    {
    }
    Result<AudioFormat, QString> start(Deliver deliver) override
    {
        m_seconds = 0;
        return m_inner.start(
            [this, deliver = std::move(deliver)](const AudioFormat& format, QByteArrayView samples) {
                m_seconds = m_seconds + double(samples.size() / format.bytesPerFrame()) / format.sampleRate;
                deliver(format, samples);
            });
    }
    void stop() override { m_inner.stop(); }
    double seconds() const { return m_seconds; }

private:
    AudioInput& m_inner;
    std::atomic<double> m_seconds = 0;
};

TEST(QAudioSourceInput, RecordsTheDefaultMicrophoneInItsOwnFormat)
{
    const auto info = pactl({QStringLiteral("info")});
    ASSERT_TRUE(info) << "pactl (pulseaudio-utils) is needed to set up the test source";
    QUENDA_NEEDS_SERVICE(info->first == 0, "a reachable PulseAudio server");

    PulseToneSource source;
    ASSERT_TRUE(source.loaded()) << "module-pipe-source could not be loaded";
    // Qt learns of the new default through the server's events.
    ASSERT_TRUE(QTest::qWaitFor(
        [] { return QMediaDevices::defaultAudioInput().id() == PulseToneSource::Name; }, 3000));

    QAudioSourceInput device;
    CountingInput input(device);
    AudioRecorder recorder(input);
    float loudest = 0;
    QObject context;
    QObject::connect(&recorder, &AudioRecorder::levelChanged, &context,
                     [&](float level) { loudest = std::max(loudest, level); });

    const auto started = recorder.start();
    ASSERT_TRUE(started.ok()) << qPrintable(started.error());
    EXPECT_EQ(started.value(), (AudioFormat{PulseToneSource::Rate, 1, AudioFormat::SampleType::Int16}))
        << "the device's own format, not one forced on it";
    ASSERT_TRUE(QTest::qWaitFor([&] { return input.seconds() >= 1.2; }, 5000)) << "no audio arrived";
    const std::optional<QByteArray> wav = recorder.stop();
    QCoreApplication::processEvents();

    ASSERT_TRUE(wav.has_value());
    EXPECT_TRUE(wav->startsWith("RIFF"));
    const std::vector<double> samples = samplesOf(QByteArrayView(*wav).sliced(44));
    EXPECT_GE(double(samples.size()), 1.2 * 16'000);
    EXPECT_NEAR(zeroCrossingHz(middle(samples), 16'000), PulseToneSource::Hz, PulseToneSource::Hz * 0.01);
    EXPECT_NEAR(rmsOf(middle(samples)), PulseToneSource::Amplitude / std::numbers::sqrt2, 0.05);
    EXPECT_GT(loudest, 0.9f);
}

// Run by its own CTest entry with PULSE_SERVER pointing nowhere: no microphone must be an error
// the controller can show, never a recording that silently stays empty.
TEST(QAudioSourceInputWithoutServer, StartSaysWhyNothingRecords)
{
    if (qEnvironmentVariable("QUENDA_NO_PULSE") != QLatin1String("1"))
        GTEST_SKIP() << "needs QUENDA_NO_PULSE=1 and an unreachable PULSE_SERVER";
    QAudioSourceInput input;
    AudioRecorder recorder(input);

    const auto started = recorder.start();
    ASSERT_FALSE(started.ok());
    EXPECT_EQ(started.error(), s("No microphone is connected."));
    EXPECT_FALSE(recorder.isRecording());
    EXPECT_EQ(recorder.stop(), std::nullopt);
}

} // namespace
