#include "tools/vsthost/HostedEffect.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace kelmora::tools
{
namespace
{
// The instance whose entry point is running on this thread: its record has no host pointer yet.
thread_local HostedEffect* instanceBeingCreated = nullptr;

constexpr size_t textBufferSize = 256;

void copyOut (const char* text, void* ptr, size_t maxLen)
{
    auto* out = static_cast<char*> (ptr);
    std::strncpy (out, text, maxLen);
    out[maxLen] = 0;
}
} // namespace

std::unique_ptr<HostedEffect> HostedEffect::create (const VstPluginModule& module, std::string& error, RequestHook onRequest)
{
    return create (module.entryPoint(), error, std::move (onRequest));
}

std::unique_ptr<HostedEffect> HostedEffect::create (VstPluginMainProc entryPoint, std::string& error, RequestHook onRequest)
{
    std::unique_ptr<HostedEffect> hosted (new HostedEffect());
    hosted->onRequest = std::move (onRequest);

    instanceBeingCreated = hosted.get();
    AEffect* effect = entryPoint (&HostedEffect::hostCallback);
    instanceBeingCreated = nullptr;

    if (effect == nullptr)
    {
        error = "the entry point returned no effect";
        return nullptr;
    }

    if (effect->magic != kEffectMagic || effect->dispatcher == nullptr)
    {
        error = "the entry point returned a record without the effect magic";
        return nullptr;
    }

    effect->user = hosted.get();
    hosted->effect = effect;
    return hosted;
}

HostedEffect::~HostedEffect()
{
    close();
}

void HostedEffect::close()
{
    if (auto* closing = std::exchange (effect, nullptr))
        closing->dispatcher (closing, effClose, 0, 0, nullptr, 0.0f);
}

intptr_t HostedEffect::dispatch (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    return effect != nullptr ? effect->dispatcher (effect, opcode, index, value, ptr, opt) : 0;
}

//==============================================================================
intptr_t HostedEffect::hostCallback (AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    HostedEffect* host = nullptr;

    if (effect != nullptr && effect->user != nullptr)
        host = static_cast<HostedEffect*> (effect->user);
    else
        host = instanceBeingCreated;

    if (host == nullptr)
        return opcode == hostGetVersion ? 2400 : 0;

    {
        const std::lock_guard<std::mutex> lock (host->logLock);
        host->log.push_back ({ opcode, index, value, opt, std::this_thread::get_id() });
    }

    if (host->onRequest)
        host->onRequest (*host, opcode);

    return host->answer (opcode, index, value, ptr, opt);
}

intptr_t HostedEffect::answer (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    switch (opcode)
    {
        case hostGetVersion:                return 2400;
        case hostGetSampleRate:             return (intptr_t) rate;
        case hostGetBlockSize:              return maxBlock;
        case hostGetCurrentProcessLevel:    return processLevel.load();
        case hostIoChanged:                 return 1;
        case hostUpdateDisplay:             return 1;
        case hostAutomate:                  return 0;
        case hostBeginEdit:                 return 1;
        case hostEndEdit:                   return 1;
        case hostGetVendorVersion:          return 100;
        case hostGetTimeInfo:               return (intptr_t) &transport;

        case hostGetVendorString:
            if (ptr != nullptr) copyOut ("Kelmora Labs", ptr, 63);
            return ptr != nullptr ? 1 : 0;

        case hostGetProductString:
            if (ptr != nullptr) copyOut ("Quietline reference host", ptr, 63);
            return ptr != nullptr ? 1 : 0;

        case hostCanDo:
        {
            if (ptr == nullptr)
                return 0;

            const std::string what (static_cast<const char*> (ptr));
            if (what == "acceptIOChanges" || what == "startStopProcess")
                return 1;
            return -1;
        }

        default:
            return 0;
    }
}

std::vector<HostRequest> HostedEffect::requests() const
{
    const std::lock_guard<std::mutex> lock (logLock);
    return log;
}

void HostedEffect::clearRequests()
{
    const std::lock_guard<std::mutex> lock (logLock);
    log.clear();
}

size_t HostedEffect::requestsFrom (std::thread::id thread) const
{
    const std::lock_guard<std::mutex> lock (logLock);
    return (size_t) std::count_if (log.begin(), log.end(), [thread] (const HostRequest& r) { return r.thread == thread; });
}

//==============================================================================
std::string HostedEffect::textFrom (int32_t opcode, int32_t index)
{
    char text[textBufferSize] = {};
    dispatch (opcode, index, 0, text);
    text[textBufferSize - 1] = 0;
    return text;
}

std::string HostedEffect::effectName()      { return textFrom (effGetEffectName); }
std::string HostedEffect::vendorString()    { return textFrom (effGetVendorString); }
std::string HostedEffect::productString()   { return textFrom (effGetProductString); }
int32_t HostedEffect::vendorVersion()       { return (int32_t) dispatch (effGetVendorVersion); }
int32_t HostedEffect::tailSize()            { return (int32_t) dispatch (effGetTailSize); }
int32_t HostedEffect::category()            { return (int32_t) dispatch (effGetPlugCategory); }

intptr_t HostedEffect::canDo (const std::string& what)
{
    std::vector<char> text (what.begin(), what.end());
    text.push_back (0);
    return dispatch (effCanDo, 0, 0, text.data());
}

void HostedEffect::open()                       { dispatch (effOpen); }
void HostedEffect::setBlockSize (int32_t size)  { maxBlock = size; dispatch (effSetBlockSize, 0, size); }
void HostedEffect::resume()                     { dispatch (effMainsChanged, 0, 1); }
void HostedEffect::suspend()                    { dispatch (effMainsChanged, 0, 0); }

void HostedEffect::setSampleRate (double newRate)
{
    rate = newRate;
    dispatch (effSetSampleRate, 0, 0, nullptr, (float) newRate);
}

void HostedEffect::start (double newRate, int32_t maxBlockSize)
{
    setSampleRate (newRate);
    setBlockSize (maxBlockSize);
    resume();
}

float HostedEffect::getParameter (int32_t index)
{
    return effect->getParameter (effect, index);
}

void HostedEffect::setParameter (int32_t index, float normalisedValue)
{
    effect->setParameter (effect, index, normalisedValue);
}

std::string HostedEffect::parameterName (int32_t index)     { return textFrom (effGetParamName, index); }
std::string HostedEffect::parameterDisplay (int32_t index)  { return textFrom (effGetParamDisplay, index); }
std::string HostedEffect::parameterLabel (int32_t index)    { return textFrom (effGetParamLabel, index); }
bool HostedEffect::canBeAutomated (int32_t index)           { return dispatch (effCanBeAutomated, index) == 1; }

bool HostedEffect::setParameterFromText (int32_t index, const std::string& text)
{
    std::vector<char> buffer (text.begin(), text.end());
    buffer.push_back (0);
    return dispatch (effString2Parameter, index, 0, buffer.data()) != 0;
}

int32_t HostedEffect::program()                     { return (int32_t) dispatch (effGetProgram); }
void HostedEffect::setProgram (int32_t index)       { dispatch (effSetProgram, 0, index); }
std::string HostedEffect::programName()             { return textFrom (effGetProgramName); }

std::string HostedEffect::programNameIndexed (int32_t index)
{
    char text[textBufferSize] = {};
    dispatch (effGetProgramNameIndexed, index, 0, text);
    text[textBufferSize - 1] = 0;
    return text;
}

void HostedEffect::setProgramName (const std::string& name)
{
    char text[textBufferSize] = {};
    std::strncpy (text, name.c_str(), 24);
    dispatch (effSetProgramName, 0, 0, text);
}

std::vector<uint8_t> HostedEffect::getChunk (bool preset)
{
    void* data = nullptr;
    const auto size = dispatch (effGetChunk, preset ? 1 : 0, 0, &data);

    if (size <= 0 || data == nullptr)
        return {};

    const auto* bytes = static_cast<const uint8_t*> (data);
    return std::vector<uint8_t> (bytes, bytes + size);
}

intptr_t HostedEffect::setChunk (const std::vector<uint8_t>& data, bool preset)
{
    // The plug-in may keep no pointer into the block: hand it a copy that goes afterwards.
    std::vector<uint8_t> copy (data);
    return dispatch (effSetChunk, preset ? 1 : 0, (intptr_t) copy.size(), copy.empty() ? nullptr : copy.data());
}

bool HostedEffect::setBypass (bool on)
{
    return dispatch (effSetBypass, 0, on ? 1 : 0) != 0;
}

bool HostedEffect::setChannels (int32_t channels)
{
    if (channels != 1 && channels != 2)
        return false;

    VstSpeakerArrangement in {}, out {};
    for (auto* a : { &in, &out })
    {
        a->type = channels == 1 ? kSpeakerArrMono : kSpeakerArrStereo;
        a->numChannels = channels;
        for (int32_t i = 0; i < channels; ++i)
            a->speakers[i].type = channels == 1 ? kSpeakerM : (i == 0 ? kSpeakerL : kSpeakerR);
    }

    return dispatch (effSetSpeakerArrangement, 0, (intptr_t) &in, &out) != 0;
}

std::pair<int32_t, int32_t> HostedEffect::reportedChannels()
{
    VstSpeakerArrangement* in = nullptr;
    VstSpeakerArrangement* out = nullptr;

    if (dispatch (effGetSpeakerArrangement, 0, (intptr_t) &in, &out) == 0 || in == nullptr || out == nullptr)
        return { -1, -1 };

    return { in->numChannels, out->numChannels };
}

void HostedEffect::process (float* const* inputs, float* const* outputs, int32_t frames)
{
    const double quarterNotes = (double) position / rate * transportTempo / 60.0;
    const double quarterNotesPerBar = transportBeatsPerBar * 4.0 / transportBeatUnit;

    transport = {};
    transport.samplePos = (double) position;
    transport.sampleRate = rate;
    transport.ppqPos = quarterNotes;
    transport.tempo = transportTempo;
    transport.barStartPos = std::floor (quarterNotes / quarterNotesPerBar) * quarterNotesPerBar;
    transport.timeSigNumerator = transportBeatsPerBar;
    transport.timeSigDenominator = transportBeatUnit;
    transport.flags = kVstTransportPlaying | kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstTimeSigValid;

    effect->processReplacing (effect, const_cast<float**> (inputs), const_cast<float**> (outputs), frames);
    position += frames;
}
} // namespace kelmora::tools
