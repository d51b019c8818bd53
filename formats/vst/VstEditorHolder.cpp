#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include "formats/vst/VstEditorHolder.h"

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
    removeFromDesktop();
    wrapper.getProcessor().editorBeingDeleted (editor);
    removeChildComponent (editor);
    delete editor;
}

ERect VstEditorHolder::getHostRect() const
{
    return { 0, 0, (int16_t) getHeight(), (int16_t) getWidth() };
}

void VstEditorHolder::attachTo (void* parentWindow)
{
    setVisible (false);
    addToDesktop (0, parentWindow);

    if (auto* display = juce::XWindowSystem::getInstance()->getDisplay())
    {
        juce::X11Symbols::getInstance()->xReparentWindow (display, (::Window) getWindowHandle(),
                                                          (::Window) (uintptr_t) parentWindow, 0, 0);
        // The host moves and sizes its window right after this call: the server must know first.
        juce::X11Symbols::getInstance()->xFlush (display);
    }

    attached = true;
    setVisible (true);
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

    if (attached)
        wrapper.sizeWindow (getWidth(), getHeight());
}
} // namespace kelmora::vst
