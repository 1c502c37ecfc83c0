// Holds Right Control on the X server for the given seconds through XTest, as a user's hand would.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 1;
    const KeyCode key = XKeysymToKeycode(display, XK_Control_R);
    XTestFakeKeyEvent(display, key, True, CurrentTime);
    XFlush(display);
    std::this_thread::sleep_for(std::chrono::duration<double>(std::atof(argv[1])));
    XTestFakeKeyEvent(display, key, False, CurrentTime);
    XFlush(display);
    XCloseDisplay(display);
    return 0;
}
