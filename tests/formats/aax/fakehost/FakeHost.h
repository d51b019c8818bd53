#pragma once

// A fake AAX host for tests. FakeHost owns a host IACFUnknown that answers the component factory;
// the factory makes host services, collections, effect and component descriptors and property
// maps, each a counted fake that logs every call into the host's CallLog (interface name, method
// number, arguments). Switch parts off through FakeHostOptions, also between calls.
//
//     FakeHost host;
//     ACFStartup (host.unknown());
//     host.log().count ("hostServices", 4);
//
// Interface names in the log: "hostServices", "collection", "effectDescriptor",
// "componentDescriptor", "propertyMap", "factory".

#include "formats/aax/fakehost/CallLog.h"
#include "formats/aax/fakehost/FakeObject.h"

#include "platform/aax/IAAXHostDescription.h"
#include "platform/aax/IAAXHostServices.h"

#include <map>
#include <memory>

namespace quietline::test::aax
{
struct FakeHostOptions
{
    bool componentFactory = true;        // the host unknown answers the factory
    bool hostServices = true;            // the factory makes host services
    bool descriptions = true;            // the factory makes collections, descriptors and maps
    bool effectDescriptorV2 = true;      // second versions answered by the made objects
    bool componentDescriptorV2 = true;
    bool propertyMapV2 = true;
    bool pluginDefinition = true;        // a collection answers the plug-in-definition query
    AAX_Result hostResult = kAAXSuccess; // what every logged host method answers
};

class FakeHostUnknown;

class FakeHost
{
public:
    explicit FakeHost (FakeHostOptions options = {});
    ~FakeHost();   // gives back the test's reference to the host unknown

    IACFUnknown* unknown() const;
    CallLog& log() const { return *callLog; }
    FakeHostOptions& options() const { return *hostOptions; }

    FakeHost (const FakeHost&) = delete;
    FakeHost& operator= (const FakeHost&) = delete;

private:
    std::shared_ptr<CallLog> callLog;
    std::shared_ptr<FakeHostOptions> hostOptions;
    FakeHostUnknown* hostUnknown;
};

/** Shared state of one fake host: every fake it makes keeps it alive. */
struct FakeHostContext
{
    std::shared_ptr<CallLog> log;
    std::shared_ptr<FakeHostOptions> options;
};

class FakeHostUnknown : public FakeUnknown<IACFUnknown>
{
public:
    explicit FakeHostUnknown (FakeHostContext context);
    ACFResult QueryInterface (const acfUID& interfaceID, void** out) override;

private:
    FakeHostContext context;
};

class FakeComponentFactory : public FakeUnknown<IAAXHostComponentFactory>
{
public:
    explicit FakeComponentFactory (FakeHostContext context);
    ACFResult CreateInstance (const acfUID& classID, IACFUnknown* outer, const acfUID& interfaceID,
                              void** out) override;

protected:
    void* answer (const acfUID& interfaceID) override;

private:
    FakeHostContext context;
};

class FakeHostServices : public FakeUnknown<IAAXHostServices>
{
public:
    explicit FakeHostServices (FakeHostContext context);
    AAX_Result HandleAssertFailure (const char* file, int32_t line, const char* note) override;
    AAX_Result Trace (int32_t priority, const char* message) override;

protected:
    void* answer (const acfUID& interfaceID) override;

private:
    FakeHostContext context;
};

class FakePluginDefinition : public FakeUnknown<IAAXHostPluginDefinition>
{
public:
    FakePluginDefinition() : FakeUnknown ("pluginDefinition") {}

protected:
    void* answer (const acfUID& interfaceID) override;
};

class FakeCollection : public FakeUnknown<IAAXHostCollection>
{
public:
    explicit FakeCollection (FakeHostContext context);
    ACFResult QueryInterface (const acfUID& interfaceID, void** out) override;

    AAX_Result CollectionMethod3() override;
    AAX_Result CollectionMethod4() override;
    AAX_Result CollectionMethod5() override;
    AAX_Result CollectionMethod6() override;
    AAX_Result AddEffect (const char* effectID, IACFUnknown* effectDescriptor) override;
    AAX_Result SetManufacturerName (const char* name) override;
    AAX_Result AddPackageName (const char* name) override;
    AAX_Result SetPackageVersion (uint32_t version) override;
    AAX_Result SetProperties (IACFUnknown* propertyMap) override;

protected:
    void* answer (const acfUID& interfaceID) override;

private:
    AAX_Result logged (int method, std::vector<std::string> args);
    FakeHostContext context;
};

class FakeEffectDescriptor : public FakeUnknown<IAAXHostEffectDescriptor_V2>
{
public:
    explicit FakeEffectDescriptor (FakeHostContext context);

    AAX_Result AddComponent (IACFUnknown* componentDescriptor) override;
    AAX_Result AddName (const char* name) override;
    AAX_Result AddCategory (uint32_t category) override;
    AAX_Result AddCategoryBypassParameter (uint32_t category, const char* parameterID) override;
    AAX_Result AddProcPtr (void* procedure, AAX_ProcedureID procedureID) override;
    AAX_Result SetProperties (IACFUnknown* propertyMap) override;
    AAX_Result AddResourceInfo (uint32_t type, const char* info) override;
    AAX_Result AddMeterDescription (uint32_t meterID, const char* name, IACFUnknown* propertyMap) override;
    AAX_Result AddControlMIDINode (uint32_t nodeID, uint32_t nodeType, const char* name,
                                   uint32_t channelMask) override;

protected:
    void* answer (const acfUID& interfaceID) override;

private:
    AAX_Result logged (int method, std::vector<std::string> args);
    FakeHostContext context;
};

class FakeComponentDescriptor : public FakeUnknown<IAAXHostComponentDescriptor_V2>
{
public:
    explicit FakeComponentDescriptor (FakeHostContext context);

    AAX_Result Clear() override;
    AAX_Result AddReservedField (AAX_FieldIndex field, uint32_t fieldType) override;
    AAX_Result AddAudioIn (AAX_FieldIndex field) override;
    AAX_Result AddAudioOut (AAX_FieldIndex field) override;
    AAX_Result AddAudioBufferLength (AAX_FieldIndex field) override;
    AAX_Result AddSampleRate (AAX_FieldIndex field) override;
    AAX_Result AddClock (AAX_FieldIndex field) override;
    AAX_Result AddSideChainIn (AAX_FieldIndex field) override;
    AAX_Result AddDataInPort (AAX_FieldIndex field, uint32_t packetSize, uint32_t portType) override;
    AAX_Result AddAuxOutputStem (AAX_FieldIndex field, int32_t stemFormat, const char* name) override;
    AAX_Result AddPrivateData (AAX_FieldIndex field, int32_t size, uint32_t options) override;
    AAX_Result AddDmaInstance (AAX_FieldIndex field, uint32_t mode) override;
    AAX_Result AddMIDINode (AAX_FieldIndex field, uint32_t nodeType, const char* name,
                            uint32_t channelMask) override;
    AAX_Result AddProcessProc_Native (AAX_ProcessProc processProc, IACFUnknown* propertyMap,
                                      AAX_InstanceInitProc instanceInitProc,
                                      AAX_BackgroundProc backgroundProc,
                                      AAX_ProcedureID* outProcedureID) override;
    AAX_Result AddProcessProc_TI (const char* libraryFileName, const char* processProcName,
                                  IACFUnknown* propertyMap, const char* instanceInitProcName,
                                  const char* backgroundProcName) override;
    AAX_Result AddMeters (AAX_FieldIndex field, const uint32_t* meterIDs, uint32_t count) override;
    AAX_Result AddTemporaryData (AAX_FieldIndex field, uint32_t elementSize) override;

protected:
    void* answer (const acfUID& interfaceID) override;

private:
    AAX_Result logged (int method, std::vector<std::string> args);
    FakeHostContext context;
};

/** Keeps its properties. The reading methods answer in the low byte only (1 and the value for a
    stored property, else 0), with noise in the byte above. */
class FakePropertyMap : public FakeUnknown<IAAXHostPropertyMap_V2>
{
public:
    explicit FakePropertyMap (FakeHostContext context);

    int32_t GetProperty (uint32_t property, int32_t* value) override;
    AAX_Result AddProperty (uint32_t property, int32_t value) override;
    AAX_Result RemoveProperty (uint32_t property) override;
    AAX_Result AddPropertyWithIDArray (uint32_t property, const AAX_IdentifierTriad* ids,
                                       uint32_t count) override;
    int32_t GetPropertyWithIDArray (uint32_t property, const AAX_IdentifierTriad** ids,
                                    uint32_t* count) override;

    const std::map<uint32_t, int32_t>& properties() const { return values; }

protected:
    void* answer (const acfUID& interfaceID) override;

private:
    FakeHostContext context;
    std::map<uint32_t, int32_t> values;
    std::map<uint32_t, std::vector<AAX_IdentifierTriad>> idArrays;
};
} // namespace quietline::test::aax
