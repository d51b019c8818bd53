#include "formats/vst/ProbeEffect.h"
#include "formats/vst/RecordingHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <malloc.h>

namespace kelmora::vst::test
{
namespace
{
using Log = std::vector<std::string>;

/** AudioEffectX with nothing but the one operation a derived class must supply. */
class PlainEffect : public AudioEffectX
{
public:
    explicit PlainEffect (audioMasterCallback host = nullptr) : AudioEffectX (host, 1, 1) {}
    void processReplacing (float**, float**, int32_t) override {}
};

struct Row
{
    int32_t opcode;
    int32_t index;
    intptr_t value;
    bool withPointer;
    float opt;
    Log expectedCalls;
    intptr_t expectedResult;
};

void expectRows (ProbeEffect& effect, const std::vector<Row>& rows)
{
    for (const auto& row : rows)
    {
        effect.log.clear();
        auto* ptr = row.withPointer ? (void*) probePointer() : nullptr;
        const auto result = effect.dispatcher (row.opcode, row.index, row.value, ptr, row.opt);
        EXPECT_EQ (effect.log, row.expectedCalls) << "opcode " << row.opcode;
        EXPECT_EQ (result, row.expectedResult) << "opcode " << row.opcode;
    }
}

const intptr_t P = (intptr_t) probePointer();
} // namespace

//==============================================================================
TEST (AudioEffectXDispatcher, MapsArgumentsAndResultWidths)
{
    ProbeEffect effect;
    effect.intAnswer = -5;
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
}

TEST (AudioEffectXDispatcher, DeprecatedAndUnknownOpcodesCallNothing)
{
    ProbeEffect effect;

    for (int32_t opcode : { 28, 30, 31, 32, 36, 37, 43, 46, 53, 54, 55, 57, 80, 81, 1000, -1, INT32_MIN })
        expectRows (effect, { { opcode, 1, 1, true, 1.0f, {}, 0 } });
}

TEST (AudioEffectXDispatcher, MissingHostPointersAreNeverPassedOn)
{
    ProbeEffect effect;

    for (int32_t opcode : { effString2Parameter, effGetInputProperties, effGetOutputProperties,
                            effGetParameterProperties, effGetMidiKeyName, effProcessVarIo, effGetEffectName,
                            effGetVendorString, effGetProductString, effProcessEvents, effCanDo,
                            effShellGetNextPlugin, effBeginLoadBank, effBeginLoadProgram,
                            effGetProgramNameIndexed, effOfflineNotify, effOfflinePrepare, effOfflineRun })
        expectRows (effect, { { opcode, 0, 1, false, 0, {}, 0 } });

    // Both arrangement addresses are needed.
    expectRows (effect, {
        { effSetSpeakerArrangement, 0, 0, true, 0, {}, 0 },
        { effSetSpeakerArrangement, 0, P, false, 0, {}, 0 },
        { effGetSpeakerArrangement, 0, 0, true, 0, {}, 0 },
        { effGetSpeakerArrangement, 0, P, false, 0, {}, 0 },
    });
}

TEST (AudioEffectXDispatcher, KeyEventsReachTheEditorWithRangeCheckedCodes)
{
    ProbeEffect effect;
    expectRows (effect, {
        { effEditKeyDown, 65, 3, false, 1.0f, {}, 0 },
        { effSetEditKnobMode, 0, 2, false, 0, {}, 0 },
    });

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

TEST (AudioEffectXDispatcher, DefaultsAnswerNeutrally)
{
    PlainEffect effect;
    auto d = [&] (int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr) {
        return effect.dispatcher (opcode, index, value, ptr, 0.0f);
    };
    char text[80] = "unchanged";

    EXPECT_EQ (d (effGetVstVersion), 2400);
    EXPECT_EQ (d (effGetPlugCategory), 0);
    EXPECT_EQ (d (effGetCurrentMidiProgram), -1);
    EXPECT_EQ (d (effCanBeAutomated, 0), 1);
    EXPECT_EQ (d (effSetBypass, 0, 2), 0);
    EXPECT_EQ (d (effSetTotalSampleToProcess, 0, 123), 123);

    effect.isSynth();
    EXPECT_EQ (d (effGetPlugCategory), 2);

    VstSpeakerArrangement dummy {};
    VstSpeakerArrangement* in = &dummy;
    VstSpeakerArrangement* out = &dummy;
    EXPECT_EQ (d (effGetSpeakerArrangement, 0, (intptr_t) &in, &out), 0);
    EXPECT_EQ (in, nullptr);
    EXPECT_EQ (out, nullptr);

    EXPECT_EQ (d (effGetProgramName, 0, 0, text), 0);
    EXPECT_STREQ (text, "");
}

//==============================================================================
namespace
{
struct Request
{
    const char* name;
    std::function<intptr_t (AudioEffectX&)> call;
    int32_t opcode;
    int32_t index;
    intptr_t value;
    void* ptr;
    float opt;
};

std::vector<Request> requests()
{
    auto* P = (void*) probePointer();
    auto* file = reinterpret_cast<VstFileSelect*> (P);
    auto* task = reinterpret_cast<VstOfflineTask*> (P);
    auto* audioFile = reinterpret_cast<VstAudioFile*> (P);
    auto* window = reinterpret_cast<VstWindow*> (P);
    auto* text = probePointer();

    return {
        { "beginEdit", [] (auto& e) { return (intptr_t) e.beginEdit (3); }, 43, 3, 0, nullptr, 0 },
        { "endEdit", [] (auto& e) { return (intptr_t) e.endEdit (2); }, 44, 2, 0, nullptr, 0 },
        { "ioChanged", [] (auto& e) { return (intptr_t) e.ioChanged(); }, 13, 0, 0, nullptr, 0 },
        { "getInputLatency", [] (auto& e) { return (intptr_t) e.getInputLatency(); }, 18, 0, 0, nullptr, 0 },
        { "getOutputLatency", [] (auto& e) { return (intptr_t) e.getOutputLatency(); }, 19, 0, 0, nullptr, 0 },
        { "getTimeInfo", [] (auto& e) { return (intptr_t) e.getTimeInfo (0x200); }, 7, 0, 0x200, nullptr, 0 },
        { "getCurrentProcessLevel", [] (auto& e) { return (intptr_t) e.getCurrentProcessLevel(); }, 23, 0, 0, nullptr, 0 },
        { "getAutomationState", [] (auto& e) { return (intptr_t) e.getAutomationState(); }, 24, 0, 0, nullptr, 0 },
        { "getHostVendorString", [text] (auto& e) { return (intptr_t) e.getHostVendorString (text); }, 32, 0, 0, P, 0 },
        { "getHostProductString", [text] (auto& e) { return (intptr_t) e.getHostProductString (text); }, 33, 0, 0, P, 0 },
        { "getHostVendorVersion", [] (auto& e) { return (intptr_t) e.getHostVendorVersion(); }, 34, 0, 0, nullptr, 0 },
        { "hostVendorSpecific", [P] (auto& e) { return e.hostVendorSpecific (5, 6, P, 7.0f); }, 35, 5, 6, P, 7.0f },
        { "getHostLanguage", [] (auto& e) { return (intptr_t) e.getHostLanguage(); }, 38, 0, 0, nullptr, 0 },
        { "getDirectory", [] (auto& e) { return (intptr_t) e.getDirectory(); }, 41, 0, 0, nullptr, 0 },
        { "updateDisplay", [] (auto& e) { return (intptr_t) e.updateDisplay(); }, 42, 0, 0, nullptr, 0 },
        { "sizeWindow", [] (auto& e) { return (intptr_t) e.sizeWindow (406, 242); }, 15, 406, 242, nullptr, 0 },
        { "openFileSelector", [file] (auto& e) { return (intptr_t) e.openFileSelector (file); }, 45, 0, 0, P, 0 },
        { "closeFileSelector", [file] (auto& e) { return (intptr_t) e.closeFileSelector (file); }, 46, 0, 0, P, 0 },
        { "getChunkFile", [P] (auto& e) { return (intptr_t) e.getChunkFile (P); }, 48, 0, 0, P, 0 },
        { "offlineRead", [task] (auto& e) { return (intptr_t) e.offlineRead (task, 3); }, 26, 1, 3, P, 0 },
        { "offlineRead source", [task] (auto& e) { return (intptr_t) e.offlineRead (task, 3, false); }, 26, 0, 3, P, 0 },
        { "offlineWrite", [task] (auto& e) { return (intptr_t) e.offlineWrite (task, 4); }, 27, 0, 4, P, 0 },
        { "offlineStart", [audioFile] (auto& e) { return (intptr_t) e.offlineStart (audioFile, 2, 1); }, 25, 1, 2, P, 0 },
        { "wantEvents", [] (auto& e) { e.wantEvents (1); return (intptr_t) 0; }, 6, 0, 1, nullptr, 0 },
        { "tempoAt", [] (auto& e) { return (intptr_t) e.tempoAt (512); }, 10, 0, 512, nullptr, 0 },
        { "getNumAutomatableParameters", [] (auto& e) { return (intptr_t) e.getNumAutomatableParameters(); }, 11, 0, 0, nullptr, 0 },
        { "getParameterQuantization", [] (auto& e) { return (intptr_t) e.getParameterQuantization(); }, 12, 0, 0, nullptr, 0 },
        { "needIdle", [] (auto& e) { return (intptr_t) e.needIdle(); }, 14, 0, 0, nullptr, 0 },
        { "getPreviousPlug", [] (auto& e) { return (intptr_t) e.getPreviousPlug (3); }, 20, 0, 0, nullptr, 0 },
        { "getNextPlug", [] (auto& e) { return (intptr_t) e.getNextPlug (3); }, 21, 0, 0, nullptr, 0 },
        { "willProcessReplacing", [] (auto& e) { return (intptr_t) e.willProcessReplacing(); }, 22, 0, 0, nullptr, 0 },
        { "setOutputSamplerate", [] (auto& e) { e.setOutputSamplerate (96000.0f); return (intptr_t) 0; }, 30, 0, 0, nullptr, 96000.0f },
        { "getInputSpeakerArrangement", [] (auto& e) { return (intptr_t) e.getInputSpeakerArrangement(); }, 49, 0, 0, nullptr, 0 },
        { "getOutputSpeakerArrangement", [] (auto& e) { return (intptr_t) e.getOutputSpeakerArrangement(); }, 31, 0, 0, nullptr, 0 },
        { "openWindow", [window] (auto& e) { return (intptr_t) e.openWindow (window); }, 39, 0, 0, P, 0 },
        { "closeWindow", [window] (auto& e) { return (intptr_t) e.closeWindow (window); }, 40, 0, 0, P, 0 },
        { "canHostDo", [text] (auto& e) { return (intptr_t) e.canHostDo (text); }, 37, 0, 0, P, 0 },
        { "offlineGetCurrentPass", [] (auto& e) { return (intptr_t) e.offlineGetCurrentPass(); }, 28, 0, 0, nullptr, 0 },
        { "offlineGetCurrentMetaPass", [] (auto& e) { return (intptr_t) e.offlineGetCurrentMetaPass(); }, 29, 0, 0, nullptr, 0 },
    };
}
} // namespace

TEST (AudioEffectXHostRequests, SendOpcodeAndArgumentsWithTheRecord)
{
    for (const auto& r : requests())
    {
        RecordingHost host;
        PlainEffect effect (&RecordingHost::callback);
        r.call (effect);

        ASSERT_EQ (host.calls.size(), 1u) << r.name;
        const auto& c = host.last();
        EXPECT_EQ (c.effect, effect.getAeffect()) << r.name;
        EXPECT_EQ (c.opcode, r.opcode) << r.name;
        EXPECT_EQ (c.index, r.index) << r.name;
        EXPECT_EQ (c.value, r.value) << r.name;
        EXPECT_EQ (c.ptr, r.ptr) << r.name;
        EXPECT_EQ (c.opt, r.opt) << r.name;
    }
}

TEST (AudioEffectXHostRequests, WithoutAHostEveryRequestAnswersZero)
{
    for (const auto& r : requests())
    {
        PlainEffect effect;
        EXPECT_EQ (r.call (effect), 0) << r.name;
    }
}

TEST (AudioEffectXHostRequests, AnswersAreConvertedToTheRequestsWidth)
{
    RecordingHost host;
    PlainEffect effect (&RecordingHost::callback);
    const intptr_t wide = ((intptr_t) 1 << 32) | 7;

    host.answer (hostGetInputLatency, wide);
    EXPECT_EQ (effect.getInputLatency(), 7);
    host.answer (hostBeginEdit, (intptr_t) 1 << 32);
    EXPECT_TRUE (effect.beginEdit (0));
    host.answer (hostGetTimeInfo, wide);
    EXPECT_EQ ((intptr_t) effect.getTimeInfo (0), wide);
    host.answer (::hostVendorSpecific, wide);
    EXPECT_EQ (effect.hostVendorSpecific (0, 0, nullptr, 0), wide);
    host.answer (hostOfflineGetCurrentPass, 5);
    EXPECT_EQ (effect.offlineGetCurrentPass(), 1);

    // Null selectors and paths are not sent.
    host.calls.clear();
    EXPECT_FALSE (effect.openFileSelector (nullptr));
    EXPECT_FALSE (effect.closeFileSelector (nullptr));
    EXPECT_FALSE (effect.getChunkFile (nullptr));
    EXPECT_TRUE (host.calls.empty());
}

TEST (AudioEffectXHostRequests, CanHostDoIsTrueOnlyForAPositiveAnswer)
{
    RecordingHost host;
    PlainEffect effect (&RecordingHost::callback);
    char what[] = "sizeWindow";

    for (auto [answer, expected] : { std::pair<intptr_t, int32_t> { 1, 1 }, { 0, 0 }, { -1, 0 }, { 5, 1 },
                                     { -((intptr_t) 1 << 32), 0 } })
    {
        host.answer (hostCanDo, answer);
        EXPECT_EQ (effect.canHostDo (what), expected) << answer;
        EXPECT_EQ (host.last().ptr, what);
    }
}

TEST (AudioEffectXHostRequests, SampleRateAndBlockSizeKeepTheStoredValueUnlessTheHostKnowsBetter)
{
    PlainEffect alone;
    EXPECT_EQ (alone.updateSampleRate(), 44100.0);
    EXPECT_EQ (alone.updateBlockSize(), 1024);

    RecordingHost host;
    PlainEffect effect (&RecordingHost::callback);
    EXPECT_EQ (effect.updateSampleRate(), 44100.0);
    EXPECT_EQ (host.last().opcode, hostGetSampleRate);
    host.answer (hostGetSampleRate, 48000);
    EXPECT_EQ (effect.updateSampleRate(), 48000.0);
    EXPECT_EQ (effect.getSampleRate(), 48000.0f);
    host.answer (hostGetSampleRate, -1);
    EXPECT_EQ (effect.updateSampleRate(), 48000.0);

    EXPECT_EQ (effect.updateBlockSize(), 1024);
    EXPECT_EQ (host.last().opcode, hostGetBlockSize);
    host.answer (hostGetBlockSize, 256);
    EXPECT_EQ (effect.updateBlockSize(), 256);
    EXPECT_EQ (effect.getBlockSize(), 256);

    effect.setBlockSizeAndSampleRate (64, 192000.0f);
    EXPECT_EQ (effect.getBlockSize(), 64);
    EXPECT_EQ (effect.getSampleRate(), 192000.0f);
}

namespace
{
class MidiCurious : public PlainEffect
{
public:
    using PlainEffect::PlainEffect;
    int32_t canDoAnswer = 0;
    std::string askedFor;
    int32_t canDo (char* text) override { askedFor = text; return canDoAnswer; }
};
} // namespace

TEST (AudioEffectXHostRequests, ResumeAsksForEventsOnlyForSynthsAndMidiReceivers)
{
    RecordingHost host;
    MidiCurious effect (&RecordingHost::callback);

    for (auto [answer, asks] : { std::pair<int32_t, bool> { 1, true }, { -1, false }, { 0, false }, { 2, false } })
    {
        host.calls.clear();
        effect.canDoAnswer = answer;
        effect.resume();
        EXPECT_EQ (effect.askedFor, "receiveVstMidiEvent");
        ASSERT_EQ (host.calls.size(), asks ? 1u : 0u) << answer;
        if (asks)
        {
            EXPECT_EQ (host.last().opcode, hostWantEvents);
            EXPECT_EQ (host.last().value, 1);
        }
    }

    host.calls.clear();
    effect.canDoAnswer = 0;
    effect.isSynth();
    effect.dispatcher (effMainsChanged, 0, 1, nullptr, 0);
    ASSERT_EQ (host.calls.size(), 1u);
    EXPECT_EQ (host.last().opcode, hostWantEvents);
}

//==============================================================================
namespace
{
VstSpeakerArrangement* stereoArrangement (std::vector<char>& storage)
{
    storage.assign (vstSpeakerArrangementSize (2), 0);
    auto* a = reinterpret_cast<VstSpeakerArrangement*> (storage.data());
    a->type = kSpeakerArrStereo;
    a->numChannels = 2;
    for (int32_t i = 0; i < 2; ++i)
    {
        auto* s = vstSpeakerAt (a, i);
        s->azimuth = i == 0 ? -0.5f : 0.5f;
        s->elevation = 0.25f;
        s->radius = 1.0f;
        s->reserved = 2.0f;
        std::memset (s->name, 'n', sizeof (s->name)); // no NUL: the copy must add one
        s->type = i == 0 ? kSpeakerL : kSpeakerR;
        std::memset (s->future, 0x5a + i, sizeof (s->future));
    }
    return a;
}
} // namespace

TEST (AudioEffectXArrangements, MatchCopiesTypeAndEverySpeaker)
{
    PlainEffect effect;
    std::vector<char> storage;
    auto* from = stereoArrangement (storage);

    VstSpeakerArrangement* to = nullptr;
    ASSERT_TRUE (effect.allocateArrangement (&to, 5));
    ASSERT_TRUE (effect.matchArrangement (&to, from));
    ASSERT_NE (to, nullptr);
    EXPECT_GE (malloc_usable_size (to), 232u);
    EXPECT_EQ (to->type, kSpeakerArrStereo);
    EXPECT_EQ (to->numChannels, 2);

    for (int32_t i = 0; i < 2; ++i)
    {
        const auto* s = vstSpeakerAt (to, i);
        const auto* f = vstSpeakerAt (from, i);
        EXPECT_EQ (s->azimuth, f->azimuth);
        EXPECT_EQ (s->elevation, 0.25f);
        EXPECT_EQ (s->radius, 1.0f);
        EXPECT_EQ (s->reserved, 2.0f);
        EXPECT_EQ (std::string (s->name), std::string (63, 'n'));
        EXPECT_EQ (s->type, f->type);
        EXPECT_EQ (std::memcmp (s->future, f->future, sizeof (s->future)), 0);
    }

    EXPECT_TRUE (effect.deallocateArrangement (&to));
    EXPECT_EQ (to, nullptr);
    EXPECT_TRUE (effect.deallocateArrangement (&to));
}

TEST (AudioEffectXArrangements, ImpossibleChannelCountsAndNullArgumentsAreRefused)
{
    PlainEffect effect;
    VstSpeakerArrangement* a = nullptr;

    ASSERT_TRUE (effect.allocateArrangement (&a, 0));
    EXPECT_EQ (a->numChannels, 0);
    auto* kept = a;
    EXPECT_FALSE (effect.allocateArrangement (&a, -1));
    EXPECT_FALSE (effect.allocateArrangement (&a, INT32_MIN));
    EXPECT_FALSE (effect.allocateArrangement (&a, INT32_MAX));
    EXPECT_FALSE (effect.allocateArrangement (&a, AudioEffectX::maxArrangementChannels + 1));
    EXPECT_EQ (a, kept);
    EXPECT_FALSE (effect.allocateArrangement (nullptr, 2));

    std::vector<char> storage;
    auto* from = stereoArrangement (storage);
    from->numChannels = -3;
    EXPECT_FALSE (effect.matchArrangement (&a, from));
    EXPECT_FALSE (effect.matchArrangement (&a, nullptr));
    EXPECT_FALSE (effect.matchArrangement (nullptr, from));

    VstSpeakerProperties s {};
    EXPECT_FALSE (effect.copySpeaker (nullptr, &s));
    EXPECT_FALSE (effect.copySpeaker (&s, nullptr));
    EXPECT_FALSE (effect.deallocateArrangement (nullptr));
    effect.deallocateArrangement (&a);
}
} // namespace kelmora::vst::test
