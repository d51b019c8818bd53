#include "formats/aax/AaxPluginDescription.h"

#include "core/ProductIdentity.h"
#include "formats/aax/AaxEditorGUI.h"
#include "formats/aax/AaxProcessorEffect.h"
#include "formats/ModuleMessageLoop.h"
#include "formats/ProcessorCreation.h"
#include "platform/aax/AAXConstants.h"

#include <algorithm>
#include <string>

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter();

namespace kelmora::aax
{
namespace
{
namespace id = kelmora::identity;

struct Configuration
{
    uint32_t stemFormat;
    uint32_t pluginID;
};

std::string withoutBlanks (std::string text)
{
    text.erase (std::remove (text.begin(), text.end(), ' '), text.end());
    return text;
}

AAX_Result describeComponent (AAX_IEffectDescriptor& effect, const Configuration& configuration)
{
    auto* component = effect.NewComponentDescriptor();
    if (component == nullptr)
        return kAAXNullObject;

    component->AddAudioIn (field::audioIn);
    component->AddAudioOut (field::audioOut);
    component->AddAudioBufferLength (field::bufferLength);
    component->AddDataInPort (field::masterBypass, sizeof (int32_t), kAAXDataPort_Unbuffered);
    component->AddPrivateData (field::instance, sizeof (AaxProcessorEffect*), 0);
    component->AddPrivateData (field::prepared, sizeof (int32_t), 0);

    auto* properties = component->NewPropertyMap();
    if (properties == nullptr)
        return kAAXNullObject;

    properties->AddProperty (kAAXProperty_ManufacturerID, (int32_t) id::makerCode);
    properties->AddProperty (kAAXProperty_ProductID, (int32_t) id::productCode);
    properties->AddProperty (kAAXProperty_PlugInID_Native, (int32_t) configuration.pluginID);
    properties->AddProperty (kAAXProperty_InputStemFormat, (int32_t) configuration.stemFormat);
    properties->AddProperty (kAAXProperty_OutputStemFormat, (int32_t) configuration.stemFormat);
    properties->AddProperty (kAAXProperty_CanBypass, 1);

    const AAX_Result result = component->AddProcessProc_Native (&processInstances, properties, nullptr, nullptr, nullptr);
    return result != kAAXSuccess ? result : effect.AddComponent (component);
}

/** JUCE and the module's message loop, kept alive by every effect made for a host. */
struct JuceRuntime
{
    formats::ModuleMessageLoop::Shared messageLoop;
};
} // namespace

IACFUnknown* createProcessorEffect()
{
    try
    {
        // JUCE is up before the processor is made. Making it is no message-thread work.
        auto runtime = std::make_shared<JuceRuntime>();
        auto processor = formats::createProcessorAs (juce::AudioProcessor::wrapperType_AAX, &createPluginFilter);

        if (processor == nullptr)
            return nullptr;

        auto* effect = new AaxProcessorEffect (std::move (processor), std::move (runtime));
        effect->AddRef();
        return static_cast<AAX_IACFEffectParameters_V2*> (effect);
    }
    catch (...)
    {
        return nullptr;
    }
}

AAX_Result describePlugin (AAX_ICollection* collection)
{
    if (collection == nullptr)
        return kAAXNullObject;

    try
    {
        auto* effect = collection->NewDescriptor();
        if (effect == nullptr)
            return kAAXNullObject;

        effect->AddName (id::productName);
        effect->AddCategory (kAAXCategory_EQ);
        effect->AddProcPtr (reinterpret_cast<void*> (&createProcessorEffect), kAAXProc_CreateEffectParameters);
        effect->AddProcPtr (reinterpret_cast<void*> (&createEditorGUI), kAAXProc_CreateEffectGUI);

        for (const Configuration& configuration : { Configuration { kAAXStemFormat_Mono, id::aaxPluginIdMono },
                                                    Configuration { kAAXStemFormat_Stereo, id::aaxPluginIdStereo } })
            if (const AAX_Result result = describeComponent (*effect, configuration); result != kAAXSuccess)
                return result;

        const std::string effectID = "com." + withoutBlanks (id::makerName) + "." + withoutBlanks (id::productName);
        if (const AAX_Result result = collection->AddEffect (effectID.c_str(), effect); result != kAAXSuccess)
            return result;

        collection->SetManufacturerName (id::makerName);
        // Twice on purpose: hosts have always been given the package name so.
        collection->AddPackageName (id::productName);
        collection->AddPackageName (id::productName);
        collection->SetPackageVersion ((uint32_t) id::versionNumber);
        return kAAXSuccess;
    }
    catch (...)
    {
        return kACFUnexpected;
    }
}
} // namespace kelmora::aax
