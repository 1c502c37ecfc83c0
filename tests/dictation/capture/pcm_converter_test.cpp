#include "dictation/capture/pcm_converter.h"

#include "test_audio.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using Type = AudioFormat::SampleType;

QByteArray convertAll(const AudioFormat& format, const QByteArray& input, qsizetype framesPerBuffer = 1024)
{
    PcmConverter converter(format);
    QByteArray out;
    const qsizetype step = framesPerBuffer * format.bytesPerFrame();
    for (qsizetype at = 0; at < input.size(); at += step)
        out += converter.convert(QByteArrayView(input).sliced(at, std::min(step, input.size() - at)));
    return out + converter.flush();
}

// What is left of `samples` once the best-fitting sine of `hz` is taken out, relative to that sine.
double residualDb(const std::vector<double>& samples, double hz, int rate)
{
    // Least squares over sin and cos, which are nearly orthogonal over many periods.
    double ss = 0, sc = 0, cc = 0, ys = 0, yc = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double phase = 2 * std::numbers::pi * hz * double(i) / rate;
        const double sn = std::sin(phase), cs = std::cos(phase);
        ss += sn * sn, sc += sn * cs, cc += cs * cs, ys += samples[i] * sn, yc += samples[i] * cs;
    }
    const double det = ss * cc - sc * sc;
    const double a = (ys * cc - yc * sc) / det, b = (yc * ss - ys * sc) / det;
    std::vector<double> rest(samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double phase = 2 * std::numbers::pi * hz * double(i) / rate;
        rest[i] = samples[i] - a * std::sin(phase) - b * std::cos(phase);
    }
    return 20 * std::log10(rmsOf(rest) / std::sqrt((a * a + b * b) / 2));
}

QByteArray convertInBytes(const AudioFormat& format, const QByteArray& input, qsizetype bytesPerBuffer)
{
    PcmConverter converter(format);
    QByteArray out;
    for (qsizetype at = 0; at < input.size(); at += bytesPerBuffer)
        out +=
            converter.convert(QByteArrayView(input).sliced(at, std::min(bytesPerBuffer, input.size() - at)));
    return out + converter.flush();
}

struct ToneCase {
    const char* name;
    AudioFormat format;
    double hz;
};

// Catches a wrong rate step, a misread sample type or interleave, a channel sum without averaging,
// a cutoff low enough to dull speech, distortion, and output lost in the filter's delay.
TEST(PcmConverter, SpeechBandTonesKeepFrequencyAmplitudeAndDuration)
{
    const ToneCase cases[] = {
        {.name = "48 kHz stereo float", .format = {48'000, 2, Type::Float}, .hz = 1000},
        {.name = "44.1 kHz mono Int16", .format = {44'100, 1, Type::Int16}, .hz = 1000},
        {.name = "22.05 kHz stereo Int16", .format = {22'050, 2, Type::Int16}, .hz = 1000},
        {.name = "16 kHz mono Int16", .format = {16'000, 1, Type::Int16}, .hz = 1000},
        {.name = "8 kHz mono Int16", .format = {8'000, 1, Type::Int16}, .hz = 1000},
        {.name = "96 kHz stereo Int32", .format = {96'000, 2, Type::Int32}, .hz = 1000},
        {.name = "48 kHz float, upper speech band", .format = {48'000, 1, Type::Float}, .hz = 5000},
        {.name = "48 kHz float, top of the pass band", .format = {48'000, 1, Type::Float}, .hz = 6000},
    };
    constexpr double Amplitude = 0.5;
    for (const ToneCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<double> out = samplesOf(convertAll(c.format, sine(c.format, c.hz, Amplitude, 1.0)));
        EXPECT_NEAR(double(out.size()), 16'000, 1);
        EXPECT_NEAR(zeroCrossingHz(middle(out), 16'000), c.hz, c.hz * 0.005);
        EXPECT_NEAR(rmsOf(middle(out)), Amplitude / std::numbers::sqrt2, Amplitude * 0.03);
        // About -90 dB measured, near the 16-bit floor; coarse interpolation or a short kernel shows here.
        EXPECT_LT(residualDb(middle(out), c.hz, 16'000), -80);
    }
}

struct AliasCase {
    int rate;
    double hz;
};

// Without a low-pass before decimation these tones fold back into the speech band (12 kHz at
// 48 kHz becomes 4 kHz).
TEST(PcmConverter, TonesAboveTheNewNyquistFrequencyDoNotFoldBack)
{
    const AliasCase cases[] = {
        {.rate = 48'000, .hz = 12'000},
        {.rate = 48'000, .hz = 9'000},
        {.rate = 44'100, .hz = 10'000},
        {.rate = 22'050, .hz = 9'000},
    };
    constexpr double Amplitude = 0.5;
    const double limit = Amplitude / std::numbers::sqrt2 * std::pow(10.0, -50.0 / 20); // -50 dB
    for (const AliasCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.hz << " Hz at " << c.rate << " Hz");
        const AudioFormat format{c.rate, 1, Type::Float};
        const std::vector<double> out = samplesOf(convertAll(format, sine(format, c.hz, Amplitude, 1.0)));
        EXPECT_LT(rmsOf(middle(out)), limit);
    }
}

// The filter's memory must carry across buffers: a device may hand over any number of bytes.
TEST(PcmConverter, BufferSizesDoNotChangeTheOutput)
{
    for (const AudioFormat format : {AudioFormat{48'000, 2, Type::Float}, AudioFormat{44'100, 1, Type::Int16},
                                     AudioFormat{16'000, 2, Type::Int16}}) {
        SCOPED_TRACE(format.sampleRate);
        const QByteArray input = sine(format, 440, 0.5, 0.3);
        const QByteArray whole = convertAll(format, input, 1 << 20);
        for (const qsizetype frames : {1, 7, 333, 1024})
            EXPECT_EQ(convertAll(format, input, frames), whole) << frames << " frames per buffer";
        for (const qsizetype bytes : {3, 1001}) // cut inside frames and inside samples
            EXPECT_EQ(convertInBytes(format, input, bytes), whole) << bytes << " bytes per buffer";
    }
}

TEST(PcmConverter, SixteenKilohertzMonoInt16PassesUnchanged)
{
    const AudioFormat format{16'000, 1, Type::Int16};
    const QByteArray input =
        synthesize(format, 4000, [](qint64 frame, int) { return (frame % 37 - 18) / 18.0; });
    EXPECT_EQ(convertAll(format, input), input);
}

// A signal on one channel reaches mono at half its level; loud input saturates rather than wrapping
// around into a click of the opposite sign.
TEST(PcmConverter, ChannelsAverageAndOverloadSaturates)
{
    struct Case {
        const char* name;
        AudioFormat format;
        double left;
        double right;
        qint16 out;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        // clang-format off
        {.name = "left only", .format = {16'000, 2, Type::Float}, .left = 0.5, .right = 0, .out = 8192},
        {.name = "opposite", .format = {16'000, 2, Type::Int16}, .left = 0.5, .right = -0.5, .out = 0},
        {.name = "float over", .format = {16'000, 1, Type::Float}, .left = 2, .right = 0, .out = 32767},
        {.name = "float under", .format = {16'000, 1, Type::Float}, .left = -2, .right = 0, .out = -32768},
        {.name = "Int32 lowest", .format = {16'000, 1, Type::Int32}, .left = -1, .right = 0, .out = -32768},
        {.name = "over at 48 kHz", .format = {48'000, 1, Type::Float}, .left = 4, .right = 0, .out = 32767},
        {.name = "not a number", .format = {16'000, 1, Type::Float}, .left = nan, .right = 0, .out = 0},
        {.name = "not a number at 48 kHz", .format = {48'000, 2, Type::Float}, .left = nan, .right = 0.5, .out = 8192},
        {.name = "infinity at 48 kHz", .format = {48'000, 1, Type::Float}, .left = inf, .right = 0, .out = 0},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray input = synthesize(c.format, c.format.sampleRate / 10, [&](qint64, int channel) {
            return channel == 0 ? c.left : c.right;
        });
        const QByteArray out = convertAll(c.format, input);
        ASSERT_GE(out.size(), 1600 * 2);
        EXPECT_EQ(qFromLittleEndian<qint16>(out.constData() + out.size() / 2), c.out);
    }
}

} // namespace
