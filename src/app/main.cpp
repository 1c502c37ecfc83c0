#include "core/base/run_mode.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Morvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Quenda"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUENDA_VERSION));
    RunMode::setArguments(QCoreApplication::arguments());
    QTextStream(stderr) << "Quenda " << QStringLiteral(QUENDA_VERSION)
                        << ": the application shell is not built yet; nothing to run.\n";
    return 1;
}
