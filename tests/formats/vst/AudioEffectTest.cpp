#include "formats/vst/ProbeEffect.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

namespace kelmora::vst::test
{
TEST (AudioEffectRecord, CallbacksReachTheObjectAndCloseDeletesIt)
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
TEST (AudioEffectDispatcher, ConvertsArgumentsAndChecksHostValuesBeforeUse)
{
    ProbeEffect effect;

    expectRows (effect, {
        { effSetProgram, 0, 9, false, 0, { "setProgram 9" }, 0 },
        { effGetParamDisplay, 3, 0, true, 0, { "getParameterDisplay 3 P" }, 0 },
        { effGetChunk, 1, 0, true, 0, { "getChunk P true" }, -5 },
        { effSetChunk, 0, 1, true, 0, { "setChunk P 1 false" }, -5 },
        // An absent, empty, negative or oversized chunk would only wipe the user's state.
        { effSetChunk, 1, 0, true, 0, {}, 0 },
        { effSetChunk, 1, -4, true, 0, {}, 0 },
        { effSetChunk, 1, (intptr_t) 1 << 32, true, 0, {}, 0 },
    });
    for (intptr_t program : { (intptr_t) 10, (intptr_t) -1, (intptr_t) INT32_MIN, (intptr_t) 1 << 40 })
        expectRows (effect, { { effSetProgram, 0, program, false, 0, {}, 0 } });
    EXPECT_EQ (effect.current(), 9);

    // Missing host texts, editor requests without an editor and unknown opcodes reach nothing.
    expectNothingFor (effect, { effSetProgramName, effGetProgramName, effGetParamLabel, effGetParamDisplay, effGetParamName,
                                effGetChunk, effSetChunk }, 100, false);
    expectNothingFor (effect, { effEditGetRect, effEditOpen, effEditClose, effEditIdle, -1 }, 0, true);

    effect.attachEditor (new ProbeEditor (effect.log));
    expectRows (effect, {
        { effEditGetRect, 0, 0, true, 0, { "editor getRect" }, 1 },
        { effEditGetRect, 0, 0, false, 0, {}, 0 },
        { effEditOpen, 0, 0, true, 0, { "editor open" }, 1 },
        { effEditIdle, 0, 0, false, 0, { "editor idle" }, 0 },
        { effEditClose, 0, 0, false, 0, { "editor close" }, 0 },
    });
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
        { Int, -1000000000, 10, "Huge!" },  { Int, -2147483647, 10, "Huge!" },
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
