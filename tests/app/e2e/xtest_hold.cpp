// Holds Right Control on the X server for the given seconds through XTest, as a user's hand would;
// with a second number it then holds Left Alt that long, which keeps a paste chord from going out;
// with "--letter AT" it types A that many seconds into the hold, as the shortcut Right Ctrl+A.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

void hold(Display* display, KeySym keysym, double seconds)
{
    const KeyCode key = XKeysymToKeycode(display, keysym);
    XTestFakeKeyEvent(display, key, True, CurrentTime);
    XFlush(display);
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    XTestFakeKeyEvent(display, key, False, CurrentTime);
    XFlush(display);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3 && !(argc == 4 && std::strcmp(argv[2], "--letter") == 0))
        return 2;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 1;
    if (argc == 4) {
        const KeyCode control = XKeysymToKeycode(display, XK_Control_R);
        const double at = std::atof(argv[3]);
        XTestFakeKeyEvent(display, control, True, CurrentTime);
        XFlush(display);
        std::this_thread::sleep_for(std::chrono::duration<double>(at));
        hold(display, XK_a, 0.05);
        std::this_thread::sleep_for(std::chrono::duration<double>(std::atof(argv[1]) - at));
        XTestFakeKeyEvent(display, control, False, CurrentTime);
        XCloseDisplay(display);
        return 0;
    }
    hold(display, XK_Control_R, std::atof(argv[1]));
    if (argc == 3)
        hold(display, XK_Alt_L, std::atof(argv[2]));
    XCloseDisplay(display);
    return 0;
}
