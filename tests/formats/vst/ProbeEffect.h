#pragma once

#include "formats/vst/AudioEffectX.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace kelmora::vst::test
{
/** The one pointer the tests pass as a host argument; the probe logs it as "P". */
inline char* probePointer()
{
    static char buffer[256];
    return buffer;
}

/** An AudioEffectX whose operations (those a product overrides, and those whose arguments the
    dispatcher converts) log their name and arguments and answer intAnswer / boolAnswer. */
class ProbeEffect : public AudioEffectX
{
public:
    explicit ProbeEffect (audioMasterCallback host = nullptr) : AudioEffectX (host, 10, 4) {}

    ~ProbeEffect() override { if (destroyed != nullptr) *destroyed = true; }

    std::vector<std::string> log;
    int32_t intAnswer = -5;
    bool boolAnswer = true;
    bool* destroyed = nullptr;

    void attachEditor (AEffEditor* e) { editor = e; }
    int32_t current() const { return curProgram; }

    void processReplacing (float**, float**, int32_t frames) override { note ("processReplacing", frames); }
    void processDoubleReplacing (double**, double**, int32_t frames) override { note ("processDoubleReplacing", frames); }
    void process (float**, float**, int32_t frames) override { note ("process", frames); }
    void setParameter (int32_t i, float v) override { note ("setParameter", i, v); }
    float getParameter (int32_t i) override { note ("getParameter", i); return 0.25f; }
    void setProgram (int32_t p) override { note ("setProgram", p); AudioEffectX::setProgram (p); }
    void setProgramName (char* n) override { note ("setProgramName", n); }
    void getProgramName (char* n) override { note ("getProgramName", n); }
    void getParameterLabel (int32_t i, char* t) override { note ("getParameterLabel", i, t); }
    void getParameterDisplay (int32_t i, char* t) override { note ("getParameterDisplay", i, t); }
    void getParameterName (int32_t i, char* t) override { note ("getParameterName", i, t); }
    int32_t getChunk (void** d, bool preset) override { note ("getChunk", (void*) d, preset); return intAnswer; }
    int32_t setChunk (void* d, int32_t size, bool preset) override { note ("setChunk", d, size, preset); return intAnswer; }

    bool string2parameter (int32_t i, char* t) override { note ("string2parameter", i, t); return boolAnswer; }
    bool getProgramNameIndexed (int32_t c, int32_t i, char* t) override { note ("getProgramNameIndexed", c, i, t); return boolAnswer; }
    bool setSpeakerArrangement (VstSpeakerArrangement* in, VstSpeakerArrangement* out) override { note ("setSpeakerArrangement", in, out); return boolAnswer; }
    bool getSpeakerArrangement (VstSpeakerArrangement** in, VstSpeakerArrangement** out) override { note ("getSpeakerArrangement", in, out); return boolAnswer; }
    bool setBypass (bool b) override { note ("setBypass", b); return boolAnswer; }
    bool getEffectName (char* t) override { note ("getEffectName", t); return boolAnswer; }
    bool getVendorString (char* t) override { note ("getVendorString", t); return boolAnswer; }
    bool getProductString (char* t) override { note ("getProductString", t); return boolAnswer; }
    int32_t getVendorVersion() override { note ("getVendorVersion"); return intAnswer; }
    intptr_t vendorSpecific (int32_t a, intptr_t b, void* p, float f) override { note ("vendorSpecific", a, b, p, f); return (intptr_t) 0x123456789; }
    int32_t canDo (char* t) override { note ("canDo", t); return intAnswer; }
    int32_t getPlugCategory() override { note ("getPlugCategory"); return intAnswer; }

private:
    static std::string text (int32_t v) { return std::to_string (v); }
    static std::string text (intptr_t v) { return std::to_string ((long long) v); }
    static std::string text (bool v) { return v ? "true" : "false"; }
    static std::string text (float v) { char b[32]; std::snprintf (b, sizeof (b), "%g", (double) v); return b; }
    static std::string text (const void* p) { return p == nullptr ? "null" : p == probePointer() ? "P" : "other"; }

    template <typename... Args>
    void note (const char* name, Args... args)
    {
        std::string line = name;
        ((line += " " + text (args)), ...);
        log.push_back (line);
    }
};

/** An editor that logs its calls and answers true. */
class ProbeEditor : public AEffEditor
{
public:
    explicit ProbeEditor (std::vector<std::string>& logTo) : log (logTo) {}

    bool getRect (ERect**) override { log.push_back ("editor getRect"); return true; }
    bool open (void*) override { log.push_back ("editor open"); return true; }
    void close() override { log.push_back ("editor close"); }
    void idle() override { log.push_back ("editor idle"); }
    bool onKeyDown (VstKeyCode& k) override { log.push_back ("editor keyDown " + codes (k)); return true; }
    bool onKeyUp (VstKeyCode& k) override { log.push_back ("editor keyUp " + codes (k)); return true; }
    bool setKnobMode (int32_t m) override { log.push_back ("editor knobMode " + std::to_string (m)); return true; }

private:
    static std::string codes (const VstKeyCode& k)
    {
        return std::to_string (k.character) + " " + std::to_string (k.virt) + " " + std::to_string (k.modifier);
    }

    std::vector<std::string>& log;
};

/** One dispatcher call (ptr: the probe pointer or null) with the probe calls and result it must give. */
struct Row { int32_t opcode; int32_t index; intptr_t value; bool withPointer; float opt; std::vector<std::string> calls; intptr_t result; };

inline void expectRows (ProbeEffect& effect, const std::vector<Row>& rows)
{
    for (const auto& row : rows)
    {
        effect.log.clear();
        auto* ptr = row.withPointer ? (void*) probePointer() : nullptr;
        const auto result = effect.dispatcher (row.opcode, row.index, row.value, ptr, row.opt);
        EXPECT_EQ (effect.log, row.calls) << "opcode " << row.opcode << ", value " << row.value;
        EXPECT_EQ (result, row.result) << "opcode " << row.opcode << ", value " << row.value;
    }
}

/** Each opcode, called with these arguments, reaches nothing and answers 0. */
inline void expectNothingFor (ProbeEffect& effect, std::initializer_list<int32_t> opcodes, intptr_t value, bool withPointer, float opt = 0)
{
    for (int32_t opcode : opcodes)
        expectRows (effect, { { opcode, 1, value, withPointer, opt, {}, 0 } });
}
} // namespace kelmora::vst::test
