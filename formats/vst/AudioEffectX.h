#pragma once

#include "formats/vst/AudioEffect.h"

namespace kelmora::vst
{
/** The VST 2.x extensions on top of AudioEffect: the dispatcher for opcodes 25 to 79, the
    further plug-in operations with neutral defaults, the requests made of the host, and the
    speaker-arrangement helpers. Like its base it holds no lock; host requests run on whichever
    thread calls them, and the host decides which of them it accepts from its audio thread. */
class AudioEffectX : public AudioEffect
{
public:
    /** Arrangements with more speakers than this are refused by allocateArrangement. */
    static constexpr int32_t maxArrangementChannels = 1024;

    AudioEffectX (audioMasterCallback audioMaster, int32_t numPrograms, int32_t numParams);

    intptr_t dispatcher (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) override;
    /** Asks for events when the plug-in is a synth or says it receives MIDI events. */
    void resume() override;

    virtual bool canParameterBeAutomated (int32_t index) { return true; }
    virtual bool string2parameter (int32_t index, char* text) { return false; }
    virtual bool getParameterProperties (int32_t index, VstParameterProperties* p) { return false; }
    virtual bool beginEdit (int32_t index);
    virtual bool endEdit (int32_t index);
    virtual bool getProgramNameIndexed (int32_t category, int32_t index, char* text) { return false; }
    virtual bool beginSetProgram() { return false; }
    virtual bool endSetProgram() { return false; }
    virtual int32_t beginLoadBank (VstPatchChunkInfo* info) { return 0; }
    virtual int32_t beginLoadProgram (VstPatchChunkInfo* info) { return 0; }

    virtual bool ioChanged();
    /** Asks the host for its rate; a positive answer is stored. Returns the stored rate. */
    virtual double updateSampleRate();
    /** Asks the host for its block size; a positive answer is stored. Returns the stored size. */
    virtual int32_t updateBlockSize();
    virtual int32_t getInputLatency();
    virtual int32_t getOutputLatency();

    virtual bool getInputProperties (int32_t index, VstPinProperties* properties) { return false; }
    virtual bool getOutputProperties (int32_t index, VstPinProperties* properties) { return false; }
    virtual bool setSpeakerArrangement (VstSpeakerArrangement* input, VstSpeakerArrangement* output) { return false; }
    virtual bool getSpeakerArrangement (VstSpeakerArrangement** input, VstSpeakerArrangement** output);
    virtual bool setBypass (bool onOff) { return false; }
    virtual bool setPanLaw (int32_t type, float value) { return false; }
    virtual bool setProcessPrecision (int32_t precision) { return false; }
    virtual int32_t getNumMidiInputChannels() { return 0; }
    virtual int32_t getNumMidiOutputChannels() { return 0; }

    virtual VstTimeInfo* getTimeInfo (int32_t filter);
    virtual int32_t getCurrentProcessLevel();
    virtual int32_t getAutomationState();

    virtual int32_t processEvents (VstEvents* events) { return 0; }
    virtual int32_t startProcess() { return 0; }
    virtual int32_t stopProcess() { return 0; }
    virtual bool processVariableIo (VstVariableIo* varIo) { return false; }
    virtual int32_t setTotalSampleToProcess (int32_t value) { return value; }

    virtual bool getHostVendorString (char* text);
    virtual bool getHostProductString (char* text);
    virtual int32_t getHostVendorVersion();
    virtual intptr_t hostVendorSpecific (int32_t lArg1, intptr_t lArg2, void* ptrArg, float floatArg);
    /** 1 only when the host answers positively; 0 when it declines, does not know, or is absent. */
    virtual int32_t canHostDo (char* text);
    virtual int32_t getHostLanguage();

    virtual void isSynth (bool state = true) { setFlag (effFlagsIsSynth, state); }
    virtual void noTail (bool state = true) { setFlag (effFlagsNoSoundInStop, state); }
    virtual int32_t getGetTailSize() { return 0; }
    virtual void* getDirectory();

    virtual bool getEffectName (char* name) { return false; }
    virtual bool getVendorString (char* text) { return false; }
    virtual bool getProductString (char* text) { return false; }
    virtual int32_t getVendorVersion() { return 0; }
    virtual intptr_t vendorSpecific (int32_t lArg, intptr_t lArg2, void* ptrArg, float floatArg) { return 0; }
    virtual int32_t canDo (char* text) { return 0; }
    virtual int32_t getVstVersion() { return 2400; }
    virtual int32_t getPlugCategory();

    virtual int32_t getMidiProgramName (int32_t channel, MidiProgramName* name) { return 0; }
    virtual int32_t getCurrentMidiProgram (int32_t channel, MidiProgramName* current) { return -1; }
    virtual int32_t getMidiProgramCategory (int32_t channel, MidiProgramCategory* category) { return 0; }
    virtual bool hasMidiProgramsChanged (int32_t channel) { return false; }
    virtual bool getMidiKeyName (int32_t channel, MidiKeyName* keyName) { return false; }

    virtual bool updateDisplay();
    virtual bool sizeWindow (int32_t width, int32_t height);
    virtual bool openFileSelector (VstFileSelect* ptr);
    virtual bool closeFileSelector (VstFileSelect* ptr);
    virtual int32_t getNextShellPlugin (char* name) { return 0; }

    /** Frees what *arrangement holds and gives it a zeroed arrangement of the given size;
        refuses negative counts and counts above maxArrangementChannels. */
    virtual bool allocateArrangement (VstSpeakerArrangement** arrangement, int32_t nbChannels);
    virtual bool deallocateArrangement (VstSpeakerArrangement** arrangement);
    virtual bool copySpeaker (VstSpeakerProperties* to, VstSpeakerProperties* from);
    virtual bool matchArrangement (VstSpeakerArrangement** to, VstSpeakerArrangement* from);

    virtual bool offlineRead (VstOfflineTask* offline, int32_t option, bool readSource = true);
    virtual bool offlineWrite (VstOfflineTask* offline, int32_t option);
    virtual bool offlineStart (VstAudioFile* ptr, int32_t numAudioFiles, int32_t numNewAudioFiles);
    virtual int32_t offlineGetCurrentPass();
    virtual int32_t offlineGetCurrentMetaPass();
    virtual bool offlineNotify (VstAudioFile* ptr, int32_t numAudioFiles, bool start) { return false; }
    virtual bool offlinePrepare (VstOfflineTask* offline, int32_t count) { return false; }
    virtual bool offlineRun (VstOfflineTask* offline, int32_t count) { return false; }
    virtual int32_t offlineGetNumPasses() { return 0; }
    virtual int32_t offlineGetNumMetaPasses() { return 0; }

    virtual void wantEvents (int32_t filter = 1);
    virtual int32_t tempoAt (int32_t pos);
    virtual int32_t getNumAutomatableParameters();
    virtual int32_t getParameterQuantization();
    virtual int32_t getNumCategories() { return 1; }
    virtual bool copyProgram (int32_t destination) { return false; }
    virtual bool needIdle();
    virtual AEffect* getPreviousPlug (int32_t input);
    virtual AEffect* getNextPlug (int32_t output);
    virtual void inputConnected (int32_t index, bool state) {}
    virtual void outputConnected (int32_t index, bool state) {}
    virtual int32_t willProcessReplacing();
    virtual void wantAsyncOperation (bool state = true) { setFlag (effFlagsExtIsAsync, state); }
    virtual void hasExternalBuffer (bool state = true) { setFlag (effFlagsExtHasBuffer, state); }
    virtual intptr_t reportCurrentPosition() { return 0; }
    virtual float* reportDestinationBuffer() { return nullptr; }
    virtual void setOutputSamplerate (float samplerate);
    virtual VstSpeakerArrangement* getInputSpeakerArrangement();
    virtual VstSpeakerArrangement* getOutputSpeakerArrangement();
    virtual void* openWindow (VstWindow* window);
    virtual bool closeWindow (VstWindow* window);
    virtual void setBlockSizeAndSampleRate (int32_t newBlockSize, float newSampleRate)
    {
        blockSize = newBlockSize;
        sampleRate = newSampleRate;
    }
    virtual bool getErrorText (char* text) { return false; }
    virtual void* getIcon() { return nullptr; }
    virtual bool setViewPosition (int32_t x, int32_t y) { return false; }
    virtual int32_t fxIdle() { return 0; }
    virtual bool keysRequired() { return false; }
    virtual bool getChunkFile (void* nativePath);
};
} // namespace kelmora::vst
