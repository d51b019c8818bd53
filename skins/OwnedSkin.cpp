#include "skins/OwnedSkin.h"

namespace kelmora::skins
{
void releaseSkin (juce::LookAndFeel& skin, juce::Component& root)
{
    juce::ignoreUnused (skin, root);
}
} // namespace kelmora::skins
