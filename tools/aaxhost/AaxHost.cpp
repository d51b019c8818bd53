#include "tools/aaxhost/AaxHost.h"

#include <algorithm>
#include <mutex>
#include <sstream>

namespace kelmora::tools::aaxhost
{
namespace
{
// Host objects may be made on several threads at once (one host per thread).
std::mutex registryLock;
std::vector<CountedObject*> live;
std::atomic<int> serial { 0 };
} // namespace

CountedObject::CountedObject (const std::string& kind) : objectName (kind + "#" + std::to_string (++serial))
{
    const std::lock_guard<std::mutex> lock (registryLock);
    live.push_back (this);
}

CountedObject::~CountedObject()
{
    const std::lock_guard<std::mutex> lock (registryLock);
    live.erase (std::find (live.begin(), live.end(), this));
}

size_t CountedObject::liveCount()
{
    const std::lock_guard<std::mutex> lock (registryLock);
    return live.size();
}

std::string CountedObject::lastLiveName()
{
    const std::lock_guard<std::mutex> lock (registryLock);
    return live.empty() ? std::string() : live.back()->name();
}

std::string str (IACFUnknown* object)
{
    auto* counted = dynamic_cast<CountedObject*> (object);
    return counted != nullptr ? counted->name() : object != nullptr ? "foreign" : "null";
}

std::string decimalText (double value)
{
    std::ostringstream text;
    text << value;
    return text.str();
}

ACFResult HostCollection::QueryInterface (const acfUID& id, void** out)
{
    if (out == nullptr || id != kAAXID_PluginDefinition)
        return HostObject::QueryInterface (id, out);
    log (0, "pluginDefinition");
    using Definition = HostObject<IAAXHostPluginDefinition>;
    *out = state->options.pluginDefinition ? static_cast<IAAXHostPluginDefinition*> (new Definition ("pluginDefinition", state, { { &kAAXID_PluginDefinition, nullptr } })) : nullptr;
    return *out != nullptr ? kAAXSuccess : kACFNoInterface;
}

ACFResult HostComponentFactory::CreateInstance (const acfUID& classID, IACFUnknown* outer, const acfUID& interfaceID, void** out)
{
    IACFUnknown* made = nullptr;
    if (classID == kAAXID_HostServicesClass && state->options.hostServices)
        made = static_cast<IAAXHostServices*> (new HostServices (state));
    else if (classID == kAAXID_CollectionClass)
        made = static_cast<IAAXHostCollection*> (new HostCollection (state));
    else if (classID == kAAXID_EffectDescriptorClass)
        made = static_cast<IAAXHostEffectDescriptor*> (new HostEffectDescriptor (state));
    else if (classID == kAAXID_ComponentDescriptorClass)
        made = static_cast<IAAXHostComponentDescriptor*> (new HostComponentDescriptor (state));
    else if (classID == kAAXID_PropertyMapClass)
        made = static_cast<IAAXHostPropertyMap*> (new HostPropertyMap (state));

    log (3, made, outer);
    const ACFResult result = made != nullptr ? made->QueryInterface (interfaceID, out) : (*out = nullptr, kACFNoInterface);
    if (made != nullptr)
        made->Release();   // the creation reference
    return result;
}

HostUnknown::~HostUnknown()
{
    for (IACFUnknown* held : std::initializer_list<IACFUnknown*> { controller, automation, transport, effect })
        held != nullptr ? held->Release() : 0;
}

ACFResult HostUnknown::QueryInterface (const acfUID& id, void** out)
{
    if (id == kAAXID_HostComponentFactory)
        return (*out = state->options.factory ? static_cast<IAAXHostComponentFactory*> (new HostComponentFactory (state)) : nullptr) ? kAAXSuccess : kACFNoInterface;
    if (id == kAAXID_Controller || id == kAAXID_Controller_V2)
        return controller->QueryInterface (id, out);
    if (id == kAAXID_AutomationDelegate && state->options.automation)
        return automation->QueryInterface (id, out);
    if (id == kAAXID_Transport || id == kAAXID_Transport_V2)
        return transport->QueryInterface (id, out);
    if ((id == kAAXID_EffectParameters || id == kAAXID_EffectParameters_V2) && effect != nullptr)
        return effect->QueryInterface (id, out);
    return HostObject::QueryInterface (id, out);
}

AAX_Result HostComponentDescriptor::AddProcessProc_Native (AAX_ProcessProc process, IACFUnknown* map, AAX_InstanceInitProc init,
                                                           AAX_BackgroundProc background, AAX_ProcedureID* id)
{
    described.process = process;
    if (auto* properties = dynamic_cast<HostPropertyMap*> (map))
        described.properties = properties->values;
    return log (16, process, map, init, background, id);
}

AAX_Result HostEffectDescriptor::AddComponent (IACFUnknown* component)
{
    if (auto* descriptor = dynamic_cast<HostComponentDescriptor*> (component))
        described.components.push_back (descriptor->described);
    return log (3, component);
}

AAX_Result HostCollection::AddEffect (const char* id, IACFUnknown* effect)
{
    if (auto* descriptor = dynamic_cast<HostEffectDescriptor*> (effect))
    {
        state->description.effects.push_back (descriptor->described);
        state->description.effects.back().id = id != nullptr ? id : "";
    }
    return log (7, id, effect);
}

AaxHost::AaxHost (HostOptions options) : state (std::make_shared<HostState>()), hostUnknown (new HostUnknown (state))
{
    state->options = options;
}

AaxHost::~AaxHost() { hostUnknown->Release(); }

void AaxHost::setEffect (IACFUnknown* effect)
{
    effect->AddRef();
    if (hostUnknown->effect != nullptr)
        hostUnknown->effect->Release();
    hostUnknown->effect = effect;
}
} // namespace kelmora::tools::aaxhost
