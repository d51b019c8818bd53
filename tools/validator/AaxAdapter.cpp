// The AAX adapter: the reference AAX host, one per instance (it answers for one effect), and
// one module description shared by all.
#include "tools/validator/PluginInstance.h"
#include "core/ProductIdentity.h"
#include "formats/aax/AAX_CEffectParameters.h"
#include "formats/aax/AAX_CString.h"
#include "platform/aax/AAX_IACFEffectGUI.h"
#include "tools/aaxhost/AaxModule.h"
#include "tools/aaxhost/HostWindow.h"

#include <mutex>

namespace kelmora::tools
{
namespace
{
using namespace aaxhost;
constexpr AAX_ChunkID chunks[] = { kelmora::aax::AAX_CEffectParameters::controlsChunkID, kAAXChunk_ProcessorState };

struct AaxModuleDescription
{
    explicit AaxModuleDescription (const std::string& path) : module (path) {}
    ~AaxModuleDescription()
    {
        if (module.loaded())
            module.shutdown (host.unknown());
    }
    const DescribedEffect& effect() const { return host.state->description.effects.at (0); }

    AaxModule module;
    AaxHost host;
};

class AaxInstance : public PluginInstance
{
public:
    explicit AaxInstance (std::shared_ptr<AaxModuleDescription> d) : description (std::move (d)) { rebuild(); }

    ~AaxInstance() override
    {
        closeEditor();
        instance.reset();
        if (host.hostUnknown->effect != nullptr)
            std::exchange (host.hostUnknown->effect, nullptr)->Release();
    }

    std::string name() override { return description->effect().name; }
    std::string vendor() override { return description->host.state->description.manufacturer; }
    std::string identityProblems() override
    {
        const auto& d = *description->host.state;
        std::string problems;
        if (d.description.version != (uint32_t) identity::versionNumber) problems += " version";
        if (d.description.effects.size() != 1 || description->effect().components.size() != 2) problems += " components";
        for (const auto& c : description->effect().components)
            if (c.properties.at (kAAXProperty_ProductID) != (int32_t) identity::productCode
                || c.properties.at (kAAXProperty_ManufacturerID) != (int32_t) identity::makerCode)
                problems += " codes";
        if (instance->initResult != kAAXSuccess) problems += " initialisation";
        return problems;
    }

    int numParameters() override { return (int) ids.size(); }
    std::string parameterName (int i) override { const Lock l (hostLock); return text ([&] (auto* s) { instance->effect->GetParameterName (id (i).c_str(), s); }); }
    std::string parameterText (int i) override { const Lock l (hostLock); return text ([&] (auto* s) { instance->effect->GetParameterValueString (id (i).c_str(), s, 32); }); }
    float getParameter (int i) override { const Lock l (hostLock); return (float) instance->value (id (i).c_str()); }
    void setParameter (int i, float v) override { const Lock l (hostLock); instance->effect->SetParameterNormalizedValue (id (i).c_str(), v); }

    // AAX has no programs.
    int numPrograms() override { return 0; }
    void setProgram (int) override {}
    std::string programName (int) override { return {}; }

    /** The rate reaches an AAX effect only at initialisation: a new instance with the same state. */
    void prepare (double rate, int) override
    {
        const Lock l (hostLock);
        const auto state = saveState();
        host.state->sampleRate = (float) rate;
        rebuild();
        restoreState (state);
    }
    void process (const float* const* in, float* const* out, int frames) override
    {
        {
            const Lock l (hostLock);
            instance->dispatchPackets();
        }
        instance->render (const_cast<float* const*> (in), out, frames);
    }
    int latency() override
    {
        const Lock l (hostLock);
        const auto reported = host.log().calls ("controller", 10);
        return reported.empty() ? -1 : std::stoi (reported.back().args[0]);
    }
    /** AAX reports no tail; a host plays on for the delay it reports. */
    int tail() override { return latency(); }
    bool setBypass (bool on) override { const Lock l (hostLock); return instance->effect->SetParameterNormalizedValue ("MasterBypassID", on ? 1.0 : 0.0) == kAAXSuccess; }

    /** Both chunk records, one after the other. */
    std::vector<uint8_t> saveState() override
    {
        const Lock l (hostLock);
        std::vector<uint8_t> all;
        for (AAX_ChunkID chunk : chunks)
        {
            const auto record = instance->saveChunk (chunk);
            all.insert (all.end(), record.begin(), record.end());
        }
        return all;
    }
    void restoreState (const std::vector<uint8_t>& all) override
    {
        const Lock l (hostLock);
        for (size_t at = 0; at + kelmora::aax::kChunkRecordHeaderSize <= all.size();)
        {
            const auto* record = reinterpret_cast<const kelmora::aax::ChunkRecord*> (all.data() + at);
            instance->effect->SetChunk (record->chunkID, record);
            at += kelmora::aax::kChunkRecordHeaderSize + (size_t) record->size;
        }
    }

    bool hasEditor() override { return description->effect().procedures.count (kAAXProc_CreateEffectGUI) > 0; }
    /** As a host does: a GUI object on the effect, given a window, then a few timer calls. */
    bool openEditor() override
    {
        const Lock l (hostLock);
        closeEditor();
        window = std::make_unique<HostWindow>();
        guiObject = makeObject (description->effect(), kAAXProc_CreateEffectGUI);
        gui = kelmora::aax::QueryHostInterface<AAX_IACFEffectGUI> (guiObject, kAAXID_EffectGUI);
        if (window->display == nullptr || gui == nullptr || gui->Initialize (host.unknown()) != kAAXSuccess)
            return closeEditor(), false;
        auto* container = new HostViewContainer (host.state, kAAXViewContainer_X11Window, reinterpret_cast<void*> (window->window));
        gui->SetViewContainer (container);
        container->Release();
        for (int i = 0; i < 4; ++i)
            gui->TimerWakeup();
        return true;
    }
    void closeEditor() override
    {
        const Lock l (hostLock);
        if (gui != nullptr)
            gui->SetViewContainer (nullptr), gui->Uninitialize();
        kelmora::aax::ReleaseHostInterface (gui);
        if (guiObject != nullptr)
            std::exchange (guiObject, nullptr)->Release();
        window.reset();
    }

private:
    void rebuild()
    {
        closeEditor();   // the editor belongs to the effect that goes
        instance.reset();
        host.log().clear();
        instance = std::make_unique<HostedInstance> (host, makeObject (description->effect(), kAAXProc_CreateEffectParameters),
                                                     description->effect().components.at (1));

        // The host's own bypass is no parameter of the plug-in's state (setBypass drives it).
        int32_t count = 0;
        instance->effect->GetNumberOfParameters (&count);
        const auto bypass = text ([&] (auto* s) { instance->effect->GetMasterBypassParameter (s); });
        ids.clear();
        for (int32_t i = 0; i < count; ++i)
            if (auto parameter = text ([&] (auto* s) { instance->effect->GetParameterIDFromIndex (i, s); }); parameter != bypass)
                ids.push_back (parameter);
    }

    const std::string& id (int index) const { return ids.at ((size_t) index); }

    template <class Fill>
    static std::string text (Fill fill)
    {
        kelmora::aax::AAX_CString s;
        fill (&s);
        return s.Get();
    }

    using Lock = std::lock_guard<std::recursive_mutex>;
    // The host records calls unguarded, so host-side calls take turns, as they do on an AAX
    // host's main thread; only the render runs beside them.
    std::recursive_mutex hostLock;
    std::shared_ptr<AaxModuleDescription> description;
    AaxHost host;
    std::unique_ptr<HostedInstance> instance;
    std::vector<std::string> ids;
    std::unique_ptr<HostWindow> window;
    IACFUnknown* guiObject = nullptr;
    AAX_IACFEffectGUI* gui = nullptr;
};

class AaxFormat : public PluginFormat
{
public:
    explicit AaxFormat (std::shared_ptr<AaxModuleDescription> d) : description (std::move (d)) {}
    std::unique_ptr<PluginInstance> create() override { return std::make_unique<AaxInstance> (description); }

private:
    std::shared_ptr<AaxModuleDescription> description;
};
} // namespace

std::unique_ptr<PluginFormat> loadAax (const std::string& path, std::string& error)
{
    auto description = std::make_shared<AaxModuleDescription> (path);
    if (! description->module.loaded() || description->module.describe (description->host) != kAAXSuccess
        || description->host.state->description.effects.empty())
    {
        error = "the module does not describe an effect to the reference AAX host";
        return nullptr;
    }
    return std::make_unique<AaxFormat> (description);
}
} // namespace kelmora::tools
