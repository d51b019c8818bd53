// The editor base headless: its bar, its tick and its commands, on the product processor.
#include "EditorFixture.h"

#include "editor/BetterSlider.h"
#include "editor/UserPresetOverlays.h"

#include <cmath>

namespace
{
using namespace quietline::test;
using kelmora::editor::KelmoraLabsEditor;
using EditorBase = EditorFixture;

// In order, apart and inside the editor at any width; the preset box takes what the width
// leaves, up to the limit a product editor may set.
TEST_F (EditorBase, PresetBarFitsTheBaseWidth)
{
    int narrower = 0;
    for (const auto& [width, limit] : { std::pair { 300, -1 }, { 406, -1 }, { 600, -1 }, { 600, 100 } })
    {
        TestEditor e (*processor, width);
        e.presetBoxWidthLimit = limit;
        e.resized();
        const juce::Component* bar[] = { &e.undoButton,     &e.redoButton, &e.presetBox,      &e.previousPresetButton, &e.stateAButton,
                                         &e.copyAToBButton, &e.helpButton, &e.settingsButton, &e.aboutButton };
        for (size_t i = 1; i < std::size (bar); ++i)
            EXPECT_LT (bar[i - 1]->getRight(), bar[i]->getX()) << width << " " << i;
        EXPECT_LE (e.aboutButton.getRight(), width);
        EXPECT_TRUE (limit == -1 ? e.presetBox.getWidth() > narrower : e.presetBox.getWidth() == limit) << width << " " << limit;
        narrower = e.presetBox.getWidth();
    }
}

// What the tick shows: the copy button's enable, the state buttons' enable, which pair shows, and
// the undo and redo buttons, enabled with a tooltip saying what they would do.
TEST_F (EditorBase, TickShowsTheAbPairAndUndoAndRedo)
{
    const struct { std::function<void()> act; const char* shown; const char* undo; const char* redo; } rows[] = {
        { [] {}, "copy+ states- A", "", "" }, // linked at start
        { [this] { setValue (0, 22000.0); }, "copy+ states- A", "Change \"Frequency\" parameter value back to 21000 Hz", "" },
        { [this] { editor->buttonClicked (&editor->undoButton); }, "copy+ states- A", "", "Change \"Frequency\" parameter value back to 22000 Hz" },
        { [this] { editor->buttonClicked (&editor->copyAToBButton); }, "copy- states+ A", "Revert A>B to initial state", "" }, // copied, equal
        { [this] { setValue (0, 23000.0); }, "copy+ states+ A", "Change \"Frequency\" parameter value back to 21000 Hz", "" },
        { [this] { editor->buttonClicked (&editor->stateAButton); }, "copy+ states+ B", "Restore A/B back to A", "" },
        { [this] { editor->buttonClicked (&editor->stateBButton); }, "copy+ states+ A", "Restore A/B back to B", "" },
    };
    for (const auto& row : rows)
    {
        row.act();
        editor->timerCallback();
        const bool b = processor->getParamManager().isStateBActive();
        EXPECT_EQ (juce::String ("copy") + (editor->copyAToBButton.isEnabled() ? "+" : "-") + " states" + (editor->stateAButton.isEnabled() ? "+" : "-")
                       + (b ? " B" : " A"), row.shown);
        EXPECT_TRUE (editor->stateBButton.isVisible() == b && editor->copyBToAButton.isVisible() == b && editor->stateAButton.isVisible() != b) << row.shown;
        for (const auto& [button, tooltip] : { std::pair { &editor->undoButton, row.undo }, { &editor->redoButton, row.redo } })
            EXPECT_TRUE (button->getTooltip() == tooltip && button->isEnabled() == (*tooltip != 0)) << row.shown << " " << button->getTooltip();
    }
}

// The box selects by id, since names can repeat.
TEST_F (EditorBase, TickSetsThePresetMenuFlagsArrowsAndSelection)
{
    struct Row { const char* what; std::function<void()> act; bool reset, overwrite, del, previous, next; int selected; };
    const Row rows[] = {
        { "factory default", [] {}, false, false, false, false, true, 1 },
        { "edited", [this] { setValue (1, 50.0); }, true, false, false, false, true, 1 },
        { "a renamed preset whose name repeats", [this] { controller.renamePreset (3, "Light"); controller.selectPreset (3); }, true, false, false, true, true, 4 },
        { "last factory preset, no user preset", [this] { controller.selectPreset (4); }, false, false, false, true, false, 5 },
        { "a user preset stored", [this] { controller.storeUserPresetInFreeSlot ("Mine"); }, false, true, true, true, false, 6 },
        { "back on the last factory preset", [this] { controller.selectPreset (4); }, false, false, false, true, true, 5 },
        { "an empty user slot", [this] { controller.selectPreset (7); }, false, true, false, true, false, 8 },
    };
    for (const auto& row : rows)
    {
        row.act();
        editor->timerCallback();
        const auto& box = editor->presetBox;
        EXPECT_TRUE (box.userPresetItemsShown) << row.what;
        EXPECT_EQ (std::make_tuple (box.resetEnabled, box.overwriteEnabled, box.deleteEnabled), std::make_tuple (row.reset, row.overwrite, row.del)) << row.what;
        EXPECT_EQ (editor->previousPresetButton.isEnabled(), row.previous) << row.what;
        EXPECT_EQ (editor->nextPresetButton.isEnabled(), row.next) << row.what;
        EXPECT_EQ (box.getSelectedId(), row.selected) << row.what;
    }
}

TEST_F (EditorBase, SettingsSavedByAnotherInstanceReachTheSliders)
{
    juce::Slider slider;
    editor->sliders.add (&slider);
    Product other;
    auto& settings = other.getGlobalSettings();
    for (const auto& [mode, sensitivity, pixels] : { std::tuple { 1, 1, 946 }, std::tuple { 1, 100, 550 }, std::tuple { 0, 200, 150 } })
    {
        settings.getParam (0)->setNormalisedValue (settings.getParam (0)->valueToNormalised (mode));
        settings.getParam (1)->setNormalisedValue (settings.getParam (1)->valueToNormalised (sensitivity));
        ASSERT_TRUE (settings.save());
        clock.advance (1001);
        editor->timerCallback();
        EXPECT_EQ (slider.getMouseDragSensitivity(), pixels) << sensitivity;
        EXPECT_EQ (slider.getVelocityBasedMode(), mode == 0) << sensitivity;
    }
}

// In linear mode a drag moves a value box by the pointer's travel over the sensitivity's pixels,
// and a press alone moves nothing; velocity mode goes by the pointer's speed, as it always did.
TEST_F (EditorBase, LinearDragsMoveByTheTravelOverTheSensitivitysPixels)
{
    using quietline::test::mouseAt;
    kelmora::core::ParamList* params = &processor->getParamManager();
    const auto velocityStep = 0.2 * (1.0 + std::sin (juce::MathConstants<double>::pi * (1.5 + 0.02 + 1.0 / 200)));
    const struct { int mode, sensitivity; bool editable; double moved; } rows[] = {
        { 1, 1, true, 2.0 / 946 },  { 1, 100, true, 2.0 / 550 },  { 1, 200, true, 2.0 / 150 },
        { 1, 1, false, 2.0 / 946 }, { 1, 200, false, 2.0 / 150 }, // a press on a read-only box drags too
        { 0, 100, true, velocityStep }, { 0, 100, false, velocityStep },
    };
    for (const auto& row : rows)
    {
        kelmora::editor::BetterSlider slider;
        slider.setSliderStyle (juce::Slider::LinearBarVertical);
        slider.setTextBoxStyle (juce::Slider::TextBoxBelow, true, 54, 17);
        slider.attachToParameter (&params, Product::mixParam);
        slider.setSize (54, 22);
        slider.setTextBoxIsEditable (row.editable);
        slider.setValue (0.25, juce::dontSendNotification);
        editor->sliders.add (&slider);
        editor->applySliderSettings (row.mode, row.sensitivity);
        editor->sliders.removeAllInstancesOf (&slider);

        slider.mouseDown (mouseAt (slider, { 27.0f, 20.0f }));
        EXPECT_EQ (slider.getValue(), 0.25) << row.mode << " " << row.sensitivity << " " << row.editable;
        slider.mouseDrag (mouseAt (slider, { 27.0f, 18.0f }, {}, nullptr, true));
        slider.mouseUp (mouseAt (slider, { 27.0f, 18.0f }, {}, nullptr, true));
        EXPECT_NEAR (slider.getValue() - 0.25, row.moved, 1e-9) << row.mode << " " << row.sensitivity << " " << row.editable;
    }
}

// A value that does not read (non-finite among them) leaves its parameter as it was.
TEST_F (EditorBase, CopiesTheLiveValuesAsOneLineAndPastesOnlyThisProductsStateAsOneUndoStep)
{
    editor->copyStateToClipboard();
    EXPECT_EQ (desktop.text, "<OrvelQuietline freqParam=\"21000\" slopeParam=\"75.0\" mixParam=\"100.0\" bypassParam=\"Off\"/>");
    setValue (0, 23000.0);

    const struct { const char* text; const char* values; } rows[] = {
        { "Hi,\nhere it is: <OrvelQuietline freqParam=\"22000\" mixParam=\"50.0\"/>\n-- \nsignature", "22000 50.0" },
        { "<orvelquietline freqparam=\"22000\" MIXPARAM=\"50.0\"/>", "22000 50.0" },
        { "<KelmoraLabs freqParam=\"22000\" mixParam=\"50.0\"/>", "22000 50.0" },
        { "<OrvelQuietlineQZ freqParam=\"22000\" mixParam=\"50.0\"/>", "22000 50.0" },
        { "<OrvelQuietline freqParam=\"nan\" mixParam=\"50.0\"/>", "23000 50.0" },
        { "<OrvelQuietline freqParam=\"1e999\" mixParam=\"50.0\"/>", "23000 50.0" },
        { "<OrvelQuietline freqParam=\"fast\" mixParam=\"-inf\"/>", "23000 100.0" },
        { "garbage", nullptr },
        { "<OrvelQuietline freqParam=\"22000\" mixParam=\"5", nullptr },
        { "<OrvelQuietli freqParam=\"22000\" mixParam=\"50.0\"/>", nullptr },
        { "<OrvelQuietlineMk2 freqParam=\"22000\" mixParam=\"50.0\"/>", nullptr },
        { "<KelmoraLabsOther freqParam=\"22000\" mixParam=\"50.0\"/>", nullptr },
    };
    auto& params = processor->getParamManager();
    const auto values = [&] { return params.getParam (0)->getValueText() + " " + params.getParam (2)->getValueText(); };
    for (const auto& row : rows)
    {
        desktop.text = row.text;
        const int undoBefore = controller.getUndoHistory().getNumUndoable();
        editor->pasteStateFromClipboard();
        EXPECT_EQ (values(), row.values != nullptr ? row.values : "23000 100.0") << row.text;
        EXPECT_EQ (controller.getUndoHistory().getNumUndoable(), undoBefore + (row.values != nullptr ? 1 : 0)) << row.text;
        if (row.values != nullptr)
            controller.undo();
        EXPECT_EQ (values(), "23000 100.0") << row.text;
    }
}

// The desktop hands over whatever bytes were copied, as a string JUCE made of them unchecked.
// Text up to a NUL is read on its own; text that is not UTF-8 loads nothing, and well-formed
// non-ASCII text around a state still pastes.
TEST_F (EditorBase, PastesClipboardBytesOnlyWhenTheyAreUtf8UpToTheFirstNul)
{
    setValue (0, 23000.0);
    const std::string state = "<OrvelQuietline freqParam=\"22000\" mixParam=\"50.0\"/>", nul (1, '\0');
    const struct { std::string bytes; bool loads; } rows[] = {
        { "o<KelmoraLabs-ar\x80\x80\x80/\x80moe", false },
        { "\x80" + state, false }, // a lone continuation byte
        { state + "\xc0\x80 and more", false }, // an overlong NUL
        { state + " \xe2\x82", false }, // cut off at the end
        { state + " \xed\xa0\x80", false }, // a surrogate
        { state + " \xf4\x90\x80\x80", false }, // above U+10FFFF
        { "<OrvelQuietline freqParam=\"22000\"" + nul + " mixParam=\"50.0\"/>", false },
        { state + nul + "\x80\xff", true },
        { "Gr\xc3\xbc\xc3\x9f\x65 \xe2\x80\x94 " + state + " \xf0\x9f\x8e\xb5", true },
    };
    auto& params = processor->getParamManager();
    const auto values = [&] { return params.getParam (0)->getValueText() + " " + params.getParam (2)->getValueText(); };
    for (const auto& row : rows)
    {
        desktop.text = juce::String (juce::CharPointer_UTF8 (row.bytes.data()), juce::CharPointer_UTF8 (row.bytes.data() + row.bytes.size()));
        const int undoBefore = controller.getUndoHistory().getNumUndoable();
        editor->pasteStateFromClipboard();
        EXPECT_EQ (values(), row.loads ? "22000 50.0" : "23000 100.0") << &row - rows;
        EXPECT_EQ (controller.getUndoHistory().getNumUndoable(), undoBefore + (row.loads ? 1 : 0)) << &row - rows;
        if (row.loads)
            controller.undo();
    }
}

TEST_F (EditorBase, ShortcutsCopyAndPasteWithCtrlOrCommand)
{
    using K = juce::ModifierKeys;
    const std::tuple<int, int, bool, bool> rows[] = { { 'c', K::ctrlModifier, true, true }, { 'C', K::commandModifier, true, true },
                                                      { 'V', K::ctrlModifier | K::shiftModifier, false, true }, { 'c', 0, false, false },
                                                      { 'x', K::ctrlModifier, false, false }, { 'c', K::ctrlModifier | K::altModifier, false, false } };
    for (const auto& [key, mods, copies, handled] : rows)
    {
        desktop.text = "unchanged";
        EXPECT_EQ (editor->keyPressed (juce::KeyPress (key, mods, 0), editor.get()), handled) << char (key) << mods;
        EXPECT_EQ (desktop.text != "unchanged", copies) << char (key) << mods;
    }
}

// Creating a preset with every user slot in use says so instead.
TEST_F (EditorBase, MenuCommandsRevertOrSayTheSlotsAreFullAndNeedALiveEditor)
{
    HostSpy host;
    processor->addListener (&host);
    setValue (0, 24000.0);
    KelmoraLabsEditor::presetMenuCallback (1, editor.get());
    EXPECT_EQ (processor->getParamManager().getParam (0)->getValueText(), "21000");
    EXPECT_EQ (host.changes, 1);
    processor->removeListener (&host);

    juce::Component notAnEditor;
    juce::Component::SafePointer<juce::Component> gone (new TestEditor (*processor));
    delete gone.getComponent();
    for (const auto& [id, target] : { std::pair<int, juce::Component*> { 2, gone.getComponent() }, { 2, &notAnEditor }, { 0, editor.get() }, { 8, editor.get() } })
        KelmoraLabsEditor::presetMenuCallback (id, target);
    EXPECT_EQ (editor->getCurrentOverlay(), nullptr);

    for (int i = 0; i < 5; ++i)
        ASSERT_GE (controller.storeUserPresetInFreeSlot ("P" + juce::String (i)), 0);
    KelmoraLabsEditor::presetMenuCallback (2, editor.get());
    EXPECT_NE (overlay<kelmora::editor::CannotCreatePresetOverlay>(), nullptr);
}
} // namespace
