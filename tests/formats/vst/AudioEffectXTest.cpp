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
TEST (AudioEffectXDispatcher, MapsArgumentsAndResultWidthsAndChecksHostValues)
{
    ProbeEffect effect;
    const intptr_t minus5 = -5;

    expectRows (effect, {
        { effString2Parameter, 2, 0, true, 0, { "string2parameter 2 P" }, 1 },
        { effGetInputProperties, 1, 0, true, 0, { "getInputProperties 1 P" }, 1 },
        { effGetOutputProperties, 0, 0, true, 0, { "getOutputProperties 0 P" }, 1 },
        { effGetParameterProperties, 3, 0, true, 0, { "getParameterProperties 3 P" }, 1 },
        { effGetMidiKeyName, 4, 0, true, 0, { "getMidiKeyName 4 P" }, 1 },
        { effProcessVarIo, 0, 0, true, 0, { "processVariableIo P" }, 1 },
        { effGetEffectName, 0, 0, true, 0, { "getEffectName P" }, 1 },
        { effGetVendorString, 0, 0, true, 0, { "getVendorString P" }, 1 },
        { effGetProductString, 0, 0, true, 0, { "getProductString P" }, 1 },
        { effCanBeAutomated, 3, 0, false, 0, { "canParameterBeAutomated 3" }, 1 },
        { effHasMidiProgramsChanged, 5, 0, false, 0, { "hasMidiProgramsChanged 5" }, 1 },
        { effBeginSetProgram, 0, 0, false, 0, { "beginSetProgram" }, 1 },
        { effEndSetProgram, 0, 0, false, 0, { "endSetProgram" }, 1 },
        { effSetBypass, 0, 2, false, 0, { "setBypass true" }, 1 },
        { effSetBypass, 0, 0, false, 0, { "setBypass false" }, 1 },
        { effSetPanLaw, 0, 1, false, 0.5f, { "setPanLaw 1 0.5" }, 1 },
        { effSetProcessPrecision, 0, 1, false, 0, { "setProcessPrecision 1" }, 1 },
        { effProcessEvents, 0, 0, true, 0, { "processEvents P" }, minus5 },
        { effCanDo, 0, 0, true, 0, { "canDo P" }, minus5 },
        { effShellGetNextPlugin, 0, 0, true, 0, { "getNextShellPlugin P" }, minus5 },
        { effBeginLoadBank, 0, 0, true, 0, { "beginLoadBank P" }, minus5 },
        { effBeginLoadProgram, 0, 0, true, 0, { "beginLoadProgram P" }, minus5 },
        { effGetVendorVersion, 0, 0, false, 0, { "getVendorVersion" }, minus5 },
        { effGetTailSize, 0, 0, false, 0, { "getGetTailSize" }, minus5 },
        { effGetVstVersion, 0, 0, false, 0, { "getVstVersion" }, minus5 },
        { effStartProcess, 0, 0, false, 0, { "startProcess" }, minus5 },
        { effStopProcess, 0, 0, false, 0, { "stopProcess" }, minus5 },
        { effGetNumMidiInputChannels, 0, 0, false, 0, { "getNumMidiInputChannels" }, minus5 },
        { effGetNumMidiOutputChannels, 0, 0, false, 0, { "getNumMidiOutputChannels" }, minus5 },
        { effGetPlugCategory, 0, 0, false, 0, { "getPlugCategory" }, (intptr_t) 0xFFFFFFFBu },
        { effGetMidiProgramName, 2, 0, true, 0, { "getMidiProgramName 2 P" }, minus5 },
        { effGetCurrentMidiProgram, 2, 0, true, 0, { "getCurrentMidiProgram 2 P" }, minus5 },
        { effGetMidiProgramCategory, 2, 0, true, 0, { "getMidiProgramCategory 2 P" }, minus5 },
        { effSetTotalSampleToProcess, 0, 4096, false, 0, { "setTotalSampleToProcess 4096" }, minus5 },
        { effGetProgramNameIndexed, 7, 3, true, 0, { "getProgramNameIndexed 3 7 P" }, 1 },
        { effOfflineNotify, 1, 4, true, 0, { "offlineNotify P 4 true" }, 1 },
        { effOfflinePrepare, 0, 4, true, 0, { "offlinePrepare P 4" }, 1 },
        { effOfflineRun, 0, 4, true, 0, { "offlineRun P 4" }, 1 },
        { effSetSpeakerArrangement, 0, P, true, 0, { "setSpeakerArrangement P P" }, 1 },
        { effGetSpeakerArrangement, 0, P, true, 0, { "getSpeakerArrangement P P" }, 1 },
        { effVendorSpecific, 9, 8, true, 1.5f, { "vendorSpecific 9 8 P 1.5" }, (intptr_t) 0x123456789 },
        // Below 25 the base dispatcher answers.
        { effGetProgram, 0, 0, false, 0, { "getProgram" }, minus5 },
    });

    effect.boolAnswer = false;
    expectRows (effect, { { effSetBypass, 0, 1, false, 0, { "setBypass true" }, 0 } });

    // Deprecated and unknown opcodes reach nothing.
    for (int32_t opcode : { 28, 30, 31, 32, 36, 37, 43, 46, 53, 54, 55, 57, 80, 81, 1000, -1, INT32_MIN })
        expectRows (effect, { { opcode, 1, 1, true, 1.0f, {}, 0 } });

    // Missing host pointers are never passed on; without an editor key events go nowhere.
    for (int32_t opcode : { effString2Parameter, effGetInputProperties, effGetOutputProperties,
                            effGetParameterProperties, effGetMidiKeyName, effProcessVarIo, effGetEffectName,
                            effGetVendorString, effGetProductString, effProcessEvents, effCanDo,
                            effShellGetNextPlugin, effBeginLoadBank, effBeginLoadProgram,
                            effGetProgramNameIndexed, effOfflineNotify, effOfflinePrepare, effOfflineRun })
        expectRows (effect, { { opcode, 0, 1, false, 0, {}, 0 } });

    expectRows (effect, {
        { effEditKeyDown, 65, 3, false, 1.0f, {}, 0 },
        { effSetSpeakerArrangement, 0, 0, true, 0, {}, 0 },
        { effSetSpeakerArrangement, 0, P, false, 0, {}, 0 },
        { effGetSpeakerArrangement, 0, 0, true, 0, {}, 0 },
        { effGetSpeakerArrangement, 0, P, false, 0, {}, 0 },
    });

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
/** A request, the arguments the host must receive with it, and its answer when there is no host. */
struct Request { const char* name; std::function<intptr_t (AudioEffectX&)> call;
                 int32_t opcode; int32_t index = 0; intptr_t value = 0; void* ptr = nullptr; float opt = 0; intptr_t withoutHost = 0; };

std::vector<Request> requests()
{
    auto* P = probePointer();
    using E = AudioEffectX;
    return {
        { "setParameterAutomated", [] (E& e) { e.setParameterAutomated (3, 0.75f); return (intptr_t) 0; }, 0, 3, 0, nullptr, 0.75f },
        { "getMasterVersion", [] (E& e) { return (intptr_t) e.getMasterVersion(); }, 1, 0, 0, nullptr, 0, 1 },
        { "getCurrentUniqueId", [] (E& e) { return (intptr_t) e.getCurrentUniqueId(); }, 2 },
        { "masterIdle", [] (E& e) { e.masterIdle(); return (intptr_t) 0; }, 3 },
        { "isInputConnected", [] (E& e) { return (intptr_t) e.isInputConnected (1); }, 4, 1, 0, nullptr, 0, 1 },
        { "isOutputConnected", [] (E& e) { return (intptr_t) e.isOutputConnected (0); }, 4, 0, 1, nullptr, 0, 1 },
        { "wantEvents", [] (E& e) { e.wantEvents (1); return (intptr_t) 0; }, 6, 0, 1 },
        { "getTimeInfo", [] (E& e) { return (intptr_t) e.getTimeInfo (0x200); }, 7, 0, 0x200 },
        { "ioChanged", [] (E& e) { return (intptr_t) e.ioChanged(); }, 13 },
        { "sizeWindow", [] (E& e) { return (intptr_t) e.sizeWindow (406, 242); }, 15, 406, 242 },
        { "getCurrentProcessLevel", [] (E& e) { return (intptr_t) e.getCurrentProcessLevel(); }, 23 },
        { "offlineRead", [P] (E& e) { return (intptr_t) e.offlineRead ((VstOfflineTask*) P, 3); }, 26, 1, 3, P },
        { "hostVendorSpecific", [P] (E& e) { return e.hostVendorSpecific (5, 6, P, 7.0f); }, 35, 5, 6, P, 7.0f },
        { "canHostDo", [P] (E& e) { return (intptr_t) e.canHostDo (P); }, 37, 0, 0, P },
        { "updateDisplay", [] (E& e) { return (intptr_t) e.updateDisplay(); }, 42 },
        { "beginEdit", [] (E& e) { return (intptr_t) e.beginEdit (3); }, 43, 3 },
        { "endEdit", [] (E& e) { return (intptr_t) e.endEdit (2); }, 44, 2 },
    };
}
} // namespace

TEST (AudioEffectXHostRequests, SendOpcodeAndArgumentsWithTheRecordOrAnswerNeutrallyWithoutAHost)
{
    for (const auto& r : requests())
    {
        PlainEffect alone;
        EXPECT_EQ (r.call (alone), r.withoutHost) << r.name;

        RecordingHost host;
        PlainEffect effect (&RecordingHost::callback);
        r.call (effect);
        const auto calls = host.snapshot();
        ASSERT_EQ (calls.size(), 1u) << r.name;
        const auto& c = calls[0];
        EXPECT_EQ (std::make_tuple (c.effect, c.opcode, c.index, c.value, c.ptr, c.opt),
                   std::make_tuple (effect.getAeffect(), r.opcode, r.index, r.value, r.ptr, r.opt)) << r.name;
    }
}

TEST (AudioEffectXHostRequests, AnswersAreReadAtTheRequestsWidthAndMeaning)
{
    RecordingHost host;
    PlainEffect effect (&RecordingHost::callback);
    const intptr_t wide = ((intptr_t) 1 << 32) | 7;

    for (auto [opcode, answer] : { std::pair<int32_t, intptr_t> { hostGetVersion, 2400 }, { hostPinConnected, 1 }, { hostGetInputLatency, wide },
                                   { hostBeginEdit, (intptr_t) 1 << 32 }, { hostGetTimeInfo, wide }, { ::hostVendorSpecific, wide },
                                   { hostOfflineGetCurrentPass, 5 } })
        host.answer (opcode, answer);
    // A pin-connected answer of 1 means "not connected".
    EXPECT_EQ (std::make_tuple (effect.getMasterVersion(), effect.isInputConnected (0), effect.getInputLatency(), effect.beginEdit (0),
                                (intptr_t) effect.getTimeInfo (0), effect.hostVendorSpecific (0, 0, nullptr, 0), effect.offlineGetCurrentPass()),
               std::make_tuple (2400, false, 7, true, wide, wide, 1));

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
    ASSERT_EQ (vstSpeakerArrangementSize (2), 232u);
    std::vector<char> storage (232, 0);
    auto* from = reinterpret_cast<VstSpeakerArrangement*> (storage.data());
    EXPECT_EQ (reinterpret_cast<char*> (vstSpeakerAt (from, 1)), storage.data() + 8 + 112);
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
