// The dialogs as the editor opens them and acts on their commands, headless.
#include "EditorFixture.h"

#include "editor/InfoOverlay.h"
#include "editor/SettingsOverlay.h"
#include "editor/SharePresetOverlay.h"
#include "editor/UserPresetOverlays.h"

namespace
{
using namespace quietline::test;
using namespace kelmora::editor;

struct EditorDialogs : EditorFixture
{
    /** Opens a menu command's dialog. */
    template <typename T> T& open (int menuId)
    {
        KelmoraLabsEditor::presetMenuCallback (menuId, editor.get());
        auto* dialog = overlay<T>();
        if (dialog == nullptr)
            throw std::runtime_error ("no dialog");
        return *dialog;
    }
    /** Types into the dialog's name field, as a user would (restrictions apply). */
    void type (AddUserPresetOverlay& dialog, const juce::String& text)
    {
        auto* field = findChild<BetterTextEditor> (dialog);
        field->selectAll();
        field->insertTextAtCaret (text);
        deliverPostedMessages();
    }
    void click (AbstractOverlay& dialog, const juce::String& buttonText)
    {
        // The click arrives through the queue and posts the dialog's messages behind it.
        findChild<juce::Button> (dialog, buttonText)->triggerClick();
        deliverPostedMessages();
        deliverPostedMessages();
    }
    juce::String otherInstanceSees (int slot)
    {
        Product other;
        return other.getParamManager().isUserPresetSlotEmpty (slot) ? "empty" : other.getPresetController().getPresetName (slot);
    }
};

TEST_F (EditorDialogs, AddOverwriteAndDeleteReachTheFileAndOtherInstances)
{
    type (open<AddUserPresetOverlay> (2), "Bright");
    click (*editor->getCurrentOverlay(), "Create preset");
    EXPECT_EQ (editor->getCurrentOverlay(), nullptr);
    EXPECT_EQ (userFile(), (std::map<int, juce::String> { { 1000, "Bright" } }));
    EXPECT_EQ (otherInstanceSees (5), "Bright");

    // The same name saves the new values; a new name renames.
    setValue (0, 24000.0);
    click (open<OverwriteUserPresetOverlay> (3), "Overwrite preset");
    EXPECT_EQ (userFile(), (std::map<int, juce::String> { { 1000, "Bright" } }));
    {
        Product other;
        other.setCurrentProgram (5);
        EXPECT_EQ (other.getParamManager().getParam (0)->getValueText(), "24000");
    }
    type (open<OverwriteUserPresetOverlay> (3), "Brighter");
    click (*editor->getCurrentOverlay(), "Overwrite preset");
    EXPECT_EQ (userFile(), (std::map<int, juce::String> { { 1000, "Brighter" } }));
    EXPECT_EQ (otherInstanceSees (5), "Brighter");

    auto& del = open<DeleteUserPresetOverlay> (4);
    EXPECT_EQ (del.presetName, "Brighter");
    click (del, "Yes, Delete");
    EXPECT_TRUE (userFile().empty());
    EXPECT_EQ (otherInstanceSees (5), "empty");
    EXPECT_EQ (processor->getParamManager().getActivePresetIndex(), 0);
}

TEST_F (EditorDialogs, OverwriteAndDeleteActOnlyOnTheSlotTheyWereOpenedFor)
{
    ASSERT_EQ (controller.storeUserPresetInFreeSlot ("First"), 5);
    ASSERT_EQ (controller.storeUserPresetInFreeSlot ("Second"), 6);
    const std::map<int, juce::String> stored { { 1000, "First" }, { 1001, "Second" } };
    const struct { int menuId; const char* button; int programMeanwhile; } rows[] = {
        { 3, "Overwrite preset", 0 }, { 3, "Overwrite preset", 5 }, { 4, "Yes, Delete", 0 }, { 4, "Yes, Delete", 5 },
    };
    for (const auto& row : rows)
    {
        processor->setCurrentProgram (6);
        KelmoraLabsEditor::presetMenuCallback (row.menuId, editor.get());
        if (auto* o = overlay<OverwriteUserPresetOverlay>())
            type (*o, "Renamed");
        processor->setCurrentProgram (row.programMeanwhile);
        click (*editor->getCurrentOverlay(), row.button);
        EXPECT_EQ (userFile(), stored) << row.button << " " << row.programMeanwhile;
        EXPECT_EQ (controller.getPresetName (row.programMeanwhile), row.programMeanwhile == 0 ? "Default" : "First");
    }
}

TEST_F (EditorDialogs, NameRules)
{
    ASSERT_EQ (controller.storeUserPresetInFreeSlot ("Mine"), 5);
    const struct { int menuId; const char* typed; const char* field; bool enabled, returnAccepts; } rows[] = {
        { 2, "", "", false, false },          { 2, "   ", "   ", false, false },
        { 2, "Fresh", "Fresh", true, true },  { 2, " Fresh (2) ", " Fresh (2) ", true, true },
        { 2, "Light", "Light", false, true }, { 2, "LIGHT", "LIGHT", false, true },
        { 2, "a_b.c\xc3\xa9!", "abc", true, true },
        { 2, "abcdefghijklmnopqrstuvwxyz0123456789", "abcdefghijklmnopqrstuvwxyz012345", true, true },
        { 3, "Mine", "Mine", true, true },    { 3, "MINE", "MINE", false, true },
    };
    for (const auto& row : rows)
    {
        auto& dialog = open<AddUserPresetOverlay> (row.menuId);
        const bool initiallyEnabled = findChild<juce::Button> (dialog, row.menuId == 2 ? "Create preset" : "Overwrite preset")->isEnabled();
        EXPECT_EQ (initiallyEnabled, row.menuId == 3) << row.typed;
        type (dialog, row.typed);
        EXPECT_EQ (findChild<BetterTextEditor> (dialog)->getText(), row.field) << row.typed;
        EXPECT_EQ (findChild<juce::Button> (dialog, row.menuId == 2 ? "Create preset" : "Overwrite preset")->isEnabled(), row.enabled)
            << row.typed;
        dialog.textEditorReturnKeyPressed (*findChild<BetterTextEditor> (dialog));
        EXPECT_EQ (dialog.presetName, row.returnAccepts ? juce::String (row.field).trim() : juce::String (row.menuId == 3 ? "Mine" : ""))
            << row.typed;
        deliverPostedMessages();
        EXPECT_EQ (editor->getCurrentOverlay() == nullptr, row.returnAccepts) << row.typed;
        if (const int added = processor->getParamManager().getActivePresetIndex(); added > 5)
            controller.deleteUserPreset (added);
        controller.selectPreset (5);
    }
}

TEST_F (EditorDialogs, ShareCopiesAndMailsTheStateText)
{
    KelmoraLabsEditor::presetMenuCallback (7, editor.get());
    auto& share = *overlay<SharePresetOverlay>();
    const auto code = editor->createStateText();
    for (int i = 0; i < 2; ++i)
    {
        desktop.text = {};
        click (share, "Copy to Clipboard");
        EXPECT_EQ (desktop.text, code);
    }
    EXPECT_EQ (findChild<juce::TextEditor> (share)->getHighlightedText(), code);

    click (share, "Share via e-mail");
    ASSERT_EQ (desktop.opened.size(), 1);
    const juce::URL parsed (desktop.opened[0].toString (true));
    EXPECT_TRUE (parsed.toString (true).startsWith ("mailto:?subject=")) << parsed.toString (true);
    EXPECT_EQ (parsed.getParameterNames(), juce::StringArray ({ "subject", "body" }));
    EXPECT_EQ (parsed.getParameterValues()[0], "Orvel Quietline Preset");
    EXPECT_EQ (parsed.getParameterValues()[1],
               "This e-mail contains a Orvel Quietline Preset. To load it, just copy and paste the code below into a Orvel Quietline instance."
               "\n\n-------- copy code below this line --------\n\n" + code + "\n\n-------- copy code above this line --------\n\n\n");
    EXPECT_EQ (editor->getCurrentOverlay(), &share);
}

TEST_F (EditorDialogs, AboutNamesTheFormatAndOpensItsLinks)
{
    const std::pair<int, const char*> formats[] = { { 1, " VST2" }, { 2, " VST3" }, { 3, " AU" }, { 5, " AAX" }, { 0, "" }, { 4, "" } };
    for (const auto& [wrapper, name] : formats)
        EXPECT_TRUE (InfoOverlay::createVersionLine (wrapper).startsWith (juce::String ("v1.0.0 64bit") + name + " alpha 1 ("))
            << InfoOverlay::createVersionLine (wrapper);

    editor->buttonClicked (&editor->aboutButton);
    auto& about = *overlay<InfoOverlay>();
    const auto manual = InfoOverlay::getLocalManual();
    for (const auto* button : { "Website", "Manual", "Forum" })
        click (about, button);
    ASSERT_TRUE (manual.create().wasOk());
    click (about, "Manual");

    ASSERT_EQ (desktop.opened.size(), 4);
    EXPECT_TRUE (desktop.opened[0].toString (true).endsWith ("?id=1332818274&version=65536")) << desktop.opened[0].toString (true);
    EXPECT_TRUE (desktop.opened[1].toString (true).startsWith ("https://")) << "a missing manual falls back to the web page";
    EXPECT_TRUE (desktop.opened[2].toString (true).startsWith ("https://"));
    EXPECT_EQ (desktop.opened[3].getLocalFile(), manual);
    EXPECT_EQ (editor->getCurrentOverlay(), &about);
}

TEST_F (EditorDialogs, SettingsAreSavedAndReachTheSliders)
{
    EXPECT_EQ (SettingsOverlay::createLatencyLine (0, 44100.0), "Processing-latency: 0 samples (0.000 ms)");
    EXPECT_EQ (SettingsOverlay::createLatencyLine (90, 192000.0), "Processing-latency: 90 samples (0.469 ms)");

    juce::Slider knob;
    editor->sliders.add (&knob);
    editor->buttonClicked (&editor->settingsButton);
    auto& settings = *overlay<SettingsOverlay>();
    auto* sensitivity = findChild<juce::Slider> (settings);
    EXPECT_FALSE (sensitivity->isEnabled()) << "velocity mode by default";

    click (settings, "Linear");
    EXPECT_TRUE (sensitivity->isEnabled());
    EXPECT_NEAR (sensitivity->getAlpha(), 1.0f, 0.01f);
    sensitivity->setValue (1.0, juce::sendNotificationSync);
    deliverPostedMessages();
    editor->timerCallback();
    EXPECT_EQ (knob.getMouseDragSensitivity(), 946);
    EXPECT_FALSE (knob.getVelocityBasedMode());

    click (settings, "Velocity based");
    EXPECT_FALSE (sensitivity->isEnabled());
    EXPECT_NEAR (sensitivity->getAlpha(), 0.3f, 0.01f);
    editor->timerCallback();
    EXPECT_TRUE (knob.getVelocityBasedMode());
    EXPECT_EQ (editor->getCurrentOverlay(), &settings);
    Product other;
    EXPECT_EQ (other.getGlobalSettings().getParam (0)->getIntValue(), 0);
    EXPECT_EQ (other.getGlobalSettings().getParam (1)->getIntValue(), 1);
}
} // namespace
