// Begins silencing the test sinks and dies by SIGKILL while holding, as a crash would leave it.
// Arguments: <data root> <record file> <sink prefix> <quiet|mute>. Exits 2 when nothing was silenced.
#include "core/base/support_paths.h"
#include "core/model/others_audio.h"
#include "dictation/silence/output_silence.h"
#include "platform/linux/pulse/pulse_output_devices.h"
#include "prefixed_output_devices.h"

#include <QCoreApplication>

#include <csignal>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5)
        return 2;
    SupportPaths::setDataRoot(args[1]);
    const auto mode = OthersAudioText::table.find(args[4]);
    if (!mode)
        return 2;
    PulseOutputDevices pulse;
    PrefixedOutputDevices devices(pulse, args[3]);
    OutputSilence silence(devices, args[2]);
    silence.begin(*mode);
    if (!silence.holding())
        return 2;
    std::raise(SIGKILL);
    return 3;
}
