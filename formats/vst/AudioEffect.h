#pragma once

#include "formats/vst/AEffEditor.h"
#include "platform/vst/VstInterface.h"

namespace kelmora::vst
{
/** The root of a VST 2.4 plug-in object. It owns the effect record handed to the host, turns
    the record's callbacks into virtual calls, decodes the dispatcher opcodes 0 to 24 and offers
    the small host requests and number-to-text conversions. Every operation has a neutral
    default; a derived class overrides what it needs and must supply processReplacing.

    No lock, no allocation, no exception: the host calls the dispatcher on its own threads and
    the process callbacks on its audio thread, and whatever a derived class shares between those
    it guards itself. */
class AudioEffect
{
public:
    AudioEffect (audioMasterCallback audioMaster, int32_t numPrograms, int32_t numParams);
    virtual ~AudioEffect();

    AudioEffect (const AudioEffect&) = delete;
    AudioEffect& operator= (const AudioEffect&) = delete;

    virtual intptr_t dispatcher (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

    virtual void open() {}
    virtual void close() {}
    virtual void suspend() {}
    virtual void resume() {}

    virtual void setSampleRate (float newRate) { sampleRate = newRate; }
    virtual void setBlockSize (int32_t newSize) { blockSize = newSize; }

    virtual void processReplacing (float** inputs, float** outputs, int32_t sampleFrames) = 0;
    virtual void processDoubleReplacing (double** inputs, double** outputs, int32_t sampleFrames) {}

    virtual void setParameter (int32_t index, float value) {}
    virtual float getParameter (int32_t index) { return 0.0f; }
    /** Sets the parameter, then tells the host (automate request); the answer is dropped. */
    virtual void setParameterAutomated (int32_t index, float value);

    virtual int32_t getProgram() { return curProgram; }
    virtual void setProgram (int32_t program) { curProgram = program; }
    virtual void setProgramName (char* name) {}
    virtual void getProgramName (char* name) { *name = 0; }

    virtual void getParameterLabel (int32_t index, char* label) { *label = 0; }
    virtual void getParameterDisplay (int32_t index, char* text) { *text = 0; }
    virtual void getParameterName (int32_t index, char* text) { *text = 0; }

    /** Hands the host a state block through *data; returns its size in bytes. */
    virtual int32_t getChunk (void** data, bool isPreset = false) { return 0; }
    /** Restores a state block of byteSize bytes (always > 0 when called by the dispatcher). */
    virtual int32_t setChunk (void* data, int32_t byteSize, bool isPreset = false) { return 0; }

    virtual void setUniqueID (int32_t iD) { cEffect.uniqueID = iD; }
    virtual void setNumInputs (int32_t inputs) { cEffect.numInputs = inputs; }
    virtual void setNumOutputs (int32_t outputs) { cEffect.numOutputs = outputs; }

    virtual void canProcessReplacing (bool state = true) { setFlag (effFlagsCanReplacing, state); }
    virtual void canDoubleReplacing (bool state = true) { setFlag (effFlagsCanDoubleReplacing, state); }
    virtual void programsAreChunks (bool state = true) { setFlag (effFlagsProgramChunks, state); }

    virtual void setInitialDelay (int32_t delay) { cEffect.initialDelay = delay; }

    virtual AEffEditor* getEditor() { return editor; }
    virtual AEffect* getAeffect() { return &cEffect; }
    virtual float getSampleRate() { return sampleRate; }
    virtual int32_t getBlockSize() { return blockSize; }

    /** The host's VST version; 1 without a host or when the host answers 0. */
    virtual int32_t getMasterVersion();
    /** The unique id of the plug-in the host is currently loading (shell plug-ins); 0 without a host. */
    virtual int32_t getCurrentUniqueId();
    virtual void masterIdle();
    /** True unless the host says the input is not connected. */
    virtual bool isInputConnected (int32_t input);
    virtual bool isOutputConnected (int32_t output);

    // Number-to-text conversions: text must hold maxLen + 1 bytes and always ends in NUL.
    virtual void dB2string (float value, char* text, int32_t maxLen);
    virtual void Hz2string (float samples, char* text, int32_t maxLen);
    virtual void ms2string (float samples, char* text, int32_t maxLen);
    /** At most 8 places; "Huge!" outside -9999999..99999999 and for non-finite values. */
    virtual void float2string (float value, char* text, int32_t maxLen);
    /** "Huge!" for magnitudes of 100000000 and above. */
    virtual void int2string (int32_t value, char* text, int32_t maxLen);

    virtual void process (float** inputs, float** outputs, int32_t sampleFrames) {}
    virtual float getVu() { return 0.0f; }
    virtual void hasVu (bool state = true) { setFlag (effFlagsHasVu, state); }
    virtual void hasClip (bool state = true) { setFlag (effFlagsHasClip, state); }
    virtual void canMono (bool state = true) { setFlag (effFlagsCanMono, state); }
    virtual void setRealtimeQualities (int32_t qualities) { cEffect.realQualities = qualities; }
    virtual void setOfflineQualities (int32_t qualities) { cEffect.offQualities = qualities; }

    /** The host callback entries stored in the record. */
    static intptr_t dispatchEffectClass (AEffect* e, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) noexcept;
    static float getParameterClass (AEffect* e, int32_t index) noexcept;
    static void setParameterClass (AEffect* e, int32_t index, float value) noexcept;
    static void processClass (AEffect* e, float** inputs, float** outputs, int32_t sampleFrames) noexcept;
    static void processClassReplacing (AEffect* e, float** inputs, float** outputs, int32_t sampleFrames) noexcept;
    static void processClassDoubleReplacing (AEffect* e, double** inputs, double** outputs, int32_t sampleFrames) noexcept;

protected:
    /** Calls the host with this record first; 0 without a host. */
    intptr_t callHost (int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr, float opt = 0.0f);
    void setFlag (int32_t flag, bool state);

    static AudioEffect* fromRecord (AEffect* e);

    audioMasterCallback audioMaster;
    AEffEditor* editor = nullptr;
    float sampleRate = 44100.0f;
    int32_t blockSize = 1024;
    int32_t numPrograms;
    int32_t numParams;
    int32_t curProgram = 0;
    AEffect cEffect;
};
} // namespace kelmora::vst
