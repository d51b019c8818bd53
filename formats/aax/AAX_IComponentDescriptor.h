#pragma once

// One processing component of an effect: the fields of its context record and its procedures.
// The first argument of every Add... of a field is the field's index in the context record.
// AAX_VComponentDescriptor implements it on a host component descriptor.

#include "formats/aax/AAX_IPropertyMap.h"

namespace kelmora::aax {

class AAX_IComponentDescriptor
{
public:
    virtual ~AAX_IComponentDescriptor() = default;

    virtual AAX_Result Clear() = 0;
    virtual AAX_Result AddAudioIn (AAX_FieldIndex field) = 0;
    virtual AAX_Result AddAudioOut (AAX_FieldIndex field) = 0;
    virtual AAX_Result AddAudioBufferLength (AAX_FieldIndex field) = 0;
    virtual AAX_Result AddSampleRate (AAX_FieldIndex field) = 0;
    virtual AAX_Result AddClock (AAX_FieldIndex field) = 0;
    virtual AAX_Result AddSideChainIn (AAX_FieldIndex field) = 0;
    virtual AAX_Result AddDataInPort (AAX_FieldIndex field, uint32_t packetSize, uint32_t portType) = 0;
    virtual AAX_Result AddAuxOutputStem (AAX_FieldIndex field, int32_t stemFormat, const char* name) = 0;
    virtual AAX_Result AddPrivateData (AAX_FieldIndex field, int32_t size, uint32_t options) = 0;
    virtual AAX_Result AddTemporaryData (AAX_FieldIndex field, uint32_t elementSize) = 0;
    virtual AAX_Result AddDmaInstance (AAX_FieldIndex field, uint32_t mode) = 0;
    virtual AAX_Result AddMeters (AAX_FieldIndex field, const uint32_t* meterIDs, uint32_t count) = 0;
    virtual AAX_Result AddMIDINode (AAX_FieldIndex field, uint32_t nodeType, const char* name, uint32_t channelMask) = 0;
    virtual AAX_Result AddReservedField (AAX_FieldIndex field, uint32_t fieldType) = 0;
    virtual AAX_IPropertyMap* NewPropertyMap() = 0;
    virtual AAX_IPropertyMap* DuplicatePropertyMap (AAX_IPropertyMap* source) = 0;
    virtual AAX_Result AddProcessProc_Native (AAX_ProcessProc processProc, AAX_IPropertyMap* properties,
                                              AAX_InstanceInitProc instanceInitProc,
                                              AAX_BackgroundProc backgroundProc,
                                              AAX_ProcedureID* outProcedureID) = 0;
    virtual AAX_Result AddProcessProc_TI (const char* libraryFileName, const char* processProcName,
                                          AAX_IPropertyMap* properties, const char* instanceInitProcName,
                                          const char* backgroundProcName) = 0;

    /** The host object behind the descriptor (its first version; null without one). */
    virtual IACFUnknown* GetIUnknown() const = 0;
};

} // namespace kelmora::aax
