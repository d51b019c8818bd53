#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include "formats/HeldButtons.h"

#include <dlfcn.h>

namespace kelmora::formats
{
namespace
{
/** Whether the pointer events in Xlib's queue, in order, say that the held buttons went up
    elsewhere: one happened with them up before any release of the first button came. */
struct QueuedPointerEvents
{
    enum class Says { nothing, releaseComing, releasedElsewhere };

    unsigned int held;
    Says says = Says::nothing;

    static int note (::Display*, XEvent* event, XPointer self)
    {
        auto& queued = *reinterpret_cast<QueuedPointerEvents*> (self);
        if (queued.says != Says::nothing)
            return False;

        unsigned int state = 0;
        switch (event->type)
        {
            case ButtonRelease:
                if (event->xbutton.button == Button1)
                {
                    queued.says = Says::releaseComing;
                    return False;
                }
                state = event->xbutton.state;
                break;
            case ButtonPress:   state = event->xbutton.state; break;
            case MotionNotify:  state = event->xmotion.state; break;
            case EnterNotify:
            case LeaveNotify:   state = event->xcrossing.state; break;
            default:            return False;
        }
        if ((state & queued.held) != queued.held)
            queued.says = Says::releasedElsewhere;
        return False; // leaves every event where it is
    }
};

using CheckIfEvent = int (*) (::Display*, XEvent*, int (*) (::Display*, XEvent*, XPointer), XPointer);

/** Xlib's walk along its queue, from the library JUCE loaded (JUCE's own table lacks it). */
CheckIfEvent checkIfEvent()
{
    static const auto function = [] {
        void* library = ::dlopen ("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
        if (library == nullptr)
            library = ::dlopen ("libX11.so", RTLD_LAZY | RTLD_NOLOAD);
        return library != nullptr ? reinterpret_cast<CheckIfEvent> (::dlsym (library, "XCheckIfEvent")) : nullptr;
    }();
    return function;
}

/** Whether the held buttons went up without a release to come through the module's windows,
    and where the server has the pointer. Asks nothing of any window of the module's, which the
    host may have destroyed. Call with Xlib's lock held. */
bool releasedElsewhere (::Display* display, unsigned int held, juce::Point<int>& pointer)
{
    auto* x11 = juce::X11Symbols::getInstance();

    // A round trip: whatever the server sent this connection before its reply, a release
    // through one of the module's windows among it, is in Xlib's queue once it returns.
    ::Window root = 0, child = 0;
    int x = 0, y = 0;
    unsigned int state = 0;
    x11->xQueryPointer (display, x11->xDefaultRootWindow (display), &root, &child, &pointer.x, &pointer.y, &x, &y, &state);

    QueuedPointerEvents queued { held };
    if (auto* walk = checkIfEvent())
    {
        XEvent unused;
        walk (display, &unused, &QueuedPointerEvents::note, reinterpret_cast<XPointer> (&queued));
    }

    if (queued.says != QueuedPointerEvents::Says::nothing)
        return queued.says == QueuedPointerEvents::Says::releasedElsewhere;
    return (state & held) != held;
}

/** Whether the server's notice that the window is destroyed is in Xlib's queue; if so, drops
    every event queued for it: handled, they would have the module draw into a window that is
    gone. Call with Xlib's lock held, after a round trip. */
bool dropIfDestroyed (::Display* display, ::Window window)
{
    auto* walk = checkIfEvent();
    if (walk == nullptr)
        return false;

    struct Search { ::Window window; bool destroyed = false; } search { window };
    XEvent event;
    walk (display, &event, [] (::Display*, XEvent* e, XPointer arg) {
        auto& s = *reinterpret_cast<Search*> (arg);
        s.destroyed = s.destroyed || (e->type == DestroyNotify && e->xdestroywindow.window == s.window);
        return False;
    }, reinterpret_cast<XPointer> (&search));

    if (search.destroyed)
        while (walk (display, &event, [] (::Display*, XEvent* e, XPointer arg) {
                   return e->xany.window == *reinterpret_cast<::Window*> (arg) ? True : False;
               }, reinterpret_cast<XPointer> (&window)))
        {
        }
    return search.destroyed;
}
} // namespace

juce::Array<juce::MouseInputSource> HeldButtons::pressedIn (const juce::Component& window)
{
    juce::Array<juce::MouseInputSource> pressed;
    for (const auto& source : juce::Desktop::getInstance().getMouseSources())
    {
        const auto* under = source.getComponentUnderMouse();
        if (source.isDragging() && under != nullptr && (under == &window || window.isParentOf (under)))
            pressed.add (source);
    }
    return pressed;
}

void HeldButtons::release (juce::ComponentPeer& peer, const juce::Array<juce::MouseInputSource>& sources)
{
    if (sources.isEmpty())
        return;

    const auto released = juce::ModifierKeys::currentModifiers.withoutMouseButtons();
    for (const auto& source : sources)
    {
        // A press whose release went elsewhere is no click.
        if (auto* button = dynamic_cast<juce::Button*> (source.getComponentUnderMouse()))
            button->setState (juce::Button::buttonNormal);

        // The pointer is where the user released it: a drag that hid it (a slider's in velocity
        // mode) would put it back over its component at the mouse-up. Ended here first, the
        // cursor shows again and JUCE moves the pointer only if it had moved it itself.
        if (source.isUnboundedMouseMovementEnabled())
            source.enableUnboundedMouseMovement (false, true);

        peer.handleMouseEvent (source.getType(), { -1.0f, -1.0f }, released, source.getCurrentPressure(),
                               source.getCurrentOrientation(), juce::Time::currentTimeMillis(), {}, source.getIndex());
    }
    juce::ModifierKeys::currentModifiers = released;
}

void HeldButtons::releaseLost()
{
    // The first button is the one JUCE maps to its left button on any pointer; the others' maps
    // vary, and nothing here drags with them.
    if (! juce::ModifierKeys::currentModifiers.isLeftButtonDown())
        return;

    auto* windowSystem = juce::XWindowSystem::getInstanceWithoutCreating();
    auto* display = windowSystem != nullptr ? windowSystem->getDisplay() : nullptr;
    if (display == nullptr)
        return;

    juce::Array<juce::MouseInputSource> held;
    juce::Array<juce::ComponentPeer*> peers;
    for (const auto& source : juce::Desktop::getInstance().getMouseSources())
        if (auto* under = source.getComponentUnderMouse(); under != nullptr && source.isDragging())
            if (auto* peer = under->getPeer())
            {
                held.add (source);
                peers.add (peer);
            }

    if (held.isEmpty())
        return;

    // A press in a window the host destroyed ends too, the button held or not: no release can
    // come through that window.
    juce::Point<int> pointer;
    juce::Array<juce::MouseInputSource> ended;
    juce::Array<juce::ComponentPeer*> endedIn;
    {
        const juce::XWindowSystemUtilities::ScopedXLock xLock;
        const bool released = releasedElsewhere (display, Button1Mask, pointer);
        for (int i = 0; i < held.size(); ++i)
            if (dropIfDestroyed (display, (::Window) peers.getUnchecked (i)->getNativeHandle()) || released)
            {
                ended.add (held.getReference (i));
                endedIn.add (peers.getUnchecked (i));
            }
    }
    if (ended.isEmpty())
        return;

    // JUCE had moved the pointer itself in a drag that hid it (one that reached the screen's
    // edge), and takes it back over the component at the drag's end: it goes where the server
    // had it.
    auto& desktop = juce::Desktop::getInstance();
    const auto released = desktop.getDisplays().physicalToLogical (pointer.toFloat()) / desktop.getGlobalScaleFactor();
    juce::Array<juce::MouseInputSource> movedByJuce;
    for (const auto& source : ended)
        if (source.isUnboundedMouseMovementEnabled() && source.getScreenPosition().roundToInt() != released.roundToInt())
            movedByJuce.add (source);

    for (int i = 0; i < ended.size(); ++i)
        release (*endedIn.getUnchecked (i), juce::Array<juce::MouseInputSource> (ended.getReference (i)));

    for (auto& source : movedByJuce)
        source.setScreenPosition (released);
}
} // namespace kelmora::formats
