#pragma once

#include "formats/vst/ModuleMessageLoop.h"
#include "platform/vst/VstInterface.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

namespace kelmora::vst
{
class VstProcessorWrapper;

/** The component that carries the processor's editor into the host's window. While it exists
    the host's UI thread is the message thread (its idle calls drive JUCE). Create, attach and
    delete it only on that thread, inside the editor opcodes. */
class VstEditorHolder : public juce::Component
{
public:
    /** Null when the processor has no editor. */
    static std::unique_ptr<VstEditorHolder> create (VstProcessorWrapper& wrapper);
    ~VstEditorHolder() override;

    /** The editor's size in the host's terms. */
    ERect getHostRect() const;
    /** Puts the editor into the host's window (an X11 window id on Linux). */
    void attachTo (void* parentWindow);
    /** Runs JUCE's pending messages (the host's idle call). */
    void dispatchPendingMessages() { turn.dispatchPending(); }

    void paint (juce::Graphics& g) override;
    void childBoundsChanged (juce::Component* child) override;

private:
    VstEditorHolder (VstProcessorWrapper& wrapper, juce::AudioProcessorEditor& editor);

    ModuleMessageLoop::HostTurn turn;
    VstProcessorWrapper& wrapper;
    juce::AudioProcessorEditor* editor;
    bool attached = false;
};
} // namespace kelmora::vst
