#include "dictation/silence/output_silence.h"
#include "platform/linux/pulse/pulse_output_devices.h"
#include "prefixed_output_devices.h"
#include "service_check.h"
#include "temp_support_dir.h"
#include "test_sinks.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace Qt::Literals::StringLiterals;

// Raw volumes as the server keeps them: 65536 is normal.
constexpr quint32 raw(double volume)
{
    return static_cast<quint32>(volume * 65536 + 0.5);
}

struct Sink {
    QString suffix;
    double volume;
    bool muted;
};

// "<suffix> muted=<0|1> <left>/<right>" for each sink, read through pactl.
QString describe(const TestSinks& sinks, const std::vector<Sink>& expected)
{
    QStringList lines;
    for (const auto& sink : expected) {
        const auto state = TestSinks::state(sinks.prefix() + sink.suffix);
        if (!state) {
            lines.append(sink.suffix + u" missing"_s);
            continue;
        }
        lines.append(sink.suffix + u" muted="_s + QString::number(state->muted ? 1 : 0) + u" "_s +
                     QString::number(state->channels.value(u"front-left"_s)) + u"/"_s +
                     QString::number(state->channels.value(u"front-right"_s)));
    }
    return lines.join(u"; "_s);
}

QString describe(const std::vector<Sink>& expected)
{
    QStringList lines;
    for (const auto& sink : expected) {
        lines.append(sink.suffix + u" muted="_s + QString::number(sink.muted ? 1 : 0) + u" "_s +
                     QString::number(raw(sink.volume)) + u"/"_s + QString::number(raw(sink.volume)));
    }
    return lines.join(u"; "_s);
}

class PulseOutputSilenceTest : public TempSupportDir {
protected:
    void SetUp() override
    {
        TempSupportDir::SetUp();
        QUENDA_NEEDS_SERVICE(TestSinks::privateServerRunning(), "the private PulseAudio server");
    }

    QString record() const { return supportFile(u"output-silence.json"_s); }

    // Loads the sinks and brings them to their state through the backend.
    void load(TestSinks& sinks, const std::vector<Sink>& states)
    {
        for (const auto& sink : states) {
            const QString name = sinks.add(sink.suffix);
            ASSERT_FALSE(name.isEmpty());
            ASSERT_TRUE(m_pulse.setVolume(name, sink.volume).ok());
            ASSERT_TRUE(m_pulse.setMute(name, sink.muted).ok());
        }
    }

    PulseOutputDevices m_pulse;
};

TEST_F(PulseOutputSilenceTest, AProcessKilledWhileSilencingIsRepairedFromTheRecord)
{
    for (const auto mode : {OthersAudio::Mute, OthersAudio::Quiet}) {
        SCOPED_TRACE(OthersAudioText::table.text(mode).toStdString());
        TestSinks sinks(u"crash"_s + OthersAudioText::table.text(mode));
        const std::vector<Sink> before = {{.suffix = u"a"_s, .volume = 0.5, .muted = false},
                                          {.suffix = u"b"_s, .volume = 0.9, .muted = false}};
        ASSERT_NO_FATAL_FAILURE(load(sinks, before));

        QProcess helper;
        helper.start(QStringLiteral(QUENDA_SILENCE_CRASH_HELPER),
                     {root(), record(), sinks.prefix(), OthersAudioText::table.text(mode)});
        ASSERT_TRUE(helper.waitForFinished(30000));
        ASSERT_EQ(helper.exitStatus(), QProcess::CrashExit) << "exit code " << helper.exitCode();
        ASSERT_NE(describe(sinks, before), describe(before)) << "the helper silenced nothing";
        ASSERT_TRUE(QFile::exists(record()));

        PulseOutputDevices relaunched;
        PrefixedOutputDevices own(relaunched, sinks.prefix());
        OutputSilence(own, record()).restoreFromDisk();

        EXPECT_EQ(describe(sinks, before), describe(before));
        EXPECT_FALSE(QFile::exists(record()));
    }
}

} // namespace
