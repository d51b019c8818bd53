// The VST 2.4 adapter: the reference host's loader and effect wrapper, plus an X window for the
// editor.
#include "tools/validator/PluginInstance.h"
#include "core/ProductIdentity.h"
#include "tools/vsthost/HostedEffect.h"

#include <X11/Xlib.h>

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
        if (display == nullptr && (display = XOpenDisplay (nullptr)) == nullptr)
            return false;
        window = XCreateSimpleWindow (display, DefaultRootWindow (display), 0, 0, 800, 600, 0, 0, 0);
        XMapWindow (display, window);
        XFlush (display);
        effect->dispatch (effEditOpen, 0, 0, reinterpret_cast<void*> (window));
        for (int i = 0; i < 4; ++i)
            effect->dispatch (effEditIdle);
        return true;
    }
    void closeEditor() override
    {
        std::lock_guard<std::mutex> l (windowLock);
        if (display == nullptr)
            return;
        if (window != 0)
        {
            effect->dispatch (effEditClose);
            XDestroyWindow (display, window);
            window = 0;
        }
        XCloseDisplay (display);
        display = nullptr;
    }

private:
    std::shared_ptr<VstPluginModule> module;
    std::unique_ptr<HostedEffect> effect;
    std::mutex windowLock;
    Display* display = nullptr;
    Window window = 0;
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
