#include "formats/vst/AudioEffectX.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace kelmora::vst
{
namespace
{
intptr_t fromBool (bool b) { return b ? 1 : 0; }
intptr_t signExtended (int32_t v) { return (intptr_t) v; }
} // namespace

AudioEffectX::AudioEffectX (audioMasterCallback master, int32_t programs, int32_t params)
    : AudioEffect (master, programs, params)
{
}

//==============================================================================
intptr_t AudioEffectX::dispatcher (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    auto* text = static_cast<char*> (ptr);
    // Opcodes whose operation reads or fills a text or record answer 0 without a call when the
    // host passes none. The MIDI program queries pass it on as it is: hosts ask them without a
    // record to learn that there are none (-1).
    const bool hasPtr = ptr != nullptr;

    switch (opcode)
    {
        case effString2Parameter:       return hasPtr ? fromBool (string2parameter (index, text)) : 0;
        case effGetInputProperties:     return hasPtr ? fromBool (getInputProperties (index, static_cast<VstPinProperties*> (ptr))) : 0;
        case effGetOutputProperties:    return hasPtr ? fromBool (getOutputProperties (index, static_cast<VstPinProperties*> (ptr))) : 0;
        case effGetParameterProperties: return hasPtr ? fromBool (getParameterProperties (index, static_cast<VstParameterProperties*> (ptr))) : 0;
        case effGetMidiKeyName:         return hasPtr ? fromBool (getMidiKeyName (index, static_cast<MidiKeyName*> (ptr))) : 0;

        case effProcessVarIo:       return hasPtr ? fromBool (processVariableIo (static_cast<VstVariableIo*> (ptr))) : 0;
        case effGetEffectName:      return hasPtr ? fromBool (getEffectName (text)) : 0;
        case effGetVendorString:    return hasPtr ? fromBool (getVendorString (text)) : 0;
        case effGetProductString:   return hasPtr ? fromBool (getProductString (text)) : 0;

        case effCanBeAutomated:         return fromBool (canParameterBeAutomated (index));
        case effHasMidiProgramsChanged: return fromBool (hasMidiProgramsChanged (index));
        case effBeginSetProgram:        return fromBool (beginSetProgram());
        case effEndSetProgram:          return fromBool (endSetProgram());

        case effSetBypass:          return fromBool (setBypass (value != 0));
        case effSetPanLaw:          return fromBool (setPanLaw ((int32_t) value, opt));
        case effSetProcessPrecision: return fromBool (setProcessPrecision ((int32_t) value));

        case effProcessEvents:      return hasPtr ? signExtended (processEvents (static_cast<VstEvents*> (ptr))) : 0;
        case effCanDo:              return hasPtr ? signExtended (canDo (text)) : 0;
        case effShellGetNextPlugin: return hasPtr ? signExtended (getNextShellPlugin (text)) : 0;
        case effBeginLoadBank:      return hasPtr ? signExtended (beginLoadBank (static_cast<VstPatchChunkInfo*> (ptr))) : 0;
        case effBeginLoadProgram:   return hasPtr ? signExtended (beginLoadProgram (static_cast<VstPatchChunkInfo*> (ptr))) : 0;

        case effGetVendorVersion:   return signExtended (getVendorVersion());
        case effGetTailSize:        return signExtended (getGetTailSize());
        case effGetVstVersion:      return signExtended (getVstVersion());
        case effStartProcess:       return signExtended (startProcess());
        case effStopProcess:        return signExtended (stopProcess());
        case effGetNumMidiInputChannels:  return signExtended (getNumMidiInputChannels());
        case effGetNumMidiOutputChannels: return signExtended (getNumMidiOutputChannels());
        case effGetPlugCategory:    return (intptr_t) (uint32_t) getPlugCategory();

        case effGetMidiProgramName:     return signExtended (getMidiProgramName (index, static_cast<MidiProgramName*> (ptr)));
        case effGetCurrentMidiProgram:  return signExtended (getCurrentMidiProgram (index, static_cast<MidiProgramName*> (ptr)));
        case effGetMidiProgramCategory: return signExtended (getMidiProgramCategory (index, static_cast<MidiProgramCategory*> (ptr)));

        case effSetTotalSampleToProcess: return signExtended (setTotalSampleToProcess ((int32_t) value));

        case effGetProgramNameIndexed:
            return hasPtr ? fromBool (getProgramNameIndexed ((int32_t) value, index, text)) : 0;

        case effOfflineNotify:
            return hasPtr ? fromBool (offlineNotify (static_cast<VstAudioFile*> (ptr), (int32_t) value, index != 0)) : 0;
        case effOfflinePrepare:
            return hasPtr ? fromBool (offlinePrepare (static_cast<VstOfflineTask*> (ptr), (int32_t) value)) : 0;
        case effOfflineRun:
            return hasPtr ? fromBool (offlineRun (static_cast<VstOfflineTask*> (ptr), (int32_t) value)) : 0;

        case effSetSpeakerArrangement:
            if (value == 0 || ! hasPtr)
                return 0;
            return fromBool (setSpeakerArrangement (reinterpret_cast<VstSpeakerArrangement*> (value),
                                                    static_cast<VstSpeakerArrangement*> (ptr)));

        case effGetSpeakerArrangement:
            if (value == 0 || ! hasPtr)
                return 0;
            return fromBool (getSpeakerArrangement (reinterpret_cast<VstSpeakerArrangement**> (value),
                                                    static_cast<VstSpeakerArrangement**> (ptr)));

        case effVendorSpecific:
            return vendorSpecific (index, value, ptr, opt);

        case effEditKeyDown:
        case effEditKeyUp:
        {
            // The modifier travels in the float argument; anything that is not a number in the
            // 32-bit range is no key event.
            if (editor == nullptr || ! std::isfinite (opt) || opt < (float) INT32_MIN || opt >= 2147483648.0f)
                return 0;

            VstKeyCode key {};
            key.character = index;
            key.virt = (uint8_t) (value & 0xff);
            key.modifier = (uint8_t) ((int32_t) opt & 0xff);
            return fromBool (opcode == effEditKeyDown ? editor->onKeyDown (key) : editor->onKeyUp (key));
        }

        case effSetEditKnobMode:
            return editor != nullptr ? fromBool (editor->setKnobMode ((int32_t) value)) : 0;

        default:
            break;
    }

    return AudioEffect::dispatcher (opcode, index, value, ptr, opt);
}

void AudioEffectX::resume()
{
    char receivesMidi[] = "receiveVstMidiEvent";

    if ((cEffect.flags & effFlagsIsSynth) != 0 || canDo (receivesMidi) == 1)
        wantEvents (1);
}

int32_t AudioEffectX::getPlugCategory()
{
    return (cEffect.flags & effFlagsIsSynth) != 0 ? kPlugCategSynth : kPlugCategUnknown;
}

bool AudioEffectX::getSpeakerArrangement (VstSpeakerArrangement** input, VstSpeakerArrangement** output)
{
    if (input != nullptr) *input = nullptr;
    if (output != nullptr) *output = nullptr;
    return false;
}

//==============================================================================
bool AudioEffectX::beginEdit (int32_t index)      { return callHost (hostBeginEdit, index) != 0; }
bool AudioEffectX::endEdit (int32_t index)        { return callHost (hostEndEdit, index) != 0; }
bool AudioEffectX::ioChanged()                    { return callHost (hostIoChanged) != 0; }

double AudioEffectX::updateSampleRate()
{
    const auto answer = callHost (hostGetSampleRate);
    if (answer > 0)
        sampleRate = (float) answer;
    return (double) sampleRate;
}

int32_t AudioEffectX::updateBlockSize()
{
    const auto answer = callHost (hostGetBlockSize);
    if (answer > 0)
        blockSize = (int32_t) answer;
    return blockSize;
}

int32_t AudioEffectX::getInputLatency()           { return (int32_t) callHost (hostGetInputLatency); }
int32_t AudioEffectX::getOutputLatency()          { return (int32_t) callHost (hostGetOutputLatency); }

VstTimeInfo* AudioEffectX::getTimeInfo (int32_t filter)
{
    return reinterpret_cast<VstTimeInfo*> (callHost (hostGetTimeInfo, 0, filter));
}

int32_t AudioEffectX::getCurrentProcessLevel()    { return (int32_t) callHost (hostGetCurrentProcessLevel); }
int32_t AudioEffectX::getAutomationState()        { return (int32_t) callHost (hostGetAutomationState); }

bool AudioEffectX::getHostVendorString (char* text)  { return callHost (hostGetVendorString, 0, 0, text) != 0; }
bool AudioEffectX::getHostProductString (char* text) { return callHost (hostGetProductString, 0, 0, text) != 0; }
int32_t AudioEffectX::getHostVendorVersion()         { return (int32_t) callHost (hostGetVendorVersion); }

intptr_t AudioEffectX::hostVendorSpecific (int32_t lArg1, intptr_t lArg2, void* ptrArg, float floatArg)
{
    return callHost (::hostVendorSpecific, lArg1, lArg2, ptrArg, floatArg);
}

int32_t AudioEffectX::canHostDo (char* text)
{
    // Hosts answer -1 to decline; only a positive answer means yes.
    return callHost (hostCanDo, 0, 0, text) > 0 ? 1 : 0;
}

int32_t AudioEffectX::getHostLanguage()           { return (int32_t) callHost (hostGetLanguage); }
void* AudioEffectX::getDirectory()                { return reinterpret_cast<void*> (callHost (hostGetDirectory)); }
bool AudioEffectX::updateDisplay()                { return callHost (hostUpdateDisplay) != 0; }
bool AudioEffectX::sizeWindow (int32_t width, int32_t height) { return callHost (hostSizeWindow, width, height) != 0; }

bool AudioEffectX::openFileSelector (VstFileSelect* ptr)
{
    return ptr != nullptr && callHost (hostOpenFileSelector, 0, 0, ptr) != 0;
}

bool AudioEffectX::closeFileSelector (VstFileSelect* ptr)
{
    return ptr != nullptr && callHost (hostCloseFileSelector, 0, 0, ptr) != 0;
}

bool AudioEffectX::getChunkFile (void* nativePath)
{
    return nativePath != nullptr && callHost (hostGetChunkFile, 0, 0, nativePath) != 0;
}

bool AudioEffectX::offlineRead (VstOfflineTask* offline, int32_t option, bool readSource)
{
    return callHost (hostOfflineRead, readSource ? 1 : 0, option, offline) != 0;
}

bool AudioEffectX::offlineWrite (VstOfflineTask* offline, int32_t option)
{
    return callHost (hostOfflineWrite, 0, option, offline) != 0;
}

bool AudioEffectX::offlineStart (VstAudioFile* ptr, int32_t numAudioFiles, int32_t numNewAudioFiles)
{
    return callHost (hostOfflineStart, numNewAudioFiles, numAudioFiles, ptr) != 0;
}

int32_t AudioEffectX::offlineGetCurrentPass()     { return callHost (hostOfflineGetCurrentPass) != 0 ? 1 : 0; }
int32_t AudioEffectX::offlineGetCurrentMetaPass() { return callHost (hostOfflineGetCurrentMetaPass) != 0 ? 1 : 0; }

void AudioEffectX::wantEvents (int32_t filter)    { callHost (hostWantEvents, 0, filter); }
int32_t AudioEffectX::tempoAt (int32_t pos)       { return (int32_t) callHost (hostTempoAt, 0, pos); }
int32_t AudioEffectX::getNumAutomatableParameters() { return (int32_t) callHost (hostGetNumAutomatableParameters); }
int32_t AudioEffectX::getParameterQuantization()  { return (int32_t) callHost (hostGetParameterQuantization); }
bool AudioEffectX::needIdle()                     { return callHost (hostNeedIdle) != 0; }

AEffect* AudioEffectX::getPreviousPlug (int32_t input)
{
    return reinterpret_cast<AEffect*> (callHost (hostGetPreviousPlug));
}

AEffect* AudioEffectX::getNextPlug (int32_t output)
{
    return reinterpret_cast<AEffect*> (callHost (hostGetNextPlug));
}

int32_t AudioEffectX::willProcessReplacing()      { return (int32_t) callHost (hostWillReplaceOrAccumulate); }
void AudioEffectX::setOutputSamplerate (float rate) { callHost (hostSetOutputSampleRate, 0, 0, nullptr, rate); }

VstSpeakerArrangement* AudioEffectX::getInputSpeakerArrangement()
{
    return reinterpret_cast<VstSpeakerArrangement*> (callHost (hostGetInputSpeakerArrangement));
}

VstSpeakerArrangement* AudioEffectX::getOutputSpeakerArrangement()
{
    return reinterpret_cast<VstSpeakerArrangement*> (callHost (hostGetOutputSpeakerArrangement));
}

void* AudioEffectX::openWindow (VstWindow* window)
{
    return reinterpret_cast<void*> (callHost (hostOpenWindow, 0, 0, window));
}

bool AudioEffectX::closeWindow (VstWindow* window)
{
    return callHost (hostCloseWindow, 0, 0, window) != 0;
}

//==============================================================================
bool AudioEffectX::allocateArrangement (VstSpeakerArrangement** arrangement, int32_t nbChannels)
{
    if (arrangement == nullptr || nbChannels < 0 || nbChannels > maxArrangementChannels)
        return false;

    std::free (*arrangement);
    *arrangement = static_cast<VstSpeakerArrangement*> (std::calloc (1, vstSpeakerArrangementSize (nbChannels)));

    if (*arrangement == nullptr)
        return false;

    (*arrangement)->numChannels = nbChannels;
    return true;
}

bool AudioEffectX::deallocateArrangement (VstSpeakerArrangement** arrangement)
{
    if (arrangement == nullptr)
        return false;

    std::free (*arrangement);
    *arrangement = nullptr;
    return true;
}

bool AudioEffectX::copySpeaker (VstSpeakerProperties* to, VstSpeakerProperties* from)
{
    if (to == nullptr || from == nullptr)
        return false;

    std::strncpy (to->name, from->name, sizeof (to->name) - 1);
    to->name[sizeof (to->name) - 1] = 0;
    to->type = from->type;
    to->azimuth = from->azimuth;
    to->elevation = from->elevation;
    to->radius = from->radius;
    to->reserved = from->reserved;
    std::memcpy (to->future, from->future, sizeof (to->future));
    return true;
}

bool AudioEffectX::matchArrangement (VstSpeakerArrangement** to, VstSpeakerArrangement* from)
{
    if (from == nullptr)
        return false;

    if (! deallocateArrangement (to) || ! allocateArrangement (to, from->numChannels))
        return false;

    (*to)->type = from->type;

    for (int32_t i = 0; i < from->numChannels; ++i)
        if (! copySpeaker (vstSpeakerAt (*to, i), vstSpeakerAt (from, i)))
            return false;

    return true;
}
} // namespace kelmora::vst
