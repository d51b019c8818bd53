#include "formats/vst/AudioEffect.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace kelmora::vst
{
namespace
{
constexpr int32_t kNoEffectId = vstFourCC ('N', 'o', 'E', 'f');
constexpr int32_t kIdentifyAnswer = vstFourCC ('N', 'v', 'E', 'f');

// Copies at most maxLen characters and ends the text at maxLen.
void copyText (char* text, const char* source, int32_t maxLen)
{
    int32_t i = 0;
    for (; i < maxLen && source[i] != 0; ++i)
        text[i] = source[i];
    for (; i <= maxLen; ++i)
        text[i] = 0;
}

// Appends at most maxLen characters, never past position maxLen, where a NUL always sits.
void appendText (char* text, const char* source, int32_t maxLen)
{
    auto length = (int32_t) ::strnlen (text, (size_t) maxLen);
    for (int32_t i = 0; length < maxLen && i < maxLen && source[i] != 0; ++i)
        text[length++] = source[i];
    text[length] = 0;
    text[maxLen] = 0;
}

bool usableText (const char* text, int32_t maxLen) { return text != nullptr && maxLen >= 0; }

// No exception may unwind into the host: every callback below catches everything and answers
// neutrally (0, no change, silence).
template <typename Sample>
void silence (Sample** outputs, int32_t numOutputs, int32_t sampleFrames) noexcept
{
    if (outputs == nullptr || sampleFrames <= 0)
        return;

    for (int32_t c = 0; c < numOutputs; ++c)
        if (outputs[c] != nullptr)
            std::fill (outputs[c], outputs[c] + sampleFrames, Sample (0));
}
} // namespace

AudioEffect::AudioEffect (audioMasterCallback master, int32_t programs, int32_t params)
    : audioMaster (master), numPrograms (programs), numParams (params)
{
    std::memset (&cEffect, 0, sizeof (cEffect));
    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = dispatchEffectClass;
    cEffect.process = processClass;
    cEffect.setParameter = setParameterClass;
    cEffect.getParameter = getParameterClass;
    cEffect.numPrograms = programs;
    cEffect.numParams = params;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.flags = effFlagsCanReplacing;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.uniqueID = kNoEffectId;
    cEffect.version = 1;
    cEffect.processReplacing = processClassReplacing;
    cEffect.processDoubleReplacing = processClassDoubleReplacing;
}

AudioEffect::~AudioEffect()
{
    delete editor;
}

//==============================================================================
AudioEffect* AudioEffect::fromRecord (AEffect* e)
{
    return e != nullptr ? static_cast<AudioEffect*> (e->object) : nullptr;
}


intptr_t AudioEffect::dispatchEffectClass (AEffect* e, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) noexcept
{
    auto* effect = fromRecord (e);
    if (effect == nullptr)
        return 0;

    if (opcode == effClose)
    {
        try { effect->dispatcher (opcode, index, value, ptr, opt); } catch (...) {}
        delete effect;
        return 1;
    }

    try { return effect->dispatcher (opcode, index, value, ptr, opt); } catch (...) {}
    return 0;
}

float AudioEffect::getParameterClass (AEffect* e, int32_t index) noexcept
{
    try
    {
        if (auto* effect = fromRecord (e))
            return effect->getParameter (index);
    }
    catch (...) {}

    return 0.0f;
}

void AudioEffect::setParameterClass (AEffect* e, int32_t index, float value) noexcept
{
    try
    {
        if (auto* effect = fromRecord (e))
            effect->setParameter (index, value);
    }
    catch (...) {}
}

void AudioEffect::processClass (AEffect* e, float** inputs, float** outputs, int32_t sampleFrames) noexcept
{
    // Accumulating: the outputs hold other signals too, so a failure adds nothing more.
    try
    {
        if (auto* effect = fromRecord (e))
            effect->process (inputs, outputs, sampleFrames);
    }
    catch (...) {}
}

void AudioEffect::processClassReplacing (AEffect* e, float** inputs, float** outputs, int32_t sampleFrames) noexcept
{
    if (auto* effect = fromRecord (e))
    {
        try { effect->processReplacing (inputs, outputs, sampleFrames); }
        catch (...) { silence (outputs, effect->cEffect.numOutputs, sampleFrames); }
    }
}

void AudioEffect::processClassDoubleReplacing (AEffect* e, double** inputs, double** outputs, int32_t sampleFrames) noexcept
{
    if (auto* effect = fromRecord (e))
    {
        try { effect->processDoubleReplacing (inputs, outputs, sampleFrames); }
        catch (...) { silence (outputs, effect->cEffect.numOutputs, sampleFrames); }
    }
}

//==============================================================================
intptr_t AudioEffect::dispatcher (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    auto* text = static_cast<char*> (ptr);

    switch ((uint32_t) opcode)
    {
        case effOpen:       open(); break;
        case effClose:      close(); break;

        case effSetProgram:
            // A negative number is no program: ignoring it keeps curProgram a valid index.
            if (value >= 0 && value < (intptr_t) numPrograms)
                setProgram ((int32_t) value);
            break;

        case effGetProgram:         return (intptr_t) getProgram();
        case effSetProgramName:     if (text != nullptr) setProgramName (text); break;
        case effGetProgramName:     if (text != nullptr) getProgramName (text); break;
        case effGetParamLabel:      if (text != nullptr) getParameterLabel (index, text); break;
        case effGetParamDisplay:    if (text != nullptr) getParameterDisplay (index, text); break;
        case effGetParamName:       if (text != nullptr) getParameterName (index, text); break;

        case effSetSampleRate:  setSampleRate (opt); break;
        case effSetBlockSize:   setBlockSize ((int32_t) value); break;
        case effMainsChanged:   if (value == 0) suspend(); else resume(); break;

        case effEditGetRect:
            if (editor != nullptr && ptr != nullptr)
                return editor->getRect (static_cast<ERect**> (ptr)) ? 1 : 0;
            break;

        case effEditOpen:
            if (editor != nullptr)
                return editor->open (ptr) ? 1 : 0;
            break;

        case effEditClose:  if (editor != nullptr) editor->close(); break;
        case effEditIdle:   if (editor != nullptr) editor->idle(); break;
        case effIdentify:   return kIdentifyAnswer;

        case effGetChunk:
            if (ptr != nullptr)
                return (intptr_t) getChunk (static_cast<void**> (ptr), index != 0);
            break;

        case effSetChunk:
            // An empty block, a negative size or no data at all would only wipe the user's state.
            if (ptr != nullptr && value > 0 && value <= (intptr_t) INT32_MAX)
                return (intptr_t) setChunk (ptr, (int32_t) value, index != 0);
            break;

        default: break;
    }

    return 0;
}

//==============================================================================
void AudioEffect::setFlag (int32_t flag, bool state)
{
    if (state)
        cEffect.flags |= flag;
    else
        cEffect.flags &= ~flag;
}

intptr_t AudioEffect::callHost (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    return audioMaster != nullptr ? audioMaster (&cEffect, opcode, index, value, ptr, opt) : 0;
}

void AudioEffect::setParameterAutomated (int32_t index, float value)
{
    setParameter (index, value);
    callHost (hostAutomate, index, 0, nullptr, value);
}

int32_t AudioEffect::getMasterVersion()
{
    const auto answer = (int32_t) callHost (hostGetVersion);
    return answer != 0 ? answer : 1;
}

int32_t AudioEffect::getCurrentUniqueId()
{
    return (int32_t) callHost (hostGetCurrentUniqueId);
}

void AudioEffect::masterIdle()
{
    callHost (hostIdle);
}

bool AudioEffect::isInputConnected (int32_t input)
{
    return callHost (hostPinConnected, input, 0) == 0;
}

bool AudioEffect::isOutputConnected (int32_t output)
{
    return callHost (hostPinConnected, output, 1) == 0;
}

//==============================================================================
void AudioEffect::dB2string (float value, char* text, int32_t maxLen)
{
    if (! usableText (text, maxLen))
        return;

    if (value <= 0.0f)
        copyText (text, "-oo", maxLen);
    else
        float2string ((float) (20.0 * std::log10 ((double) value)), text, maxLen);
}

void AudioEffect::Hz2string (float samples, char* text, int32_t maxLen)
{
    const float rate = getSampleRate();

    if (samples == 0.0f)
        float2string (0.0f, text, maxLen);
    else
        float2string (rate / samples, text, maxLen);
}

void AudioEffect::ms2string (float samples, char* text, int32_t maxLen)
{
    float2string ((float) ((double) samples * 1000.0 / (double) getSampleRate()), text, maxLen);
}

void AudioEffect::float2string (float value, char* text, int32_t maxLen)
{
    if (! usableText (text, maxLen))
        return;

    constexpr int32_t maxPlaces = 8;

    if (! std::isfinite (value) || value < -9999999.0f || (value >= 0.0f && (double) value > 99999999.0))
    {
        copyText (text, "Huge!", maxLen);
        return;
    }

    const bool negative = value < 0.0f;
    const double v = std::fabs ((double) value);
    const double integerPart = std::floor (v);

    // Digits are produced from the right into a scratch area; the point comes first.
    char scratch[32];
    int32_t start = (int32_t) sizeof (scratch) - 1;
    scratch[start] = 0;
    int32_t places = negative ? 1 : 0;

    scratch[--start] = '.';
    ++places;

    double n = integerPart;
    scratch[--start] = (char) ('0' + (int) std::fmod (n, 10.0));
    ++places;
    n /= 10.0;

    while (n >= 1.0 && places < maxPlaces)
    {
        scratch[--start] = (char) ('0' + (int) std::fmod (n, 10.0));
        ++places;
        n /= 10.0;
    }

    if (n >= 1.0)
    {
        // The integer part needs every place: write all its digits and drop the point rather
        // than lose the leading digit.
        start = (int32_t) sizeof (scratch) - 1;
        n = integerPart;
        do
        {
            scratch[--start] = (char) ('0' + (int) std::fmod (n, 10.0));
            n /= 10.0;
        } while (n >= 1.0);
        places = maxPlaces;
    }

    if (negative)
        scratch[--start] = '-';

    copyText (text, scratch + start, maxLen);

    if (places >= maxPlaces)
        return;

    const int32_t fractionDigits = maxPlaces - places;
    double m = std::fmod (v, 1.0) * std::pow (10.0, fractionDigits);
    char fraction[maxPlaces + 1];
    fraction[fractionDigits] = 0;

    for (int32_t i = fractionDigits - 1; i >= 0; --i)
    {
        if (m <= 0.0)
        {
            fraction[i] = '0';
        }
        else
        {
            fraction[i] = (char) ('0' + (int) std::fmod (m, 10.0));
            m /= 10.0;
        }
    }

    appendText (text, fraction, maxLen);
}

void AudioEffect::int2string (int32_t value, char* text, int32_t maxLen)
{
    if (! usableText (text, maxLen))
        return;

    // Nine digits at most: a larger magnitude would need a "digit" of ten or more. This also
    // keeps INT32_MIN away from the negation below, whose result does not exist.
    if (value >= 100000000 || value < -999999999)
    {
        copyText (text, "Huge!", maxLen);
        return;
    }

    if (value < 0)
    {
        copyText (text, "-", maxLen);
        value = -value;
    }
    else
    {
        std::memset (text, 0, (size_t) maxLen + 1);
    }

    bool started = false;
    for (int32_t divisor = 100000000; divisor >= 1; divisor /= 10)
    {
        const int32_t digit = value / divisor;
        value -= digit * divisor;

        if (digit != 0 || started || divisor == 1)
        {
            started = true;
            const char one[2] = { (char) ('0' + digit), 0 };
            appendText (text, one, maxLen);
        }
    }
}
} // namespace kelmora::vst
