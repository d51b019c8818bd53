#include "SkinTestSupport.h"

#include "skins/OwnedSkin.h"

#include <gtest/gtest.h>

namespace
{
using namespace kelmora::skins;

// Every probe alive, so a dying skin can tell whether any component still draws with it: the
// condition JUCE asserts on when a look-and-feel is destroyed.
std::vector<juce::Component::SafePointer<juce::Component>>& probes()
{
    static std::vector<juce::Component::SafePointer<juce::Component>> list;
    return list;
}

int skinsDyingInUse = 0;

template <typename Skin>
struct CheckedSkin : Skin
{
    ~CheckedSkin() override
    {
        if (&juce::LookAndFeel::getDefaultLookAndFeel() == this)
            ++skinsDyingInUse;
        for (auto& probe : probes())
            if (probe != nullptr && &probe->getLookAndFeel() == this)
                ++skinsDyingInUse;
    }
};

struct Probe : juce::Component
{
    Probe() { probes().emplace_back (this); }
};

// The members the skins use are declared before the skins, the order in which a skin would die
// first and leave its users behind.
struct Editor : Probe
{
    Editor()
    {
        for (auto* child : { &a, &b, &c, &d, &e, &f, &g, &h })
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
        g.setLookAndFeel (contextMenu);
    }

    Probe a, b, c, d, e, f, g, h, nested;
    OwnedSkin<CheckedSkin<LookAndFeelToolbar>> toolbar { *this };
    OwnedSkin<CheckedSkin<LookAndFeelOverlay>> overlay { *this };
    OwnedSkin<CheckedSkin<LfTextEditor>> textEditor { *this };
    OwnedSkin<CheckedSkin<LookAndFeelContextMenu>> contextMenu { *this };
    OwnedSkin<CheckedSkin<LookAndFeelOverlayButton>> overlayButton { *this };
    OwnedSkin<CheckedSkin<LookAndFeelCustom>> custom { *this };
    OwnedSkin<CheckedSkin<LookAndFeelCustom2>> custom2 { *this };
    OwnedSkin<CheckedSkin<LookAndFeelCustom3>> custom3 { *this };
};

TEST (SkinLifetime, AnEditorWithEverySkinReleasesThemBeforeTheyDie)
{
    skinsDyingInUse = 0;
    {
        Editor editor;
        ASSERT_EQ (&editor.h.getLookAndFeel(), &editor.toolbar.get());   // inherited from the editor
        ASSERT_EQ (&editor.nested.getLookAndFeel(), &editor.contextMenu.get());
    }
    EXPECT_EQ (skinsDyingInUse, 0);
}

// A component that was handed out of its owner's tree keeps the skin until the owner goes, then
// draws with the default look instead of a dead one.
TEST (SkinLifetime, AComponentOutlivingItsSkinsOwnerFallsBackToTheDefaultLook)
{
    skinsDyingInUse = 0;
    juce::TextButton survivor ("Keep");
    survivor.setSize (60, 24);
    {
        Probe owner;
        OwnedSkin<CheckedSkin<LookAndFeelContextMenu>> skin { owner };
        survivor.setLookAndFeel (skin);
        ASSERT_EQ (&survivor.getLookAndFeel(), &skin.get());
    }
    EXPECT_EQ (&survivor.getLookAndFeel(), &juce::LookAndFeel::getDefaultLookAndFeel());
    EXPECT_FALSE (skintest::snapshot (survivor).isNull());
}

TEST (SkinLifetime, ASkinMadeTheDefaultIsWithdrawnBeforeItDies)
{
    skinsDyingInUse = 0;
    {
        Probe owner;
        OwnedSkin<CheckedSkin<LookAndFeelOverlay>> skin { owner };
        juce::LookAndFeel::setDefaultLookAndFeel (skin);
    }
    EXPECT_EQ (skinsDyingInUse, 0);
}
} // namespace
