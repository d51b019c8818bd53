#pragma once

// Drives a plug-in the way an AAX host does: a module loaded by path through its ACF exports
// only, its description kept (AaxHost's Description), and instances of a described component
// with their context records, private data and master-bypass port. No JUCE.

#include "formats/aax/AAX_HostInterfaces.h"
#include "formats/aax/ChunkRecord.h"
#include "platform/aax/AAXConstants.h"
#include "platform/aax/AAX_IACFEffectParameters.h"
#include "tools/aaxhost/AaxHost.h"

#include <string>
#include <vector>

namespace kelmora::tools::aaxhost
{
/** A plug-in module opened with dlopen; closed on destruction. */
struct AaxModule
{
    explicit AaxModule (const std::string& modulePath);
    ~AaxModule() { close(); }

    AaxModule (const AaxModule&) = delete;
    AaxModule& operator= (const AaxModule&) = delete;

    void close();

    bool loaded() const { return handle != nullptr && registerPlugin && canUnloadNow && startup && shutdown; }

    /** Whether the module is still mapped into the process. */
    bool mapped() const;

    /** Starts the module and keeps its description in the host's state. */
    ACFResult describe (AaxHost& host);

    std::string path;
    void* handle;
    ACFResult (*registerPlugin) (IACFUnknown*, IACFUnknown**) = nullptr;
    ACFResult (*canUnloadNow) (IACFUnknown*) = nullptr;
    ACFResult (*startup) (IACFUnknown*) = nullptr;
    ACFResult (*shutdown) (IACFUnknown*) = nullptr;
};

/** A new object from one of the effect's factories (the caller's reference), or null. */
IACFUnknown* makeObject (const DescribedEffect& effect, AAX_ProcedureID procedure);

/** One instance of a described component on the host. Like a host, it answers the effect's set
    requests by handing the value back as an update. Takes over the object's reference. */
struct HostedInstance
{
    HostedInstance (AaxHost& host, IACFUnknown* object, const DescribedComponent& described);
    ~HostedInstance();

    HostedInstance (const HostedInstance&) = delete;
    HostedInstance& operator= (const HostedInstance&) = delete;

    AAX_FieldIndex fieldOf (const char* kind) const { return component.fields.at (kind); }

    /** Host side: lets the effect post its packets and keeps the latest for the port. */
    void dispatchPackets();

    /** Audio side: one call of the process procedure (allocates nothing); in and out may be
        the same channels. */
    void render (float* const* in, float* const* out, int32_t samples);

    /** Both, on copies of the input. */
    std::vector<std::vector<float>> process (std::vector<std::vector<float>> input);

    double value (const char* id) const;

    /** Size query then fetch, as a host saves a chunk. */
    std::vector<uint8_t> saveChunk (AAX_ChunkID id) const;

    AaxHost& host;
    DescribedComponent component;
    IACFUnknown* unknown;
    AAX_IACFEffectParameters* effect = nullptr;
    AAX_Result initResult = kAAXNullObject;
    std::map<AAX_FieldIndex, std::vector<uint64_t>> privateBlocks;
    std::vector<uint64_t> port;
};
} // namespace kelmora::tools::aaxhost
