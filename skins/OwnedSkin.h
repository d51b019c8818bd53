#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace kelmora::skins
{
/** Takes the skin off the root, off every component below it and off every desktop window (popup
    menus, tooltips) that still uses it, and stops it being the default look. After this the skin
    may be destroyed without a component keeping a reference to it. Message thread only. */
void releaseSkin (juce::LookAndFeel& skin, juce::Component& root);

/** One skin owned by a component. The component sets it on itself or on its children; when the
    OwnedSkin goes (in whatever order the owner's members are declared) it first releases the skin
    from everything under the owner, so JUCE never sees a skin die while a component uses it.
    Message thread only. */
template <typename Skin>
class OwnedSkin
{
public:
    explicit OwnedSkin (juce::Component& ownerToUse) : owner (ownerToUse) {}
    ~OwnedSkin() { releaseSkin (skin, owner); }

    Skin& get() noexcept { return skin; }
    Skin& operator*() noexcept { return skin; }
    Skin* operator->() noexcept { return &skin; }
    operator Skin*() noexcept { return &skin; }

private:
    juce::Component& owner;
    Skin skin;

    JUCE_DECLARE_NON_COPYABLE (OwnedSkin)
};
} // namespace kelmora::skins
