// The state text pasted into the editor.
#include "editor/KelmoraLabsEditor.h"
#include "fuzz/FuzzTargets.h"
#include "fuzz/ProcessorChecks.h"

namespace quietline::fuzz
{
namespace
{
struct TextClipboard : kelmora::editor::Clipboard, kelmora::editor::Launcher
{
    juce::String text;
    void copyText (const juce::String& t) override { text = t; }
    juce::String getText() override { return text; }
    bool openUrl (const juce::URL&) override { return false; }
};

struct Pasting
{
    Pasting() { editor.setDesktopSeams (clipboard, clipboard); }

    std::unique_ptr<Processor> target = prepared(), other = prepared();
    kelmora::editor::KelmoraLabsEditor editor { *target };
    TextClipboard clipboard;
};
} // namespace

void pastedStateText (const uint8_t* data, size_t size)
{
    // Deleted with JUCE's shutdown, as an editor must go before the message manager. Handed over
    // once made, so it goes before the JUCE singletons the editor made.
    static auto& pasting = []() -> Pasting&
    {
        struct Owner : juce::DeletedAtShutdown { std::unique_ptr<Pasting> pasting; };
        auto made = std::make_unique<Pasting>();
        // Held here too: where JUCE never shuts down (a fuzzing run), the leak check at exit
        // still finds it.
        static Owner* const owner = new Owner;
        return *(owner->pasting = std::move (made));
    }();
    // The bytes become the clipboard's text as JUCE's X11 clipboard makes it of a selection
    // (fromUTF8 copies them unchecked; this is the constructor it calls, without its assertion).
    // The editor's paste is where they are checked.
    const auto* bytes = reinterpret_cast<const char*> (data);
    pasting.clipboard.text = juce::String (juce::CharPointer_UTF8 (bytes), juce::CharPointer_UTF8 (bytes + size));
    pasting.editor.pasteStateFromClipboard();
    requireSound (*pasting.target, *pasting.other);

    // What the editor copies now, it pastes back unchanged.
    pasting.editor.copyStateToClipboard();
    const auto copied = pasting.clipboard.text;
    pasting.editor.pasteStateFromClipboard();
    pasting.editor.copyStateToClipboard();
    require (pasting.clipboard.text == copied, "a copied state text pastes back unchanged");
}
} // namespace quietline::fuzz
