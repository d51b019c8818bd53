#include "tools/aaxhost/HostWindow.h"

#include <X11/Xlib.h>

namespace kelmora::tools
{
HostWindow::HostWindow()
{
    XSetErrorHandler ([] (::Display*, XErrorEvent*) { return 0; });
    display = XOpenDisplay (nullptr);

    if (display != nullptr)
    {
        window = XCreateSimpleWindow (display, DefaultRootWindow (display), 0, 0, 500, 300, 0, 0, 0);
        XMapWindow (display, window);
        XFlush (display);
    }
}

HostWindow::~HostWindow()
{
    if (display != nullptr)
    {
        XDestroyWindow (display, window);
        XCloseDisplay (display);
    }
}
} // namespace kelmora::tools
