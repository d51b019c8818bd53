#pragma once

#include "formats/aax/AAX_CChunkDataParser.h"
#include "formats/aax/AAX_CPacketDispatcher.h"
#include "formats/aax/AAX_CParameterManager.h"
#include "formats/aax/AAX_IEffectParameters.h"

#include <cstdint>
#include <mutex>
#include <set>
#include <string>

namespace kelmora::aax {

class AAX_IController;
class AAX_ITransport;
class AAX_VAutomationDelegate;
class AAX_VController;
class AAX_VTransport;

/** The data model of an AAX effect: answers the host's parameter, chunk, packet and
    notification calls through its parameter manager, chunk parser and packet dispatcher, and
    holds the host's controller, automation and transport proxies between Initialize() and
    Uninitialize().

    A derived effect adds its parameters (usually in EffectInit()) and registers its packets.
    Host calls reach it one at a time, except that the chunk operations are serialised by their
    own lock and the dispatcher guards itself, since hosts call those from several threads. */
class AAX_CEffectParameters : public AAX_IEffectParameters
{
public:
    /** 'elck': the effect's own state chunk, "Complete Controls State". */
    static constexpr AAX_ChunkID controlsChunkID = 0x656C636Bu;
    /** 'ASPv': the host's preview notification. */
    static constexpr uint32_t previewNotification = 0x41535076u;

    AAX_CEffectParameters();
    ~AAX_CEffectParameters() override;

    AAX_Result Initialize (IACFUnknown* hostUnknown) override;
    AAX_Result Uninitialize() override;
    AAX_Result NotificationReceived (uint32_t type, const void* data, uint32_t size) override;
    AAX_Result GetNumberOfParameters (int32_t* count) const override;
    AAX_Result GetMasterBypassParameter (AAX_IString* parameterID) const override;
    AAX_Result GetParameterIsAutomatable (const char* id, bool* automatable) const override;
    AAX_Result GetParameterNumberOfSteps (const char* id, int32_t* steps) const override;
    AAX_Result GetParameterName (const char* id, AAX_IString* name) const override;
    AAX_Result GetParameterNameOfLength (const char* id, AAX_IString* name, int32_t length) const override;
    AAX_Result GetParameterDefaultNormalizedValue (const char* id, double* value) const override;
    AAX_Result SetParameterDefaultNormalizedValue (const char* id, double value) override;
    AAX_Result GetParameterType (const char* id, int32_t* type) const override;
    AAX_Result GetParameterOrientation (const char* id, int32_t* orientation) const override;
    AAX_Result GetParameter (const char* id, AAX_IParameter** parameter) override;
    AAX_Result GetParameterIndex (const char* id, int32_t* index) const override;
    AAX_Result GetParameterIDFromIndex (int32_t index, AAX_IString* id) const override;
    AAX_Result GetParameterValueInfo (const char* id, int32_t selector, int32_t* value) const override;
    AAX_Result GetParameterValueFromString (const char* id, double* value, const AAX_IString& text) const override;
    AAX_Result GetParameterStringFromValue (const char* id, double normalizedValue, AAX_IString* text,
                                            int32_t maxLength) const override;
    AAX_Result GetParameterValueString (const char* id, AAX_IString* text, int32_t maxLength) const override;
    AAX_Result GetParameterNormalizedValue (const char* id, double* value) const override;
    AAX_Result SetParameterNormalizedValue (const char* id, double value) override;
    AAX_Result SetParameterNormalizedRelative (const char* id, double delta) override;
    AAX_Result TouchParameter (const char* id) override;
    AAX_Result ReleaseParameter (const char* id) override;
    AAX_Result UpdateParameterTouch (const char* id, bool touched) override;
    AAX_Result UpdateParameterNormalizedValue (const char* id, double value, int32_t source) override;
    AAX_Result UpdateParameterNormalizedRelative (const char* id, double delta) override;
    AAX_Result GenerateCoefficients() override;
    AAX_Result ResetFieldData (uint32_t field, void* data, uint32_t size) const override;
    AAX_Result GetNumberOfChunks (int32_t* count) const override;
    AAX_Result GetChunkIDFromIndex (int32_t index, AAX_ChunkID* chunkID) const override;
    AAX_Result GetChunkSize (AAX_ChunkID chunkID, uint32_t* size) const override;
    AAX_Result GetChunk (AAX_ChunkID chunkID, ChunkRecord* chunk) const override;
    AAX_Result SetChunk (AAX_ChunkID chunkID, const ChunkRecord* chunk) override;
    AAX_Result CompareActiveChunk (const ChunkRecord* chunk, bool* isEqual) const override;
    AAX_Result GetNumberOfChanges (int32_t* changes) const override;

    // Host operations this effect does not use: answered without action.
    AAX_Result EffectOperation40 (uint32_t, const void*, uint32_t, int32_t*) override;
    AAX_Result EffectOperation41 (uint32_t, const void*, uint32_t, int32_t*) override;
    AAX_Result EffectOperation42 (uint32_t, const void*, uint32_t, int32_t* value) override;
    AAX_Result EffectOperation43 (uint32_t, const void*, uint32_t, int32_t*) override;
    AAX_Result EffectOperation44 (uint32_t, const void*, uint32_t, int32_t*) override;
    AAX_Result EffectOperation45 (uint32_t, const void*, uint32_t, int32_t*) override;
    AAX_Result EffectOperation46 (uint32_t, const void*, uint32_t, int32_t*) override;
    AAX_Result EffectOperation47 (uint32_t, const void*, uint32_t, int32_t*) override;

    ACFResult InternalQueryInterface (const acfUID& interfaceID, void** out) override;

    /** Hook for the derived effect, called by Initialize() once the proxies exist; a non-zero
        result is Initialize()'s. */
    virtual AAX_Result EffectInit();

    /** The host proxies; null before Initialize() and after Uninitialize(). */
    AAX_IController* Controller() const;
    AAX_ITransport* Transport() const;

    /** Fills the chunk parser with one entry per parameter not in FilteredParameterIds. */
    void BuildChunkData() const;

protected:
    int32_t ChangeCount = 0;
    mutable int32_t ReportedChunkSize = 0;
    mutable AAX_CChunkDataParser ChunkParser;
    AAX_CPacketDispatcher PacketDispatcher;
    AAX_CParameterManager ParameterManager;
    std::set<std::string> FilteredParameterIds;

private:
    AAX_IParameter* findParameter (const char* id) const;
    int32_t chunkParameterCount() const;
    void releaseHostObjects();

    AAX_VController* controller = nullptr;
    AAX_VTransport* transport = nullptr;
    AAX_VAutomationDelegate* automationDelegate = nullptr;

    // Hosts call the chunk operations from several threads; they share the parser.
    mutable std::recursive_mutex chunkLock;
};

} // namespace kelmora::aax
