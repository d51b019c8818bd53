#include "formats/vst/ProbeEffect.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

namespace kelmora::vst::test
{
TEST (AudioEffectRecord, FreshRecordHasItsDefaultsAndItsCallbacksReachTheObject)
{
    bool destroyed = false;
    auto* effect = new ProbeEffect;
    effect->destroyed = &destroyed;
    AEffect* e = effect->getAeffect();

    const std::vector<intptr_t> fields { e->magic, e->numPrograms, e->numParams, e->numInputs, e->numOutputs, e->flags, e->resvd1,
                                         e->resvd2, e->initialDelay, e->realQualities, e->offQualities, e->uniqueID, e->version };
    EXPECT_EQ (fields, (std::vector<intptr_t> { 0x56737450, 10, 4, 1, 2, 0x10, 0, 0, 0, 0, 0, 0x4E6F4566, 1 }));
    EXPECT_EQ (std::make_tuple (e->ioRatio, e->object, e->user), std::make_tuple (1.0f, (void*) effect, (void*) nullptr));
    EXPECT_EQ (std::make_pair (effect->getSampleRate(), effect->getBlockSize()), std::make_pair (44100.0f, 1024));
    // Alignment gaps and the reserved tail are part of what the host sees: they stay zero.
    const auto* bytes = reinterpret_cast<const unsigned char*> (e);
    for (int offset : { 4, 5, 6, 7, 60, 61, 62, 63 })
        EXPECT_EQ (bytes[offset], 0) << "byte " << offset;
    EXPECT_EQ (std::count (std::begin (e->future), std::end (e->future), 0), (std::ptrdiff_t) sizeof (e->future));

    EXPECT_EQ (e->getParameter (e, 2), 0.25f);
    e->setParameter (e, 1, 0.5f);
    e->process (e, nullptr, nullptr, 16);
    e->processReplacing (e, nullptr, nullptr, 32);
    e->processDoubleReplacing (e, nullptr, nullptr, 64);
    EXPECT_EQ (effect->log, (std::vector<std::string> { "getParameter 2", "setParameter 1 0.5", "process 16",
                                                         "processReplacing 32", "processDoubleReplacing 64" }));
    EXPECT_EQ (e->dispatcher (e, effClose, 0, 0, nullptr, 0), 1);
    EXPECT_TRUE (destroyed);

    // A record without an object, or no record, reaches nothing.
    AEffect empty {};
    EXPECT_EQ (AudioEffect::dispatchEffectClass (&empty, effClose, 0, 0, nullptr, 0), 0);
    EXPECT_EQ (AudioEffect::dispatchEffectClass (nullptr, effOpen, 0, 0, nullptr, 0), 0);
    EXPECT_EQ (AudioEffect::getParameterClass (&empty, 0), 0.0f);
    AudioEffect::processClassReplacing (&empty, nullptr, nullptr, 4);
}

//==============================================================================
TEST (AudioEffectDispatcher, MapsOpcodesZeroToTwentyFourAndEditorOpcodesOnlyWithAnEditor)
{
    ProbeEffect effect;

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
        { effSetSampleRate, 0, 0, false, 96000.0f, { "setSampleRate 96000" }, 0 },
        { effSetBlockSize, 0, 512, false, 0, { "setBlockSize 512" }, 0 },
        { effMainsChanged, 0, 0, false, 0, { "suspend" }, 0 },
        { effMainsChanged, 0, 7, false, 0, { "resume" }, 0 },
        { effIdentify, 0, 0, false, 0, {}, 0x4E764566 },
        { effGetChunk, 0, 0, true, 0, { "getChunk P false" }, -5 },
        { effGetChunk, 1, 0, true, 0, { "getChunk P true" }, -5 },
        { effSetChunk, 0, 100, true, 0, { "setChunk P 100 false" }, -5 },
        { effSetChunk, 1, 100, true, 0, { "setChunk P 100 true" }, -5 },
    });
    for (int32_t opcode : std::initializer_list<int32_t> { effGetVu, effEditGetRect, effEditOpen, effEditClose, effEditDraw, effEditMouse, effEditKey,
                                                           effEditIdle, effEditTop, effEditSleep, -1 })
        expectRows (effect, { { opcode, 0, 0, true, 0, {}, 0 } });

    effect.attachEditor (new ProbeEditor (effect.log));
    expectRows (effect, {
        { effEditGetRect, 0, 0, true, 0, { "editor getRect" }, 1 },
        { effEditGetRect, 0, 0, false, 0, {}, 0 },
        { effEditOpen, 0, 0, true, 0, { "editor open" }, 1 },
        { effEditIdle, 0, 0, false, 0, { "editor idle" }, 0 },
        { effEditClose, 0, 0, false, 0, { "editor close" }, 0 },
        { effEditDraw, 0, 0, true, 0, {}, 0 },
    });
}

TEST (AudioEffectDispatcher, ProgramNumbersPointersAndChunkSizesAreCheckedBeforeUse)
{
    ProbeEffect effect;

    expectRows (effect, { { effSetProgram, 0, 9, false, 0, { "setProgram 9" }, 0 } });
    for (intptr_t program : { (intptr_t) 10, (intptr_t) -1, (intptr_t) INT32_MIN, (intptr_t) 1 << 40 })
        expectRows (effect, { { effSetProgram, 0, program, false, 0, {}, 0 } });
    for (int32_t opcode : { effSetProgramName, effGetProgramName, effGetParamLabel, effGetParamDisplay, effGetParamName, effGetChunk })
        expectRows (effect, { { opcode, 0, 0, false, 0, {}, 0 } });

    expectRows (effect, {
        // An absent, empty, negative or oversized chunk would only wipe the user's state.
        { effSetChunk, 0, 100, false, 0, {}, 0 },
        { effSetChunk, 0, 0, true, 0, {}, 0 },
        { effSetChunk, 0, -4, true, 0, {}, 0 },
        { effSetChunk, 0, (intptr_t) 1 << 32, true, 0, {}, 0 },
        { effSetChunk, 0, 1, true, 0, { "setChunk P 1 false" }, -5 },
    });
    EXPECT_EQ (effect.current(), 9);
}

//==============================================================================
TEST (AudioEffectText, ConversionsGiveExactTextsAndNeverWritePastMaxLen)
{
    // Int stands for int2string; the others share one signature.
    const auto Float = &AudioEffect::float2string, Decibel = &AudioEffect::dB2string, Hertz = &AudioEffect::Hz2string,
               Millis = &AudioEffect::ms2string, Int = decltype (Float) {};
    struct Case { decltype (Float) convert; double value; int32_t maxLen; const char* expected; };
    const double inf = std::numeric_limits<double>::infinity();

    const Case cases[] = {
        { Float, 0.0, 8, "0.000000" },      { Float, 0.5, 8, "0.500000" },      { Float, 1234.5, 8, "1234.500" },
        { Float, -2.25, 8, "-2.25000" },    { Float, 9999999, 8, "9999999." },  { Float, -999999, 8, "-999999." },
        // Eight integer digits (seven with a sign) fill the budget: the point goes, not a digit.
        { Float, 12345678, 8, "12345678" }, { Float, 99999992, 8, "99999992" }, { Float, -9999999, 8, "-9999999" },
        { Float, -1e7, 8, "Huge!" },        { Float, 1e9, 8, "Huge!" },         { Float, -3.4e38, 8, "Huge!" },
        { Float, inf, 8, "Huge!" },         { Float, -inf, 8, "Huge!" },        { Float, std::nan (""), 8, "Huge!" },
        { Float, 1e9, 2, "Hu" },            { Float, 1234.5, 4, "1234" },       { Float, -2.25, 5, "-2.25" },
        { Int, 0, 8, "0" },                 { Int, -42, 8, "-42" },             { Int, 99999999, 8, "99999999" },
        { Int, -999999999, 10, "-999999999" }, { Int, 100000000, 8, "Huge!" }, { Int, -1, 8, "-1" },
        { Int, INT32_MAX, 8, "Huge!" },     { Int, INT32_MIN, 8, "Huge!" },     { Int, -12345, 3, "-12" },
        { Decibel, 0, 8, "-oo" },           { Decibel, -1, 8, "-oo" },          { Decibel, 1, 8, "0.000000" },
        { Decibel, 10, 8, "20.00000" },     { Decibel, 0.1, 8, "-20.0000" },    { Decibel, 0, 0, "" },
        { Hertz, 0, 8, "0.000000" },        { Hertz, 480, 8, "100.0000" },      { Millis, 480, 8, "10.00000" },
    };

    ProbeEffect e;
    e.AudioEffectX::setSampleRate (48000.0f);
    for (const auto& c : cases)
    {
        char text[40];
        std::memset (text, 'x', sizeof (text));
        if (c.convert == Int)
            e.int2string ((int32_t) c.value, text, c.maxLen);
        else
            (e.*c.convert) ((float) c.value, text, c.maxLen);
        EXPECT_STREQ (text, c.expected) << c.value;
        EXPECT_EQ (text[c.maxLen + 1], 'x') << c.value << " written past maxLen " << c.maxLen;
    }

    char text[4] = "xxx";
    e.int2string (5, nullptr, 8);
    e.float2string (5.0f, text, -1);
    EXPECT_STREQ (text, "xxx");
}
} // namespace kelmora::vst::test
