#include "formats/vst/ProbeEffect.h"
#include "formats/vst/RecordingHost.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <tuple>

namespace kelmora::vst::test
{
namespace
{
/** AudioEffectX with nothing but the one operation a derived class must supply. */
class PlainEffect : public AudioEffectX
{
public:
    explicit PlainEffect (audioMasterCallback host = nullptr) : AudioEffectX (host, 1, 1) {}
    void processReplacing (float**, float**, int32_t) override {}
};

const intptr_t P = (intptr_t) probePointer();
} // namespace

//==============================================================================
TEST (AudioEffectXDispatcher, ConvertsArgumentsAndResultWidthsAndChecksHostValues)
{
    ProbeEffect effect;

    expectRows (effect, {
        { effSetBypass, 0, 2, false, 0, { "setBypass true" }, 1 },
        { effSetBypass, 0, 0, false, 0, { "setBypass false" }, 1 },
        // Signed answers keep their sign; the category is an unsigned number.
        { effGetVendorVersion, 0, 0, false, 0, { "getVendorVersion" }, -5 },
        { effGetPlugCategory, 0, 0, false, 0, { "getPlugCategory" }, (intptr_t) 0xFFFFFFFBu },
        { effVendorSpecific, 9, 8, true, 1.5f, { "vendorSpecific 9 8 P 1.5" }, (intptr_t) 0x123456789 },
        { effGetProgramNameIndexed, 7, 3, true, 0, { "getProgramNameIndexed 3 7 P" }, 1 },
        { effSetSpeakerArrangement, 0, P, true, 0, { "setSpeakerArrangement P P" }, 1 },
        { effGetSpeakerArrangement, 0, P, true, 0, { "getSpeakerArrangement P P" }, 1 },
    });
    effect.boolAnswer = false;
    expectRows (effect, { { effSetBypass, 0, 1, false, 0, { "setBypass true" }, 0 } });

    // Deprecated and unknown opcodes, missing host pointers, and key events without an editor
    // reach nothing.
    expectNothingFor (effect, { 28, 46, 81, 1000, INT32_MIN }, 1, true, 1.0f);
    expectNothingFor (effect, { effString2Parameter, effGetEffectName, effGetVendorString, effGetProductString, effCanDo,
                                effGetProgramNameIndexed, effSetSpeakerArrangement, effGetSpeakerArrangement }, 1, false);
    expectNothingFor (effect, { effSetSpeakerArrangement, effGetSpeakerArrangement }, 0, true);
    expectNothingFor (effect, { effEditKeyDown, effSetEditKnobMode }, 3, false, 1.0f);

    // Key events reach an attached editor only, with codes range-checked before conversion.
    effect.attachEditor (new ProbeEditor (effect.log));
    expectRows (effect, {
        { effEditKeyDown, 65, 0x1203, false, 3.9f, { "editor keyDown 65 3 3" }, 1 },
        { effEditKeyUp, 66, 7, false, 258.0f, { "editor keyUp 66 7 2" }, 1 },
        { effEditKeyDown, 65, 3, false, -1.0f, { "editor keyDown 65 3 255" }, 1 },
        { effSetEditKnobMode, 0, 2, false, 0, { "editor knobMode 2" }, 1 },
        { effEditKeyDown, 65, 3, false, std::nanf (""), {}, 0 },
        { effEditKeyDown, 65, 3, false, 1e20f, {}, 0 },
        { effEditKeyUp, 65, 3, false, -1e20f, {}, 0 },
        { effEditKeyUp, 65, 3, false, INFINITY, {}, 0 },
        { effEditKeyUp, 65, 3, false, 2147483648.0f, {}, 0 },
    });
}

//==============================================================================
namespace
{
/** A request, the arguments the host must receive with it, the answer without a host, and what
    a host's answer of 2^32 becomes (0 if it were cut to 32 bits). */
struct Request { const char* name; std::function<intptr_t (AudioEffectX&)> call; int32_t opcode; int32_t index;
                 intptr_t value; void* ptr; float opt; intptr_t withoutHost, fromWideAnswer; };

constexpr intptr_t wide = (intptr_t) 1 << 32;

std::vector<Request> requests()
{
    auto* P = probePointer();
    using E = AudioEffectX;
    return {
        { "setParameterAutomated", [] (E& e) { e.setParameterAutomated (3, 0.75f); return (intptr_t) 0; }, hostAutomate, 3, 0, nullptr, 0.75f, 0, 0 },
        { "getMasterVersion", [] (E& e) { return (intptr_t) e.getMasterVersion(); }, hostGetVersion, 0, 0, nullptr, 0, 1, 1 },
        // A pin-connected answer other than 0 means "not connected".
        { "isOutputConnected", [] (E& e) { return (intptr_t) e.isOutputConnected (0); }, hostPinConnected, 0, 1, nullptr, 0, 1, 0 },
        { "sizeWindow", [] (E& e) { return (intptr_t) e.sizeWindow (406, 242); }, hostSizeWindow, 406, 242, nullptr, 0, 0, 1 },
        { "offlineRead", [P] (E& e) { return (intptr_t) e.offlineRead ((VstOfflineTask*) P, 3); }, hostOfflineRead, 1, 3, P, 0, 0, 1 },
        { "hostVendorSpecific", [P] (E& e) { return e.hostVendorSpecific (5, 6, P, 7.0f); }, ::hostVendorSpecific, 5, 6, P, 7.0f, 0, wide },
        { "beginEdit", [] (E& e) { return (intptr_t) e.beginEdit (2); }, hostBeginEdit, 2, 0, nullptr, 0, 0, 1 },
        { "getTimeInfo", [] (E& e) { return (intptr_t) e.getTimeInfo (0x200); }, hostGetTimeInfo, 0, 0x200, nullptr, 0, 0, wide },
        { "offlineGetCurrentPass", [] (E& e) { return (intptr_t) e.offlineGetCurrentPass(); }, hostOfflineGetCurrentPass, 0, 0, nullptr, 0, 0, 1 },
    };
}
} // namespace

TEST (AudioEffectXHostRequests, SendTheirArgumentsAndReadTheAnswerAtItsWidthAndMeaning)
{
    for (const auto& r : requests())
    {
        PlainEffect alone;
        EXPECT_EQ (r.call (alone), r.withoutHost) << r.name;

        RecordingHost host;
        host.answer (r.opcode, wide);
        PlainEffect effect (&RecordingHost::callback);
        EXPECT_EQ (r.call (effect), r.fromWideAnswer) << r.name;
        const auto calls = host.snapshot();
        ASSERT_EQ (calls.size(), 1u) << r.name;
        const auto& c = calls[0];
        EXPECT_EQ (std::make_tuple (c.effect, c.opcode, c.index, c.value, c.ptr, c.opt),
                   std::make_tuple (effect.getAeffect(), r.opcode, r.index, r.value, r.ptr, r.opt)) << r.name;
    }

    RecordingHost host;
    PlainEffect effect (&RecordingHost::callback);
    // canHostDo is true only for a positive answer.
    char what[] = "sizeWindow";
    for (auto [answer, expected] : { std::pair<intptr_t, int32_t> { 1, 1 }, { 0, 0 }, { -1, 0 }, { 5, 1 }, { -((intptr_t) 1 << 32), 0 } })
    {
        host.answer (hostCanDo, answer);
        EXPECT_EQ (effect.canHostDo (what), expected) << answer;
    }

    // Null selectors and paths are not sent.
    host.clear();
    EXPECT_FALSE (effect.openFileSelector (nullptr) || effect.closeFileSelector (nullptr) || effect.getChunkFile (nullptr));
    EXPECT_TRUE (host.snapshot().empty());
}

//==============================================================================
TEST (AudioEffectXArrangements, MatchCopiesEverySpeakerAndImpossibleCountsAreRefused)
{
    std::vector<char> storage (vstSpeakerArrangementSize (2), 0);
    auto* from = reinterpret_cast<VstSpeakerArrangement*> (storage.data());
    from->type = kSpeakerArrStereo;
    from->numChannels = 2;
    for (int32_t i = 0; i < 2; ++i)
        std::memset (vstSpeakerAt (from, i)->name, 'n', sizeof (VstSpeakerProperties::name)); // no NUL
    vstSpeakerAt (from, 1)->azimuth = 0.5f;
    vstSpeakerAt (from, 1)->type = kSpeakerR;

    PlainEffect effect;
    VstSpeakerArrangement* to = nullptr;
    ASSERT_TRUE (effect.allocateArrangement (&to, 5));
    ASSERT_TRUE (effect.matchArrangement (&to, from));
    EXPECT_EQ (std::tie (to->type, to->numChannels), std::tie (from->type, from->numChannels));
    for (int32_t i = 0; i < 2; ++i)
    {
        const auto *s = vstSpeakerAt (to, i), *f = vstSpeakerAt (from, i);
        EXPECT_EQ (std::tie (s->azimuth, s->type), std::tie (f->azimuth, f->type));
        EXPECT_EQ (std::string (s->name), std::string (63, 'n'));
    }

    auto* kept = to;
    for (int32_t count : { -1, INT32_MIN, INT32_MAX, AudioEffectX::maxArrangementChannels + 1 })
        EXPECT_FALSE (effect.allocateArrangement (&to, count)) << count;
    EXPECT_EQ (to, kept);
    from->numChannels = -3;
    EXPECT_FALSE (effect.matchArrangement (&to, from) || effect.matchArrangement (&to, nullptr) || effect.matchArrangement (nullptr, from));
    VstSpeakerProperties s {};
    EXPECT_FALSE (effect.copySpeaker (nullptr, &s) || effect.copySpeaker (&s, nullptr) || effect.allocateArrangement (nullptr, 2));
    EXPECT_FALSE (effect.deallocateArrangement (nullptr));
    EXPECT_TRUE (effect.deallocateArrangement (&to));
    EXPECT_EQ (to, nullptr);
}
} // namespace kelmora::vst::test
