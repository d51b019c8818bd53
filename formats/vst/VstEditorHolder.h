#pragma once

#include "platform/vst/VstInterface.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

namespace kelmora::vst
{
class VstProcessorWrapper;

/** The component that carries the processor's editor into the host's window. Create, attach
    and delete it only with the module's message-thread role held, inside the editor opcodes. */
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
    void paint (juce::Graphics& g) override;
    void childBoundsChanged (juce::Component* child) override;

private:
    VstEditorHolder (VstProcessorWrapper& wrapper, juce::AudioProcessorEditor& editor);

    VstProcessorWrapper& wrapper;
    juce::AudioProcessorEditor* editor;
    bool attached = false;
};
} // namespace kelmora::vst
