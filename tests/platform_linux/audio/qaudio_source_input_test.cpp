#include "dictation/capture/audio_recorder.h"
#include "platform/linux/audio/qaudio_source_input.h"

#include "test_audio.h"
#include "test_text.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int ToneRate = 48'000;
constexpr double ToneHz = 1000;
constexpr double ToneAmplitude = 0.5;

struct Pactl {
    bool ran = false;
    int exitCode = -1;
    QString output;
};

Pactl pactl(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("pactl"), arguments);
    if (!process.waitForFinished(5000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit, process.exitCode(),
            QString::fromUtf8(process.readAllStandardOutput()).trimmed()};
}

// A PulseAudio source of our own as the default microphone, fed with a sine in real time. Monitors
// of null sinks are not offered as microphones by Qt, so the test brings its own source.
class ToneSource final {
public:
    ToneSource()
    {
        const QString fifo = m_dir.filePath(QStringLiteral("tone"));
        m_previousDefault = pactl({QStringLiteral("get-default-source")}).output;
        const Pactl loaded =
            pactl({QStringLiteral("load-module"), QStringLiteral("module-pipe-source"),
                   QStringLiteral("source_name=quenda_tone"), u"file=" + fifo, QStringLiteral("format=s16le"),
                   QStringLiteral("rate=48000"), QStringLiteral("channels=1")});
        if (loaded.exitCode != 0)
            return;
        m_module = loaded.output;
        pactl({QStringLiteral("set-default-source"), QStringLiteral("quenda_tone")});
        m_writer = std::thread([this, path = fifo.toStdString()] { write(path); });
    }
    ~ToneSource()
    {
        m_stop = true;
        if (m_writer.joinable())
            m_writer.join();
        if (!m_module.isEmpty())
            pactl({QStringLiteral("unload-module"), m_module});
        if (!m_previousDefault.isEmpty())
            pactl({QStringLiteral("set-default-source"), m_previousDefault});
    }

    bool loaded() const { return !m_module.isEmpty(); }

private:
    // 10 ms at a time on a fixed schedule, like a sound card; writes up to PIPE_BUF are all or nothing.
    void write(const std::string& fifo)
    {
        const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd < 0)
            return;
        const AudioFormat format{ToneRate, 1, AudioFormat::SampleType::Int16};
        const QByteArray tone = sine(format, ToneHz, ToneAmplitude, 1.0); // a whole number of periods
        constexpr qsizetype Chunk = ToneRate / 100 * 2;
        qsizetype at = 0;
        auto next = std::chrono::steady_clock::now();
        while (!m_stop) {
            if (::write(fd, tone.constData() + at, Chunk) == Chunk)
                at = (at + Chunk) % tone.size();
            next += std::chrono::milliseconds(10);
            std::this_thread::sleep_until(next);
        }
        ::close(fd);
    }

    QTemporaryDir m_dir;
    QString m_previousDefault;
    QString m_module;
    std::thread m_writer;
    std::atomic_bool m_stop = false;
};

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
    const Pactl info = pactl({QStringLiteral("info")});
    ASSERT_TRUE(info.ran) << "pactl (pulseaudio-utils) is needed to set up the test source";
    if (info.exitCode != 0)
        GTEST_SKIP() << "no PulseAudio server is reachable; scripts/with-services starts one";

    ToneSource source;
    ASSERT_TRUE(source.loaded()) << "module-pipe-source could not be loaded";
    // Qt learns of the new default through the server's events.
    ASSERT_TRUE(QTest::qWaitFor(
        [] { return QMediaDevices::defaultAudioInput().id() == QByteArrayLiteral("quenda_tone"); }, 3000));

    QAudioSourceInput device;
    CountingInput input(device);
    AudioRecorder recorder(input);
    float loudest = 0;
    QObject context;
    QObject::connect(&recorder, &AudioRecorder::levelChanged, &context,
                     [&](float level) { loudest = std::max(loudest, level); });

    const auto started = recorder.start();
    ASSERT_TRUE(started.ok()) << qPrintable(started.error());
    EXPECT_EQ(started.value(), (AudioFormat{ToneRate, 1, AudioFormat::SampleType::Int16}))
        << "the device's own format, not one forced on it";
    ASSERT_TRUE(QTest::qWaitFor([&] { return input.seconds() >= 1.2; }, 5000)) << "no audio arrived";
    const std::optional<QByteArray> wav = recorder.stop();
    QCoreApplication::processEvents();

    ASSERT_TRUE(wav.has_value());
    EXPECT_TRUE(wav->startsWith("RIFF"));
    const std::vector<double> samples = samplesOf(QByteArrayView(*wav).sliced(44));
    EXPECT_GE(double(samples.size()), 1.2 * 16'000);
    EXPECT_NEAR(zeroCrossingHz(middle(samples), 16'000), ToneHz, ToneHz * 0.01);
    EXPECT_NEAR(rmsOf(middle(samples)), ToneAmplitude / std::numbers::sqrt2, 0.05);
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
