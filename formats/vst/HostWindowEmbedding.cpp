#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include "formats/vst/HostWindowEmbedding.h"

namespace kelmora::vst
{
void embedInHostWindow (juce::Component& component, void* parentWindow)
{
    component.setVisible (false);
    component.addToDesktop (0, parentWindow);

    if (auto* display = juce::XWindowSystem::getInstance()->getDisplay())
    {
        const auto window = (::Window) component.getWindowHandle();
        auto* x11 = juce::X11Symbols::getInstance();

        // Keyboard focus follows clicks alone. Inside a host's window, X focus arrives after the
        // click that asked for it (a text field takes it when clicked), and JUCE answers that
        // arrival by handing focus back to whatever had it before the host took it: the keys
        // would go there instead of the field.
        XWindowAttributes attributes {};
        if (x11->xGetWindowAttributes (display, window, &attributes) != 0)
            x11->xSelectInput (display, window, attributes.your_event_mask & ~FocusChangeMask);

        x11->xReparentWindow (display, window, (::Window) (uintptr_t) parentWindow, 0, 0);
        // The host moves and sizes its window right after this call: the server must know first.
        x11->xFlush (display);
    }

    component.setVisible (true);
}

void removeFromHostWindow (juce::Component& component, const std::function<void()>& deleteContents)
{
    // JUCE forgets a held button only on a release through a window; once this window has gone,
    // the release goes to the host, and the next press in any window would pass for a drag.
    juce::Array<juce::MouseInputSource> pressedHere;
    for (const auto& source : juce::Desktop::getInstance().getMouseSources())
    {
        const auto* under = source.getComponentUnderMouse();
        if (source.isDragging() && under != nullptr && (under == &component || component.isParentOf (under)))
            pressedHere.add (source);
    }

    // Nothing focused is left inside, so that the window takes no focus as its contents go.
    component.giveAwayKeyboardFocus();
    deleteContents();

    // Released just outside the window: with the component under the press gone, no component
    // hears it (a button held down would take it for a click).
    if (auto* peer = component.getPeer(); peer != nullptr && ! pressedHere.isEmpty())
    {
        const auto released = juce::ModifierKeys::currentModifiers.withoutMouseButtons();
        for (const auto& source : pressedHere)
            peer->handleMouseEvent (source.getType(), { -1.0f, -1.0f }, released, source.getCurrentPressure(),
                                    source.getCurrentOrientation(), juce::Time::currentTimeMillis(), {}, source.getIndex());
        juce::ModifierKeys::currentModifiers = released;
    }

    component.removeFromDesktop();
}
} // namespace kelmora::vst
