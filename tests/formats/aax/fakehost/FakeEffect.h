#pragma once

// A small effect for the AAX effect-layer tests: float parameters "gain" (0..1, default 0.5) and
// "freq" (20000..25000, default 21000, with shortened names), the Boolean "MasterBypassID"
// (texts "bypass"/"on", 2 steps, type 0, its value posted on port 3 as the adapter does) and,
// when asked for, a Boolean "PreviewID". All are added in EffectInit, as the adapter adds its own.
//
//     auto* effect = FakeEffect::create();       // one reference, released by the test
//     effect->Initialize (instance.unknown());
//     ...
//     effect->Uninitialize();
//     effect->Release();

#include "formats/aax/AAX_CEffectParameters.h"

#include <set>
#include <string>

namespace quietline::test::aax
{
struct FakeEffectOptions
{
    bool masterBypass = true;
    bool preview = false;
    bool bypassPacket = true;
    AAX_Result effectInitResult = kAAXSuccess;
};

class FakeEffect : public kelmora::aax::AAX_CEffectParameters
{
public:
    static constexpr uint32_t bypassPort = 3;

    /** A new effect holding one reference. */
    static FakeEffect* create (FakeEffectOptions options = {});

    AAX_Result EffectInit() override;

    /** The parameter by identifier, or null. */
    kelmora::aax::AAX_IParameter* parameter (const char* id) const;

    kelmora::aax::AAX_CParameterManager& manager() { return ParameterManager; }
    kelmora::aax::AAX_CPacketDispatcher& dispatcher() { return PacketDispatcher; }
    kelmora::aax::AAX_CChunkDataParser& parser() { return ChunkParser; }
    const std::set<std::string>& filtered() const { return FilteredParameterIds; }

private:
    explicit FakeEffect (FakeEffectOptions options);
    void add (kelmora::aax::AAX_IParameter* parameter);
    FakeEffectOptions options;
};
} // namespace quietline::test::aax
