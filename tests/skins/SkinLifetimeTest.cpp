#include "SkinTestSupport.h"

#include "skins/OwnedSkin.h"

#include <gtest/gtest.h>

namespace
{
using namespace kelmora::skins;

// Every probe alive, so a dying skin can tell whether any component still draws with it or it is
// still the default: what JUCE asserts on when a look-and-feel is destroyed.
std::vector<juce::Component::SafePointer<juce::Component>> probes;
int skinsDyingInUse = 0;

template <typename Skin>
struct CheckedSkin : Skin
{
    ~CheckedSkin() override
    {
        skinsDyingInUse += &juce::LookAndFeel::getDefaultLookAndFeel() == this;
        for (auto& probe : probes)
            skinsDyingInUse += probe != nullptr && &probe->getLookAndFeel() == this;
    }
};

struct Probe : juce::Component
{
    Probe() { probes.emplace_back (this); }
};

// The children are declared before the skins, the order in which a skin would die first and
// leave its users behind; h inherits the editor's skin, nested its parent's sibling's.
struct Editor : Probe
{
    Editor()
    {
        for (auto* child : { &a, &b, &c, &d, &e, &f, &h })
            addAndMakeVisible (child);
        b.addAndMakeVisible (nested);
        setLookAndFeel (toolbar);
        a.setLookAndFeel (overlay);
        b.setLookAndFeel (textEditor);
        nested.setLookAndFeel (contextMenu);
        c.setLookAndFeel (overlayButton);
        d.setLookAndFeel (custom);
        e.setLookAndFeel (custom2);
        f.setLookAndFeel (custom3);
        juce::LookAndFeel::setDefaultLookAndFeel (overlay);
    }
    Probe a, b, c, d, e, f, h, nested;
    OwnedSkin<CheckedSkin<LookAndFeelToolbar>> toolbar { *this };
    OwnedSkin<CheckedSkin<LookAndFeelOverlay>> overlay { *this };
    OwnedSkin<CheckedSkin<LfTextEditor>> textEditor { *this };
    OwnedSkin<CheckedSkin<LookAndFeelContextMenu>> contextMenu { *this };
    OwnedSkin<CheckedSkin<LookAndFeelOverlayButton>> overlayButton { *this };
    OwnedSkin<CheckedSkin<LookAndFeelCustom>> custom { *this };
    OwnedSkin<CheckedSkin<LookAndFeelCustom2>> custom2 { *this };
    OwnedSkin<CheckedSkin<LookAndFeelCustom3>> custom3 { *this };
};

// A component handed out of its owner's tree keeps the skin until the owner goes, then draws with
// the default look instead of a dead one.
TEST (SkinLifetime, SkinsAreReleasedByEveryUserAndAsTheDefaultBeforeTheyDie)
{
    juce::TextButton survivor ("Keep");
    survivor.setSize (60, 24);
    {
        Editor editor;
        ASSERT_EQ (&editor.h.getLookAndFeel(), &editor.toolbar.get());
        ASSERT_EQ (&editor.nested.getLookAndFeel(), &editor.contextMenu.get());
        survivor.setLookAndFeel (editor.contextMenu);
    }
    EXPECT_EQ (skinsDyingInUse, 0);
    EXPECT_EQ (&survivor.getLookAndFeel(), &juce::LookAndFeel::getDefaultLookAndFeel());
    EXPECT_FALSE (skintest::render (60, 24, [&] (juce::Graphics& g) { survivor.paintEntireComponent (g, false); }).isNull());
}
} // namespace
