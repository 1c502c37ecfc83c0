// A program that launches the engine as Quenda does and runs until it is killed, or until "exit"
// arrives on its standard input, when it ends through exit() as Qt does once the X server is gone:
// no destructor of the supervisor runs. Arguments: the data root and the engine's port.
#include "fake_provider_keys.h"

#include "core/base/support_paths.h"
#include "core/base/system_clock.h"
#include "speech/speech_engine.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: engine_parent DATA_ROOT PORT\n", stderr);
        return 2;
    }
    SupportPaths::setDataRoot(QString::fromLocal8Bit(argv[1]));
    QuendaConfig config = QuendaConfig::standard();
    config.port = QByteArray(argv[2]).toLongLong();
    SystemClock clock;
    FakeProviderKeys keys;
    SpeechEngine engine(
        clock, [config] { return config; }, keys, EngineLocations{});
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [] { std::exit(1); });
    engine.start();
    return QCoreApplication::exec();
}
