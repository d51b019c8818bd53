#pragma once

#include "skins/LfTextEditor.h"
#include "skins/LookAndFeelContextMenu.h"
#include "skins/LookAndFeelCustom3.h"
#include "skins/LookAndFeelOverlay.h"
#include "skins/LookAndFeelOverlayButton.h"
#include "skins/LookAndFeelToolbar.h"

#include <functional>
#include <memory>

namespace skintest
{
// The eight skins by class name, in the order of the colour table's columns.
struct SkinMaker
{
    const char* name;
    std::function<std::unique_ptr<juce::LookAndFeel>()> make;
};

template <typename Skin>
SkinMaker maker (const char* name)
{
    return { name, [] { return std::unique_ptr<juce::LookAndFeel> (new Skin()); } };
}

inline std::vector<SkinMaker> allSkins()
{
    using namespace kelmora::skins;
    return { maker<LookAndFeelOverlay> ("LookAndFeelOverlay"),
             maker<LfTextEditor> ("LfTextEditor"),
             maker<LookAndFeelContextMenu> ("LookAndFeelContextMenu"),
             maker<LookAndFeelOverlayButton> ("LookAndFeelOverlayButton"),
             maker<LookAndFeelToolbar> ("LookAndFeelToolbar"),
             maker<LookAndFeelCustom> ("LookAndFeelCustom"),
             maker<LookAndFeelCustom2> ("LookAndFeelCustom2"),
             maker<LookAndFeelCustom3> ("LookAndFeelCustom3") };
}

// A transparent image of the given size with a painter's output in it.
inline juce::Image render (int width, int height, const std::function<void (juce::Graphics&)>& paint)
{
    juce::Image image (juce::Image::ARGB, width, height, true);
    juce::Graphics g (image);
    paint (g);
    return image;
}

// The component as it paints itself, off the desktop.
inline juce::Image snapshot (juce::Component& component)
{
    return render (component.getWidth(), component.getHeight(),
                   [&] (juce::Graphics& g) { component.paintEntireComponent (g, false); });
}

inline bool near (juce::Colour a, juce::Colour b, int tolerance = 3)
{
    return std::abs (a.getRed() - b.getRed()) <= tolerance && std::abs (a.getGreen() - b.getGreen()) <= tolerance
        && std::abs (a.getBlue() - b.getBlue()) <= tolerance && std::abs (a.getAlpha() - b.getAlpha()) <= tolerance;
}
} // namespace skintest
