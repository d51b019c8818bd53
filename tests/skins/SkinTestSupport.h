#pragma once

#include "skins/LfTextEditor.h"
#include "skins/LookAndFeelContextMenu.h"
#include "skins/LookAndFeelCustom3.h"
#include "skins/LookAndFeelOverlay.h"
#include "skins/LookAndFeelOverlayButton.h"
#include "skins/LookAndFeelToolbar.h"
#include "support/ReleaseSharedFonts.h"

#include <functional>
#include <memory>
#include <vector>

namespace skintest
{
using MakeSkin = std::unique_ptr<juce::LookAndFeel> (*)();

template <typename Skin>
std::unique_ptr<juce::LookAndFeel> make()
{
    return std::make_unique<Skin>();
}

// The eight skins by class name.
inline std::vector<std::pair<const char*, MakeSkin>> allSkins()
{
    using namespace kelmora::skins;
    return { { "LookAndFeelOverlay", make<LookAndFeelOverlay> }, { "LfTextEditor", make<LfTextEditor> },
             { "LookAndFeelContextMenu", make<LookAndFeelContextMenu> },
             { "LookAndFeelOverlayButton", make<LookAndFeelOverlayButton> },
             { "LookAndFeelToolbar", make<LookAndFeelToolbar> }, { "LookAndFeelCustom", make<LookAndFeelCustom> },
             { "LookAndFeelCustom2", make<LookAndFeelCustom2> }, { "LookAndFeelCustom3", make<LookAndFeelCustom3> } };
}

inline juce::Image render (int width, int height, const std::function<void (juce::Graphics&)>& paint)
{
    juce::Image image (juce::Image::ARGB, width, height, true);
    juce::Graphics g (image);
    paint (g);
    return image;
}

// The component as it paints itself under the skin, off the desktop.
inline juce::Image snapshot (juce::Component& component, juce::LookAndFeel& skin)
{
    component.setLookAndFeel (&skin);
    auto image = render (component.getWidth(), component.getHeight(),
                         [&] (juce::Graphics& g) { component.paintEntireComponent (g, false); });
    component.setLookAndFeel (nullptr);
    return image;
}

// The smallest rectangle holding every pixel that passes the test.
inline juce::Rectangle<int> boundsOf (const juce::Image& image, const std::function<bool (juce::Colour)>& test)
{
    juce::Rectangle<int> found;
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (test (image.getPixelAt (x, y)))
                found = found.isEmpty() ? juce::Rectangle<int> (x, y, 1, 1) : found.getUnion ({ x, y, 1, 1 });
    return found;
}

inline bool near (juce::Colour a, juce::Colour b, int tolerance = 3)
{
    return std::abs (a.getRed() - b.getRed()) <= tolerance && std::abs (a.getGreen() - b.getGreen()) <= tolerance
        && std::abs (a.getBlue() - b.getBlue()) <= tolerance && std::abs (a.getAlpha() - b.getAlpha()) <= tolerance;
}
} // namespace skintest
