#pragma once

// The VST 2.4 interface between a plug-in module and its host, as a plain C ABI: the effect
// record the host receives from the entry point, the host callback, the opcodes in both
// directions, the record's flags and the few records the plug-in side builds, fills or reads.
// Records the plug-in only passes through (events, file selectors, offline tasks) stay opaque
// here.

#include <cstddef>
#include <cstdint>

struct AEffect;

/** The host's callback: (record, opcode, index, value, ptr, opt) -> pointer-sized answer. */
typedef intptr_t (*audioMasterCallback) (AEffect* effect, int32_t opcode, int32_t index,
                                         intptr_t value, void* ptr, float opt);

typedef intptr_t (*AEffectDispatcherProc) (AEffect* effect, int32_t opcode, int32_t index,
                                           intptr_t value, void* ptr, float opt);
typedef void (*AEffectProcessProc) (AEffect* effect, float** inputs, float** outputs, int32_t sampleFrames);
typedef void (*AEffectProcessDoubleProc) (AEffect* effect, double** inputs, double** outputs, int32_t sampleFrames);
typedef void (*AEffectSetParameterProc) (AEffect* effect, int32_t index, float parameter);
typedef float (*AEffectGetParameterProc) (AEffect* effect, int32_t index);

/** Builds a four-character code with the first character in the most significant byte. */
constexpr int32_t vstFourCC (char a, char b, char c, char d)
{
    return (int32_t) (((uint32_t) (uint8_t) a << 24) | ((uint32_t) (uint8_t) b << 16)
                      | ((uint32_t) (uint8_t) c << 8) | (uint32_t) (uint8_t) d);
}

constexpr int32_t kEffectMagic = vstFourCC ('V', 's', 't', 'P');

/** The effect record: handed to the host by the entry point, owned by the plug-in object and
    valid until the host sends effClose. 192 bytes in a 64-bit process. */
struct AEffect
{
    int32_t magic;
    AEffectDispatcherProc dispatcher;
    AEffectProcessProc process;                 // accumulating, deprecated
    AEffectSetParameterProc setParameter;
    AEffectGetParameterProc getParameter;
    int32_t numPrograms;
    int32_t numParams;
    int32_t numInputs;
    int32_t numOutputs;
    int32_t flags;
    intptr_t resvd1;
    intptr_t resvd2;
    int32_t initialDelay;                       // samples
    int32_t realQualities;
    int32_t offQualities;
    float ioRatio;
    void* object;                               // the plug-in's own object
    void* user;                                 // the host's
    int32_t uniqueID;
    int32_t version;
    AEffectProcessProc processReplacing;
    AEffectProcessDoubleProc processDoubleReplacing;
    char future[56];
};

static_assert (sizeof (void*) == 8, "the record layout is that of a 64-bit process");
static_assert (offsetof (AEffect, magic) == 0);
static_assert (offsetof (AEffect, dispatcher) == 8);
static_assert (offsetof (AEffect, process) == 16);
static_assert (offsetof (AEffect, setParameter) == 24);
static_assert (offsetof (AEffect, getParameter) == 32);
static_assert (offsetof (AEffect, numPrograms) == 40);
static_assert (offsetof (AEffect, numParams) == 44);
static_assert (offsetof (AEffect, numInputs) == 48);
static_assert (offsetof (AEffect, numOutputs) == 52);
static_assert (offsetof (AEffect, flags) == 56);
static_assert (offsetof (AEffect, resvd1) == 64);
static_assert (offsetof (AEffect, resvd2) == 72);
static_assert (offsetof (AEffect, initialDelay) == 80);
static_assert (offsetof (AEffect, realQualities) == 84);
static_assert (offsetof (AEffect, offQualities) == 88);
static_assert (offsetof (AEffect, ioRatio) == 92);
static_assert (offsetof (AEffect, object) == 96);
static_assert (offsetof (AEffect, user) == 104);
static_assert (offsetof (AEffect, uniqueID) == 112);
static_assert (offsetof (AEffect, version) == 116);
static_assert (offsetof (AEffect, processReplacing) == 120);
static_assert (offsetof (AEffect, processDoubleReplacing) == 128);
static_assert (offsetof (AEffect, future) == 136);
static_assert (sizeof (AEffect) == 192);

/** Bits of AEffect::flags. */
enum VstAEffectFlags : int32_t
{
    effFlagsHasEditor = 1 << 0,
    effFlagsHasClip = 1 << 1,
    effFlagsHasVu = 1 << 2,
    effFlagsCanMono = 1 << 3,
    effFlagsCanReplacing = 1 << 4,
    effFlagsProgramChunks = 1 << 5,
    effFlagsIsSynth = 1 << 8,
    effFlagsNoSoundInStop = 1 << 9,
    effFlagsExtIsAsync = 1 << 10,
    effFlagsExtHasBuffer = 1 << 11,
    effFlagsCanDoubleReplacing = 1 << 12
};

/** Host to plug-in: the dispatcher's opcodes. */
enum VstEffectOpcode : int32_t
{
    effOpen = 0,
    effClose,
    effSetProgram,
    effGetProgram,
    effSetProgramName,
    effGetProgramName,
    effGetParamLabel,
    effGetParamDisplay,
    effGetParamName,
    effGetVu,
    effSetSampleRate,
    effSetBlockSize,
    effMainsChanged,
    effEditGetRect,
    effEditOpen,
    effEditClose,
    effEditDraw,
    effEditMouse,
    effEditKey,
    effEditIdle,
    effEditTop,
    effEditSleep,
    effIdentify,
    effGetChunk,
    effSetChunk,

    effProcessEvents = 25,
    effCanBeAutomated,
    effString2Parameter,
    effGetNumProgramCategories,
    effGetProgramNameIndexed,
    effCopyProgram,
    effConnectInput,
    effConnectOutput,
    effGetInputProperties,
    effGetOutputProperties,
    effGetPlugCategory,
    effGetCurrentPosition,
    effGetDestinationBuffer,
    effOfflineNotify,
    effOfflinePrepare,
    effOfflineRun,
    effProcessVarIo,
    effSetSpeakerArrangement,
    effSetBlockSizeAndSampleRate,
    effSetBypass,
    effGetEffectName,
    effGetErrorText,
    effGetVendorString,
    effGetProductString,
    effGetVendorVersion,
    effVendorSpecific,
    effCanDo,
    effGetTailSize,
    effIdle,
    effGetIcon,
    effSetViewPosition,
    effGetParameterProperties,
    effKeysRequired,
    effGetVstVersion,
    effEditKeyDown,
    effEditKeyUp,
    effSetEditKnobMode,
    effGetMidiProgramName,
    effGetCurrentMidiProgram,
    effGetMidiProgramCategory,
    effHasMidiProgramsChanged,
    effGetMidiKeyName,
    effBeginSetProgram,
    effEndSetProgram,
    effGetSpeakerArrangement,
    effShellGetNextPlugin,
    effStartProcess,
    effStopProcess,
    effSetTotalSampleToProcess,
    effSetPanLaw,
    effBeginLoadBank,
    effBeginLoadProgram,
    effSetProcessPrecision,
    effGetNumMidiInputChannels,
    effGetNumMidiOutputChannels
};

static_assert (effSetChunk == 24 && effCanDo == 51 && effGetVstVersion == 58
               && effGetSpeakerArrangement == 69 && effGetNumMidiOutputChannels == 79);

/** Plug-in to host: the requests made through the host callback. */
enum VstHostOpcode : int32_t
{
    hostAutomate = 0,
    hostGetVersion = 1,
    hostGetCurrentUniqueId = 2,
    hostIdle = 3,
    hostPinConnected = 4,
    hostWantEvents = 6,
    hostGetTimeInfo = 7,
    hostTempoAt = 10,
    hostGetNumAutomatableParameters = 11,
    hostGetParameterQuantization = 12,
    hostIoChanged = 13,
    hostNeedIdle = 14,
    hostSizeWindow = 15,
    hostGetSampleRate = 16,
    hostGetBlockSize = 17,
    hostGetInputLatency = 18,
    hostGetOutputLatency = 19,
    hostGetPreviousPlug = 20,
    hostGetNextPlug = 21,
    hostWillReplaceOrAccumulate = 22,
    hostGetCurrentProcessLevel = 23,
    hostGetAutomationState = 24,
    hostOfflineStart = 25,
    hostOfflineRead = 26,
    hostOfflineWrite = 27,
    hostOfflineGetCurrentPass = 28,
    hostOfflineGetCurrentMetaPass = 29,
    hostSetOutputSampleRate = 30,
    hostGetOutputSpeakerArrangement = 31,
    hostGetVendorString = 32,
    hostGetProductString = 33,
    hostGetVendorVersion = 34,
    hostVendorSpecific = 35,
    hostCanDo = 37,
    hostGetLanguage = 38,
    hostOpenWindow = 39,
    hostCloseWindow = 40,
    hostGetDirectory = 41,
    hostUpdateDisplay = 42,
    hostBeginEdit = 43,
    hostEndEdit = 44,
    hostOpenFileSelector = 45,
    hostCloseFileSelector = 46,
    hostGetChunkFile = 48,
    hostGetInputSpeakerArrangement = 49
};

/** Answers of hostGetCurrentProcessLevel. */
enum VstProcessLevel : int32_t
{
    kVstProcessLevelUnknown = 0,
    kVstProcessLevelUser = 1,
    kVstProcessLevelRealtime = 2,
    kVstProcessLevelPrefetch = 3,
    kVstProcessLevelOffline = 4
};

/** Answers of effGetPlugCategory. */
enum VstPlugCategory : int32_t
{
    kPlugCategUnknown = 0,
    kPlugCategEffect = 1,
    kPlugCategSynth = 2
};

/** Arguments of effSetProcessPrecision. */
enum VstProcessPrecision : int32_t
{
    kVstProcessPrecision32 = 0,
    kVstProcessPrecision64 = 1
};

/** The editor's rectangle, answered through effEditGetRect. */
struct ERect
{
    int16_t top, left, bottom, right;
};

/** A key event, built by the dispatcher for effEditKeyDown and effEditKeyUp. */
struct VstKeyCode
{
    int32_t character;
    uint8_t virt;
    uint8_t modifier;
};

/** One speaker of an arrangement; 112 bytes. */
struct VstSpeakerProperties
{
    float azimuth;
    float elevation;
    float radius;
    float reserved;
    char name[64];
    int32_t type;
    char future[28];
};

static_assert (offsetof (VstSpeakerProperties, name) == 16);
static_assert (offsetof (VstSpeakerProperties, type) == 80);
static_assert (offsetof (VstSpeakerProperties, future) == 84);
static_assert (sizeof (VstSpeakerProperties) == 112);

/** A speaker arrangement: numChannels speakers follow the header; the declared array of 8 is
    only the minimum the host may pass, the real length is 8 + 112 * numChannels bytes. */
struct VstSpeakerArrangement
{
    int32_t type;
    int32_t numChannels;
    VstSpeakerProperties speakers[8];
};

static_assert (offsetof (VstSpeakerArrangement, speakers) == 8);

/** Size in bytes of an arrangement with the given number of speakers. */
constexpr size_t vstSpeakerArrangementSize (int32_t numChannels)
{
    return offsetof (VstSpeakerArrangement, speakers) + sizeof (VstSpeakerProperties) * (size_t) numChannels;
}

/** The speaker at index i of an arrangement, addressed past the declared array when needed. */
inline VstSpeakerProperties* vstSpeakerAt (VstSpeakerArrangement* arrangement, int32_t i)
{
    return reinterpret_cast<VstSpeakerProperties*> (reinterpret_cast<char*> (arrangement)
                                                    + vstSpeakerArrangementSize (i));
}

/** VstSpeakerArrangement::type values used here. */
enum VstSpeakerArrangementType : int32_t
{
    kSpeakerArrUserDefined = -2,
    kSpeakerArrEmpty = -1,
    kSpeakerArrMono = 0,
    kSpeakerArrStereo = 1
};

/** VstSpeakerProperties::type values used here. */
enum VstSpeakerType : int32_t
{
    kSpeakerM = 0,
    kSpeakerL = 1,
    kSpeakerR = 2
};

/** One input or output channel as the plug-in describes it through effGetInputProperties and
    effGetOutputProperties; the host passes the record, 128 bytes. */
struct VstPinProperties
{
    char label[64];
    int32_t flags;                              // VstPinPropertiesFlags
    int32_t arrangementType;                    // VstSpeakerArrangementType of the channel's layout
    char shortLabel[8];
    char future[48];
};

static_assert (offsetof (VstPinProperties, flags) == 64);
static_assert (offsetof (VstPinProperties, arrangementType) == 68);
static_assert (offsetof (VstPinProperties, shortLabel) == 72);
static_assert (sizeof (VstPinProperties) == 128);

/** Bits of VstPinProperties::flags. */
enum VstPinPropertiesFlags : int32_t
{
    kVstPinIsActive = 1 << 0,
    kVstPinIsStereo = 1 << 1,                   // the first channel of a stereo pair
    kVstPinUseSpeaker = 1 << 2                  // arrangementType is valid
};

/** The host's transport, answered by hostGetTimeInfo as a pointer into the host's memory that
    stays valid for the processing call it was asked in. Positions are in samples (samplePos) or
    quarter notes (ppqPos, barStartPos, cycle points); fields other than the first two count only
    where a flag marks them valid. 88 bytes. */
struct VstTimeInfo
{
    double samplePos;
    double sampleRate;
    double nanoSeconds;                         // system time
    double ppqPos;
    double tempo;                               // quarter notes per minute
    double barStartPos;                         // the last bar's start
    double cycleStartPos;
    double cycleEndPos;
    int32_t timeSigNumerator;
    int32_t timeSigDenominator;
    int32_t smpteOffset;
    int32_t smpteFrameRate;
    int32_t samplesToNextClock;
    int32_t flags;                              // VstTimeInfoFlags
};

static_assert (offsetof (VstTimeInfo, ppqPos) == 24);
static_assert (offsetof (VstTimeInfo, cycleEndPos) == 56);
static_assert (offsetof (VstTimeInfo, timeSigNumerator) == 64);
static_assert (offsetof (VstTimeInfo, flags) == 84);
static_assert (sizeof (VstTimeInfo) == 88);

/** Bits of VstTimeInfo::flags, and of the filter passed with hostGetTimeInfo (the valid bits
    name what the plug-in needs). */
enum VstTimeInfoFlags : int32_t
{
    kVstTransportChanged = 1 << 0,
    kVstTransportPlaying = 1 << 1,
    kVstTransportCycleActive = 1 << 2,
    kVstTransportRecording = 1 << 3,
    kVstNanosValid = 1 << 8,
    kVstPpqPosValid = 1 << 9,
    kVstTempoValid = 1 << 10,
    kVstBarsValid = 1 << 11,
    kVstCyclePosValid = 1 << 12,
    kVstTimeSigValid = 1 << 13,
    kVstSmpteValid = 1 << 14,
    kVstClockValid = 1 << 15
};

// Records that belong to the host or to features this plug-in does not use; passed through only.
struct VstEvents;
struct VstVariableIo;
struct VstParameterProperties;
struct VstPatchChunkInfo;
struct VstFileSelect;
struct VstWindow;
struct VstAudioFile;
struct VstOfflineTask;
struct MidiProgramName;
struct MidiProgramCategory;
struct MidiKeyName;

/** Signature of the exported entry points VSTPluginMain and main_macho. */
typedef AEffect* (*VstPluginMainProc) (audioMasterCallback host);
