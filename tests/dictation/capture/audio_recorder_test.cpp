#include "dictation/capture/audio_recorder.h"
#include "platform/fake/fake_audio_input.h"

#include "test_audio.h"
#include "test_text.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace {

using Type = AudioFormat::SampleType;

constexpr AudioFormat Pcm16k{16'000, 1, Type::Int16};
constexpr qsizetype WavHeader = 44;

QByteArray pcmOf(const std::optional<QByteArray>& wav)
{
    return wav ? wav->mid(WavHeader) : QByteArray();
}

class AudioRecorderTest : public ::testing::Test {
protected:
    AudioRecorderTest() { watch(m_recorder); }

    // Listens as the dictation does, through the Recorder it is handed.
    void watch(Recorder& recorder)
    {
        QObject::connect(&recorder, &Recorder::levelChanged, &m_context,
                         [this](float level) { m_levels.push_back(level); });
        QObject::connect(&recorder, &Recorder::limitReached, &m_context, [this] { ++m_limits; });
        QObject::connect(&recorder, &Recorder::captured, &m_context,
                         [this](const QByteArray& pcm) { m_captured += pcm; });
        QObject::connect(&recorder, &Recorder::interrupted, &m_context, [this] { ++m_interruptions; });
    }

    void startRecording() { ASSERT_TRUE(m_recorder.start().ok()); }

    // Hands `input` over the way a device does, in buffers of 1024 frames.
    void push(const AudioFormat& format, const QByteArray& input)
    {
        const qsizetype step = 1024 * format.bytesPerFrame();
        for (qsizetype at = 0; at < input.size(); at += step)
            ASSERT_TRUE(
                m_input.push(format, QByteArrayView(input).sliced(at, std::min(step, input.size() - at))));
    }

    void deliverReports() { QCoreApplication::processEvents(); }

    FakeAudioInput m_input;
    QObject m_context;
    AudioRecorder m_recorder{m_input};
    std::vector<float> m_levels;
    int m_limits = 0;
    QByteArray m_captured;
    int m_interruptions = 0;
};

// A converter kept from the first format reads the later buffers in the wrong layout: the second
// part comes out garbled and of the wrong length.
TEST_F(AudioRecorderTest, FormatChangeMidRecordingKeepsBothParts)
{
    const AudioFormat first{48'000, 2, Type::Float};
    const AudioFormat second{44'100, 1, Type::Int16};
    startRecording();
    push(first, sine(first, 500, 0.5, 0.5));
    push(second, sine(second, 1500, 0.5, 0.5));
    deliverReports();
    const QByteArray pcm = pcmOf(m_recorder.stop());
    const std::vector<double> out = samplesOf(pcm);
    // What went to the engine while recording is how the recording begins; the change is told once.
    EXPECT_GT(m_captured.size(), 30'000);
    EXPECT_TRUE(pcm.startsWith(m_captured));
    EXPECT_EQ(m_interruptions, 1);

    ASSERT_NEAR(double(out.size()), 16'000, 2);
    const std::vector<double> firstPart(out.begin() + 800, out.begin() + 7200);
    const std::vector<double> secondPart(out.begin() + 8800, out.begin() + 15'200);
    EXPECT_NEAR(zeroCrossingHz(firstPart, 16'000), 500, 3);
    EXPECT_NEAR(zeroCrossingHz(secondPart, 16'000), 1500, 8);
    EXPECT_NEAR(rmsOf(secondPart), 0.5 / std::numbers::sqrt2, 0.02);
}

TEST_F(AudioRecorderTest, BuffersWithoutAUsableFormatAreDroppedUntilOneArrives)
{
    const AudioFormat unusable[] = {{0, 2, Type::Float}, {-8000, 1, Type::Int16}, {48'000, 0, Type::Float}};
    startRecording();
    for (const AudioFormat& format : unusable)
        ASSERT_TRUE(m_input.push(format, QByteArray(4096, '\x40')));
    push(Pcm16k, sine(Pcm16k, 1000, 0.5, 0.5));
    deliverReports();

    EXPECT_EQ(m_levels.size(), 8u) << "one level per usable buffer";
    const QByteArray pcm = pcmOf(m_recorder.stop());
    EXPECT_EQ(pcm, sine(Pcm16k, 1000, 0.5, 0.5));
}

TEST_F(AudioRecorderTest, LevelFollowsLoudnessOfTheConvertedSamples)
{
    struct Case {
        const char* name;
        AudioFormat format;
        std::function<double(qint64, int)> signal;
        float level;
    };
    const auto sineAtRmsDbfs = [](double dbfs) {
        const double peak = std::pow(10.0, dbfs / 20) * std::numbers::sqrt2;
        return [peak](qint64 frame, int) { return peak * std::sin(2 * std::numbers::pi * frame / 16.0); };
    };
    const Case cases[] = {
        // clang-format off
        {.name = "silence", .format = Pcm16k, .signal = [](qint64, int) { return 0.0; }, .level = 0},
        {.name = "full-scale square wave, 48 kHz stereo float", .format = {48'000, 2, Type::Float}, .signal = [](qint64 frame, int) { return frame / 24 % 2 ? -1.0 : 1.0; }, .level = 1},
        {.name = "-32.5 dBFS", .format = Pcm16k, .signal = sineAtRmsDbfs(-32.5), .level = 0.5},
        {.name = "-46 dBFS", .format = Pcm16k, .signal = sineAtRmsDbfs(-46), .level = 0.2f},
        {.name = "-60 dBFS", .format = Pcm16k, .signal = sineAtRmsDbfs(-60), .level = 0},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        startRecording();
        m_levels.clear();
        ASSERT_TRUE(m_input.push(c.format, synthesize(c.format, c.format.sampleRate / 10, c.signal)));
        deliverReports();
        ASSERT_EQ(m_levels.size(), 1u);
        EXPECT_NEAR(m_levels.front(), c.level, 0.01);
    }
}

// Buffers arrive on the input's thread; a report queued anywhere but on the recorder itself would
// still reach the controller after the recorder is gone.
TEST_F(AudioRecorderTest, ReportsOfARecorderThatIsGoneAreDropped)
{
    auto recorder = std::make_unique<AudioRecorder>(m_input);
    watch(*recorder);
    ASSERT_TRUE(recorder->start().ok());
    std::thread([this] { m_input.push(Pcm16k, QByteArray(AudioRecorder::SizeLimit + 2, '\x7f')); }).join();
    recorder.reset();
    deliverReports();
    EXPECT_TRUE(m_levels.empty());
    EXPECT_EQ(m_limits, 0);
}

TEST_F(AudioRecorderTest, LimitIsReportedOnceWhenPassedAndTheRecordingGoesOn)
{
    struct Case {
        const char* name;
        std::vector<qsizetype> buffers;
        int reports;
    };
    const Case cases[] = {
        // clang-format off
        {.name = "exactly the limit", .buffers = {AudioRecorder::SizeLimit}, .reports = 0},
        {.name = "one sample past", .buffers = {AudioRecorder::SizeLimit - 32'000, 32'000, 2}, .reports = 1},
        {.name = "past in one buffer, more after", .buffers = {AudioRecorder::SizeLimit + 2, 32'000, 2}, .reports = 1},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        startRecording();
        m_limits = 0;
        qsizetype total = 0;
        for (const qsizetype bytes : c.buffers) {
            ASSERT_TRUE(m_input.push(Pcm16k, QByteArray(bytes, '\x01')));
            total += bytes;
            deliverReports();
        }
        EXPECT_EQ(m_limits, c.reports);
        EXPECT_EQ(pcmOf(m_recorder.stop()).size(), total) << "the recording is never cut";
    }
}

TEST_F(AudioRecorderTest, NextRecordingReArmsTheLimit)
{
    for (int recording = 1; recording <= 2; ++recording) {
        startRecording();
        ASSERT_TRUE(m_input.push(Pcm16k, QByteArray(AudioRecorder::SizeLimit + 2, '\x01')));
        deliverReports();
        EXPECT_EQ(m_limits, recording);
    }
}

// A limit report still queued when the recording ends would stop the next dictation at once.
TEST_F(AudioRecorderTest, LimitOfAFinishedRecordingIsNotReported)
{
    struct Case {
        const char* name;
        std::function<void(AudioRecorder&)> end;
    };
    const Case cases[] = {
        {.name = "stopped", .end = [](AudioRecorder& recorder) { recorder.stop(); }},
        {.name = "started again", .end = [](AudioRecorder& recorder) { ASSERT_TRUE(recorder.start().ok()); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        startRecording();
        m_limits = 0;
        ASSERT_TRUE(m_input.push(Pcm16k, QByteArray(AudioRecorder::SizeLimit + 2, '\x01')));
        c.end(m_recorder);
        deliverReports();
        EXPECT_EQ(m_limits, 0);
    }
}

TEST_F(AudioRecorderTest, RecordingsShorterThanAQuarterSecondYieldNothing)
{
    struct Case {
        const char* name;
        qsizetype pcmBytes;
        std::optional<qsizetype> wavBytes;
    };
    const Case cases[] = {
        {.name = "nothing heard", .pcmBytes = 0, .wavBytes = std::nullopt},
        {.name = "one sample short", .pcmBytes = AudioRecorder::MinimumSize - 2, .wavBytes = std::nullopt},
        {.name = "exactly the minimum", .pcmBytes = AudioRecorder::MinimumSize, .wavBytes = 8044},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        startRecording();
        if (c.pcmBytes > 0) {
            ASSERT_TRUE(m_input.push(Pcm16k, QByteArray(c.pcmBytes, '\x03')));
        }
        const std::optional<QByteArray> wav = m_recorder.stop();
        EXPECT_EQ(wav ? std::optional(wav->size()) : std::nullopt, c.wavBytes);
    }
}

QByteArray littleEndian(quint32 value, int bytes)
{
    QByteArray out;
    for (int i = 0; i < bytes; ++i)
        out.append(char(value >> (8 * i) & 0xff));
    return out;
}

TEST_F(AudioRecorderTest, WavHeaderDescribesSixteenKilohertzMonoSixteenBitPcm)
{
    struct Field {
        qsizetype offset;
        QByteArray bytes;
    };
    const Field header[] = {
        {.offset = 0, .bytes = "RIFF"},
        {.offset = 4, .bytes = littleEndian(8000 + 36, 4)},
        {.offset = 8, .bytes = "WAVE"},
        {.offset = 12, .bytes = "fmt "},
        {.offset = 16, .bytes = littleEndian(16, 4)},
        {.offset = 20, .bytes = littleEndian(1, 2)}, // integer PCM
        {.offset = 22, .bytes = littleEndian(1, 2)}, // channels
        {.offset = 24, .bytes = littleEndian(16'000, 4)},
        {.offset = 28, .bytes = littleEndian(32'000, 4)}, // bytes per second
        {.offset = 32, .bytes = littleEndian(2, 2)},      // block align
        {.offset = 34, .bytes = littleEndian(16, 2)},     // bits per sample
        {.offset = 36, .bytes = "data"},
        {.offset = 40, .bytes = littleEndian(8000, 4)},
    };
    const QByteArray pcm = sine(Pcm16k, 440, 0.25, 0.25);
    startRecording();
    push(Pcm16k, pcm);
    const QByteArray wav = m_recorder.stop().value_or(QByteArray());

    ASSERT_EQ(wav.size(), WavHeader + pcm.size());
    qsizetype covered = 0;
    for (const Field& field : header) {
        EXPECT_EQ(wav.mid(field.offset, field.bytes.size()).toHex(), field.bytes.toHex())
            << "at " << field.offset;
        covered += field.bytes.size();
    }
    EXPECT_EQ(covered, WavHeader) << "every header byte is checked";
    EXPECT_EQ(wav.mid(WavHeader), pcm);
}

TEST_F(AudioRecorderTest, MicrophoneThatCannotBeOpenedIsAnErrorNotAnEmptyRecording)
{
    startRecording();
    push(Pcm16k, sine(Pcm16k, 440, 0.5, 0.5));
    m_input.setStartError(s("No microphone is connected."));

    const auto started = m_recorder.start();
    ASSERT_FALSE(started.ok());
    EXPECT_EQ(started.error(), s("No microphone is connected."));
    EXPECT_FALSE(m_recorder.isRecording());
    EXPECT_FALSE(m_input.isRunning()) << "the earlier capture ends with the failed restart";
    EXPECT_EQ(m_recorder.stop(), std::nullopt);
}

// The earlier recording, its converter's memory included, must not leak into the next one.
TEST_F(AudioRecorderTest, SecondStartWithoutStopBeginsAFreshRecording)
{
    const AudioFormat first{48'000, 2, Type::Float};
    const AudioFormat second{44'100, 1, Type::Int16};
    startRecording();
    push(first, sine(first, 1000, 0.5, 0.5));
    startRecording();
    push(second, sine(second, 1000, 0.5, 0.3));

    EXPECT_NEAR(double(pcmOf(m_recorder.stop()).size()), 9600, 2);
    EXPECT_EQ(m_input.startCount(), 2);
    EXPECT_FALSE(m_input.isRunning());
    EXPECT_EQ(m_recorder.stop(), std::nullopt) << "a second stop has nothing to hand back";
}

} // namespace
