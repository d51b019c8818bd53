#include "formats/vst/VstEditorHolder.h"

#include "formats/vst/HostWindowEmbedding.h"
#include "formats/vst/VstProcessorWrapper.h"

namespace kelmora::vst
{
std::unique_ptr<VstEditorHolder> VstEditorHolder::create (VstProcessorWrapper& wrapper)
{
    auto* editor = wrapper.getProcessor().createEditorIfNeeded();
    if (editor == nullptr)
        return nullptr;

    return std::unique_ptr<VstEditorHolder> (new VstEditorHolder (wrapper, *editor));
}

VstEditorHolder::VstEditorHolder (VstProcessorWrapper& w, juce::AudioProcessorEditor& e)
    : wrapper (w), editor (&e)
{
    editor->setOpaque (true);
    addAndMakeVisible (editor);
    setSize (editor->getWidth(), editor->getHeight());
    setOpaque (true);
}

VstEditorHolder::~VstEditorHolder()
{
    removeFromHostWindow (*this, [this] {
        wrapper.getProcessor().editorBeingDeleted (editor);
        removeChildComponent (editor);
        delete editor;
    });
}

ERect VstEditorHolder::getHostRect() const
{
    return { 0, 0, (int16_t) getHeight(), (int16_t) getWidth() };
}

void VstEditorHolder::attachTo (void* parentWindow)
{
    embedInHostWindow (*this, parentWindow);
    attached = true;
}

void VstEditorHolder::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black);
}

void VstEditorHolder::childBoundsChanged (juce::Component* child)
{
    if (child != editor)
        return;

    setSize (editor->getWidth(), editor->getHeight());

    // Said to the host later, by a host call that holds nothing of ours.
    if (attached)
        wrapper.editorResized (getWidth(), getHeight());
}
} // namespace kelmora::vst
