#include "formats/module/EditorInput.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace kelmora::tools::test
{
namespace
{
void sendPointer (const HostWindow& host, ::Window editor, int type, int x, int y, unsigned state)
{
    ::Window root = DefaultRootWindow (host.display);
    XEvent e {};
    const auto fill = [&] (auto& event) {
        event.type = type;
        event.display = host.display;
        event.window = editor;
        event.root = root;
        event.time = CurrentTime;
        event.x = x;
        event.y = y;
        event.state = state;
        event.same_screen = True;
    };

    long mask = PointerMotionMask | Button1MotionMask;
    if (type == MotionNotify)
    {
        fill (e.xmotion);
    }
    else
    {
        fill (e.xbutton);
        e.xbutton.button = Button1;
        mask = type == ButtonPress ? ButtonPressMask : ButtonReleaseMask;
    }
    XSendEvent (host.display, editor, True, mask, &e);
}
} // namespace

unsigned long editorWindowIn (const HostWindow& host)
{
    ::Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    XQueryTree (host.display, host.window, &root, &parent, &children, &count);
    const ::Window editor = count > 0 ? children[0] : host.window;
    if (children != nullptr)
        XFree (children);
    return editor;
}

void dragInEditor (const HostWindow& host, int fromX, int fromY, int toX, int toY)
{
    const auto editor = editorWindowIn (host);
    sendPointer (host, editor, ButtonPress, fromX, fromY, 0);
    for (int step = 1; step <= 4; ++step)
        sendPointer (host, editor, MotionNotify, fromX + (toX - fromX) * step / 4, fromY + (toY - fromY) * step / 4, Button1Mask);
    sendPointer (host, editor, ButtonRelease, toX, toY, Button1Mask);
    XFlush (host.display);
}

void clickInEditor (const HostWindow& host, int x, int y)
{
    const auto editor = editorWindowIn (host);
    sendPointer (host, editor, ButtonPress, x, y, 0);
    sendPointer (host, editor, ButtonRelease, x, y, Button1Mask);
    XFlush (host.display);
}

UserInput::UserInput()
{
    display = XOpenDisplay (nullptr);
    int event = 0, error = 0, major = 0, minor = 0;
    if (display != nullptr && ! XTestQueryExtension (display, &event, &error, &major, &minor))
    {
        XCloseDisplay (display);
        display = nullptr;
    }
}

UserInput::~UserInput()
{
    if (display != nullptr)
        XCloseDisplay (display);
}

void UserInput::moveTo (int x, int y) const
{
    XTestFakeMotionEvent (display, DefaultScreen (display), x, y, CurrentTime);
}

void UserInput::click (unsigned button) const
{
    press (button);
    release (button);
}

void UserInput::press (unsigned button) const
{
    XTestFakeButtonEvent (display, button, True, CurrentTime);
}

void UserInput::release (unsigned button) const
{
    XTestFakeButtonEvent (display, button, False, CurrentTime);
}

void UserInput::key (unsigned long keysym) const
{
    const KeyCode code = XKeysymToKeycode (display, keysym);
    const KeyCode shift = XKeysymToKeycode (display, XK_Shift_L);
    const bool shifted = XkbKeycodeToKeysym (display, code, 0, 0) != keysym;
    if (shifted)
        XTestFakeKeyEvent (display, shift, True, CurrentTime);
    XTestFakeKeyEvent (display, code, True, CurrentTime);
    XTestFakeKeyEvent (display, code, False, CurrentTime);
    if (shifted)
        XTestFakeKeyEvent (display, shift, False, CurrentTime);
}

void UserInput::flush() const
{
    XSync (display, False);
}
} // namespace kelmora::tools::test
