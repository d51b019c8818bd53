#pragma once

#include "tools/vsthost/HostedEffect.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kelmora::tools
{
/** What an X11 window of the given size shows now, row by row, each pixel 0xRRGGBB; all 0 when
    the server cannot give it (a window that is not viewable). `display` is a ::Display*. */
std::vector<uint32_t> captureWindow (void* display, unsigned long window, int width, int height);

/** A plug-in's editor in a top-level X11 window of its own, framed the way a Linux host frames
    it: the host asks for the editor's size, makes a window of that size, hands its id to
    effEditOpen, and drives the editor with effEditIdle calls from the same thread. The editor is
    closed (effEditClose) and the window destroyed when the object goes.

    Use it on one thread, the one that created the effect's instance or any one thread the host
    calls the editor from. X errors do not end the process (a server without a window manager
    lacks some atoms that the plug-in's window properties name). */
class EditorWindow
{
public:
    /** Opens the editor; null with an error text when there is no X server, the plug-in has no
        editor or refuses to open it. */
    static std::unique_ptr<EditorWindow> open (HostedEffect& effect, std::string& error);
    ~EditorWindow();

    EditorWindow (const EditorWindow&) = delete;
    EditorWindow& operator= (const EditorWindow&) = delete;

    /** The size the editor asked for. */
    int width() const noexcept { return w; }
    int height() const noexcept { return h; }
    /** The X11 id of the host's window, which holds the editor's. */
    unsigned long windowId() const noexcept { return window; }

    /** One host idle call. */
    void idle();

    /** What the window shows now, row by row, each pixel 0xRRGGBB. */
    std::vector<uint32_t> capture();

    /** Idles until the picture has been painted and settled (two captures 100 ms apart agree),
        at most about `maxMilliseconds`; returns the last capture. For tools: a test waits for
        what it expects. */
    std::vector<uint32_t> captureSettled (int maxMilliseconds = 5000);

    /** Writes pixels of this window's size as an 8-bit RGB PNG. */
    bool writePng (const std::vector<uint32_t>& pixels, const std::string& path, std::string& error) const;

private:
    EditorWindow (HostedEffect& effect, void* display, unsigned long window, int w, int h);

    HostedEffect& effect;
    void* display;  // ::Display*, kept out of this header so users need no X11 headers
    unsigned long window;
    int w, h;
};
} // namespace kelmora::tools
