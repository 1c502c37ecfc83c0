#include <QApplication>

#include <gmock/gmock.h>

// The panel is a widget, which needs a QApplication; with main defined here the support library's
// QCoreApplication main is never linked in.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
