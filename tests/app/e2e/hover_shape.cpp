// Moves the pointer onto the shaped window of the given process through XTest, as a user's hand would,
// and prints the width of that window's shape once it stops changing (at most 3 s): without a compositor
// the hover toolbar is reachable only inside its window's shape. Prints nothing and fails when the
// process shows no shaped window.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/shape.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

long windowPid(Display* display, Window window)
{
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", True);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    long pid = -1;
    if (pidAtom &&
        XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                           &data) == Success &&
        data && count == 1)
        pid = *reinterpret_cast<long*>(data);
    if (data)
        XFree(data);
    return pid;
}

// The bounding shape's width, or 0 when the window has none.
int shapeWidth(Display* display, Window window)
{
    Bool bounding = False, clip = False;
    int bx = 0, by = 0, cx = 0, cy = 0;
    unsigned int bw = 0, bh = 0, cw = 0, ch = 0;
    XShapeQueryExtents(display, window, &bounding, &bx, &by, &bw, &bh, &clip, &cx, &cy, &cw, &ch);
    return bounding ? int(bw) : 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const long pid = std::atol(argv[1]);
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 1;
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
    Window panel = 0;
    for (unsigned int i = 0; i < count && !panel; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable &&
            windowPid(display, children[i]) == pid && shapeWidth(display, children[i]) > 0)
            panel = children[i];
    }
    if (children)
        XFree(children);
    if (!panel)
        return 1;
    XWindowAttributes attributes;
    XGetWindowAttributes(display, panel, &attributes);
    XTestFakeMotionEvent(display, -1, attributes.x + attributes.width / 2,
                         attributes.y + attributes.height / 2, CurrentTime);
    XFlush(display);
    int width = shapeWidth(display, panel);
    int steady = 0;
    for (int i = 0; i < 60 && steady < 10; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const int now = shapeWidth(display, panel);
        steady = now == width ? steady + 1 : 0;
        width = now;
    }
    std::printf("%d\n", width);
    XCloseDisplay(display);
    return 0;
}
