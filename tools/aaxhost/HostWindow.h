#pragma once

// Xlib's own name for its display; its header stays out of here, as its macros (None, Bool,
// Status) break other headers included after it.
struct _XDisplay;

namespace kelmora::tools
{
/** A mapped top-level X11 window standing in for the host's editor frame, into which a plug-in
    embeds its editor. Like real hosts, it keeps X errors from ending the process (a server
    without a window manager lacks some of the atoms that window properties name). `display` is
    null when there is no X server. */
struct HostWindow
{
    HostWindow();
    ~HostWindow();

    HostWindow (const HostWindow&) = delete;
    HostWindow& operator= (const HostWindow&) = delete;

    _XDisplay* display = nullptr;   // a ::Display*
    unsigned long window = 0;       // a ::Window
};
} // namespace kelmora::tools
