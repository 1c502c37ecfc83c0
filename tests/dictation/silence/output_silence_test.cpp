#include "core/base/support_paths.h"
#include "dictation/silence/output_silence.h"
#include "platform/fake/fake_output_devices.h"
#include "temp_support_dir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

using namespace Qt::Literals::StringLiterals;
using Device = OutputDevices::Device;
using Op = FakeOutputDevices::Operation;
using Change = FakeOutputDevices::Change;

// Devices as "<id> mute=<0|1|-> volume=<value|->", so a failed comparison reads at a glance.
QStringList describe(const FakeOutputDevices& fake, const std::vector<Device>& seeded)
{
    QStringList lines;
    for (const auto& seed : seeded) {
        const auto device = fake.device(seed.id);
        if (!device) {
            lines.append(seed.id + u" gone"_s);
            continue;
        }
        const QString mute = device->muted ? QString::number(*device->muted ? 1 : 0) : u"-"_s;
        const QString volume = device->volume ? QString::number(*device->volume) : u"-"_s;
        lines.append(device->id + u" mute="_s + mute + u" volume="_s + volume);
    }
    return lines;
}

QStringList describe(const std::vector<Device>& devices)
{
    FakeOutputDevices fake;
    for (const auto& device : devices)
        fake.add(device);
    return describe(fake, devices);
}

class OutputSilenceTest : public TempSupportDir {
protected:
    void seed(const std::vector<Device>& devices)
    {
        m_seeded = devices;
        for (const auto& device : devices)
            m_fake.add(device);
    }
    QStringList now() const { return describe(m_fake, m_seeded); }
    QString record() const { return supportFile(u"output-silence.json"_s); }
    QStringList asideFiles() const
    {
        return QDir(SupportPaths::directory()).entryList({u"output-silence.json.corrupt-*"_s}, QDir::Files);
    }

    FakeOutputDevices m_fake;
    std::vector<Device> m_seeded;
};

struct BeginCase {
    const char* name;
    std::vector<Device> devices;
    OthersAudio mode;
    std::vector<Device> silenced;     // the devices while holding
    std::optional<QByteArray> record; // the record file while holding; absent: no file
    bool holding = true;
};

const std::vector<BeginCase> kBeginCases = {
    // clang-format off
    {.name = "quiet lowers by the factor", .devices = {{.id = u"a"_s, .hasMute = true, .muted = false, .volume = 0.5}}, .mode = OthersAudio::Quiet, .silenced = {{.id = u"a"_s, .hasMute = true, .muted = false, .volume = 0.11}}, .record = R"([{"uid":"a","volume":0.5}])"},
    {.name = "quiet never goes below the floor", .devices = {{.id = u"a"_s, .hasMute = true, .muted = false, .volume = 0.3}}, .mode = OthersAudio::Quiet, .silenced = {{.id = u"a"_s, .hasMute = true, .muted = false, .volume = 0.08}}, .record = R"([{"uid":"a","volume":0.3}])"},
    {.name = "quiet leaves a device at the floor alone", .devices = {{.id = u"a"_s, .hasMute = true, .muted = false, .volume = 0.08}}, .mode = OthersAudio::Quiet, .silenced = {{.id = u"a"_s, .hasMute = true, .muted = false, .volume = 0.08}}, .record = std::nullopt, .holding = false},
    {.name = "quiet counts one server volume step above the floor as the floor", .devices = {{.id = u"a"_s, .hasMute = true, .muted = false, .volume = 5243.0 / 65536}}, .mode = OthersAudio::Quiet, .silenced = {{.id = u"a"_s, .hasMute = true, .muted = false, .volume = 5243.0 / 65536}}, .record = std::nullopt, .holding = false},
    {.name = "quiet records an amplified volume as it is", .devices = {{.id = u"a"_s, .hasMute = true, .muted = false, .volume = 1.5}}, .mode = OthersAudio::Quiet, .silenced = {{.id = u"a"_s, .hasMute = true, .muted = false, .volume = 0.33}}, .record = R"([{"uid":"a","volume":1.5}])"},
    {.name = "quiet skips a muted device", .devices = {{.id = u"m"_s, .hasMute = true, .muted = true, .volume = 0.9}, {.id = u"a"_s, .hasMute = true, .muted = false, .volume = 0.5}}, .mode = OthersAudio::Quiet, .silenced = {{.id = u"m"_s, .hasMute = true, .muted = true, .volume = 0.9}, {.id = u"a"_s, .hasMute = true, .muted = false, .volume = 0.11}}, .record = R"([{"uid":"a","volume":0.5}])"},
    {.name = "mute uses the mute switch", .devices = {{.id = u"a"_s, .hasMute = true, .muted = false, .volume = 0.5}}, .mode = OthersAudio::Mute, .silenced = {{.id = u"a"_s, .hasMute = true, .muted = true, .volume = 0.5}}, .record = R"([{"mute":0,"uid":"a"}])"},
    {.name = "mute without a switch sets the volume to zero", .devices = {{.id = u"v"_s, .hasMute = false, .muted = std::nullopt, .volume = 0.4}}, .mode = OthersAudio::Mute, .silenced = {{.id = u"v"_s, .hasMute = false, .muted = std::nullopt, .volume = 0}}, .record = R"([{"uid":"v","volume":0.4}])"},
    {.name = "mute records an already muted device and leaves it", .devices = {{.id = u"m"_s, .hasMute = true, .muted = true, .volume = 0.7}, {.id = u"a"_s, .hasMute = true, .muted = false, .volume = 0.5}}, .mode = OthersAudio::Mute, .silenced = {{.id = u"m"_s, .hasMute = true, .muted = true, .volume = 0.7}, {.id = u"a"_s, .hasMute = true, .muted = true, .volume = 0.5}}, .record = R"([{"mute":1,"uid":"m"},{"mute":0,"uid":"a"}])"},
    {.name = "a device without readable controls writes no file", .devices = {{.id = u"x"_s, .hasMute = false, .muted = std::nullopt, .volume = std::nullopt}}, .mode = OthersAudio::Mute, .silenced = {{.id = u"x"_s, .hasMute = false, .muted = std::nullopt, .volume = std::nullopt}}, .record = std::nullopt, .holding = false},
    {.name = "off does nothing", .devices = {{.id = u"a"_s, .hasMute = true, .muted = false, .volume = 0.5}}, .mode = OthersAudio::Off, .silenced = {{.id = u"a"_s, .hasMute = true, .muted = false, .volume = 0.5}}, .record = std::nullopt, .holding = false},
    // clang-format on
};

TEST_F(OutputSilenceTest, BeginSilencesFromARecordAndEndPutsEveryDeviceBack)
{
    for (const auto& c : kBeginCases) {
        SCOPED_TRACE(c.name);
        FakeOutputDevices fake;
        for (const auto& device : c.devices)
            fake.add(device);
        OutputSilence silence(fake, record());

        silence.begin(c.mode);
        EXPECT_EQ(describe(fake, c.devices), describe(c.silenced));
        EXPECT_EQ(QFile::exists(record()), c.record.has_value());
        if (c.record) {
            EXPECT_EQ(readAll(record()), *c.record);
        }
        EXPECT_EQ(silence.holding(), c.holding);

        silence.end();
        EXPECT_EQ(describe(fake, c.devices), describe(c.devices));
        EXPECT_FALSE(QFile::exists(record()));
        EXPECT_FALSE(silence.holding());
    }
}

TEST_F(OutputSilenceTest, EveryChangeIsOnDiskBeforeItReachesADevice)
{
    seed({{.id = u"a"_s, .hasMute = true, .muted = false, .volume = 0.5},
          {.id = u"v"_s, .hasMute = false, .muted = std::nullopt, .volume = 0.4}});
    QList<Change> unrecorded;
    m_fake.setBeforeChange([&](const Change& change) {
        if (!readAll(record()).contains(QByteArray("\"" + change.id.toUtf8() + "\"")))
            unrecorded.append(change);
    });
    OutputSilence silence(m_fake, record());

    silence.begin(OthersAudio::Mute);

    EXPECT_EQ(m_fake.changes().size(), 2);
    EXPECT_TRUE(unrecorded.isEmpty()) << ::testing::PrintToString(unrecorded);
}

TEST_F(OutputSilenceTest, AFailedRecordWriteLeavesEveryDeviceAlone)
{
    seed({{.id = u"a"_s, .hasMute = true, .muted = false, .volume = 0.5}});
    OutputSilence silence(m_fake, root() + u"/no-such-folder/output-silence.json"_s);

    silence.begin(OthersAudio::Mute);

    EXPECT_TRUE(m_fake.changes().isEmpty());
    EXPECT_FALSE(silence.holding());
}

TEST_F(OutputSilenceTest, NoDeviceListWritesNoFileAndDoesNotHold)
{
    seed({{.id = u"a"_s, .hasMute = true, .muted = false, .volume = 0.5}});
    m_fake.setFailing(Op::List, {}, true);
    OutputSilence silence(m_fake, record());

    silence.begin(OthersAudio::Quiet);

    EXPECT_FALSE(QFile::exists(record()));
    EXPECT_FALSE(silence.holding());
}

TEST_F(OutputSilenceTest, ASecondBeginWhileHoldingChangesNothing)
{
    seed({{.id = u"a"_s, .hasMute = true, .muted = false, .volume = 0.5}});
    OutputSilence silence(m_fake, record());
    silence.begin(OthersAudio::Quiet);
    const QByteArray first = readAll(record());

    silence.begin(OthersAudio::Mute);
    silence.begin(OthersAudio::Quiet);

    EXPECT_EQ(m_fake.changes(), (QList<Change>{{.id = u"a"_s, .volume = 0.11}}));
    EXPECT_EQ(readAll(record()), first);
    silence.end();
    EXPECT_EQ(m_fake.device(u"a"_s)->volume, 0.5);
}

TEST_F(OutputSilenceTest, ARecordOfAVanishedDeviceIsDroppedAndTheOthersRestored)
{
    seed({{.id = u"a"_s, .hasMute = true, .muted = false, .volume = 0.5},
          {.id = u"usb"_s, .hasMute = true, .muted = false, .volume = 0.5}});
    OutputSilence silence(m_fake, record());
    silence.begin(OthersAudio::Mute);
    m_fake.remove(u"usb"_s);

    silence.end();

    EXPECT_EQ(m_fake.device(u"a"_s)->muted, false);
    EXPECT_FALSE(QFile::exists(record()));
}

TEST_F(OutputSilenceTest, ADeviceThatCannotBeSetBackKeepsItsRecordUntilItCanBe)
{
    seed({{.id = u"a"_s, .hasMute = false, .muted = std::nullopt, .volume = 0.5},
          {.id = u"b"_s, .hasMute = false, .muted = std::nullopt, .volume = 0.6}});
    OutputSilence silence(m_fake, record());
    silence.begin(OthersAudio::Quiet);
    m_fake.setFailing(Op::SetVolume, u"b"_s, true);

    silence.end();
    EXPECT_EQ(m_fake.device(u"a"_s)->volume, 0.5);
    EXPECT_EQ(readAll(record()), R"([{"uid":"b","volume":0.6}])");
    EXPECT_FALSE(silence.holding());

    // The next begin must not record b's lowered volume over the user's own.
    silence.begin(OthersAudio::Quiet);
    EXPECT_EQ(readAll(record()), R"([{"uid":"a","volume":0.5},{"uid":"b","volume":0.6}])");

    m_fake.setFailing(Op::SetVolume, u"b"_s, false);
    silence.end();
    EXPECT_EQ(now(), describe(m_seeded));
    EXPECT_FALSE(QFile::exists(record()));
}

TEST_F(OutputSilenceTest, WithTheSoundServerDownTheRecordSurvivesARestore)
{
    seed({{.id = u"a"_s, .hasMute = true, .muted = true, .volume = 0.5}});
    const QByteArray saved = R"([{"mute":0,"uid":"a"}])";
    writeAll(record(), saved);
    m_fake.setFailing(Op::SetMute, {}, true);
    OutputSilence silence(m_fake, record());

    silence.restoreFromDisk();

    EXPECT_EQ(readAll(record()), saved);
}

TEST_F(OutputSilenceTest, AnUndecodableRecordIsKeptAsideAndSilencingGoesOn)
{
    seed({{.id = u"a"_s, .hasMute = true, .muted = false, .volume = 0.5}});
    writeAll(record(), "[{\"uid\":\"a\",\"vol");
    OutputSilence silence(m_fake, record());

    silence.begin(OthersAudio::Quiet);

    const QStringList aside = asideFiles();
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(readAll(QDir(SupportPaths::directory()).filePath(aside.first())), "[{\"uid\":\"a\",\"vol");
    EXPECT_EQ(readAll(record()), R"([{"uid":"a","volume":0.5}])");
    EXPECT_TRUE(silence.holding());
}

struct FileCase {
    const char* name;
    QByteArray file;
    QList<Change> changes; // made by restoreFromDisk
    bool kept;             // the file is still in place, unchanged
};

const std::vector<FileCase> kFileCases = {
    // clang-format off
    {.name = "not JSON", .file = "mute everything", .changes = {}, .kept = true},
    {.name = "an object, not an array", .file = R"({"uid":"a","mute":0})", .changes = {}, .kept = true},
    {.name = "a record without uid", .file = R"([{"mute":0}])", .changes = {}, .kept = true},
    {.name = "one bad record spoils the file", .file = R"([{"uid":"a","mute":0},{"uid":"b","volume":"loud"}])", .changes = {}, .kept = true},
    {.name = "a negative volume", .file = R"([{"uid":"a","volume":-0.5}])", .changes = {}, .kept = true},
    {.name = "a negative mute", .file = R"([{"uid":"a","mute":-1}])", .changes = {}, .kept = true},
    {.name = "a record with neither control", .file = R"([{"uid":"a"}])", .changes = {}, .kept = false},
    {.name = "mute wins over volume", .file = R"([{"uid":"a","mute":0,"volume":0.3}])", .changes = {{.id = u"a"_s, .muted = false}}, .kept = false},
    {.name = "an empty list", .file = "[]", .changes = {}, .kept = false},
    // clang-format on
};

TEST_F(OutputSilenceTest, RestoreAppliesOnlyAWellFormedRecordAndLeavesABadOneInPlace)
{
    for (const auto& c : kFileCases) {
        SCOPED_TRACE(c.name);
        FakeOutputDevices fake;
        fake.add({.id = u"a"_s, .hasMute = true, .muted = true, .volume = 0.1});
        fake.add({.id = u"b"_s, .hasMute = true, .muted = true, .volume = 0.1});
        writeAll(record(), c.file);
        OutputSilence silence(fake, record());

        silence.restoreFromDisk();

        EXPECT_EQ(fake.changes(), c.changes);
        EXPECT_EQ(QFile::exists(record()), c.kept);
        if (c.kept) {
            EXPECT_EQ(readAll(record()), c.file);
        }
        QFile::remove(record());
    }
    EXPECT_TRUE(asideFiles().isEmpty());
}

} // namespace
