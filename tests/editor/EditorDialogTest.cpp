// The dialogs as the editor opens them and acts on their commands, headless.
#include "EditorFixture.h"

#include "editor/InfoOverlay.h"
#include "editor/SettingsOverlay.h"
#include "editor/SharePresetOverlay.h"
#include "editor/UserPresetOverlays.h"
#include "editor/VirtualKeyboard.h"

namespace
{
using namespace quietline::test;
using namespace kelmora::editor;

struct EditorDialogs : EditorFixture
{
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
        // Every button takes a press on its top row (the name dialogs' keyboard reaches over the
        // buttons' upper rows with its empty strip), and every key its own.
        for (auto* c : dialog.getChildren())
        {
            if (auto* b = dynamic_cast<juce::Button*> (c))
            {
                EXPECT_EQ (dialog.getComponentAt (b->getX() + b->getWidth() / 2, b->getY()), b) << b->getButtonText();
            }
        }
        if (auto* keyboard = findChild<VirtualKeyboard> (dialog))
        {
            for (auto* key : keyboard->getChildren())
                EXPECT_EQ (dialog.getComponentAt (keyboard->getPosition() + key->getBounds().getCentre()), key);
        }
        // The click arrives through the queue and posts the dialog's messages behind it.
        findChild<juce::Button> (dialog, buttonText)->triggerClick();
        deliverPostedMessages();
        deliverPostedMessages();
    }
};

// Overwrite with the same name saves the new values, with a new name it renames too.
TEST_F (EditorDialogs, AddOverwriteAndDeleteReachTheFileAndOtherInstances)
{
    const struct { int menuId; const char* typed; const char* button; const char* stored; } steps[] = {
        { 2, "Bright", "Create preset", "Bright" }, { 3, nullptr, "Overwrite preset", "Bright" },
        { 3, "Brighter", "Overwrite preset", "Brighter" }, { 4, nullptr, "Yes, Delete", nullptr },
    };
    for (const auto& step : steps)
    {
        const auto frequency = juce::String (21000 + 1000 * (&step - steps));
        setValue (0, frequency.getDoubleValue());
        KelmoraLabsEditor::presetMenuCallback (step.menuId, editor.get());
        auto* dialog = editor->getCurrentOverlay();
        if (step.typed != nullptr)
            type (*overlay<AddUserPresetOverlay>(), step.typed);
        click (*dialog, step.button);
        EXPECT_EQ (editor->getCurrentOverlay(), nullptr) << step.button;
        Product other;
        if (step.stored == nullptr)
        {
            EXPECT_TRUE (userFile().empty());
            EXPECT_TRUE (other.getParamManager().isUserPresetSlotEmpty (5));
            continue;
        }
        EXPECT_EQ (userFile(), (std::map<int, juce::String> { { 5, step.stored } }));
        other.setCurrentProgram (5);
        EXPECT_EQ (other.getPresetController().getPresetName (5) + " " + other.getParamManager().getParam (0)->getValueText(),
                   juce::String (step.stored) + " " + frequency);
    }
    EXPECT_EQ (processor->getParamManager().getActivePresetIndex(), 0);
}

TEST_F (EditorDialogs, OverwriteAndDeleteActOnlyOnTheSlotTheyWereOpenedFor)
{
    ASSERT_EQ (controller.storeUserPresetInFreeSlot ("First"), 5);
    ASSERT_EQ (controller.storeUserPresetInFreeSlot ("Second"), 6);
    const std::map<int, juce::String> stored { { 5, "First" }, { 6, "Second" } };
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

// What the editor's own commands change reaches the host as an edit's values do: each changed
// parameter once with its new value, no gesture around it, nothing for the others; presets
// still tell the host to read their names again. Host automation is not sent back.
TEST_F (EditorDialogs, EditorCommandsTellTheHostEachValueTheyChanged)
{
    struct Heard : juce::AudioProcessorListener
    {
        std::vector<std::pair<int, float>> values;
        int gestures = 0, displays = 0;
        void audioProcessorParameterChanged (juce::AudioProcessor*, int i, float v) override { values.emplace_back (i, v); }
        void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override { ++displays; }
        void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int) override { ++gestures; }
        void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int) override { ++gestures; }
    } host;
    processor->addListener (&host);
    const auto click = [this] (juce::Button& b) { return [this, &b] { editor->buttonClicked (&b); }; };
    const auto menu = [this] (int id) { return [this, id] { KelmoraLabsEditor::presetMenuCallback (id, editor.get()); }; };
    const auto edit = [this] (int index, float v) { return [this, index, v] { processor->setParameterFromUi (index, v); }; };
    const std::function<void()> none = [] {};

    // Each row's set-up runs before the host listens; the command's changes are the row's.
    struct Row { const char* what; std::function<void()> setUp, command; std::vector<int> changed; int displays; };
    const Row rows[] = {
        { "next preset arrow", none, click (editor->nextPresetButton), { 0, 1 }, 1 },
        { "previous preset arrow", none, click (editor->previousPresetButton), { 0, 1 }, 1 },
        { "undo of a Mix edit", edit (2, 0.5f), click (editor->undoButton), { 2 }, 0 },
        { "redo", none, click (editor->redoButton), { 2 }, 0 },
        { "switch to A", [&] { click (editor->copyAToBButton)(); click (editor->stateAButton)(); edit (2, 0.2f)(); }, click (editor->stateBButton), { 2 }, 0 },
        { "switch to B", none, click (editor->stateAButton), { 2 }, 0 },
        { "copy A>B while B is shown", none, click (editor->copyAToBButton), { 2 }, 0 },
        { "copy B>A while B is shown", edit (2, 0.3f), click (editor->copyBToAButton), {}, 0 },
        { "preset box", none, [this] { editor->presetBox.setSelectedId (5, juce::sendNotificationSync); }, { 0, 1, 2 }, 1 },
        { "reset to the original state", edit (0, 0.9f), menu (1), { 0 }, 1 },
        { "paste", [&] { desktop.text = editor->createStateText(); editor->presetBox.setSelectedId (1, juce::sendNotificationSync); }, menu (6), { 0, 1, 2 }, 0 },
        { "delete the user preset shown", [&] {
              ASSERT_EQ (controller.storeUserPresetInFreeSlot ("Mine"), 5);
              edit (1, 0.1f)();
              menu (4)();
          }, [&] { this->click (*editor->getCurrentOverlay(), "Yes, Delete"); }, { 1 }, 1 },
        { "host automation and program", none, [this] { processor->setParameter (0, 0.25f); processor->setCurrentProgram (2); }, {}, 0 },
    };
    for (const auto& row : rows)
    {
        row.setUp();
        const auto before = processor->getParamManager().getLiveValues();
        host.values.clear();
        host.displays = host.gestures = 0;
        row.command();

        std::vector<std::pair<int, float>> expected;
        for (int i : row.changed)
        {
            EXPECT_NE (before[(size_t) i], processor->getParameter (i)) << row.what << ": " << i << " did not change";
            expected.emplace_back (i, processor->getParameter (i));
        }
        EXPECT_EQ (host.values, expected) << row.what;
        EXPECT_EQ (host.gestures, 0) << row.what;
        EXPECT_EQ (host.displays, row.displays) << row.what;
    }
    processor->removeListener (&host);
}

// Another instance renamed the preset meanwhile and every user slot is in use: nothing is
// written over its entry, and the user is told; the values stay here.
TEST_F (EditorDialogs, AnOverwriteThatAnotherInstanceOvertookIsRefusedAloud)
{
    for (int slot = 5; slot < 10; ++slot)
        ASSERT_EQ (controller.storeUserPresetInFreeSlot ("P" + juce::String (slot)), slot);
    Product other;
    other.setCurrentProgram (5);
    ASSERT_TRUE (other.getPresetController().overwriteUserPreset (5, "Theirs"));

    processor->setCurrentProgram (5);
    setValue (0, 24000.0);
    KelmoraLabsEditor::presetMenuCallback (3, editor.get());
    type (*overlay<OverwriteUserPresetOverlay>(), "Mine");
    click (*editor->getCurrentOverlay(), "Overwrite preset");
    EXPECT_NE (overlay<CannotCreatePresetOverlay>(), nullptr);
    EXPECT_EQ (userFile().at (5), "Theirs");
    EXPECT_EQ (processor->getParamManager().getParam (0)->getValueText(), "24000");
}

// With a slot free, the preset goes there under its own name, and the host hears of the new list.
TEST_F (EditorDialogs, AnOverwriteThatAnotherInstanceOvertookGoesToAFreeSlotAndTheHostHears)
{
    ASSERT_EQ (controller.storeUserPresetInFreeSlot ("Mine"), 5);
    Product other;
    other.setCurrentProgram (5);
    ASSERT_TRUE (other.getPresetController().overwriteUserPreset (5, "Theirs"));

    processor->setCurrentProgram (5);
    HostSpy host;
    processor->addListener (&host);
    KelmoraLabsEditor::presetMenuCallback (3, editor.get());
    click (*editor->getCurrentOverlay(), "Overwrite preset");
    processor->removeListener (&host);
    EXPECT_EQ (editor->getCurrentOverlay(), nullptr);
    EXPECT_EQ (userFile(), (std::map<int, juce::String> { { 5, "Theirs" }, { 6, "Mine" } }));
    EXPECT_EQ (processor->getParamManager().getActivePresetIndex(), 6);
    EXPECT_EQ (host.changes, 1);
}

// A new preset or an overwrite that the file cannot take is told; the values stay here. The
// layouts keep anyone from writing, root included.
TEST_F (EditorDialogs, AWriteThatTheFileCannotTakeIsToldAndTheValuesStay)
{
    ASSERT_EQ (controller.storeUserPresetInFreeSlot ("Mine"), 5);
    const auto folder = kelmora::core::SettingsFile::getFolder(), presetFile = PresetTestProduct::userPresetFile();
    const auto aside = folder.getSiblingFile ("aside");
    const struct { const char* what; std::function<bool()> block, unblock; } layouts[] = {
        { "the maker's folder is a file", [&] { return folder.moveFileTo (aside) && folder.create().wasOk(); },
          [&] { return folder.deleteFile() && aside.moveFileTo (folder); } },
        { "the preset file is a folder", [&] { return presetFile.moveFileTo (aside) && presetFile.createDirectory().wasOk(); },
          [&] { return presetFile.deleteRecursively() && aside.moveFileTo (presetFile); } },
    };
    for (const auto& layout : layouts)
    {
        for (const auto& [menuId, button] : { std::pair { 2, "Create preset" }, { 3, "Overwrite preset" } })
        {
            SCOPED_TRACE (juce::String (layout.what) + ", " + button);
            processor->setCurrentProgram (5);
            setValue (0, 24000.0);
            ASSERT_TRUE (layout.block());
            KelmoraLabsEditor::presetMenuCallback (menuId, editor.get());
            type (*overlay<AddUserPresetOverlay>(), "Fresh");
            click (*editor->getCurrentOverlay(), button);
            ASSERT_TRUE (layout.unblock());
            ASSERT_NE (overlay<CannotCreatePresetOverlay>(), nullptr);
            EXPECT_TRUE (overlay<CannotCreatePresetOverlay>()->getText().contains ("could not be written"));
            EXPECT_EQ (userFile(), (std::map<int, juce::String> { { 5, "Mine" } }));
            EXPECT_EQ (controller.getActivePresetName() + " " + processor->getParamManager().getParam (0)->getValueText(), "Mine 24000");
        }
    }
}

TEST_F (EditorDialogs, NameRules)
{
    ASSERT_EQ (controller.storeUserPresetInFreeSlot ("Mine"), 5);
    const struct { int menuId; const char* typed; const char* field; bool enabled, returnAccepts; } rows[] = {
        { 2, "", "", false, false },          { 2, "   ", "   ", false, false },  { 2, " Fresh (2) ", " Fresh (2) ", true, true },
        { 2, "LIGHT", "LIGHT", false, true }, { 2, "a_b.c\xc3\xa9!", "abc", true, true },
        { 2, "abcdefghijklmnopqrstuvwxyz0123456789", "abcdefghijklmnopqrstuvwxyz012345", true, true },
        { 3, "Mine", "Mine", true, true },    { 3, "MINE", "MINE", false, true },
    };
    for (const auto& row : rows)
    {
        KelmoraLabsEditor::presetMenuCallback (row.menuId, editor.get());
        ASSERT_NE (overlay<AddUserPresetOverlay>(), nullptr) << row.menuId;
        auto& dialog = *overlay<AddUserPresetOverlay>();
        auto* button = findChild<juce::Button> (dialog, row.menuId == 2 ? "Create preset" : "Overwrite preset");
        EXPECT_EQ (button->isEnabled(), row.menuId == 3) << row.typed;
        type (dialog, juce::String::fromUTF8 (row.typed));
        EXPECT_EQ (findChild<BetterTextEditor> (dialog)->getText(), row.field) << row.typed;
        EXPECT_EQ (button->isEnabled(), row.enabled) << row.typed;
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
    click (share, "Copy to Clipboard");
    EXPECT_EQ (desktop.text, code);
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

// The sensitivity slider is live in linear mode only; the mode reaches the knobs and the file.
TEST_F (EditorDialogs, SettingsModeEnablesSensitivityAndIsSaved)
{
    EXPECT_EQ (SettingsOverlay::createLatencyLine (90, 192000.0), "Processing-latency: 90 samples (0.469 ms)");
    juce::Slider knob;
    editor->sliders.add (&knob);
    editor->buttonClicked (&editor->settingsButton);
    auto& settings = *overlay<SettingsOverlay>();
    auto* sensitivity = findChild<juce::Slider> (settings);
    // Its value box is drawn in the dialog's colours (black on white), not JUCE's defaults.
    auto& skin = settings.getLookAndFeel();
    auto* box = findChild<juce::Label> (*sensitivity);
    EXPECT_EQ (box->findColour (juce::Label::textColourId), skin.findColour (juce::Slider::textBoxTextColourId));
    EXPECT_EQ (box->findColour (juce::Label::backgroundColourId), skin.findColour (juce::Slider::textBoxBackgroundColourId));
    for (const auto& [mode, linear, alpha] : { std::tuple { "Linear", true, 1.0f }, std::tuple { "Velocity based", false, 0.3f } })
    {
        click (settings, mode);
        EXPECT_EQ (sensitivity->isEnabled(), linear) << mode;
        EXPECT_NEAR (sensitivity->getAlpha(), alpha, 0.01f) << mode;
        sensitivity->setValue (1.0, juce::sendNotificationSync);
        deliverPostedMessages();
        editor->timerCallback();
        EXPECT_EQ (knob.getVelocityBasedMode(), ! linear) << mode;
        EXPECT_EQ (Product().getGlobalSettings().getParam (0)->getIntValue(), linear ? 1 : 0) << mode;
    }
    EXPECT_EQ (editor->getCurrentOverlay(), &settings);
}
} // namespace
