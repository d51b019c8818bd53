#include "formats/vst/ProbeEffect.h"
#include "formats/vst/RecordingHost.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

namespace kelmora::vst::test
{
namespace
{
using Log = std::vector<std::string>;

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

std::string textOf (void (AudioEffect::*convert) (float, char*, int32_t), AudioEffect& effect, float value, int32_t maxLen = 8)
{
    char text[40];
    std::memset (text, 'x', sizeof (text));
    (effect.*convert) (value, text, maxLen);
    return text;
}

std::string intText (AudioEffect& effect, int32_t value, int32_t maxLen = 8)
{
    char text[40];
    std::memset (text, 'x', sizeof (text));
    effect.int2string (value, text, maxLen);
    return text;
}
} // namespace

//==============================================================================
TEST (AudioEffectRecord, FreshObjectHasTheDocumentedRecordAndFields)
{
    ProbeEffect effect (nullptr, 10, 4);
    const AEffect& e = *effect.getAeffect();

    EXPECT_EQ (e.magic, 0x56737450);
    EXPECT_EQ (e.dispatcher, &AudioEffect::dispatchEffectClass);
    EXPECT_EQ (e.process, &AudioEffect::processClass);
    EXPECT_EQ (e.setParameter, &AudioEffect::setParameterClass);
    EXPECT_EQ (e.getParameter, &AudioEffect::getParameterClass);
    EXPECT_EQ (e.processReplacing, &AudioEffect::processClassReplacing);
    EXPECT_EQ (e.processDoubleReplacing, &AudioEffect::processClassDoubleReplacing);
    EXPECT_EQ (e.numPrograms, 10);
    EXPECT_EQ (e.numParams, 4);
    EXPECT_EQ (e.numInputs, 1);
    EXPECT_EQ (e.numOutputs, 2);
    EXPECT_EQ (e.flags, 0x10);
    EXPECT_EQ (e.resvd1, 0);
    EXPECT_EQ (e.resvd2, 0);
    EXPECT_EQ (e.initialDelay, 0);
    EXPECT_EQ (e.realQualities, 0);
    EXPECT_EQ (e.offQualities, 0);
    EXPECT_EQ (e.ioRatio, 1.0f);
    EXPECT_EQ (e.object, &effect);
    EXPECT_EQ (e.user, nullptr);
    EXPECT_EQ (e.uniqueID, 0x4E6F4566);
    EXPECT_EQ (e.version, 1);
    for (char c : e.future)
        EXPECT_EQ (c, 0);

    // Alignment gaps are part of what the host sees: they stay zero as well.
    const auto* bytes = reinterpret_cast<const unsigned char*> (&e);
    for (int offset : { 4, 5, 6, 7, 60, 61, 62, 63 })
        EXPECT_EQ (bytes[offset], 0) << "byte " << offset;

    EXPECT_EQ (effect.getSampleRate(), 44100.0f);
    EXPECT_EQ (effect.getBlockSize(), 1024);
    EXPECT_EQ (effect.current(), 0);
    EXPECT_EQ (effect.getEditor(), nullptr);
}

TEST (AudioEffectRecord, EachFlagSetterTogglesOnlyItsOwnBit)
{
    ProbeEffect effect;
    auto& flags = effect.getAeffect()->flags;

    struct Setter { void (*set) (ProbeEffect&, bool); int32_t bit; };
    const Setter setters[] = {
        { [] (ProbeEffect& e, bool s) { e.hasClip (s); }, 0x2 },
        { [] (ProbeEffect& e, bool s) { e.hasVu (s); }, 0x4 },
        { [] (ProbeEffect& e, bool s) { e.canMono (s); }, 0x8 },
        { [] (ProbeEffect& e, bool s) { e.canProcessReplacing (s); }, 0x10 },
        { [] (ProbeEffect& e, bool s) { e.programsAreChunks (s); }, 0x20 },
        { [] (ProbeEffect& e, bool s) { e.isSynth (s); }, 0x100 },
        { [] (ProbeEffect& e, bool s) { e.noTail (s); }, 0x200 },
        { [] (ProbeEffect& e, bool s) { e.wantAsyncOperation (s); }, 0x400 },
        { [] (ProbeEffect& e, bool s) { e.hasExternalBuffer (s); }, 0x800 },
        { [] (ProbeEffect& e, bool s) { e.canDoubleReplacing (s); }, 0x1000 },
    };

    for (const auto& s : setters)
    {
        flags = 0x5000'0000;
        s.set (effect, true);
        EXPECT_EQ (flags, 0x5000'0000 | s.bit);
        s.set (effect, false);
        EXPECT_EQ (flags, 0x5000'0000);
    }
}

//==============================================================================
TEST (AudioEffectCallbacks, RecordCallbacksReachTheObjectAndCloseDeletesIt)
{
    bool destroyed = false;
    auto* effect = new ProbeEffect;
    effect->destroyed = &destroyed;
    AEffect* e = effect->getAeffect();

    EXPECT_EQ (e->getParameter (e, 2), 0.25f);
    e->setParameter (e, 1, 0.5f);
    e->process (e, nullptr, nullptr, 16);
    e->processReplacing (e, nullptr, nullptr, 32);
    e->processDoubleReplacing (e, nullptr, nullptr, 64);
    EXPECT_EQ (e->dispatcher (e, effIdentify, 0, 0, nullptr, 0), 0x4E764566);
    EXPECT_EQ (effect->log, (Log { "getParameter 2", "setParameter 1 0.5", "process 16",
                                   "processReplacing 32", "processDoubleReplacing 64" }));

    EXPECT_EQ (e->dispatcher (e, effClose, 0, 0, nullptr, 0), 1);
    EXPECT_TRUE (destroyed);

    // A record without an object (or no record) reaches nothing.
    AEffect empty {};
    EXPECT_EQ (AudioEffect::dispatchEffectClass (&empty, effClose, 0, 0, nullptr, 0), 0);
    EXPECT_EQ (AudioEffect::dispatchEffectClass (nullptr, effOpen, 0, 0, nullptr, 0), 0);
    EXPECT_EQ (AudioEffect::getParameterClass (&empty, 0), 0.0f);
    AudioEffect::processClassReplacing (&empty, nullptr, nullptr, 4);
}

//==============================================================================
TEST (AudioEffectDispatcher, MapsOpcodesZeroToTwentyFour)
{
    ProbeEffect effect;
    effect.intAnswer = -5;

    expectRows (effect, {
        { effOpen, 0, 0, false, 0, { "open" }, 0 },
        { effClose, 0, 0, false, 0, { "close" }, 0 },
        { effSetProgram, 0, 3, false, 0, { "setProgram 3" }, 0 },
        { effGetProgram, 0, 0, false, 0, { "getProgram" }, -5 },
        { effSetProgramName, 0, 0, true, 0, { "setProgramName P" }, 0 },
        { effGetProgramName, 0, 0, true, 0, { "getProgramName P" }, 0 },
        { effGetParamLabel, 2, 0, true, 0, { "getParameterLabel 2 P" }, 0 },
        { effGetParamDisplay, 3, 0, true, 0, { "getParameterDisplay 3 P" }, 0 },
        { effGetParamName, 1, 0, true, 0, { "getParameterName 1 P" }, 0 },
        { effGetVu, 0, 0, false, 0, {}, 0 },
        { effSetSampleRate, 0, 0, false, 96000.0f, { "setSampleRate 96000" }, 0 },
        { effSetBlockSize, 0, 512, false, 0, { "setBlockSize 512" }, 0 },
        { effMainsChanged, 0, 0, false, 0, { "suspend" }, 0 },
        { effMainsChanged, 0, 7, false, 0, { "resume" }, 0 },
        { effEditGetRect, 0, 0, true, 0, {}, 0 },
        { effEditOpen, 0, 0, true, 0, {}, 0 },
        { effEditClose, 0, 0, false, 0, {}, 0 },
        { effEditDraw, 0, 0, false, 0, {}, 0 },
        { effEditMouse, 0, 0, false, 0, {}, 0 },
        { effEditKey, 0, 0, false, 0, {}, 0 },
        { effEditIdle, 0, 0, false, 0, {}, 0 },
        { effEditTop, 0, 0, false, 0, {}, 0 },
        { effEditSleep, 0, 0, false, 0, {}, 0 },
        { effIdentify, 0, 0, false, 0, {}, 0x4E764566 },
        { effGetChunk, 0, 0, true, 0, { "getChunk P false" }, -5 },
        { effGetChunk, 1, 0, true, 0, { "getChunk P true" }, -5 },
        { effSetChunk, 0, 100, true, 0, { "setChunk P 100 false" }, -5 },
        { effSetChunk, 1, 100, true, 0, { "setChunk P 100 true" }, -5 },
        { -1, 0, 0, true, 0, {}, 0 },
    });
}

TEST (AudioEffectDispatcher, ProgramNumbersOutsideTheBankAreIgnored)
{
    ProbeEffect effect (nullptr, 10, 4);

    expectRows (effect, {
        { effSetProgram, 0, 9, false, 0, { "setProgram 9" }, 0 },
        { effSetProgram, 0, 10, false, 0, {}, 0 },
        { effSetProgram, 0, -1, false, 0, {}, 0 },
        { effSetProgram, 0, (intptr_t) INT32_MIN, false, 0, {}, 0 },
        { effSetProgram, 0, (intptr_t) 1 << 40, false, 0, {}, 0 },
    });
    EXPECT_EQ (effect.current(), 9);
}

TEST (AudioEffectDispatcher, HostPointersAndChunkSizesAreCheckedBeforeUse)
{
    ProbeEffect effect;

    expectRows (effect, {
        { effSetProgramName, 0, 0, false, 0, {}, 0 },
        { effGetProgramName, 0, 0, false, 0, {}, 0 },
        { effGetParamLabel, 0, 0, false, 0, {}, 0 },
        { effGetParamDisplay, 0, 0, false, 0, {}, 0 },
        { effGetParamName, 0, 0, false, 0, {}, 0 },
        { effGetChunk, 0, 0, false, 0, {}, 0 },
        // An empty, negative or absent chunk leaves the state alone.
        { effSetChunk, 0, 100, false, 0, {}, 0 },
        { effSetChunk, 0, 0, true, 0, {}, 0 },
        { effSetChunk, 0, -4, true, 0, {}, 0 },
        { effSetChunk, 0, (intptr_t) 1 << 32, true, 0, {}, 0 },
        { effSetChunk, 0, 1, true, 0, { "setChunk P 1 false" }, -5 },
    });
}

TEST (AudioEffectDispatcher, EditorOpcodesReachAnAttachedEditorOnly)
{
    ProbeEffect effect;
    expectRows (effect, { { effEditGetRect, 0, 0, true, 0, {}, 0 }, { effEditOpen, 0, 0, true, 0, {}, 0 } });

    effect.attachEditor (new ProbeEditor (effect.log));
    EXPECT_NE (effect.getEditor(), nullptr);

    expectRows (effect, {
        { effEditGetRect, 0, 0, true, 0, { "editor getRect" }, 1 },
        { effEditGetRect, 0, 0, false, 0, {}, 0 },
        { effEditOpen, 0, 0, true, 0, { "editor open" }, 1 },
        { effEditIdle, 0, 0, false, 0, { "editor idle" }, 0 },
        { effEditClose, 0, 0, false, 0, { "editor close" }, 0 },
        { effEditDraw, 0, 0, true, 0, {}, 0 },
    });
}

//==============================================================================
TEST (AudioEffectHostRequests, SendTheRecordOpcodeAndArguments)
{
    RecordingHost host;
    ProbeEffect effect (&RecordingHost::callback);

    effect.setParameterAutomated (3, 0.75f);
    ASSERT_EQ (host.calls.size(), 1u);
    EXPECT_EQ (effect.log, (Log { "setParameter 3 0.75" }));
    EXPECT_EQ (host.last().effect, effect.getAeffect());
    EXPECT_EQ (host.last().opcode, hostAutomate);
    EXPECT_EQ (host.last().index, 3);
    EXPECT_EQ (host.last().value, 0);
    EXPECT_EQ (host.last().ptr, nullptr);
    EXPECT_EQ (host.last().opt, 0.75f);

    EXPECT_EQ (effect.getMasterVersion(), 1);
    host.answer (hostGetVersion, 2400);
    EXPECT_EQ (effect.getMasterVersion(), 2400);

    host.answer (hostGetCurrentUniqueId, 0x4F713162);
    EXPECT_EQ (effect.getCurrentUniqueId(), 0x4F713162);

    effect.masterIdle();
    EXPECT_EQ (host.last().opcode, hostIdle);

    EXPECT_TRUE (effect.isInputConnected (1));
    EXPECT_EQ (host.last().opcode, hostPinConnected);
    EXPECT_EQ (host.last().index, 1);
    EXPECT_EQ (host.last().value, 0);
    EXPECT_TRUE (effect.isOutputConnected (0));
    EXPECT_EQ (host.last().value, 1);

    host.answer (hostPinConnected, 1);
    EXPECT_FALSE (effect.isInputConnected (0));
    EXPECT_FALSE (effect.isOutputConnected (0));
}

TEST (AudioEffectHostRequests, WithoutAHostAnswerNeutrally)
{
    ProbeEffect effect;
    effect.setParameterAutomated (0, 0.5f);
    EXPECT_EQ (effect.log, (Log { "setParameter 0 0.5" }));
    EXPECT_EQ (effect.getMasterVersion(), 1);
    EXPECT_EQ (effect.getCurrentUniqueId(), 0);
    EXPECT_TRUE (effect.isInputConnected (0));
    EXPECT_TRUE (effect.isOutputConnected (0));
    effect.masterIdle();
}

//==============================================================================
TEST (AudioEffectText, Float2StringGivesTheEightPlaceTexts)
{
    ProbeEffect e;
    const auto f = &AudioEffect::float2string;

    EXPECT_EQ (textOf (f, e, 0.0f), "0.000000");
    EXPECT_EQ (textOf (f, e, 0.5f), "0.500000");
    EXPECT_EQ (textOf (f, e, 1234.5f), "1234.500");
    EXPECT_EQ (textOf (f, e, -2.25f), "-2.25000");
    EXPECT_EQ (textOf (f, e, 1.0f), "1.000000");
    EXPECT_EQ (textOf (f, e, 9999999.0f), "9999999.");
    EXPECT_EQ (textOf (f, e, -999999.0f), "-999999.");
    EXPECT_EQ (textOf (f, e, 1e9f), "Huge!");
    EXPECT_EQ (textOf (f, e, -1e8f), "Huge!");
}

TEST (AudioEffectText, Float2StringKeepsTheLeadingDigitAndRefusesNonFiniteValues)
{
    ProbeEffect e;
    const auto f = &AudioEffect::float2string;

    // Eight integer digits (seven with a sign) fill the budget: the point goes, not a digit.
    EXPECT_EQ (textOf (f, e, 12345678.0f), "12345678");
    EXPECT_EQ (textOf (f, e, 99999992.0f), "99999992");
    EXPECT_EQ (textOf (f, e, -1234567.0f), "-1234567");
    EXPECT_EQ (textOf (f, e, -9999999.0f), "-9999999");
    EXPECT_EQ (textOf (f, e, -10000000.0f), "Huge!");
    EXPECT_EQ (textOf (f, e, 1e30f), "Huge!");
    EXPECT_EQ (textOf (f, e, -3.4e38f), "Huge!");
    EXPECT_EQ (textOf (f, e, std::numeric_limits<float>::infinity()), "Huge!");
    EXPECT_EQ (textOf (f, e, -std::numeric_limits<float>::infinity()), "Huge!");
    EXPECT_EQ (textOf (f, e, std::numeric_limits<float>::quiet_NaN()), "Huge!");
}

TEST (AudioEffectText, Int2StringGivesDigitsOrHugeForEveryValue)
{
    ProbeEffect e;
    EXPECT_EQ (intText (e, 0), "0");
    EXPECT_EQ (intText (e, 7), "7");
    EXPECT_EQ (intText (e, -42), "-42");
    EXPECT_EQ (intText (e, 1000), "1000");
    EXPECT_EQ (intText (e, 99999999), "99999999");
    EXPECT_EQ (intText (e, -99999999, 9), "-99999999");
    EXPECT_EQ (intText (e, 100000000), "Huge!");
    EXPECT_EQ (intText (e, -100000000), "Huge!");
    EXPECT_EQ (intText (e, INT32_MAX), "Huge!");
    EXPECT_EQ (intText (e, INT32_MIN), "Huge!");
}

TEST (AudioEffectText, OutputsStopAtMaxLenAndNeverWritePastIt)
{
    ProbeEffect e;

    char text[16];
    std::memset (text, 'x', sizeof (text));
    e.float2string (1e9f, text, 2);
    EXPECT_STREQ (text, "Hu");
    EXPECT_EQ (text[2], 0);
    EXPECT_EQ (text[3], 'x');

    // The integer part is cut first; the fraction must not run on past the limit.
    std::memset (text, 'x', sizeof (text));
    e.float2string (1234.5f, text, 4);
    EXPECT_STREQ (text, "1234");
    EXPECT_EQ (text[5], 'x');

    std::memset (text, 'x', sizeof (text));
    e.float2string (-2.25f, text, 5);
    EXPECT_STREQ (text, "-2.25");
    EXPECT_EQ (text[6], 'x');

    std::memset (text, 'x', sizeof (text));
    e.int2string (-12345, text, 3);
    EXPECT_STREQ (text, "-12");
    EXPECT_EQ (text[4], 'x');

    std::memset (text, 'x', sizeof (text));
    e.dB2string (0.0f, text, 0);
    EXPECT_EQ (text[0], 0);
    EXPECT_EQ (text[1], 'x');

    e.int2string (5, nullptr, 8);
    e.float2string (5.0f, text, -1);
    EXPECT_EQ (text[1], 'x');
}

TEST (AudioEffectText, DecibelHertzAndMillisecondTexts)
{
    ProbeEffect e;
    EXPECT_EQ (textOf (&AudioEffect::dB2string, e, 0.0f), "-oo");
    EXPECT_EQ (textOf (&AudioEffect::dB2string, e, -1.0f), "-oo");
    EXPECT_EQ (textOf (&AudioEffect::dB2string, e, 1.0f), "0.000000");
    EXPECT_EQ (textOf (&AudioEffect::dB2string, e, 10.0f), "20.00000");
    EXPECT_EQ (textOf (&AudioEffect::dB2string, e, 0.1f), "-20.0000");

    e.AudioEffectX::setSampleRate (48000.0f);
    EXPECT_EQ (textOf (&AudioEffect::Hz2string, e, 0.0f), "0.000000");
    EXPECT_EQ (textOf (&AudioEffect::Hz2string, e, 480.0f), "100.0000");
    EXPECT_EQ (textOf (&AudioEffect::ms2string, e, 480.0f), "10.00000");
    EXPECT_EQ (textOf (&AudioEffect::ms2string, e, 0.0f), "0.000000");
}
} // namespace kelmora::vst::test
