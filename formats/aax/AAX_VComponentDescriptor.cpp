#include "formats/aax/AAX_VComponentDescriptor.h"

#include "formats/aax/AAX_HostInterfaces.h"

#include <memory>

namespace kelmora::aax {

AAX_VComponentDescriptor::AAX_VComponentDescriptor (IACFUnknown* hostUnknown) : host (hostUnknown)
{
    if (host != nullptr)
        host->AddRef();

    descriptor = CreateHostObject<IAAXHostComponentDescriptor> (host, kAAXID_ComponentDescriptorClass,
                                                                kAAXID_ComponentDescriptor);
    descriptorV2 = QueryHostInterface<IAAXHostComponentDescriptor_V2> (descriptor, kAAXID_ComponentDescriptor_V2);
}

AAX_VComponentDescriptor::~AAX_VComponentDescriptor()
{
    for (auto* map : propertyMaps)
        delete map;

    propertyMaps.clear();
    ReleaseHostInterface (descriptorV2);
    ReleaseHostInterface (descriptor);
    ReleaseHostInterface (host);
}

static IACFUnknown* hostObjectOf (AAX_IPropertyMap* map) { return map != nullptr ? map->GetIUnknown() : nullptr; }

#define FORWARD(call) return descriptor != nullptr ? descriptor->call : kAAXNullObject

AAX_Result AAX_VComponentDescriptor::Clear() { FORWARD (Clear()); }
AAX_Result AAX_VComponentDescriptor::AddAudioIn (AAX_FieldIndex field) { FORWARD (AddAudioIn (field)); }
AAX_Result AAX_VComponentDescriptor::AddAudioOut (AAX_FieldIndex field) { FORWARD (AddAudioOut (field)); }
AAX_Result AAX_VComponentDescriptor::AddAudioBufferLength (AAX_FieldIndex field) { FORWARD (AddAudioBufferLength (field)); }
AAX_Result AAX_VComponentDescriptor::AddSampleRate (AAX_FieldIndex field) { FORWARD (AddSampleRate (field)); }
AAX_Result AAX_VComponentDescriptor::AddClock (AAX_FieldIndex field) { FORWARD (AddClock (field)); }
AAX_Result AAX_VComponentDescriptor::AddSideChainIn (AAX_FieldIndex field) { FORWARD (AddSideChainIn (field)); }

AAX_Result AAX_VComponentDescriptor::AddDataInPort (AAX_FieldIndex field, uint32_t packetSize, uint32_t portType)
{
    FORWARD (AddDataInPort (field, packetSize, portType));
}

AAX_Result AAX_VComponentDescriptor::AddAuxOutputStem (AAX_FieldIndex field, int32_t stemFormat, const char* name)
{
    FORWARD (AddAuxOutputStem (field, stemFormat, name));
}

AAX_Result AAX_VComponentDescriptor::AddPrivateData (AAX_FieldIndex field, int32_t size, uint32_t options)
{
    FORWARD (AddPrivateData (field, size, options));
}

AAX_Result AAX_VComponentDescriptor::AddTemporaryData (AAX_FieldIndex field, uint32_t elementSize)
{
    return descriptorV2 != nullptr ? descriptorV2->AddTemporaryData (field, elementSize) : kAAXNotSupported;
}

AAX_Result AAX_VComponentDescriptor::AddDmaInstance (AAX_FieldIndex field, uint32_t mode) { FORWARD (AddDmaInstance (field, mode)); }

AAX_Result AAX_VComponentDescriptor::AddMeters (AAX_FieldIndex field, const uint32_t* meterIDs, uint32_t count)
{
    FORWARD (AddMeters (field, meterIDs, count));
}

AAX_Result AAX_VComponentDescriptor::AddMIDINode (AAX_FieldIndex field, uint32_t nodeType, const char* name,
                                                  uint32_t channelMask)
{
    FORWARD (AddMIDINode (field, nodeType, name, channelMask));
}

AAX_Result AAX_VComponentDescriptor::AddReservedField (AAX_FieldIndex field, uint32_t fieldType)
{
    FORWARD (AddReservedField (field, fieldType));
}

AAX_IPropertyMap* AAX_VComponentDescriptor::NewPropertyMap()
{
    auto map = std::make_unique<AAX_VPropertyMap> (host);
    propertyMaps.push_back (map.get());
    return map.release();
}

AAX_IPropertyMap* AAX_VComponentDescriptor::DuplicatePropertyMap (AAX_IPropertyMap* source)
{
    AAX_IPropertyMap* copy = NewPropertyMap();

    for (uint32_t property = 10; source != nullptr && property <= 307; ++property)
    {
        int32_t value = 0;

        if (source->GetProperty (property, &value))
            copy->AddProperty (property, value);
    }

    return copy;
}

AAX_Result AAX_VComponentDescriptor::AddProcessProc_Native (AAX_ProcessProc processProc, AAX_IPropertyMap* properties,
                                                            AAX_InstanceInitProc instanceInitProc,
                                                            AAX_BackgroundProc backgroundProc,
                                                            AAX_ProcedureID* outProcedureID)
{
    FORWARD (AddProcessProc_Native (processProc, hostObjectOf (properties), instanceInitProc, backgroundProc,
                                    outProcedureID));
}

AAX_Result AAX_VComponentDescriptor::AddProcessProc_TI (const char* libraryFileName, const char* processProcName,
                                                        AAX_IPropertyMap* properties, const char* instanceInitProcName,
                                                        const char* backgroundProcName)
{
    FORWARD (AddProcessProc_TI (libraryFileName, processProcName, hostObjectOf (properties), instanceInitProcName,
                                backgroundProcName));
}

#undef FORWARD

IACFUnknown* AAX_VComponentDescriptor::GetIUnknown() const { return descriptor; }

} // namespace kelmora::aax
