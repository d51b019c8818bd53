#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include "formats/HeldButtons.h"

#include <dlfcn.h>

namespace kelmora::formats
{
namespace
{
/** What the pointer events in Xlib's queue say of held buttons, in order: a release of one
    still to come, or an event that happened with one of them up. */
struct QueuedPointerEvents
{
    enum class Says { nothing, stillHeld, releaseComing, releasedElsewhere };

    unsigned int held;
    Says says = Says::nothing;

    static int note (::Display*, XEvent* event, XPointer self)
    {
        auto& queued = *reinterpret_cast<QueuedPointerEvents*> (self);
        if (queued.says == Says::releaseComing || queued.says == Says::releasedElsewhere)
            return False;

        unsigned int state = 0;
        switch (event->type)
        {
            case ButtonRelease: queued.says = Says::releaseComing; return False;
            case ButtonPress:   state = event->xbutton.state; break;
            case MotionNotify:  state = event->xmotion.state; break;
            case EnterNotify:
            case LeaveNotify:   state = event->xcrossing.state; break;
            default:            return False;
        }
        queued.says = (state & queued.held) == queued.held ? Says::stillHeld : Says::releasedElsewhere;
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

/** Whether the server still has the held buttons down, as the module's queue or the server
    itself says. Call with Xlib's lock held. */
bool stillHeld (::Display* display, unsigned int held, const juce::Array<juce::ComponentPeer*>& peers)
{
    auto* x11 = juce::X11Symbols::getInstance();
    x11->xEventsQueued (display, QueuedAfterReading);

    QueuedPointerEvents queued { held };
    if (auto* walk = checkIfEvent())
    {
        XEvent unused;
        walk (display, &unused, &QueuedPointerEvents::note, reinterpret_cast<XPointer> (&queued));
    }

    if (queued.says != QueuedPointerEvents::Says::nothing)
        return queued.says != QueuedPointerEvents::Says::releasedElsewhere;

    // No pointer event can reach a window that is not viewable: only the server knows.
    for (auto* peer : peers)
    {
        XWindowAttributes attributes {};
        if (x11->xGetWindowAttributes (display, (::Window) peer->getNativeHandle(), &attributes) == 0
            || attributes.map_state == IsViewable)
            return true;
    }

    ::Window root = 0, child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned int state = 0;
    return x11->xQueryPointer (display, x11->xDefaultRootWindow (display), &root, &child, &rootX, &rootY, &x, &y, &state) == 0
           || (state & held) == held;
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

    {
        const juce::XWindowSystemUtilities::ScopedXLock xLock;
        if (stillHeld (display, Button1Mask, peers))
            return;
    }

    for (int i = 0; i < held.size(); ++i)
        release (*peers.getUnchecked (i), juce::Array<juce::MouseInputSource> (held.getReference (i)));
}
} // namespace kelmora::formats
