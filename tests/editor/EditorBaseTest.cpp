// The editor base headless: its bar, its tick and its commands, on the product processor.
#include "EditorFixture.h"

#include "editor/UserPresetOverlays.h"

namespace
{
using namespace quietline::test;
using kelmora::editor::KelmoraLabsEditor;

struct HostDisplayCount : juce::AudioProcessorListener
{
    int changes = 0;
    void audioProcessorParameterChanged (juce::AudioProcessor*, int, float) override {}
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override { ++changes; }
};

using EditorBase = EditorFixture;

TEST_F (EditorBase, PresetBarFollowsTheBaseWidth)
{
    struct Row { int width, limit, box, help, about; };
    const Row rows[] = { { 406, -1, 136, 329, 379 }, { 300, -1, 30, 223, 273 }, { 600, -1, 214, 523, 573 },
                         { 600, 100, 100, 523, 573 } };
    for (const auto& row : rows)
    {
        TestEditor e (*processor, row.width);
        e.presetBoxWidthLimit = row.limit;
        e.resized();
        EXPECT_EQ (e.presetBox.getBounds(), juce::Rectangle<int> (66, 3, row.box, 22)) << row.width;
        EXPECT_EQ (juce::Point<int> (e.helpButton.getX(), e.aboutButton.getX()), juce::Point<int> (row.help, row.about)) << row.width;
        EXPECT_EQ (e.previousPresetButton.getX(), 67 + row.box) << row.width;
    }
    const std::pair<juce::Component*, int> at406[] = { { &editor->undoButton, 3 },      { &editor->redoButton, 28 },
                                                       { &editor->nextPresetButton, 203 }, { &editor->stateBButton, 241 },
                                                       { &editor->copyBToAButton, 278 }, { &editor->settingsButton, 354 } };
    for (const auto& [c, x] : at406)
        EXPECT_EQ (c->getX(), x);
    EXPECT_EQ (editor->nextPresetButton.getY(), 14);
}

TEST_F (EditorBase, TickShowsTheAbPairOfTheActiveStateAndEnablesItsButtons)
{
    struct Row { const char* what; std::function<void()> act; bool copyEnabled, statesEnabled, bShown; };
    const Row rows[] = {
        { "linked at start", [] {}, true, false, false },
        { "copied, equal", [this] { editor->buttonClicked (&editor->copyAToBButton); }, false, true, false },
        { "then edited", [this] { setValue (0, 23000.0); }, true, true, false },
        { "A's button switches to B", [this] { editor->buttonClicked (&editor->stateAButton); }, true, true, true },
        { "B's button switches back", [this] { editor->buttonClicked (&editor->stateBButton); }, true, true, false },
    };
    for (const auto& row : rows)
    {
        row.act();
        editor->timerCallback();
        EXPECT_EQ (editor->copyAToBButton.isEnabled(), row.copyEnabled) << row.what;
        EXPECT_EQ (editor->stateAButton.isEnabled(), row.statesEnabled) << row.what;
        EXPECT_EQ (editor->stateBButton.isVisible(), row.bShown) << row.what;
        EXPECT_EQ (editor->copyBToAButton.isVisible(), row.bShown) << row.what;
        EXPECT_NE (editor->stateAButton.isVisible(), row.bShown) << row.what;
        EXPECT_EQ (processor->getParamManager().isStateBActive(), row.bShown) << row.what;
    }
}

TEST_F (EditorBase, TickDescribesUndoAndRedoInTheirTooltips)
{
    setValue (0, 22000.0);
    editor->timerCallback();
    EXPECT_TRUE (editor->undoButton.isEnabled());
    EXPECT_FALSE (editor->redoButton.isEnabled());
    EXPECT_EQ (editor->undoButton.getTooltip(), "Change \"Frequency\" parameter value back to 21000 Hz");

    editor->buttonClicked (&editor->undoButton);
    editor->timerCallback();
    EXPECT_FALSE (editor->undoButton.isEnabled());
    EXPECT_EQ (editor->undoButton.getTooltip(), "");
    EXPECT_TRUE (editor->redoButton.getTooltip().contains ("Frequency")) << editor->redoButton.getTooltip();
}

TEST_F (EditorBase, TickSetsThePresetMenuFlagsAndArrows)
{
    struct Row { const char* what; std::function<void()> act; bool reset, overwrite, del, previous, next; };
    const Row rows[] = {
        { "factory default", [] {}, false, false, false, false, true },
        { "edited", [this] { setValue (1, 50.0); }, true, false, false, false, true },
        { "last factory preset, no user preset", [this] { controller.selectPreset (4); }, false, false, false, true, false },
        { "a user preset stored", [this] { controller.storeUserPresetInFreeSlot ("Mine"); }, false, true, true, true, false },
        { "back on the last factory preset", [this] { controller.selectPreset (4); }, false, false, false, true, true },
        { "an empty user slot", [this] { controller.selectPreset (7); }, false, true, false, true, false },
    };
    for (const auto& row : rows)
    {
        row.act();
        editor->timerCallback();
        const auto& box = editor->presetBox;
        EXPECT_TRUE (box.userPresetItemsShown) << row.what;
        EXPECT_EQ (box.resetEnabled, row.reset) << row.what;
        EXPECT_EQ (box.overwriteEnabled, row.overwrite) << row.what;
        EXPECT_EQ (box.deleteEnabled, row.del) << row.what;
        EXPECT_EQ (editor->previousPresetButton.isEnabled(), row.previous) << row.what;
        EXPECT_EQ (editor->nextPresetButton.isEnabled(), row.next) << row.what;
    }
}

TEST_F (EditorBase, PresetBoxSelectsByIdWhenNamesRepeat)
{
    controller.renamePreset (3, "Light");
    controller.selectPreset (3);
    editor->timerCallback();
    EXPECT_EQ (editor->presetBox.getSelectedId(), 4);
    EXPECT_EQ (editor->presetBox.getItemText (3), "Light");

    controller.storeUserPresetInFreeSlot ("Mine");
    editor->timerCallback();
    EXPECT_EQ (editor->presetBox.getSelectedId(), 6);
    EXPECT_TRUE (editor->presetBox.isItemEnabled (6));
    EXPECT_FALSE (editor->presetBox.isItemEnabled (7));
}

TEST_F (EditorBase, SettingsSavedByAnotherInstanceReachTheSliders)
{
    juce::Slider slider;
    editor->sliders.add (&slider);
    Product other;
    auto& settings = other.getGlobalSettings();
    const struct { int mode, sensitivity, pixels; } rows[] = { { 1, 1, 946 }, { 1, 100, 550 }, { 0, 200, 150 } };
    for (const auto& row : rows)
    {
        for (const int i : { 0, 1 })
            settings.getParam (i)->setNormalisedValue (settings.getParam (i)->valueToNormalised (i == 0 ? row.mode : row.sensitivity));
        ASSERT_TRUE (settings.save());
        clock.advance (1001);
        editor->timerCallback();
        EXPECT_EQ (slider.getMouseDragSensitivity(), row.pixels) << row.sensitivity;
        EXPECT_EQ (slider.getVelocityBasedMode(), row.mode == 0) << row.sensitivity;
    }
}

TEST_F (EditorBase, CopiesTheLiveValuesAsOneLine)
{
    editor->copyStateToClipboard();
    EXPECT_EQ (desktop.text, "<OrvelQuietline freqParam=\"21000\" slopeParam=\"75.0\" mixParam=\"100.0\" bypassParam=\"Off\"/>");
}

TEST_F (EditorBase, PasteLoadsOnlyThisProductsStateAsOneUndoStep)
{
    const struct { const char* text; bool loads; } rows[] = {
        { "Hi,\nhere it is: <OrvelQuietline freqParam=\"22000\" mixParam=\"50.0\"/>\n-- \nsignature", true },
        { "<orvelquietline freqparam=\"22000\" MIXPARAM=\"50.0\"/>", true },
        { "<KelmoraLabs freqParam=\"22000\" mixParam=\"50.0\"/>", true },
        { "<OrvelQuietlineQZ freqParam=\"22000\" mixParam=\"50.0\"/>", true },
        { "garbage", false },
        { "", false },
        { "<OrvelQuietline freqParam=\"nan\" mixParam=\"50.0\"/>", false },
        { "<OrvelQuietline freqParam=\"22000\" mixParam=\"-inf\"/>", false },
        { "<OrvelQuietline freqParam=\"22000\" mixParam=\"5", false },
        { "<OrvelQuietlineMk2 freqParam=\"22000\" mixParam=\"50.0\"/>", false },
        { "<KelmoraLabsOther freqParam=\"22000\" mixParam=\"50.0\"/>", false },
        { "<OrvelQuiet freqParam=\"22000\" mixParam=\"50.0\"/>", false },
    };
    const float freq = value (0), mix = value (2);
    for (const auto& row : rows)
    {
        desktop.text = row.text;
        const int undoBefore = controller.getUndoHistory().getNumUndoable();
        editor->pasteStateFromClipboard();
        EXPECT_EQ (processor->getParamManager().getParam (0)->getValueText(), row.loads ? "22000" : "21000") << row.text;
        EXPECT_EQ (processor->getParamManager().getParam (2)->getValueText(), row.loads ? "50.0" : "100.0") << row.text;
        EXPECT_EQ (controller.getUndoHistory().getNumUndoable(), undoBefore + (row.loads ? 1 : 0)) << row.text;
        if (controller.getUndoHistory().getNumUndoable() > undoBefore)
            controller.undo();
        EXPECT_EQ (value (0), freq) << row.text;
        EXPECT_EQ (value (2), mix) << row.text;
    }
}

TEST_F (EditorBase, ShortcutsCopyAndPasteWithCtrlOrCommand)
{
    using K = juce::ModifierKeys;
    const struct { int key, mods; bool handled; } rows[] = {
        { 'c', K::ctrlModifier, true }, { 'C', K::commandModifier, true }, { 'v', K::ctrlModifier, true },
        { 'V', K::ctrlModifier | K::shiftModifier, true }, { 'c', 0, false }, { 'x', K::ctrlModifier, false },
        { 'c', K::ctrlModifier | K::altModifier, false },
    };
    for (const auto& row : rows)
    {
        desktop.text = "unchanged";
        const bool handled = editor->keyPressed (juce::KeyPress (row.key, row.mods, 0), editor.get());
        EXPECT_EQ (handled, row.handled) << char (row.key) << row.mods;
        const bool copied = desktop.text != "unchanged";
        EXPECT_EQ (copied, row.handled && juce::CharacterFunctions::toUpperCase (juce::juce_wchar (row.key)) == 'C');
    }
}

TEST_F (EditorBase, MenuCommandsRevertOrOpenTheRightDialog)
{
    HostDisplayCount host;
    processor->addListener (&host);
    setValue (0, 24000.0);
    KelmoraLabsEditor::presetMenuCallback (1, editor.get());
    EXPECT_EQ (processor->getParamManager().getParam (0)->getValueText(), "21000");
    EXPECT_EQ (host.changes, 1);

    KelmoraLabsEditor::presetMenuCallback (2, editor.get());
    EXPECT_NE (overlay<kelmora::editor::AddUserPresetOverlay>(), nullptr);
    for (int i = 0; i < 5; ++i)
        ASSERT_GE (controller.storeUserPresetInFreeSlot ("P" + juce::String (i)), 0);
    KelmoraLabsEditor::presetMenuCallback (2, editor.get());
    EXPECT_NE (overlay<kelmora::editor::CannotCreatePresetOverlay>(), nullptr);
    processor->removeListener (&host);
}

TEST_F (EditorBase, MenuResultsWithoutALiveEditorDoNothing)
{
    juce::Component notAnEditor;
    desktop.text = "unchanged";
    juce::Component::SafePointer<juce::Component> gone (new TestEditor (*processor));
    delete gone.getComponent();
    const std::pair<int, juce::Component*> rows[] = { { 5, gone.getComponent() }, { 5, &notAnEditor }, { 0, editor.get() }, { 8, editor.get() } };
    for (const auto& [id, target] : rows)
        KelmoraLabsEditor::presetMenuCallback (id, target);
    EXPECT_EQ (desktop.text, "unchanged");
    EXPECT_EQ (editor->getCurrentOverlay(), nullptr);
}
} // namespace
