#include "ui/kit/theme.h"

#include <QApplication>

#include <gmock/gmock.h>

// Widget suites need a QApplication; animations jump to their end unless a test turns them on.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Theme::setAnimated(false);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
