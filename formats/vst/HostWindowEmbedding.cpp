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
        juce::X11Symbols::getInstance()->xReparentWindow (display, (::Window) component.getWindowHandle(),
                                                          (::Window) (uintptr_t) parentWindow, 0, 0);
        // The host moves and sizes its window right after this call: the server must know first.
        juce::X11Symbols::getInstance()->xFlush (display);
    }

    component.setVisible (true);
}
} // namespace kelmora::vst
