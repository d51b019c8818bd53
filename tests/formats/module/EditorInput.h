#pragma once

// Input for an editor embedded in a host window: pointer events sent as the X server would send
// them, and real input that the server itself routes, as a user's.
#include "tools/aaxhost/HostWindow.h"

namespace kelmora::tools::test
{
/** The editor's own window inside the host's (the host window itself when it has no child). */
unsigned long editorWindowIn (const HostWindow& host);

/** A press at `from`, a move with the button held to `to` and the release there. */
void dragInEditor (const HostWindow& host, int fromX, int fromY, int toX, int toY);

/** A press and release of the first button at one point. */
void clickInEditor (const HostWindow& host, int x, int y);

/** Real pointer and keyboard input through the XTest extension, on an X connection of its own:
    the server moves the pointer and sends the events to the window under it, or keys to the
    window with the keyboard focus. Xlib holds the requests until flush(). */
struct UserInput
{
    /** `display` stays null without an X server or its XTest extension. */
    UserInput();
    ~UserInput();

    UserInput (const UserInput&) = delete;
    UserInput& operator= (const UserInput&) = delete;

    /** To a point of the root window (a host window at its top left without a window manager). */
    void moveTo (int x, int y) const;
    /** A press and release of a button (1 left, 3 right) where the pointer is. */
    void click (unsigned button = 1) const;
    /** Only the press, or only the release, where the pointer is. */
    void press (unsigned button = 1) const;
    void release (unsigned button = 1) const;
    /** A press and release of the key with that X keysym (a Latin-1 character is its own),
        with Shift held when the keyboard has it on the shifted level. */
    void key (unsigned long keysym) const;
    /** Until the server has taken everything sent so far. */
    void flush() const;

    _XDisplay* display = nullptr;   // a ::Display*
};
} // namespace kelmora::tools::test
