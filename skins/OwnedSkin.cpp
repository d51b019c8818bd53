#include "skins/OwnedSkin.h"

namespace kelmora::skins
{
namespace
{
void releaseFromTree (juce::LookAndFeel& skin, juce::Component& component)
{
    for (auto* child : component.getChildren())
        releaseFromTree (skin, *child);

    // Children first: a child that only inherits the skin stops resolving to it once its parent
    // lets go, but one that was given the skin itself still holds it.
    if (&component.getLookAndFeel() == &skin)
        component.setLookAndFeel (nullptr);
}
} // namespace

void releaseSkin (juce::LookAndFeel& skin, juce::Component& root)
{
    JUCE_ASSERT_MESSAGE_THREAD

    releaseFromTree (skin, root);

    auto& desktop = juce::Desktop::getInstance();

    for (int i = desktop.getNumComponents(); --i >= 0;)
        if (auto* window = desktop.getComponent (i))
            releaseFromTree (skin, *window);

    if (&juce::LookAndFeel::getDefaultLookAndFeel() == &skin)
        juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
}
} // namespace kelmora::skins
