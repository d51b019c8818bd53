// The VST 2.4 adapter: the reference host's loader and effect wrapper, and a host window as the
// editor's frame.
#include "tools/validator/PluginInstance.h"
#include "core/ProductIdentity.h"
#include "tools/aaxhost/HostWindow.h"
#include "tools/vsthost/HostedEffect.h"

#include <mutex>

namespace kelmora::tools
{
namespace
{
class VstInstance : public PluginInstance
{
public:
    VstInstance (std::shared_ptr<VstPluginModule> m, std::unique_ptr<HostedEffect> e) : module (std::move (m)), effect (std::move (e))
    {
        effect->open();
    }

    ~VstInstance() override
    {
        closeEditor();
        effect.reset();   // closes the instance before the module may unload
    }

    std::string name() override { return effect->effectName(); }
    std::string vendor() override { return effect->vendorString(); }
    std::string identityProblems() override
    {
        std::string problems;
        if ((uint32_t) effect->uniqueId() != identity::productCode) problems += " unique id";
        if (effect->version() != identity::vstVersion || effect->vendorVersion() != identity::vstVersion) problems += " version";
        if (effect->numInputs() != 2 || effect->numOutputs() != 2) problems += " channels";
        return problems;
    }

    int numParameters() override { return effect->numParameters(); }
    std::string parameterName (int i) override { return effect->parameterName (i); }
    std::string parameterText (int i) override { return effect->parameterDisplay (i); }
    float getParameter (int i) override { return effect->getParameter (i); }
    void setParameter (int i, float v) override { effect->setParameter (i, v); }

    int numPrograms() override { return effect->numPrograms(); }
    void setProgram (int i) override { effect->setProgram (i); }
    std::string programName (int i) override { return effect->programNameIndexed (i); }

    void prepare (double rate, int maxBlock) override
    {
        effect->suspend();
        effect->start (rate, maxBlock);
    }
    void process (const float* const* in, float* const* out, int frames) override
    {
        effect->process (const_cast<float* const*> (in), out, frames);
    }
    int latency() override { return effect->latency(); }
    int tail() override { return effect->tailSize(); }
    bool setBypass (bool on) override { return effect->setBypass (on); }

    std::vector<uint8_t> saveState() override { return effect->getChunk(); }
    void restoreState (const std::vector<uint8_t>& s) override { effect->setChunk (s); }

    bool hasEditor() override { return (effect->record().flags & effFlagsHasEditor) != 0; }
    bool openEditor() override
    {
        std::lock_guard<std::mutex> l (windowLock);
        window = std::make_unique<HostWindow>();
        if (window->display == nullptr)
            return false;
        effect->dispatch (effEditOpen, 0, 0, reinterpret_cast<void*> (window->window));
        for (int i = 0; i < 4; ++i)
            effect->dispatch (effEditIdle);
        return true;
    }
    void closeEditor() override
    {
        std::lock_guard<std::mutex> l (windowLock);
        if (window != nullptr && window->display != nullptr)
            effect->dispatch (effEditClose);
        window.reset();
    }

private:
    std::shared_ptr<VstPluginModule> module;
    std::unique_ptr<HostedEffect> effect;
    std::mutex windowLock;
    std::unique_ptr<HostWindow> window;
};

class VstFormat : public PluginFormat
{
public:
    explicit VstFormat (std::shared_ptr<VstPluginModule> m) : module (std::move (m)) {}

    std::unique_ptr<PluginInstance> create() override
    {
        std::string error;
        auto effect = HostedEffect::create (*module, error);
        return effect != nullptr ? std::make_unique<VstInstance> (module, std::move (effect)) : nullptr;
    }

private:
    std::shared_ptr<VstPluginModule> module;
};
} // namespace

std::unique_ptr<PluginFormat> loadVst (const std::string& path, std::string& error)
{
    std::shared_ptr<VstPluginModule> module = VstPluginModule::load (path, error);
    return module != nullptr ? std::make_unique<VstFormat> (module) : nullptr;
}
} // namespace kelmora::tools
