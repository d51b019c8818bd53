#include "formats/aax/fakehost/FakeHost.h"

#include "formats/aax/CACFUnknown.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quietline::test::aax
{
namespace
{
std::mutex registryLock;
std::vector<const FakeCounted*> live;
std::vector<std::string> destroyed;
std::atomic<int> serial { 0 };
} // namespace

FakeCounted::FakeCounted (const std::string& kind) : objectName (kind + "#" + std::to_string (++serial))
{
    std::lock_guard<std::mutex> guard (registryLock);
    live.push_back (this);
}

FakeCounted::~FakeCounted()
{
    std::lock_guard<std::mutex> guard (registryLock);
    live.erase (std::remove (live.begin(), live.end(), this), live.end());
    destroyed.push_back (objectName);
}

uint32_t FakeCounted::release()
{
    const uint32_t count = --refs;
    if (count == 0)
        delete this;
    return count;
}

int liveFakeObjects()
{
    std::lock_guard<std::mutex> guard (registryLock);
    return static_cast<int> (live.size());
}

std::vector<std::string> destroyedFakes()
{
    std::lock_guard<std::mutex> guard (registryLock);
    return destroyed;
}

void clearDestroyedFakes()
{
    std::lock_guard<std::mutex> guard (registryLock);
    destroyed.clear();
}

LiveCheck::LiveCheck()
    : fakesAtStart (liveFakeObjects()), pluginObjectsAtStart (kelmora::aax::CACFUnknown::GetActiveObjectCount())
{
}

LiveCheck::~LiveCheck()
{
    std::lock_guard<std::mutex> guard (registryLock);
    std::string names;
    for (const auto* object : live)
        names += object->name() + " ";
    EXPECT_EQ (static_cast<int> (live.size()), fakesAtStart) << "host objects still referenced: " << names;
    EXPECT_EQ (kelmora::aax::CACFUnknown::GetActiveObjectCount(), pluginObjectsAtStart) << "plug-in objects still alive";
}

//==============================================================================
void CallLog::add (Call call)
{
    std::lock_guard<std::mutex> guard (lock);
    entries.push_back (std::move (call));
}

std::vector<Call> CallLog::calls (const std::string& interface, int method) const
{
    std::lock_guard<std::mutex> guard (lock);
    std::vector<Call> result;
    for (const auto& call : entries)
        if ((interface.empty() || call.interface == interface) && (method < 0 || call.method == method))
            result.push_back (call);
    return result;
}

std::vector<int> CallLog::methods (const std::string& interface) const
{
    std::vector<int> result;
    for (const auto& call : calls (interface))
        result.push_back (call.method);
    return result;
}

void CallLog::clear()
{
    std::lock_guard<std::mutex> guard (lock);
    entries.clear();
}

std::string str (IACFUnknown* object)
{
    if (auto* fake = dynamic_cast<FakeCounted*> (object))
        return fake->name();
    return object == nullptr ? "null" : "foreign";
}

//==============================================================================
ACFResult FakeCollection::QueryInterface (const acfUID& id, void** out)
{
    if (out == nullptr || id != kAAXID_PluginDefinition)
        return FakeObject::QueryInterface (id, out);

    log (0, "pluginDefinition");
    *out = nullptr;

    if (! state->options.pluginDefinition)
        return kACFNoInterface;

    // A fresh definition whose one reference belongs to the caller.
    using Definition = FakeObject<IAAXHostPluginDefinition>;
    *out = static_cast<IAAXHostPluginDefinition*> (new Definition ("pluginDefinition", state, { { &kAAXID_PluginDefinition } }));
    return kAAXSuccess;
}

namespace
{
class FakeComponentFactory : public FakeObject<IAAXHostComponentFactory>
{
public:
    explicit FakeComponentFactory (State s) : FakeObject ("factory", s, { { &kAAXID_HostComponentFactory } }) {}

    ACFResult CreateInstance (const acfUID& classID, IACFUnknown* outer, const acfUID& interfaceID, void** out) override
    {
        IACFUnknown* made = nullptr;

        if (classID == kAAXID_HostServicesClass && state->options.hostServices)
            made = static_cast<IAAXHostServices*> (new FakeHostServices (state));
        else if (classID == kAAXID_CollectionClass)
            made = static_cast<IAAXHostCollection*> (new FakeCollection (state));
        else if (classID == kAAXID_EffectDescriptorClass)
            made = static_cast<IAAXHostEffectDescriptor*> (new FakeEffectDescriptor (state));
        else if (classID == kAAXID_ComponentDescriptorClass)
            made = static_cast<IAAXHostComponentDescriptor*> (new FakeComponentDescriptor (state));
        else if (classID == kAAXID_PropertyMapClass)
            made = static_cast<IAAXHostPropertyMap*> (new FakePropertyMap (state));

        log (3, made, outer);

        if (made == nullptr)
        {
            *out = nullptr;
            return kACFNoInterface;
        }

        // Hand out the requested interface; the creation reference goes back either way.
        const ACFResult result = made->QueryInterface (interfaceID, out);
        made->Release();
        return result;
    }
};
} // namespace

/** Owns the instance's controller, automation delegate and transport, and answers them. */
class FakeHostUnknown : public FakeObject<IACFUnknown>
{
public:
    explicit FakeHostUnknown (State s)
        : FakeObject ("hostUnknown", s), controller (new FakeController (s)), automation (new FakeAutomationDelegate (s)),
          transport (new FakeTransport (s))
    {
    }

    ~FakeHostUnknown() override
    {
        setEffect (nullptr);
        transport->Release();
        automation->Release();
        controller->Release();
    }

    ACFResult QueryInterface (const acfUID& id, void** out) override
    {
        if (out != nullptr && id == kAAXID_HostComponentFactory)
        {
            // A fresh factory for each query: its one reference belongs to the caller.
            *out = state->options.factory ? static_cast<IAAXHostComponentFactory*> (new FakeComponentFactory (state)) : nullptr;
            return *out != nullptr ? kAAXSuccess : kACFNoInterface;
        }

        if (id == kAAXID_Controller || id == kAAXID_Controller_V2)
            return controller->QueryInterface (id, out);
        if (id == kAAXID_AutomationDelegate && state->options.automation)
            return automation->QueryInterface (id, out);
        if (id == kAAXID_Transport || id == kAAXID_Transport_V2)
            return transport->QueryInterface (id, out);
        if ((id == kAAXID_EffectParameters || id == kAAXID_EffectParameters_V2) && effect != nullptr)
            return effect->QueryInterface (id, out);

        return FakeObject::QueryInterface (id, out);
    }

    void setEffect (IACFUnknown* newEffect)
    {
        if (newEffect != nullptr)
            newEffect->AddRef();
        if (effect != nullptr)
            effect->Release();
        effect = newEffect;
    }

    FakeController* const controller;
    FakeAutomationDelegate* const automation;
    FakeTransport* const transport;
    IACFUnknown* effect = nullptr;
};

FakeHost::FakeHost (FakeOptions options)
    : state (std::make_shared<HostState>()), hostUnknown ((state->options = options, new FakeHostUnknown (state)))
{
}

FakeHost::~FakeHost() { hostUnknown->Release(); }

IACFUnknown* FakeHost::unknown() const { return hostUnknown; }
FakeController& FakeHost::controller() const { return *hostUnknown->controller; }
FakeAutomationDelegate& FakeHost::automation() const { return *hostUnknown->automation; }
FakeTransport& FakeHost::transport() const { return *hostUnknown->transport; }
void FakeHost::setEffect (IACFUnknown* effect) { hostUnknown->setEffect (effect); }
} // namespace quietline::test::aax
