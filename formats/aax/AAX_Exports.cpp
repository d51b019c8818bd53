#include "formats/aax/AAX_Exports.h"

#include "formats/aax/AAX_VCollection.h"
#include "formats/aax/AAX_VHostServices.h"
#include "formats/aax/CACFUnknown.h"

#include <atomic>

namespace kelmora::aax {

namespace
{
std::atomic<EffectDescriptionRoutine> descriptionRoutine { nullptr };
}

EffectDescriptionRoutine SetEffectDescriptionRoutine (EffectDescriptionRoutine routine)
{
    return descriptionRoutine.exchange (routine);
}

EffectDescriptionRoutine GetEffectDescriptionRoutine() { return descriptionRoutine.load(); }

} // namespace kelmora::aax

using namespace kelmora::aax;

AAX_ACF_EXPORT ACFResult ACFRegisterPlugin (IACFUnknown* host, IACFUnknown** pluginDefinition)
{
    try
    {
        if (pluginDefinition == nullptr)
            return kAAXNullObject;

        const EffectDescriptionRoutine describe = GetEffectDescriptionRoutine();

        if (describe == nullptr)
            return kAAXNullObject;

        AAX_VCollection collection (host);
        const AAX_Result described = describe (&collection);

        if (described != kAAXSuccess)
            return described;

        *pluginDefinition = nullptr;
        IACFUnknown* hostCollection = collection.GetIUnknown();

        // A host that made no collection has nothing to answer with.
        if (hostCollection == nullptr)
            return kAAXNullObject;

        if (hostCollection->QueryInterface (kAAXID_PluginDefinition, reinterpret_cast<void**> (pluginDefinition))
            != kAAXSuccess)
        {
            *pluginDefinition = nullptr;
            return kAAXNullObject;
        }

        return kAAXSuccess;
    }
    catch (...)
    {
        return kACFUnexpected;
    }
}

AAX_ACF_EXPORT ACFResult ACFRegisterComponent (IACFUnknown*, const acfUID*, IACFUnknown** componentDefinition)
{
    if (componentDefinition == nullptr)
        return kAAXNullObject;

    *componentDefinition = nullptr;
    return kAAXSuccess;
}

AAX_ACF_EXPORT ACFResult ACFGetClassFactory (IACFUnknown*, const acfUID*, const acfUID*, void** classFactory)
{
    if (classFactory == nullptr)
        return kAAXNullObject;

    *classFactory = nullptr;
    return kAAXNotSupported;
}

AAX_ACF_EXPORT ACFResult ACFCanUnloadNow (IACFUnknown*)
{
    try
    {
        return CACFUnknown::GetActiveObjectCount();
    }
    catch (...)
    {
        return kACFUnexpected;
    }
}

AAX_ACF_EXPORT ACFResult ACFStartup (IACFUnknown* host)
{
    try
    {
        StartHostServices (host);
        return kAAXSuccess;
    }
    catch (...)
    {
        return kACFUnexpected;
    }
}

AAX_ACF_EXPORT ACFResult ACFShutdown (IACFUnknown*)
{
    try
    {
        StopHostServices();
        return kAAXSuccess;
    }
    catch (...)
    {
        return kACFUnexpected;
    }
}

AAX_ACF_EXPORT ACFResult ACFGetSDKVersion (uint64_t* version)
{
    if (version == nullptr)
        return kAAXNullObject;

    *version = kACFSDKVersion;
    return kAAXSuccess;
}
