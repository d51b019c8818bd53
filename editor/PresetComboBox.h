#pragma once

#include "skins/LookAndFeelContextMenu.h"
#include "skins/OwnedSkin.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace kelmora::editor
{
/** The preset list of the editor's preset bar. A plain click opens the list; a click with ctrl
    or the right button opens the preset context menu instead (on an enabled box only): "Reset
    to Original State" alone, or with the user-preset and state items when the product has user
    slots. The menu is asynchronous; its result (0 when dismissed) goes to the menu callback
    together with the box's parent, or null when the parent has gone meanwhile. The editor sets
    the four flags on every refresh. Message thread only. */
class PresetComboBox : public juce::ComboBox
{
public:
    /** Receives the chosen menu item id and the box's parent (null when it has gone). */
    using MenuCallback = void (*) (int result, juce::Component* parent);

    PresetComboBox();
    ~PresetComboBox() override;

    void setMenuCallback (MenuCallback callback) noexcept { menuCallback = callback; }

    /** The context menu for the current flags. */
    juce::PopupMenu createContextMenu();

    void mouseDown (const juce::MouseEvent&) override;

    bool resetEnabled = false;
    bool overwriteEnabled = false;
    bool deleteEnabled = false;
    bool userPresetItemsShown = false;

private:
    skins::OwnedSkin<skins::LookAndFeelContextMenu> menuSkin { *this };
    MenuCallback menuCallback = nullptr;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetComboBox)
};
} // namespace kelmora::editor
