#pragma once

// The host objects a plug-in writes its description into during ACFRegisterPlugin: the collection
// (the package), effect descriptors, component descriptors and property maps. Each is made through
// the host's component factory; a second version derives from its first and is reached by a query.
// Arguments that are themselves host description objects travel as IACFUnknown pointers (null
// allowed). Methods 3..6 of the collection are the host's; the plug-in never calls them.

#include "platform/aax/IACFUnknown.h"
#include "platform/aax/AAXTypes.h"

class IAAXHostCollection : public IACFUnknown
{
public:
    virtual AAX_Result CollectionMethod3() = 0;                                                            // 3
    virtual AAX_Result CollectionMethod4() = 0;                                                            // 4
    virtual AAX_Result CollectionMethod5() = 0;                                                            // 5
    virtual AAX_Result CollectionMethod6() = 0;                                                            // 6
    virtual AAX_Result AddEffect (const char* effectID, IACFUnknown* effectDescriptor) = 0;                // 7
    virtual AAX_Result SetManufacturerName (const char* name) = 0;                                         // 8
    virtual AAX_Result AddPackageName (const char* name) = 0;                                              // 9
    virtual AAX_Result SetPackageVersion (uint32_t version) = 0;                                           // 10
    virtual AAX_Result SetProperties (IACFUnknown* propertyMap) = 0;                                       // 11

protected:
    ~IAAXHostCollection() = default;
};

class IAAXHostEffectDescriptor : public IACFUnknown
{
public:
    virtual AAX_Result AddComponent (IACFUnknown* componentDescriptor) = 0;                                // 3
    virtual AAX_Result AddName (const char* name) = 0;                                                     // 4
    virtual AAX_Result AddCategory (uint32_t category) = 0;                                                // 5
    virtual AAX_Result AddCategoryBypassParameter (uint32_t category, const char* parameterID) = 0;        // 6
    virtual AAX_Result AddProcPtr (void* procedure, AAX_ProcedureID procedureID) = 0;                      // 7
    virtual AAX_Result SetProperties (IACFUnknown* propertyMap) = 0;                                       // 8
    virtual AAX_Result AddResourceInfo (uint32_t type, const char* info) = 0;                              // 9
    virtual AAX_Result AddMeterDescription (uint32_t meterID, const char* name,
                                            IACFUnknown* propertyMap) = 0;                                 // 10

protected:
    ~IAAXHostEffectDescriptor() = default;
};

class IAAXHostEffectDescriptor_V2 : public IAAXHostEffectDescriptor
{
public:
    virtual AAX_Result AddControlMIDINode (uint32_t nodeID, uint32_t nodeType, const char* name,
                                           uint32_t channelMask) = 0;                                      // 11

protected:
    ~IAAXHostEffectDescriptor_V2() = default;
};

class IAAXHostComponentDescriptor : public IACFUnknown
{
public:
    virtual AAX_Result Clear() = 0;                                                                        // 3
    virtual AAX_Result AddReservedField (AAX_FieldIndex field, uint32_t fieldType) = 0;                    // 4
    virtual AAX_Result AddAudioIn (AAX_FieldIndex field) = 0;                                              // 5
    virtual AAX_Result AddAudioOut (AAX_FieldIndex field) = 0;                                             // 6
    virtual AAX_Result AddAudioBufferLength (AAX_FieldIndex field) = 0;                                    // 7
    virtual AAX_Result AddSampleRate (AAX_FieldIndex field) = 0;                                           // 8
    virtual AAX_Result AddClock (AAX_FieldIndex field) = 0;                                                // 9
    virtual AAX_Result AddSideChainIn (AAX_FieldIndex field) = 0;                                          // 10
    virtual AAX_Result AddDataInPort (AAX_FieldIndex field, uint32_t packetSize, uint32_t portType) = 0;   // 11
    virtual AAX_Result AddAuxOutputStem (AAX_FieldIndex field, int32_t stemFormat, const char* name) = 0;  // 12
    virtual AAX_Result AddPrivateData (AAX_FieldIndex field, int32_t size, uint32_t options) = 0;          // 13
    virtual AAX_Result AddDmaInstance (AAX_FieldIndex field, uint32_t mode) = 0;                           // 14
    virtual AAX_Result AddMIDINode (AAX_FieldIndex field, uint32_t nodeType, const char* name,
                                    uint32_t channelMask) = 0;                                             // 15
    virtual AAX_Result AddProcessProc_Native (AAX_ProcessProc processProc, IACFUnknown* propertyMap,
                                              AAX_InstanceInitProc instanceInitProc,
                                              AAX_BackgroundProc backgroundProc,
                                              AAX_ProcedureID* outProcedureID) = 0;                        // 16
    virtual AAX_Result AddProcessProc_TI (const char* libraryFileName, const char* processProcName,
                                          IACFUnknown* propertyMap, const char* instanceInitProcName,
                                          const char* backgroundProcName) = 0;                             // 17
    virtual AAX_Result AddMeters (AAX_FieldIndex field, const uint32_t* meterIDs, uint32_t count) = 0;     // 18

protected:
    ~IAAXHostComponentDescriptor() = default;
};

class IAAXHostComponentDescriptor_V2 : public IAAXHostComponentDescriptor
{
public:
    virtual AAX_Result AddTemporaryData (AAX_FieldIndex field, uint32_t elementSize) = 0;                  // 19

protected:
    ~IAAXHostComponentDescriptor_V2() = default;
};

/** The two reading methods answer a 32-bit value whose low byte is the boolean answer. */
class IAAXHostPropertyMap : public IACFUnknown
{
public:
    virtual int32_t GetProperty (uint32_t property, int32_t* value) = 0;                                   // 3
    virtual AAX_Result AddProperty (uint32_t property, int32_t value) = 0;                                 // 4
    virtual AAX_Result RemoveProperty (uint32_t property) = 0;                                             // 5

protected:
    ~IAAXHostPropertyMap() = default;
};

class IAAXHostPropertyMap_V2 : public IAAXHostPropertyMap
{
public:
    virtual AAX_Result AddPropertyWithIDArray (uint32_t property, const AAX_IdentifierTriad* ids,
                                               uint32_t count) = 0;                                        // 6
    virtual int32_t GetPropertyWithIDArray (uint32_t property, const AAX_IdentifierTriad** ids,
                                            uint32_t* count) = 0;                                          // 7

protected:
    ~IAAXHostPropertyMap_V2() = default;
};
