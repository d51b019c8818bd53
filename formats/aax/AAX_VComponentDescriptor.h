#pragma once

// A component descriptor made through the host's component factory. It owns the property maps
// made through it and deletes them, in the order they were made, before giving back its host
// interfaces (second version first, then the descriptor, then the host unknown). Without the
// host's descriptor the operations answer -20004; AddTemporaryData needs the second version and
// answers -20009 without it.

#include "formats/aax/AAX_IComponentDescriptor.h"
#include "formats/aax/AAX_VPropertyMap.h"
#include "platform/aax/IAAXHostDescription.h"

#include <vector>

namespace kelmora::aax {

class AAX_VComponentDescriptor : public AAX_IComponentDescriptor
{
public:
    explicit AAX_VComponentDescriptor (IACFUnknown* host);
    ~AAX_VComponentDescriptor() override;

    AAX_Result Clear() override;
    AAX_Result AddAudioIn (AAX_FieldIndex field) override;
    AAX_Result AddAudioOut (AAX_FieldIndex field) override;
    AAX_Result AddAudioBufferLength (AAX_FieldIndex field) override;
    AAX_Result AddSampleRate (AAX_FieldIndex field) override;
    AAX_Result AddClock (AAX_FieldIndex field) override;
    AAX_Result AddSideChainIn (AAX_FieldIndex field) override;
    AAX_Result AddDataInPort (AAX_FieldIndex field, uint32_t packetSize, uint32_t portType) override;
    AAX_Result AddAuxOutputStem (AAX_FieldIndex field, int32_t stemFormat, const char* name) override;
    AAX_Result AddPrivateData (AAX_FieldIndex field, int32_t size, uint32_t options) override;
    AAX_Result AddTemporaryData (AAX_FieldIndex field, uint32_t elementSize) override;
    AAX_Result AddDmaInstance (AAX_FieldIndex field, uint32_t mode) override;
    AAX_Result AddMeters (AAX_FieldIndex field, const uint32_t* meterIDs, uint32_t count) override;
    AAX_Result AddMIDINode (AAX_FieldIndex field, uint32_t nodeType, const char* name, uint32_t channelMask) override;
    AAX_Result AddReservedField (AAX_FieldIndex field, uint32_t fieldType) override;
    AAX_IPropertyMap* NewPropertyMap() override;

    /** A new map holding every property numbered 10..307 that the source answers. */
    AAX_IPropertyMap* DuplicatePropertyMap (AAX_IPropertyMap* source) override;

    AAX_Result AddProcessProc_Native (AAX_ProcessProc processProc, AAX_IPropertyMap* properties,
                                      AAX_InstanceInitProc instanceInitProc, AAX_BackgroundProc backgroundProc,
                                      AAX_ProcedureID* outProcedureID) override;
    AAX_Result AddProcessProc_TI (const char* libraryFileName, const char* processProcName,
                                  AAX_IPropertyMap* properties, const char* instanceInitProcName,
                                  const char* backgroundProcName) override;
    IACFUnknown* GetIUnknown() const override;

    AAX_VComponentDescriptor (const AAX_VComponentDescriptor&) = delete;
    AAX_VComponentDescriptor& operator= (const AAX_VComponentDescriptor&) = delete;

private:
    IACFUnknown* host = nullptr;
    IAAXHostComponentDescriptor* descriptor = nullptr;
    IAAXHostComponentDescriptor_V2* descriptorV2 = nullptr;
    std::vector<AAX_VPropertyMap*> propertyMaps;
};

} // namespace kelmora::aax
