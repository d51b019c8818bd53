#include "editor/PresetComboBox.h"

#include "editor/PopupMenuClick.h"

namespace kelmora::editor
{
PresetComboBox::PresetComboBox() : juce::ComboBox (juce::String()) {}
PresetComboBox::~PresetComboBox() = default;

juce::PopupMenu PresetComboBox::createContextMenu()
{
    juce::PopupMenu menu;
    menu.addItem (1, "Reset to Original State", resetEnabled);

    if (userPresetItemsShown)
    {
        menu.addSeparator();
        menu.addItem (2, "Save As New Global User-Preset...");
        menu.addItem (3, "Overwrite/Rename Selected User-Preset...", overwriteEnabled);
        menu.addItem (4, "Delete Selected User-Preset...", deleteEnabled);
        menu.addSeparator();
        menu.addItem (5, "Copy State (Cmd+C)");
        menu.addItem (6, "Paste State (Cmd+V)");
        menu.addItem (7, "Share State...");
    }

    menu.setLookAndFeel (menuSkin);
    return menu;
}

void PresetComboBox::mouseDown (const juce::MouseEvent& e)
{
    // JUCE takes ctrl-click for a plain click off macOS and would open the list under the menu.
    if (! isPopupMenuClick (e.mods))
    {
        juce::ComboBox::mouseDown (e);
        return;
    }

    if (! isEnabled())
        return;

    juce::Component::SafePointer<juce::Component> parent (getParentComponent());
    createContextMenu().showMenuAsync (juce::PopupMenu::Options().withTargetComponent (this),
                                       [parent, callback = menuCallback] (int result)
                                       {
                                           if (callback != nullptr)
                                               callback (result, parent.getComponent());
                                       });
}
} // namespace kelmora::editor
