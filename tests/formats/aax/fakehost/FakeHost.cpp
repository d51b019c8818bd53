#include "formats/aax/fakehost/FakeHost.h"

namespace quietline::test::aax
{
FakeHost::FakeHost (FakeHostOptions options)
    : callLog (std::make_shared<CallLog>()),
      hostOptions (std::make_shared<FakeHostOptions> (options)),
      hostUnknown (new FakeHostUnknown ({ callLog, hostOptions }))
{
}

FakeHost::~FakeHost() { hostUnknown->Release(); }

IACFUnknown* FakeHost::unknown() const { return hostUnknown; }

//==============================================================================
FakeHostUnknown::FakeHostUnknown (FakeHostContext contextToUse)
    : FakeUnknown ("hostUnknown"), context (std::move (contextToUse))
{
}

ACFResult FakeHostUnknown::QueryInterface (const acfUID& interfaceID, void** out)
{
    if (out != nullptr && interfaceID == kAAXID_HostComponentFactory)
    {
        *out = nullptr;

        if (! context.options->componentFactory)
            return kACFNoInterface;

        // A fresh factory for each query: its one reference belongs to the caller.
        *out = static_cast<IAAXHostComponentFactory*> (new FakeComponentFactory (context));
        return kAAXSuccess;
    }

    return FakeUnknown::QueryInterface (interfaceID, out);
}

//==============================================================================
FakeComponentFactory::FakeComponentFactory (FakeHostContext contextToUse)
    : FakeUnknown ("factory"), context (std::move (contextToUse))
{
}

void* FakeComponentFactory::answer (const acfUID& interfaceID)
{
    if (interfaceID == kAAXID_HostComponentFactory)
        return static_cast<IAAXHostComponentFactory*> (this);

    return FakeUnknown::answer (interfaceID);
}

ACFResult FakeComponentFactory::CreateInstance (const acfUID& classID, IACFUnknown* outer,
                                                const acfUID& interfaceID, void** out)
{
    if (out == nullptr)
        return kACFNullPointer;

    *out = nullptr;
    const auto& options = *context.options;
    IACFUnknown* made = nullptr;
    std::string kind = "unknown class";

    if (classID == kAAXID_HostServicesClass && options.hostServices)
        made = static_cast<IAAXHostServices*> (new FakeHostServices (context));
    else if (classID == kAAXID_CollectionClass && options.descriptions)
        made = static_cast<IAAXHostCollection*> (new FakeCollection (context));
    else if (classID == kAAXID_EffectDescriptorClass && options.descriptions)
        made = static_cast<IAAXHostEffectDescriptor_V2*> (new FakeEffectDescriptor (context));
    else if (classID == kAAXID_ComponentDescriptorClass && options.descriptions)
        made = static_cast<IAAXHostComponentDescriptor_V2*> (new FakeComponentDescriptor (context));
    else if (classID == kAAXID_PropertyMapClass && options.descriptions)
        made = static_cast<IAAXHostPropertyMap_V2*> (new FakePropertyMap (context));

    if (made != nullptr)
        kind = argObject (made);

    context.log->add ("factory", 3, { kind, argObject (outer) });

    if (made == nullptr)
        return kACFNoInterface;

    // Hand out the requested interface; the creation reference goes back either way.
    const ACFResult result = made->QueryInterface (interfaceID, out);
    made->Release();
    return result;
}

//==============================================================================
FakeHostServices::FakeHostServices (FakeHostContext contextToUse)
    : FakeUnknown ("hostServices"), context (std::move (contextToUse))
{
}

void* FakeHostServices::answer (const acfUID& interfaceID)
{
    if (interfaceID == kAAXID_HostServices)
        return static_cast<IAAXHostServices*> (this);

    return FakeUnknown::answer (interfaceID);
}

AAX_Result FakeHostServices::HandleAssertFailure (const char* file, int32_t line, const char* note)
{
    context.log->add ("hostServices", 3, { arg (file), arg (line), arg (note) });
    return context.options->hostResult;
}

AAX_Result FakeHostServices::Trace (int32_t priority, const char* message)
{
    context.log->add ("hostServices", 4, { arg (priority), arg (message) });
    return context.options->hostResult;
}

//==============================================================================
void* FakePluginDefinition::answer (const acfUID& interfaceID)
{
    if (interfaceID == kAAXID_PluginDefinition)
        return static_cast<IAAXHostPluginDefinition*> (this);

    return FakeUnknown::answer (interfaceID);
}

//==============================================================================
FakeCollection::FakeCollection (FakeHostContext contextToUse)
    : FakeUnknown ("collection"), context (std::move (contextToUse))
{
}

void* FakeCollection::answer (const acfUID& interfaceID)
{
    if (interfaceID == kAAXID_Collection)
        return static_cast<IAAXHostCollection*> (this);

    return FakeUnknown::answer (interfaceID);
}

ACFResult FakeCollection::QueryInterface (const acfUID& interfaceID, void** out)
{
    if (out != nullptr && interfaceID == kAAXID_PluginDefinition)
    {
        *out = nullptr;
        context.log->add ("collection", 0, { "pluginDefinition" });

        if (! context.options->pluginDefinition)
            return kACFNoInterface;

        *out = static_cast<IAAXHostPluginDefinition*> (new FakePluginDefinition());
        return kAAXSuccess;
    }

    return FakeUnknown::QueryInterface (interfaceID, out);
}

AAX_Result FakeCollection::logged (int method, std::vector<std::string> args)
{
    context.log->add ("collection", method, std::move (args));
    return context.options->hostResult;
}

AAX_Result FakeCollection::CollectionMethod3() { return logged (3, {}); }
AAX_Result FakeCollection::CollectionMethod4() { return logged (4, {}); }
AAX_Result FakeCollection::CollectionMethod5() { return logged (5, {}); }
AAX_Result FakeCollection::CollectionMethod6() { return logged (6, {}); }

AAX_Result FakeCollection::AddEffect (const char* effectID, IACFUnknown* effectDescriptor)
{
    return logged (7, { arg (effectID), argObject (effectDescriptor) });
}

AAX_Result FakeCollection::SetManufacturerName (const char* name) { return logged (8, { arg (name) }); }
AAX_Result FakeCollection::AddPackageName (const char* name) { return logged (9, { arg (name) }); }
AAX_Result FakeCollection::SetPackageVersion (uint32_t version) { return logged (10, { arg (version) }); }
AAX_Result FakeCollection::SetProperties (IACFUnknown* propertyMap) { return logged (11, { argObject (propertyMap) }); }

//==============================================================================
FakeEffectDescriptor::FakeEffectDescriptor (FakeHostContext contextToUse)
    : FakeUnknown ("effectDescriptor"), context (std::move (contextToUse))
{
}

void* FakeEffectDescriptor::answer (const acfUID& interfaceID)
{
    if (interfaceID == kAAXID_EffectDescriptor)
        return static_cast<IAAXHostEffectDescriptor*> (this);

    if (interfaceID == kAAXID_EffectDescriptor_V2 && context.options->effectDescriptorV2)
        return static_cast<IAAXHostEffectDescriptor_V2*> (this);

    return FakeUnknown::answer (interfaceID);
}

AAX_Result FakeEffectDescriptor::logged (int method, std::vector<std::string> args)
{
    context.log->add ("effectDescriptor", method, std::move (args));
    return context.options->hostResult;
}

AAX_Result FakeEffectDescriptor::AddComponent (IACFUnknown* c) { return logged (3, { argObject (c) }); }
AAX_Result FakeEffectDescriptor::AddName (const char* name) { return logged (4, { arg (name) }); }
AAX_Result FakeEffectDescriptor::AddCategory (uint32_t category) { return logged (5, { arg (category) }); }

AAX_Result FakeEffectDescriptor::AddCategoryBypassParameter (uint32_t category, const char* parameterID)
{
    return logged (6, { arg (category), arg (parameterID) });
}

AAX_Result FakeEffectDescriptor::AddProcPtr (void* procedure, AAX_ProcedureID procedureID)
{
    return logged (7, { argPointer (procedure), arg (procedureID) });
}

AAX_Result FakeEffectDescriptor::SetProperties (IACFUnknown* map) { return logged (8, { argObject (map) }); }

AAX_Result FakeEffectDescriptor::AddResourceInfo (uint32_t type, const char* info)
{
    return logged (9, { arg (type), arg (info) });
}

AAX_Result FakeEffectDescriptor::AddMeterDescription (uint32_t meterID, const char* name, IACFUnknown* map)
{
    return logged (10, { arg (meterID), arg (name), argObject (map) });
}

AAX_Result FakeEffectDescriptor::AddControlMIDINode (uint32_t nodeID, uint32_t nodeType, const char* name,
                                                     uint32_t channelMask)
{
    return logged (11, { arg (nodeID), arg (nodeType), arg (name), arg (channelMask) });
}

//==============================================================================
FakeComponentDescriptor::FakeComponentDescriptor (FakeHostContext contextToUse)
    : FakeUnknown ("componentDescriptor"), context (std::move (contextToUse))
{
}

void* FakeComponentDescriptor::answer (const acfUID& interfaceID)
{
    if (interfaceID == kAAXID_ComponentDescriptor)
        return static_cast<IAAXHostComponentDescriptor*> (this);

    if (interfaceID == kAAXID_ComponentDescriptor_V2 && context.options->componentDescriptorV2)
        return static_cast<IAAXHostComponentDescriptor_V2*> (this);

    return FakeUnknown::answer (interfaceID);
}

AAX_Result FakeComponentDescriptor::logged (int method, std::vector<std::string> args)
{
    context.log->add ("componentDescriptor", method, std::move (args));
    return context.options->hostResult;
}

AAX_Result FakeComponentDescriptor::Clear() { return logged (3, {}); }

AAX_Result FakeComponentDescriptor::AddReservedField (AAX_FieldIndex field, uint32_t fieldType)
{
    return logged (4, { arg (field), arg (fieldType) });
}

AAX_Result FakeComponentDescriptor::AddAudioIn (AAX_FieldIndex field) { return logged (5, { arg (field) }); }
AAX_Result FakeComponentDescriptor::AddAudioOut (AAX_FieldIndex field) { return logged (6, { arg (field) }); }
AAX_Result FakeComponentDescriptor::AddAudioBufferLength (AAX_FieldIndex field) { return logged (7, { arg (field) }); }
AAX_Result FakeComponentDescriptor::AddSampleRate (AAX_FieldIndex field) { return logged (8, { arg (field) }); }
AAX_Result FakeComponentDescriptor::AddClock (AAX_FieldIndex field) { return logged (9, { arg (field) }); }
AAX_Result FakeComponentDescriptor::AddSideChainIn (AAX_FieldIndex field) { return logged (10, { arg (field) }); }

AAX_Result FakeComponentDescriptor::AddDataInPort (AAX_FieldIndex field, uint32_t packetSize, uint32_t portType)
{
    return logged (11, { arg (field), arg (packetSize), arg (portType) });
}

AAX_Result FakeComponentDescriptor::AddAuxOutputStem (AAX_FieldIndex field, int32_t stemFormat, const char* name)
{
    return logged (12, { arg (field), arg (stemFormat), arg (name) });
}

AAX_Result FakeComponentDescriptor::AddPrivateData (AAX_FieldIndex field, int32_t size, uint32_t options)
{
    return logged (13, { arg (field), arg (size), arg (options) });
}

AAX_Result FakeComponentDescriptor::AddDmaInstance (AAX_FieldIndex field, uint32_t mode)
{
    return logged (14, { arg (field), arg (mode) });
}

AAX_Result FakeComponentDescriptor::AddMIDINode (AAX_FieldIndex field, uint32_t nodeType, const char* name,
                                                 uint32_t channelMask)
{
    return logged (15, { arg (field), arg (nodeType), arg (name), arg (channelMask) });
}

AAX_Result FakeComponentDescriptor::AddProcessProc_Native (AAX_ProcessProc processProc, IACFUnknown* propertyMap,
                                                           AAX_InstanceInitProc instanceInitProc,
                                                           AAX_BackgroundProc backgroundProc,
                                                           AAX_ProcedureID* outProcedureID)
{
    if (outProcedureID != nullptr)
        *outProcedureID = 1;

    return logged (16, { argPointer (reinterpret_cast<const void*> (processProc)), argObject (propertyMap),
                         argPointer (reinterpret_cast<const void*> (instanceInitProc)),
                         argPointer (reinterpret_cast<const void*> (backgroundProc)),
                         argPointer (outProcedureID) });
}

AAX_Result FakeComponentDescriptor::AddProcessProc_TI (const char* libraryFileName, const char* processProcName,
                                                       IACFUnknown* propertyMap, const char* instanceInitProcName,
                                                       const char* backgroundProcName)
{
    return logged (17, { arg (libraryFileName), arg (processProcName), argObject (propertyMap),
                         arg (instanceInitProcName), arg (backgroundProcName) });
}

AAX_Result FakeComponentDescriptor::AddMeters (AAX_FieldIndex field, const uint32_t* meterIDs, uint32_t count)
{
    std::vector<std::string> args { arg (field) };

    for (uint32_t i = 0; meterIDs != nullptr && i < count; ++i)
        args.push_back (arg (meterIDs[i]));

    return logged (18, std::move (args));
}

AAX_Result FakeComponentDescriptor::AddTemporaryData (AAX_FieldIndex field, uint32_t elementSize)
{
    return logged (19, { arg (field), arg (elementSize) });
}

//==============================================================================
FakePropertyMap::FakePropertyMap (FakeHostContext contextToUse)
    : FakeUnknown ("propertyMap"), context (std::move (contextToUse))
{
}

void* FakePropertyMap::answer (const acfUID& interfaceID)
{
    if (interfaceID == kAAXID_PropertyMap)
        return static_cast<IAAXHostPropertyMap*> (this);

    if (interfaceID == kAAXID_PropertyMap_V2 && context.options->propertyMapV2)
        return static_cast<IAAXHostPropertyMap_V2*> (this);

    return FakeUnknown::answer (interfaceID);
}

int32_t FakePropertyMap::GetProperty (uint32_t property, int32_t* value)
{
    context.log->add ("propertyMap", 3, { arg (property) });
    const auto found = values.find (property);

    // Only the low byte carries the answer; the rest is noise the plug-in must ignore.
    if (found == values.end())
        return 0x7F00;

    if (value != nullptr)
        *value = found->second;

    return 0x7F00 | 1;
}

AAX_Result FakePropertyMap::AddProperty (uint32_t property, int32_t value)
{
    context.log->add ("propertyMap", 4, { arg (property), arg (value) });
    values[property] = value;
    return context.options->hostResult;
}

AAX_Result FakePropertyMap::RemoveProperty (uint32_t property)
{
    context.log->add ("propertyMap", 5, { arg (property) });
    values.erase (property);
    return context.options->hostResult;
}

AAX_Result FakePropertyMap::AddPropertyWithIDArray (uint32_t property, const AAX_IdentifierTriad* ids, uint32_t count)
{
    context.log->add ("propertyMap", 6, { arg (property), arg (count) });

    if (ids != nullptr)
        idArrays[property].assign (ids, ids + count);

    return context.options->hostResult;
}

int32_t FakePropertyMap::GetPropertyWithIDArray (uint32_t property, const AAX_IdentifierTriad** ids, uint32_t* count)
{
    context.log->add ("propertyMap", 7, { arg (property) });
    const auto found = idArrays.find (property);

    if (found == idArrays.end())
        return 0x7F00;

    if (ids != nullptr)
        *ids = found->second.data();

    if (count != nullptr)
        *count = static_cast<uint32_t> (found->second.size());

    return 0x7F00 | 1;
}
} // namespace quietline::test::aax
