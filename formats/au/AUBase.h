#pragma once

#include "formats/au/AUInputElement.h"
#include "formats/au/AUOutputElement.h"
#include "formats/au/AUScope.h"
#include "formats/au/ComponentBase.h"
#include "formats/au/TThreadSafeList.h"

#include <atomic>
#include <mutex>
#include <vector>

namespace kelmora::au
{
/** The generic Audio Unit: scopes and elements, properties, parameters, listeners, render
    notifications, the render entry with its checks, scheduled parameters and the class-info state.

    Host threads call the property, parameter and lifecycle operations; the render thread calls
    DoRender. Render notifications go through a lock-free list; the property listeners, which a
    failed render notifies on the render thread, sit behind a short lock that is never held across
    a listener call nor an allocation. Everything else follows the host's contract of not
    reconfiguring a unit while it renders. Deep look-ups throw
    their status; the entry points turn what is thrown into a status (StatusLadder.h).
*/
class AUBase : public ComponentBase
{
public:
    static constexpr UInt32 kAUDefaultMaxFramesPerSlice = 1156;

    struct RenderCallback
    {
        AURenderCallback mRenderNotify = nullptr;
        void* mRenderNotifyRefCon = nullptr;
        bool operator== (const RenderCallback& other) const
        {
            return mRenderNotify == other.mRenderNotify && mRenderNotifyRefCon == other.mRenderNotifyRefCon;
        }
    };

    struct PropertyListener
    {
        AudioUnitPropertyID propertyID;
        AudioUnitPropertyListenerProc listenerProc;
        void* listenerRefCon;
        bool removed;  // removed during a notification; dropped when the notification ends
    };

    using ParameterEventList = std::vector<AudioUnitParameterEvent>;

    AUBase (AudioComponentInstance instance, UInt32 numInputElements, UInt32 numOutputElements, UInt32 numGroupElements = 0);
    ~AUBase() override;

    void PostConstructor() override { CreateElements(); }
    void PreDestructor() override;

    //==============================================================================
    virtual void CreateExtendedElements() {}
    virtual OSStatus Initialize() { return noErr; }
    virtual void Cleanup() {}
    virtual OSStatus Reset (AudioUnitScope scope, AudioUnitElement element);

    virtual OSStatus GetPropertyInfo (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                      UInt32& outDataSize, Boolean& outWritable);
    virtual OSStatus GetProperty (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* outData);
    virtual OSStatus SetProperty (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                  const void* inData, UInt32 inDataSize);
    virtual OSStatus RemovePropertyValue (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element);

    virtual OSStatus AddPropertyListener (AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc, void* userData);
    virtual OSStatus RemovePropertyListener (AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc, void* userData,
                                             bool matchUserData);
    // Any thread; takes effect at the start of the next render call.
    virtual OSStatus AddRenderNotify (AURenderCallback proc, void* userData);
    virtual OSStatus RemoveRenderNotify (AURenderCallback proc, void* userData);

    virtual OSStatus GetParameter (AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                                   AudioUnitParameterValue& outValue);
    virtual OSStatus SetParameter (AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                                   AudioUnitParameterValue value, UInt32 bufferOffsetInFrames);
    virtual OSStatus ScheduleParameter (const AudioUnitParameterEvent* events, UInt32 count);

    virtual OSStatus ProcessBufferLists (AudioUnitRenderActionFlags& ioFlags, const AudioBufferList& input,
                                         AudioBufferList& output, UInt32 frames);
    virtual OSStatus ProcessMultipleBufferLists (AudioUnitRenderActionFlags& ioFlags, UInt32 frames, UInt32 numInputs,
                                                 const AudioBufferList** inputs, UInt32 numOutputs, AudioBufferList** outputs);
    virtual OSStatus ComplexRender (AudioUnitRenderActionFlags& ioFlags, const AudioTimeStamp& timeStamp, UInt32 bus,
                                    UInt32 frames, AudioBufferList& ioData);
    virtual OSStatus RenderBus (AudioUnitRenderActionFlags& ioFlags, const AudioTimeStamp& timeStamp, UInt32 bus, UInt32 frames);
    virtual OSStatus Render (AudioUnitRenderActionFlags& ioFlags, const AudioTimeStamp& timeStamp, UInt32 frames);

    virtual bool ElementCountWritable (AudioUnitScope scope) { return false; }
    virtual OSStatus SetElementCount (AudioUnitScope scope, UInt32 count);
    virtual OSStatus SetConnection (const AudioUnitConnection& connection);
    virtual OSStatus SetInputCallback (AudioUnitPropertyID id, AudioUnitElement element, AURenderCallback proc, void* userData);

    virtual OSStatus GetParameterList (AudioUnitScope scope, AudioUnitParameterID* outList, UInt32& outCount);
    virtual OSStatus GetParameterInfo (AudioUnitScope scope, AudioUnitParameterID id, AudioUnitParameterInfo& outInfo);
    virtual OSStatus GetParameterHistoryInfo (AudioUnitScope scope, AudioUnitParameterID id, Float32& outUpdatesPerSecond,
                                              Float32& outHistoryDurationInSeconds);
    // The class-info dictionary; the caller owns what SaveState hands out.
    virtual OSStatus SaveState (CFPropertyListRef* outData);
    virtual OSStatus RestoreState (CFPropertyListRef plist);
    virtual OSStatus GetParameterValueStrings (AudioUnitScope scope, AudioUnitParameterID id, CFArrayRef* outStrings);
    virtual OSStatus CopyClumpName (AudioUnitScope scope, UInt32 clumpID, UInt32 desiredNameLength, CFStringRef* outClumpName);
    virtual OSStatus GetPresets (CFArrayRef* outData) const;
    virtual OSStatus NewFactoryPresetSet (const AUPreset& preset);
    virtual UInt32 GetNumCustomUIComponents() { return 0; }
    virtual void GetUIComponentDescs (AudioComponentDescription* outDescriptions) {}
    virtual CFURLRef CopyIconLocation() { return nullptr; }
    virtual Float64 GetLatency() { return 0.0; }
    virtual Float64 GetTailTime() { return 0.0; }
    virtual bool SupportsTail() { return false; }

    virtual bool StreamFormatWritable (AudioUnitScope scope, AudioUnitElement element) = 0;
    virtual UInt32 SupportedNumChannels (const AUChannelInfo** outInfo) { return 0; }
    virtual bool ValidFormat (AudioUnitScope scope, AudioUnitElement element, const AudioStreamBasicDescription& format);
    virtual AudioStreamBasicDescription GetStreamFormat (AudioUnitScope scope, AudioUnitElement element);
    virtual OSStatus ChangeStreamFormat (AudioUnitScope scope, AudioUnitElement element,
                                         const AudioStreamBasicDescription& oldFormat,
                                         const AudioStreamBasicDescription& newFormat);

    virtual AUScope* GetScopeExtended (AudioUnitScope scope) { return nullptr; }
    virtual void PropertyChanged (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element);
    virtual AUElement* CreateElement (AudioUnitScope scope, AudioUnitElement element);

    virtual OSStatus MIDIEvent (UInt32 status, UInt32 data1, UInt32 data2, UInt32 offsetSampleFrame) { return kAudio_UnimplementedError; }
    virtual OSStatus SysEx (const UInt8* data, UInt32 length) { return kAudio_UnimplementedError; }

    virtual void ReallocateBuffers();
    virtual void SetMaxFramesPerSlice (UInt32 frames);
    virtual OSStatus CanSetMaxFrames() const;

    virtual UInt32 GetChannelLayoutTags (AudioUnitScope scope, AudioUnitElement element, AudioChannelLayoutTag* outTags);
    virtual UInt32 GetAudioChannelLayout (AudioUnitScope scope, AudioUnitElement element, AudioChannelLayout* outLayout,
                                          Boolean& outWritable);
    virtual OSStatus SetAudioChannelLayout (AudioUnitScope scope, AudioUnitElement element, const AudioChannelLayout& layout);
    virtual OSStatus RemoveAudioChannelLayout (AudioUnitScope scope, AudioUnitElement element);

    // Slices a render call at the scheduled events and calls ProcessScheduledSlice for each slice.
    virtual OSStatus ProcessForScheduledParams (ParameterEventList& events, UInt32 frames, void* userData);
    virtual OSStatus ProcessScheduledSlice (void* userData, UInt32 startFrame, UInt32 sliceFrames, UInt32 totalFrames)
    {
        return noErr;
    }

    // The Component Manager selectors of a unit (the rest go to ComponentBase).
    static OSStatus ComponentEntryDispatch (ComponentParameters* params, AUBase* unit);

    //==============================================================================
    void CreateElements();
    OSStatus DoInitialize();
    void DoCleanup();

    OSStatus DispatchGetPropertyInfo (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                      UInt32& outDataSize, Boolean& outWritable);
    OSStatus DispatchGetProperty (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* outData);
    OSStatus DispatchSetProperty (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                  const void* inData, UInt32 inDataSize);
    OSStatus DispatchRemovePropertyValue (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element);

    /** A read into a caller's buffer of ioDataSize bytes (non-zero). A buffer smaller than the
        property receives its first bytes and keeps its size; references the truncated copy cannot
        carry are released. On failure ioDataSize becomes 0.
    */
    OSStatus DispatchGetPropertyToCapacity (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                            void* outData, UInt32& ioDataSize);

    // Render thread. Restores the caller's floating-point mode on every exit.
    OSStatus DoRender (AudioUnitRenderActionFlags& ioFlags, const AudioTimeStamp& timeStamp, UInt32 bus, UInt32 frames,
                       AudioBufferList& ioData);
    OSStatus DoRenderBus (AudioUnitRenderActionFlags& ioFlags, const AudioTimeStamp& timeStamp, UInt32 bus,
                          AUIOElement& output, UInt32 frames, AudioBufferList& ioData);

    bool SetAFactoryPresetAsCurrent (const AUPreset& preset);

    /** The rule for a buffer list a unit is handed or pulls: one buffer per stream of the format,
        and every buffer holds at least frames of memory, or (where allowed) none has memory.
        Sizes are trimmed to the frames. Answers kAudio_ParamError when broken. */
    static OSStatus CheckBufferList (AudioBufferList& list, const AudioStreamBasicDescription& format, UInt32 frames,
                                     bool noMemoryAllowed);

    //==============================================================================
    AUScope& GetScope (AudioUnitScope scope);  // throws kAudioUnitErr_InvalidScope
    AUScope& GlobalScope() noexcept { return mScopes[kAudioUnitScope_Global]; }
    AUScope& Inputs() noexcept { return mScopes[kAudioUnitScope_Input]; }
    AUScope& Outputs() noexcept { return mScopes[kAudioUnitScope_Output]; }
    AUScope& Groups() noexcept { return mScopes[kAudioUnitScope_Group]; }
    AUElement* Globals() { return GlobalScope().GetElement (0); }

    // These throw kAudioUnitErr_InvalidScope or kAudioUnitErr_InvalidElement.
    AUElement* GetElement (AudioUnitScope scope, AudioUnitElement element);
    AUIOElement* GetIOElement (AudioUnitScope scope, AudioUnitElement element);
    AUInputElement* GetInput (AudioUnitElement element);
    AUOutputElement* GetOutput (AudioUnitElement element);

    bool IsInitialized() const noexcept { return mInitialized.load (std::memory_order_acquire); }
    bool HasBegunInitializing() const noexcept { return mHasBegunInitializing; }
    UInt8 GetAudioUnitAPIVersion() const noexcept { return mAudioUnitAPIVersion; }
    UInt32 GetMaxFramesPerSlice() const noexcept { return mMaxFramesPerSlice; }
    const AudioTimeStamp& CurrentRenderTime() const noexcept { return mCurrentRenderTime; }
    void ResetRenderTime();
    const AUPreset& GetCurrentPreset() const noexcept { return mCurrentPreset; }
    CFStringRef GetContextName() const noexcept { return mContextName; }
    const HostCallbackInfo& GetHostCallbackInfo() const noexcept { return mHostCallbackInfo; }
    const ParameterEventList& GetParamEventList() const noexcept { return mParamEventList; }
    ParameterEventList& GetParamEventList() noexcept { return mParamEventList; }  // render thread
    size_t GetNumberOfPropertyListeners() const;

protected:
    void SetAudioUnitAPIVersion (UInt8 version) noexcept { mAudioUnitAPIVersion = version; }

private:
    void SetCurrentPreset (SInt32 number, CFStringRef name);
    void RecordRenderError (OSStatus status);
    OSStatus CheckElement (AudioUnitScope scope, AudioUnitElement element);
    bool StreamFormatWritableByRuleW (AudioUnitScope scope, AudioUnitElement element);
    OSStatus WriteStreamFormat (AudioUnitScope scope, AudioUnitElement element, const AudioStreamBasicDescription& format);
    void NotifyRender (AudioUnitRenderActionFlags flags, const AudioTimeStamp& timeStamp, UInt32 bus, UInt32 frames,
                       AudioBufferList& ioData);

    bool mElementsCreated = false;
    std::atomic<bool> mInitialized { false };
    bool mHasBegunInitializing = false;
    UInt8 mAudioUnitAPIVersion = 2;
    UInt32 mInitNumInputEls, mInitNumOutputEls, mInitNumGroupEls;
    AUScope mScopes[4];
    TThreadSafeList<RenderCallback> mRenderCallbacks;
    std::atomic<bool> mRenderCallbacksTouched { false };
    AudioTimeStamp mCurrentRenderTime {};
    UInt32 mMaxFramesPerSlice = 0;
    std::atomic<OSStatus> mLastRenderError { 0 };
    AUPreset mCurrentPreset { -1, nullptr };
    ParameterEventList mParamEventList;
    mutable std::mutex mListenerLock;  // guards the two below; held for a copy, never across a call or an allocation
    std::vector<PropertyListener> mPropertyListeners;
    int mNotificationDepth = 0;
    bool mBuffersAllocated = false;
    HostCallbackInfo mHostCallbackInfo {};
    CFStringRef mContextName = nullptr;
};
} // namespace kelmora::au
