#pragma once

#include <X11/Xlib.h>

namespace quietline::test
{
/** A mapped top-level X11 window standing in for the host's editor frame. Like real hosts, it
    keeps X errors from ending the process (a server without a window manager lacks some of the
    atoms that window properties name). `display` is null when there is no X server. */
struct HostWindow
{
    HostWindow()
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

    ~HostWindow()
    {
        if (display != nullptr)
        {
            XDestroyWindow (display, window);
            XCloseDisplay (display);
        }
    }

    HostWindow (const HostWindow&) = delete;
    HostWindow& operator= (const HostWindow&) = delete;

    ::Display* display = nullptr;
    ::Window window = 0;
};
} // namespace quietline::test
