#pragma once

#include "core/model/others_audio.h"
#include "dictation/silence/silencer.h"

#include <QString>
#include <QtGlobal>

class OutputDevices;

// Lowers or mutes the other audio output while the user dictates. What a device was like is on
// disk before the device is changed, so a crash is repaired by the next restoreFromDisk.
// Main thread only.
class OutputSilence final : public Silencer {
public:
    OutputSilence(OutputDevices& devices, QString recordPath);
    Q_DISABLE_COPY_MOVE(OutputSilence)

    // "output-silence.json" in the support folder.
    static QString defaultRecordPath();

    // Silences other output for one recording; nothing for Off or while holding.
    void begin(OthersAudio mode) override;
    // Puts every recorded device back and stops holding.
    void end() override;
    // Puts back the devices the record file names, as at launch after a crash.
    void restoreFromDisk();

    // From a begin that silenced at least one device until end.
    bool holding() const { return m_holding; }

private:
    OutputDevices& m_devices;
    QString m_recordPath;
    bool m_holding = false;
};
