#pragma once

#include "editor/KelmoraLabsEditor.h"
#include "EditorTestSupport.h"

#include "core/PresetTestProduct.h"
#include "dsp/KelmoraLabsTemplateAudioProcessor.h"
#include "support/ManualClock.h"
#include "support/TempHome.h"

#include <map>

namespace quietline::test
{
using Product = kelmora::dsp::KelmoraLabsTemplateAudioProcessor;

/** The editor base as a product editor would use it, with its parts reachable. */
struct TestEditor : kelmora::editor::KelmoraLabsEditor
{
    explicit TestEditor (Product& p, int width = 406) : KelmoraLabsEditor (p)
    {
        baseWidth = width;
        baseHeight = 242;
        setSize (width, 242);
    }
    using KelmoraLabsEditor::aboutButton, KelmoraLabsEditor::copyAToBButton, KelmoraLabsEditor::copyBToAButton,
        KelmoraLabsEditor::helpButton, KelmoraLabsEditor::nextPresetButton, KelmoraLabsEditor::presetBox,
        KelmoraLabsEditor::presetBoxWidthLimit, KelmoraLabsEditor::previousPresetButton, KelmoraLabsEditor::redoButton,
        KelmoraLabsEditor::settingsButton, KelmoraLabsEditor::sliders, KelmoraLabsEditor::stateAButton,
        KelmoraLabsEditor::stateBButton, KelmoraLabsEditor::undoButton;
};

/** Clipboard and launcher standing in for the desktop. */
struct FakeDesktop : kelmora::editor::Clipboard, kelmora::editor::Launcher
{
    juce::String text;
    juce::Array<juce::URL> opened;
    void copyText (const juce::String& t) override { text = t; }
    juce::String getText() override { return text; }
    bool openUrl (const juce::URL& url) override { opened.add (url); return true; }
};

/** An editor on a product in its own HOME, with a clock the test moves. */
struct EditorFixture : ::testing::Test
{
    EditorFixture() { editor->setDesktopSeams (desktop, desktop); }

    ManualClock clock;
    ScopedClockOverride clockOverride { clock };
    TempHome home;
    std::unique_ptr<Product> processor = std::make_unique<Product>();
    kelmora::core::PresetController& controller = processor->getPresetController();
    FakeDesktop desktop;
    std::unique_ptr<TestEditor> editor = std::make_unique<TestEditor> (*processor);

    float value (int index) const { return processor->getParamManager().getParam (index)->getNormalisedValue(); }
    void setValue (int index, double real)
    {
        controller.setParameterFromUi (index, processor->getParamManager().getParam (index)->valueToNormalised (real));
    }
    template <typename T> T* overlay() const { return dynamic_cast<T*> (editor->getCurrentOverlay()); }

    /** The user-preset file's live entries: slot -> name. */
    static std::map<int, juce::String> userFile() { return PresetTestProduct::liveEntriesInFile(); }
};

/** The first child (at any depth) of type T, optionally with the given button text. */
template <typename T>
T* findChild (juce::Component& parent, const juce::String& text = {})
{
    for (auto* c : parent.getChildren())
    {
        if (auto* t = dynamic_cast<T*> (c))
        {
            if constexpr (std::is_base_of_v<juce::Button, T>)
            {
                if (text.isEmpty() || t->getButtonText() == text)
                    return t;
            }
            else
                return t;
        }
        if (auto* found = findChild<T> (*c, text))
            return found;
    }
    return nullptr;
}
} // namespace quietline::test
