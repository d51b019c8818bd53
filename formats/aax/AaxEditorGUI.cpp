#include "formats/aax/AaxEditorGUI.h"

#include "formats/aax/AaxProcessorEffect.h"
#include "formats/vst/HostWindowEmbedding.h"
#include "platform/aax/AAXConstants.h"

namespace kelmora::aax
{
/** Carries the editor; deleting it hands the editor back to the processor and deletes it. */
class AaxEditorGUI::EditorHolder : public juce::Component
{
public:
    EditorHolder (juce::AudioProcessor& p, juce::AudioProcessorEditor& e) : processor (p), editor (&e)
    {
        editor->setOpaque (true);
        addAndMakeVisible (editor);
        setSize (editor->getWidth(), editor->getHeight());
        setOpaque (true);
    }

    ~EditorHolder() override
    {
        vst::removeFromHostWindow (*this, [this] {
            processor.editorBeingDeleted (editor);
            removeChildComponent (editor);
            delete editor;
        });
    }

    juce::AudioProcessorEditor* getEditor() const noexcept { return editor; }

    void paint (juce::Graphics& g) override { g.fillAll (juce::Colours::black); }

    void childBoundsChanged (juce::Component* child) override
    {
        if (child == editor)
            setSize (editor->getWidth(), editor->getHeight());
    }

private:
    juce::AudioProcessor& processor;
    juce::AudioProcessorEditor* editor;
};

AaxEditorGUI::AaxEditorGUI() = default;

AaxEditorGUI::~AaxEditorGUI()
{
    deleteEditor();
}

void AaxEditorGUI::deleteEditor()
{
    if (holder == nullptr)
        return;

    const formats::ModuleMessageLoop::Role role;
    holder.reset();
}

AAX_Result AaxEditorGUI::Uninitialize()
{
    deleteEditor();
    return AAX_CEffectGUI::Uninitialize();
}

AAX_Result AaxEditorGUI::SetViewContainer (IACFUnknown* container)
{
    const AAX_Result result = AAX_CEffectGUI::SetViewContainer (container);
    const AAX_Result answer = result == kAAXSuccess && container != nullptr && holder == nullptr ? kAAXNotSupported : result;
    deliverHostCalls();
    return answer;
}

void AaxEditorGUI::deliverHostCalls()
{
    if (auto* effect = dynamic_cast<AaxProcessorEffect*> (GetEffectParameters()))
        effect->deliverHostCalls();
}

void AaxEditorGUI::CreateViewContents() {}

void AaxEditorGUI::CreateViewContainer()
{
    try
    {
        const formats::ModuleMessageLoop::Role role;
        holder.reset();
        auto* effect = dynamic_cast<AaxProcessorEffect*> (GetEffectParameters());
        if (effect == nullptr)
            return;

        if (! formats::ModuleMessageLoop::connectToDisplay())
            return;

        auto& processor = effect->getProcessor();
        auto* editor = processor.createEditorIfNeeded();
        if (editor == nullptr)
            return;

        holder = std::make_unique<EditorHolder> (processor, *editor);

        // The one native view kind here; other containers keep the editor off screen.
        if (GetViewContainerType() == kAAXViewContainer_X11Window && GetViewContainerPtr() != nullptr)
            vst::embedInHostWindow (*holder, GetViewContainerPtr());
    }
    catch (...)
    {
        deleteEditor();
    }
}

void AaxEditorGUI::DeleteViewContainer()
{
    deleteEditor();
}

juce::AudioProcessorEditor* AaxEditorGUI::getEditor() const noexcept
{
    return holder != nullptr ? holder->getEditor() : nullptr;
}

AAX_Result AaxEditorGUI::GetViewSize (AAX_Point* size) const
{
    if (size == nullptr)
        return kAAXNullObject;

    const auto* editor = getEditor();
    size->horizontal = (float) (editor != nullptr ? editor->getWidth() : defaultWidth);
    size->vertical = (float) (editor != nullptr ? editor->getHeight() : defaultHeight);
    return kAAXSuccess;
}

AAX_Result AaxEditorGUI::TimerWakeup()
{
    {
        // Never waits for a host thread: when one does message-thread work, there is nothing to do now.
        // Any open editor's timer serves every editor's window events.
        formats::ModuleMessageLoop::Role role (formats::ModuleMessageLoop::Role::Mode::idle);
        if (role.isHeld() && holder != nullptr)
            role.dispatchPending();
    }

    // Last: the host may release this GUI or its effect from inside a callback.
    deliverHostCalls();
    return kAAXSuccess;
}

AAX_Result AaxEditorGUI::ParameterUpdated (const char*)
{
    // The editor follows the processor itself; the host's notice only asks for a fresh look,
    // which can wait when a host thread does message-thread work.
    const formats::ModuleMessageLoop::Role role (formats::ModuleMessageLoop::Role::Mode::idle);
    if (auto* editor = role.isHeld() ? getEditor() : nullptr)
        editor->repaint();
    return kAAXSuccess;
}

IACFUnknown* createEditorGUI()
{
    try
    {
        auto* gui = new AaxEditorGUI();
        gui->AddRef();
        return static_cast<AAX_IACFEffectGUI*> (gui);
    }
    catch (...)
    {
        return nullptr;
    }
}
} // namespace kelmora::aax
