#include "run_tests.h"

#include <QCoreApplication>

// The key source notes keyboards and locked nodes in the timing log, kept out of $HOME here.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return runTestsInTempDataRoot(argc, argv);
}
