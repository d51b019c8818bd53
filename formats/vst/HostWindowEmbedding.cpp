#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include "formats/vst/HostWindowEmbedding.h"

#include "formats/HeldButtons.h"

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
    // Once this window has gone, the release of a press made in it goes to the host.
    const auto pressedHere = formats::HeldButtons::pressedIn (component);

    // Nothing focused is left inside, so that the window takes no focus as its contents go.
    component.giveAwayKeyboardFocus();
    deleteContents();

    // Released after the contents: no component hears it (a button held down would take it for
    // a click).
    if (auto* peer = component.getPeer())
        formats::HeldButtons::release (*peer, pressedHere);

    component.removeFromDesktop();
}
} // namespace kelmora::vst
