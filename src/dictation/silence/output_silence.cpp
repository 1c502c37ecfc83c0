#include "dictation/silence/output_silence.h"

#include "core/base/json_fields.h"
#include "core/base/json_file.h"
#include "core/base/support_paths.h"
#include "core/base/timing.h"
#include "platform/output_devices.h"

#include <QFile>
#include <QJsonDocument>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

namespace {

using Failure = OutputDevices::Failure;

constexpr double kQuietFactor = 0.22;
constexpr double kFloor = 0.08;
// Sound servers keep volumes in small steps (PulseAudio: 1/65536), so a device set to the floor
// reads back a hair above it; within this margin it counts as at the floor and is left alone.
constexpr double kFloorMargin = 0.0005;

// A device's state before silencing; begin writes exactly one of mute and volume.
struct SavedControl {
    QString uid;
    std::optional<bool> mute;
    std::optional<double> volume;
};

bool aboveFloor(double volume)
{
    return volume > kFloor + kFloorMargin;
}

std::optional<SavedControl> capture(const OutputDevices::Device& device, OthersAudio mode)
{
    if (device.id.isEmpty())
        return std::nullopt;
    switch (mode) {
    case OthersAudio::Off:
        return std::nullopt;
    case OthersAudio::Mute:
        // An already muted device is recorded too, so the restore leaves it muted.
        if (device.hasMute && device.muted)
            return SavedControl{device.id, *device.muted, {}};
        if (device.volume)
            return SavedControl{device.id, {}, *device.volume};
        return std::nullopt;
    case OthersAudio::Quiet:
        if (device.hasMute && device.muted.value_or(false))
            return std::nullopt;
        if (device.volume && aboveFloor(*device.volume))
            return SavedControl{device.id, {}, *device.volume};
        return std::nullopt;
    }
    return std::nullopt;
}

OutputDevices::Done silence(OutputDevices& devices, const SavedControl& saved, OthersAudio mode)
{
    if (saved.mute)
        return *saved.mute ? OutputDevices::Done(std::monostate{}) : devices.setMute(saved.uid, true);
    if (!saved.volume)
        return std::monostate{};
    if (mode == OthersAudio::Quiet && aboveFloor(*saved.volume))
        return devices.setVolume(saved.uid, std::max(*saved.volume * kQuietFactor, kFloor));
    if (mode == OthersAudio::Mute && *saved.volume > 0)
        return devices.setVolume(saved.uid, 0);
    return std::monostate{};
}

OutputDevices::Done putBack(OutputDevices& devices, const SavedControl& saved)
{
    if (saved.mute)
        return devices.setMute(saved.uid, *saved.mute);
    if (saved.volume)
        return devices.setVolume(saved.uid, *saved.volume);
    return std::monostate{};
}

QByteArray encode(const QList<SavedControl>& records)
{
    QJsonArray array;
    for (const auto& saved : records) {
        QJsonObject object{{QStringLiteral("uid"), saved.uid}};
        if (saved.mute)
            object.insert(QStringLiteral("mute"), *saved.mute ? 1 : 0);
        else if (saved.volume)
            object.insert(QStringLiteral("volume"), *saved.volume);
        array.append(object);
    }
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

std::optional<SavedControl> decode(const QJsonObject& object)
{
    JsonFields fields(object);
    SavedControl saved{fields.requiredString(QStringLiteral("uid")), {}, {}};
    const auto mute = fields.integer(QStringLiteral("mute"));
    const auto volume = fields.number(QStringLiteral("volume"));
    if (fields.failed() || saved.uid.isEmpty())
        return std::nullopt;
    if (mute) {
        if (*mute < 0 || *mute > std::numeric_limits<quint32>::max())
            return std::nullopt;
        saved.mute = *mute != 0;
    }
    if (volume) {
        if (!std::isfinite(*volume) || *volume < 0)
            return std::nullopt;
        saved.volume = *volume;
    }
    return saved;
}

void note(const QString& what, const QString& uid, const OutputDevices::Error& error)
{
    Timing::mark(QStringLiteral("output silence: ") + what + QLatin1Char(' ') + uid + QStringLiteral(": ") +
                 error.message);
}

// Puts the recorded devices back and returns the records still owed. A device that is gone, or
// lost its control, can never be put back, so its record goes. A device that is there but could
// not be set (the sound server is not up yet at login, or did not answer) keeps its record: it
// is the only memory of the user's own setting, and the next launch or begin tries again.
QList<SavedControl> restoreRecords(OutputDevices& devices, const QString& path)
{
    const auto records = JsonFile::load(path, [](const QByteArray& bytes) {
        return JsonFile::decodeArrayDocument<SavedControl>(bytes, decode);
    });
    if (!records) {
        if (QFile::exists(path))
            Timing::mark(QStringLiteral("output silence: record file not readable, left in place"));
        return {};
    }
    QList<SavedControl> owed;
    for (const auto& saved : *records) {
        const auto done = putBack(devices, saved);
        if (done.ok())
            continue;
        note(QStringLiteral("could not restore"), saved.uid, done.error());
        if (done.error().failure == Failure::Failed)
            owed.append(saved);
    }
    if (owed.isEmpty()) {
        if (!QFile::remove(path) && QFile::exists(path))
            Timing::mark(QStringLiteral("output silence: could not remove the record file"));
    } else if (!JsonFile::writeAtomically(path, encode(owed))) {
        // The old file still holds every owed record, so keeping it loses nothing.
        Timing::mark(QStringLiteral("output silence: could not rewrite the record file"));
    }
    return owed;
}

const SavedControl* find(const QList<SavedControl>& records, const QString& uid)
{
    const auto it = std::find_if(records.begin(), records.end(),
                                 [&](const SavedControl& saved) { return saved.uid == uid; });
    return it == records.end() ? nullptr : &*it;
}

} // namespace

OutputSilence::OutputSilence(OutputDevices& devices, QString recordPath)
    : m_devices(devices)
    , m_recordPath(std::move(recordPath))
{
}

QString OutputSilence::defaultRecordPath()
{
    return SupportPaths::file(QStringLiteral("output-silence.json"));
}

void OutputSilence::begin(OthersAudio mode)
{
    if (mode == OthersAudio::Off || m_holding)
        return;
    // A state left by an earlier run goes back first, so it is never recorded as the user's own.
    // An undecodable record file stays where it is until the write below keeps it aside: it
    // cannot restore anything, and refusing to silence would not bring the user's sound back.
    const QList<SavedControl> owed = restoreRecords(m_devices, m_recordPath);
    const auto listed = m_devices.devices();
    if (!listed.ok()) {
        Timing::mark(QStringLiteral("output silence: no device list: ") + listed.error().message);
        return;
    }
    QList<SavedControl> records;
    QList<SavedControl> changes;
    for (const auto& device : listed.value()) {
        // A record still owed holds the user's setting; recording the device again would replace
        // it with a silenced one, so the device keeps that record and is left alone this time.
        if (const SavedControl* earlier = find(owed, device.id)) {
            records.append(*earlier);
        } else if (auto saved = capture(device, mode)) {
            records.append(*saved);
            changes.append(*saved);
        }
    }
    for (const auto& saved : owed) {
        if (!find(records, saved.uid))
            records.append(saved);
    }
    if (changes.isEmpty())
        return;
    // Without the record on disk a crash would leave the sound silenced for good, so a failed
    // write leaves every device alone.
    if (!JsonFile::writeAtomically(m_recordPath, encode(records))) {
        Timing::mark(QStringLiteral("output silence: could not write the record file, nothing silenced"));
        return;
    }
    for (const auto& saved : changes) {
        const auto done = silence(m_devices, saved, mode);
        if (!done.ok())
            note(QStringLiteral("could not silence"), saved.uid, done.error());
    }
    m_holding = true;
}

void OutputSilence::end()
{
    restoreFromDisk();
    m_holding = false;
}

void OutputSilence::restoreFromDisk()
{
    restoreRecords(m_devices, m_recordPath);
}
