#include "formats/aax/fakehost/FakeEffect.h"

#include "formats/aax/AAX_CBinaryDisplayDelegate.h"
#include "formats/aax/AAX_CBinaryTaperDelegate.h"
#include "formats/aax/AAX_CLinearTaperDelegate.h"
#include "formats/aax/AAX_CNumberDisplayDelegate.h"
#include "formats/aax/AAX_CPacketHandler.h"
#include "formats/aax/AAX_CParameter.h"

namespace quietline::test::aax
{
using namespace kelmora::aax;

FakeEffect* FakeEffect::create (FakeEffectOptions options)
{
    auto* effect = new FakeEffect (options);
    effect->AddRef();
    return effect;
}

FakeEffect::FakeEffect (FakeEffectOptions effectOptions) : options (effectOptions) {}

AAX_IParameter* FakeEffect::parameter (const char* id) const
{
    return ParameterManager.GetParameterByID (id);
}

void FakeEffect::add (AAX_IParameter* parameter)
{
    // A second Initialize runs EffectInit again; the manager declines the duplicates.
    ParameterManager.AddParameter (parameter);
    if (ParameterManager.GetParameterByID (parameter->Identifier()) != parameter)
        delete parameter;
}

AAX_Result FakeEffect::EffectInit()
{
    using Float = AAX_CParameter<float>;
    using Bool = AAX_CParameter<bool>;
    const AAX_CNumberDisplayDelegate<float, 3u, 0u> number;
    const AAX_CBinaryTaperDelegate<bool> binary;

    add (new Float ("gain", AAX_CString ("Gain"), 0.5f,
                                              AAX_CLinearTaperDelegate<float, 0> (0.0f, 1.0f), number, true));

    auto* freq = new Float ("freq", AAX_CString ("Frequency"), 21000.0f,
                            AAX_CLinearTaperDelegate<float, 0> (20000.0f, 25000.0f), number, true);
    freq->AddShortenedName (AAX_CString ("Freq"));
    freq->AddShortenedName (AAX_CString ("F"));
    add (freq);

    if (options.masterBypass)
    {
        auto* bypass = new Bool ("MasterBypassID", AAX_CString ("Master Bypass"), false, binary,
                                 AAX_CBinaryDisplayDelegate<bool> ("bypass", "on"), true);
        bypass->SetNumberOfSteps (2);
        bypass->SetType (0);
        add (bypass);

        if (options.bypassPacket)
        {
            const AAX_CPacketHandler<AAX_CPacketDispatcher> handler (&PacketDispatcher,
                                                                     &AAX_CPacketDispatcher::GenerateSingleValuePacket);
            PacketDispatcher.RegisterPacket ("MasterBypassID", bypassPort, &handler);
        }
    }

    if (options.preview)
        add (new Bool ("PreviewID", AAX_CString ("Preview"), false, binary,
                                                 AAX_CBinaryDisplayDelegate<bool> ("off", "on"), false));

    return options.effectInitResult;
}
} // namespace quietline::test::aax
