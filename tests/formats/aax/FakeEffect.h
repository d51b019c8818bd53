#pragma once

// A small effect for the AAX layer's tests: float parameters "gain" (0..1, default 0.5) and "freq"
// (20000..25000, default 21000, shortened "Freq" and "F"), the Boolean "MasterBypassID" (texts
// "bypass"/"on", 2 steps, type 0, its value posted on port 3). FakeEffect::create answers it with
// one reference, which the test releases.
// ChunkBuffer is a chunk record as a host allocates it.

#include "formats/aax/AAX_CBinaryDisplayDelegate.h"
#include "formats/aax/AAX_CBinaryTaperDelegate.h"
#include "formats/aax/AAX_CEffectParameters.h"
#include "formats/aax/AAX_CLinearTaperDelegate.h"
#include "formats/aax/AAX_CNumberDisplayDelegate.h"
#include "formats/aax/AAX_CPacketHandler.h"
#include "formats/aax/AAX_CParameter.h"

#include <gtest/gtest.h>

#include <memory>

namespace quietline::test::aax
{
using namespace kelmora::aax;

inline AAX_CParameter<float>* floatParameter (const char* id, const char* name, float value = 0.0f, float minimum = 0.0f, float maximum = 1.0f)
{
    return new AAX_CParameter<float> (id, AAX_CString (name), value, AAX_CLinearTaperDelegate<float, 0> (minimum, maximum),
                                      AAX_CNumberDisplayDelegate<float, 3u, 0u>(), true);
}

inline AAX_CParameter<bool>* boolParameter (const char* id, const char* off, const char* on)
{
    return new AAX_CParameter<bool> (id, AAX_CString (id), false, AAX_CBinaryTaperDelegate<bool>(), AAX_CBinaryDisplayDelegate<bool> (off, on), true);
}

/** The header and exactly the data bytes, so that the address sanitizer reports any read past the data. */
struct ChunkBuffer
{
    explicit ChunkBuffer (const std::vector<uint8_t>& data, uint32_t chunkID = 0) : bytes (new uint8_t[kChunkRecordHeaderSize + data.size()]())
    {
        *record() = { static_cast<int32_t> (data.size()), 0, {}, chunkID, {} };
        std::copy (data.begin(), data.end(), ChunkRecordData (record()));
    }

    /** The chunk the parser writes. */
    static std::vector<uint8_t> of (const AAX_CChunkDataParser& parser)
    {
        ChunkBuffer buffer { std::vector<uint8_t> (static_cast<size_t> (parser.GetChunkDataSize())) };
        EXPECT_EQ (parser.GetChunkData (buffer.record()), kAAXSuccess);
        return buffer.data();
    }

    ChunkRecord* record() { return reinterpret_cast<ChunkRecord*> (bytes.get()); }
    std::vector<uint8_t> data() { return { ChunkRecordData (record()), ChunkRecordData (record()) + record()->size }; }   // as far as the size says

    std::unique_ptr<uint8_t[]> bytes;
};

struct FakeEffectOptions
{
    bool masterBypass = true;
    AAX_Result effectInitResult = kAAXSuccess;
};

struct FakeEffect : AAX_CEffectParameters
{
    static FakeEffect* create (FakeEffectOptions options = {})
    {
        auto* effect = new FakeEffect();
        effect->options = options;
        return effect->AddRef(), effect;
    }

    AAX_Result EffectInit() override
    {
        add (floatParameter ("gain", "Gain", 0.5f));
        auto* freq = floatParameter ("freq", "Frequency", 21000.0f, 20000.0f, 25000.0f);
        freq->AddShortenedName (AAX_CString ("Freq"));
        freq->AddShortenedName (AAX_CString ("F"));
        add (freq);
        if (options.masterBypass)
        {
            auto* bypass = boolParameter ("MasterBypassID", "bypass", "on");
            bypass->SetNumberOfSteps (2);
            bypass->SetType (0);
            add (bypass);
            const AAX_CPacketHandler<AAX_CPacketDispatcher> handler (&PacketDispatcher, &AAX_CPacketDispatcher::GenerateSingleValuePacket);
            PacketDispatcher.RegisterPacket ("MasterBypassID", 3, &handler);
        }
        return options.effectInitResult;
    }

    AAX_IParameter* parameter (const char* id) const { return ParameterManager.GetParameterByID (id); }
    AAX_CParameterManager& manager() { return ParameterManager; }
    AAX_CPacketDispatcher& dispatcher() { return PacketDispatcher; }
    const std::set<std::string>& filtered() const { return FilteredParameterIds; }

    void add (AAX_IParameter* parameter)
    {
        // A second Initialize runs EffectInit again; the manager declines the duplicates.
        ParameterManager.AddParameter (parameter);
        if (ParameterManager.GetParameterByID (parameter->Identifier()) != parameter)
            delete parameter;
    }

    FakeEffectOptions options;
};
} // namespace quietline::test::aax
