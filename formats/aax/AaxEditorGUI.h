#pragma once

#include "formats/aax/AAX_CEffectGUI.h"
#include "formats/ModuleMessageLoop.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

namespace kelmora::aax
{
/** The AAX GUI of a processor effect: when the host hands it a view container it creates the
    processor's editor (through the effect) and, when the container is an X11 window, embeds the
    editor in it; a null container deletes the editor. Each call that works on the editor takes
    the module's message-thread role; the host's timer calls dispatch the editor's window events
    unless a host thread holds the role, and never wait for one. What the editor's work has for
    the host is said after the role is released, at the end of the call. Without a display no
    editor is made. */
class AaxEditorGUI : public AAX_CEffectGUI
{
public:
    /** The size answered without an editor (the product's editor). */
    static constexpr int defaultWidth = 406, defaultHeight = 242;

    AaxEditorGUI();
    ~AaxEditorGUI() override;

    /** Deletes the editor before the effect is given back. */
    AAX_Result Uninitialize() override;
    /** As the base does; an error when a container came but no editor could be made for it
        (no display to show it on). */
    AAX_Result SetViewContainer (IACFUnknown* viewContainer) override;
    AAX_Result GetViewSize (AAX_Point* size) const override;
    AAX_Result TimerWakeup() override;
    AAX_Result ParameterUpdated (const char* parameterID) override;

    /** The editor while a container is attached, or null. */
    juce::AudioProcessorEditor* getEditor() const noexcept;

protected:
    void CreateViewContents() override;
    void CreateViewContainer() override;
    void DeleteViewContainer() override;

private:
    class EditorHolder;
    void deleteEditor();
    /** Hands the effect's queued host calls to the host, outside the role. */
    void deliverHostCalls();

    // Declared first: JUCE outlives the editor.
    formats::ModuleMessageLoop::Shared messageLoop;
    std::unique_ptr<EditorHolder> holder;
};

/** The GUI factory handed to the host. */
IACFUnknown* createEditorGUI();
} // namespace kelmora::aax
