// Holds Right Control on the X server for the given seconds through XTest, as a user's hand would;
// with a second number it then holds Left Alt that long, which keeps a paste chord from going out.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdlib>
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
    if (argc != 2 && argc != 3)
        return 2;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 1;
    hold(display, XK_Control_R, std::atof(argv[1]));
    if (argc == 3)
        hold(display, XK_Alt_L, std::atof(argv[2]));
    XCloseDisplay(display);
    return 0;
}
