#pragma once

// The effect-parameters interface a plug-in answers to the host (kAAXID_EffectParameters) and its
// second version (kAAXID_EffectParameters_V2). The library's kelmora::aax::AAX_CEffectParameters
// implements both; AAX_CEffectGUI reaches the effect through it. Slot n is method number n.
//
// AAX_IString, AAX_IParameter and ChunkRecord cross the host boundary by pointer only: they are
// named here and defined by the AAX library (namespace kelmora::aax).

#include "platform/aax/IACFUnknown.h"

namespace kelmora::aax
{
class AAX_IString;
class AAX_IParameter;
struct ChunkRecord;
}

using AAX_ChunkID = uint32_t;

class AAX_IACFEffectParameters : public IACFUnknown
{
public:
    virtual AAX_Result Initialize (IACFUnknown* controller) = 0;                                              // 3
    virtual AAX_Result Uninitialize() = 0;                                                                    // 4
    virtual AAX_Result NotificationReceived (uint32_t type, const void* data, uint32_t size) = 0;             // 5
    virtual AAX_Result GetNumberOfParameters (int32_t* count) const = 0;                                      // 6
    virtual AAX_Result GetMasterBypassParameter (kelmora::aax::AAX_IString* parameterID) const = 0;           // 7
    virtual AAX_Result GetParameterIsAutomatable (const char* id, bool* automatable) const = 0;               // 8
    virtual AAX_Result GetParameterNumberOfSteps (const char* id, int32_t* steps) const = 0;                  // 9
    virtual AAX_Result GetParameterName (const char* id, kelmora::aax::AAX_IString* name) const = 0;          // 10
    virtual AAX_Result GetParameterNameOfLength (const char* id, kelmora::aax::AAX_IString* name,
                                                 int32_t length) const = 0;                                   // 11
    virtual AAX_Result GetParameterDefaultNormalizedValue (const char* id, double* value) const = 0;          // 12
    virtual AAX_Result SetParameterDefaultNormalizedValue (const char* id, double value) = 0;                 // 13
    virtual AAX_Result GetParameterType (const char* id, int32_t* type) const = 0;                            // 14
    virtual AAX_Result GetParameterOrientation (const char* id, int32_t* orientation) const = 0;              // 15
    virtual AAX_Result GetParameter (const char* id, kelmora::aax::AAX_IParameter** parameter) = 0;           // 16
    virtual AAX_Result GetParameterIndex (const char* id, int32_t* index) const = 0;                          // 17
    virtual AAX_Result GetParameterIDFromIndex (int32_t index, kelmora::aax::AAX_IString* id) const = 0;      // 18
    virtual AAX_Result GetParameterValueInfo (const char* id, int32_t selector, int32_t* value) const = 0;    // 19
    virtual AAX_Result GetParameterValueFromString (const char* id, double* value,
                                                    const kelmora::aax::AAX_IString& text) const = 0;         // 20
    virtual AAX_Result GetParameterStringFromValue (const char* id, double normalizedValue,
                                                    kelmora::aax::AAX_IString* text, int32_t maxLength) const = 0;  // 21
    virtual AAX_Result GetParameterValueString (const char* id, kelmora::aax::AAX_IString* text,
                                                int32_t maxLength) const = 0;                                 // 22
    virtual AAX_Result GetParameterNormalizedValue (const char* id, double* value) const = 0;                 // 23
    virtual AAX_Result SetParameterNormalizedValue (const char* id, double value) = 0;                        // 24
    virtual AAX_Result SetParameterNormalizedRelative (const char* id, double delta) = 0;                     // 25
    virtual AAX_Result TouchParameter (const char* id) = 0;                                                   // 26
    virtual AAX_Result ReleaseParameter (const char* id) = 0;                                                 // 27
    virtual AAX_Result UpdateParameterTouch (const char* id, bool touched) = 0;                               // 28
    virtual AAX_Result UpdateParameterNormalizedValue (const char* id, double value, int32_t source) = 0;     // 29
    virtual AAX_Result UpdateParameterNormalizedRelative (const char* id, double delta) = 0;                  // 30
    virtual AAX_Result GenerateCoefficients() = 0;                                                            // 31
    virtual AAX_Result ResetFieldData (uint32_t field, void* data, uint32_t size) const = 0;                  // 32
    virtual AAX_Result GetNumberOfChunks (int32_t* count) const = 0;                                          // 33
    virtual AAX_Result GetChunkIDFromIndex (int32_t index, AAX_ChunkID* chunkID) const = 0;                   // 34
    virtual AAX_Result GetChunkSize (AAX_ChunkID chunkID, uint32_t* size) const = 0;                          // 35
    virtual AAX_Result GetChunk (AAX_ChunkID chunkID, kelmora::aax::ChunkRecord* chunk) const = 0;            // 36
    virtual AAX_Result SetChunk (AAX_ChunkID chunkID, const kelmora::aax::ChunkRecord* chunk) = 0;            // 37
    virtual AAX_Result CompareActiveChunk (const kelmora::aax::ChunkRecord* chunk, bool* isEqual) const = 0;  // 38
    virtual AAX_Result GetNumberOfChanges (int32_t* changes) const = 0;                                       // 39

protected:
    ~AAX_IACFEffectParameters() = default;
};

/** Methods 40..47 are host operations whose meaning the plug-in does not use; they share one
    signature so that each can be answered without action. */
class AAX_IACFEffectParameters_V2 : public AAX_IACFEffectParameters
{
public:
    virtual AAX_Result EffectOperation40 (uint32_t selector, const void* data, uint32_t size, int32_t* value) = 0;  // 40
    virtual AAX_Result EffectOperation41 (uint32_t selector, const void* data, uint32_t size, int32_t* value) = 0;  // 41
    virtual AAX_Result EffectOperation42 (uint32_t selector, const void* data, uint32_t size, int32_t* value) = 0;  // 42
    virtual AAX_Result EffectOperation43 (uint32_t selector, const void* data, uint32_t size, int32_t* value) = 0;  // 43
    virtual AAX_Result EffectOperation44 (uint32_t selector, const void* data, uint32_t size, int32_t* value) = 0;  // 44
    virtual AAX_Result EffectOperation45 (uint32_t selector, const void* data, uint32_t size, int32_t* value) = 0;  // 45
    virtual AAX_Result EffectOperation46 (uint32_t selector, const void* data, uint32_t size, int32_t* value) = 0;  // 46
    virtual AAX_Result EffectOperation47 (uint32_t selector, const void* data, uint32_t size, int32_t* value) = 0;  // 47

protected:
    ~AAX_IACFEffectParameters_V2() = default;
};
