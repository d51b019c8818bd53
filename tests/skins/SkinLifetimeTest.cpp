#include "SkinTestSupport.h"

#include "skins/OwnedSkin.h"
#include "support/JuceAssertions.h"

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
// leave its users behind. The editor wears the toolbar skin and children[0] inherits it; nested
// sits in children[1] and wears the menu skin, as does children[2]; the overlay skin is the default.
struct Editor : Probe
{
    Editor()
    {
        setLookAndFeel (toolbar);
        for (auto& child : children)
            addAndMakeVisible (child);
        children[1].addAndMakeVisible (nested);
        children[2].setLookAndFeel (contextMenu);
        nested.setLookAndFeel (contextMenu);
        juce::LookAndFeel::setDefaultLookAndFeel (overlay);
    }
    Probe children[3], nested;
    OwnedSkin<CheckedSkin<LookAndFeelToolbar>> toolbar { *this };
    OwnedSkin<CheckedSkin<LookAndFeelOverlay>> overlay { *this };
    OwnedSkin<CheckedSkin<LookAndFeelContextMenu>> contextMenu { *this };
};

// A component handed out of its owner's tree keeps the skin until the owner goes, then draws with
// the default look instead of a dead one.
TEST (SkinLifetime, SkinsAreReleasedByEveryUserAndAsTheDefaultBeforeTheyDie)
{
    juce::TextButton survivor ("Keep");
    survivor.setSize (60, 24);
    {
        // JUCE asserts when a skin dies in use; the survivor is out of reach of the owner on purpose.
        const quietline::test::ExpectedJuceAssertion survivorStillWearsIt ("juce_LookAndFeel.cpp");
        Editor editor;
        ASSERT_EQ (&editor.children[0].getLookAndFeel(), &editor.toolbar.get());
        ASSERT_EQ (&editor.nested.getLookAndFeel(), &editor.contextMenu.get());
        survivor.setLookAndFeel (editor.contextMenu);
    }
    EXPECT_EQ (skinsDyingInUse, 0);
    EXPECT_EQ (&survivor.getLookAndFeel(), &juce::LookAndFeel::getDefaultLookAndFeel());
    EXPECT_FALSE (skintest::render (60, 24, [&] (juce::Graphics& g) { survivor.paintEntireComponent (g, false); }).isNull());
}
} // namespace
