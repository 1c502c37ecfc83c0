// Shows the floating widget's window, with a plain opaque view, at 100,100 (200 x 60), and prints
// "shown WINDOW-ID" once it is mapped, and "hovered" when the pointer enters it; stays until ended. What a
// compositor does with it (above other windows, never given the focus) is what the scripts around it check.
#include "core/base/desktop_session.h"
#include "core/model/session_routes.h"
#include "platform/linux/x11/x11_floating_windows.h"
#include "ui/overlay/placement/overlay_panel.h"

#include <QApplication>
#include <QPalette>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The program's own choice for this session.
    const SessionRoutes routes =
        SessionRoutes::choose({.wayland = DesktopSession::isWayland(),
                               .qtOnX11 = QGuiApplication::platformName() == QLatin1String("xcb")});
    X11FloatingWindows windows(routes.panel == PanelRoute::X11OutsideManager);
    OverlayPanel panel(windows);
    auto* view = new QWidget;
    view->setAutoFillBackground(true);
    QPalette palette = view->palette();
    palette.setColor(QPalette::Window, Qt::darkMagenta);
    view->setPalette(palette);
    panel.setContent(view);
    panel.setGeometry(100, 100, 200, 60);
    QObject::connect(&panel, &OverlayPanel::hoverChanged, &app, [](bool hovered) {
        if (hovered) {
            std::puts("hovered");
            std::fflush(stdout);
        }
    });
    panel.show();
    QTimer::singleShot(0, &panel, [&panel] {
        std::printf("shown %llu\n", static_cast<unsigned long long>(panel.winId()));
        std::fflush(stdout);
    });
    return QApplication::exec();
}
