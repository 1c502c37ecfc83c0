#include "run_tests.h"

#include <QGuiApplication>

// The clipboard backend needs a QGuiApplication on the X server.
int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    return runTestsInTempDataRoot(argc, argv);
}
