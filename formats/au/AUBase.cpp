#include "formats/au/AUBase.h"

#include "formats/au/AUStreamHelpers.h"
#include "formats/au/ClassInfoKeys.h"
#include "formats/au/StatusLadder.h"
#include "platform/au/AudioUnitRuntime.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE__) || defined(__x86_64__)
 #include <xmmintrin.h>
 #define KELMORA_AU_HAS_MXCSR 1
#endif

namespace kelmora::au
{
namespace
{
// Flush-to-zero and denormals-are-zero for the whole render call.
class FloatingPointModeGuard
{
public:
#if KELMORA_AU_HAS_MXCSR
    FloatingPointModeGuard() : mSaved (_mm_getcsr()) { _mm_setcsr (mSaved | 0x8040); }
    ~FloatingPointModeGuard() { _mm_setcsr (mSaved); }

private:
    unsigned int mSaved;
#endif
};

UInt64 ExpectedBufferCount (const AudioStreamBasicDescription& format)
{
    if (format.mFormatID == kAudioFormatLinearPCM && (format.mFormatFlags & kAudioFormatFlagIsNonInterleaved) != 0)
        return format.mChannelsPerFrame;
    return 1;
}

SInt32 EventOffset (const AudioUnitParameterEvent& event) { return event.eventValues.ramp.startBufferOffset; }
} // namespace

AUBase::AUBase (AudioComponentInstance instance, UInt32 numInputElements, UInt32 numOutputElements, UInt32 numGroupElements)
    : ComponentBase (instance),
      mInitNumInputEls (numInputElements),
      mInitNumOutputEls (numOutputElements),
      mInitNumGroupEls (numGroupElements)
{
    ResetRenderTime();
    const auto& keys = ClassInfoKeys::Get();
    mAudioUnitAPIVersion = 2;
    SetMaxFramesPerSlice (kAUDefaultMaxFramesPerSlice);

    for (AudioUnitScope scope = kAudioUnitScope_Input; scope <= kAudioUnitScope_Group; ++scope)
        mScopes[scope].Initialize (this, scope, 0);
    GlobalScope().Initialize (this, kAudioUnitScope_Global, 1);

    if (mAudioUnitAPIVersion >= 2)
        mParamEventList.reserve (24);
    SetCurrentPreset (-1, keys.untitled);
}

AUBase::~AUBase()
{
    CFRelease (mCurrentPreset.presetName);
    CFRelease (mContextName);
}

void AUBase::PreDestructor() { DoCleanup(); }

void AUBase::CreateElements()
{
    if (mElementsCreated)
        return;
    Inputs().SetNumberOfElements (mInitNumInputEls);
    Outputs().SetNumberOfElements (mInitNumOutputEls);
    Groups().SetNumberOfElements (mInitNumGroupEls);
    CreateExtendedElements();
    mElementsCreated = true;
}

AUElement* AUBase::CreateElement (AudioUnitScope scope, AudioUnitElement)
{
    switch (scope)
    {
        case kAudioUnitScope_Input: return new AUInputElement (*this);
        case kAudioUnitScope_Output: return new AUOutputElement (*this);
        default: return new AUElement (*this);
    }
}

OSStatus AUBase::DoInitialize()
{
    if (IsInitialized())
        return noErr;
    if (const OSStatus status = Initialize(); status != noErr)
        return status;

    mHasBegunInitializing = true;
    ReallocateBuffers();
    // Set last with a full barrier, so a render thread that sees the flag also sees the buffers.
    mInitialized.store (true, std::memory_order_seq_cst);
    return noErr;
}

void AUBase::DoCleanup()
{
    if (IsInitialized())
        Cleanup();
    ResetRenderTime();
    mInitialized.store (false, std::memory_order_release);
    mHasBegunInitializing = false;
}

OSStatus AUBase::Reset (AudioUnitScope, AudioUnitElement)
{
    ResetRenderTime();
    return noErr;
}

void AUBase::ResetRenderTime()
{
    std::memset (&mCurrentRenderTime, 0, sizeof mCurrentRenderTime);
    mCurrentRenderTime.mSampleTime = -1.0;
}

void AUBase::ReallocateBuffers()
{
    CreateElements();
    for (UInt32 i = 0, n = Outputs().GetNumberOfElements(); i < n; ++i)
        Outputs().GetIOElement (i)->AllocateBuffer();
    for (UInt32 i = 0, n = Inputs().GetNumberOfElements(); i < n; ++i)
        Inputs().GetIOElement (i)->AllocateBuffer();
    mBuffersAllocated = true;
}

void AUBase::SetMaxFramesPerSlice (UInt32 frames)
{
    mMaxFramesPerSlice = frames;
    if (mBuffersAllocated)
        ReallocateBuffers();
    PropertyChanged (kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0);
}

OSStatus AUBase::CanSetMaxFrames() const { return IsInitialized() ? OSStatus (kAudioUnitErr_Initialized) : OSStatus (noErr); }

//==============================================================================
AUScope& AUBase::GetScope (AudioUnitScope scope)
{
    if (scope <= kAudioUnitScope_Group)
        return mScopes[scope];
    auto* extended = GetScopeExtended (scope);
    if (extended == nullptr)
        ThrowStatus (kAudioUnitErr_InvalidScope);
    return *extended;
}

AUElement* AUBase::GetElement (AudioUnitScope scope, AudioUnitElement element)
{
    auto* found = GetScope (scope).GetElement (element);
    if (found == nullptr)
        ThrowStatus (kAudioUnitErr_InvalidElement);
    return found;
}

AUIOElement* AUBase::GetIOElement (AudioUnitScope scope, AudioUnitElement element)
{
    auto* io = GetElement (scope, element)->AsIOElement();
    if (io == nullptr)
        ThrowStatus (kAudioUnitErr_InvalidElement);
    return io;
}

AUInputElement* AUBase::GetInput (AudioUnitElement element)
{
    auto* input = dynamic_cast<AUInputElement*> (Inputs().GetIOElement (element));
    if (input == nullptr)
        ThrowStatus (kAudioUnitErr_InvalidElement);
    return input;
}

AUOutputElement* AUBase::GetOutput (AudioUnitElement element)
{
    auto* output = dynamic_cast<AUOutputElement*> (Outputs().GetIOElement (element));
    if (output == nullptr)
        ThrowStatus (kAudioUnitErr_InvalidElement);
    return output;
}

OSStatus AUBase::SetElementCount (AudioUnitScope scope, UInt32 count)
{
    if (IsInitialized())
        return kAudioUnitErr_Initialized;
    GetScope (scope).SetNumberOfElements (count);
    return noErr;
}

//==============================================================================
OSStatus AUBase::GetPropertyInfo (AudioUnitPropertyID, AudioUnitScope, AudioUnitElement, UInt32&, Boolean&)
{
    return kAudioUnitErr_InvalidProperty;
}

OSStatus AUBase::GetProperty (AudioUnitPropertyID, AudioUnitScope, AudioUnitElement, void*)
{
    return kAudioUnitErr_InvalidProperty;
}

OSStatus AUBase::SetProperty (AudioUnitPropertyID, AudioUnitScope, AudioUnitElement, const void*, UInt32)
{
    return kAudioUnitErr_InvalidProperty;
}

OSStatus AUBase::RemovePropertyValue (AudioUnitPropertyID, AudioUnitScope, AudioUnitElement)
{
    return kAudioUnitErr_InvalidPropertyValue;
}

OSStatus AUBase::AddPropertyListener (AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc, void* userData)
{
    // The array grows outside the lock, so a notification on the render thread never waits for an
    // allocation; the old storage is freed after the lock is released.
    std::vector<PropertyListener> grown;
    std::unique_lock<std::mutex> lock (mListenerLock);
    while (mPropertyListeners.size() == mPropertyListeners.capacity())
    {
        if (grown.capacity() > mPropertyListeners.size())
        {
            grown.assign (mPropertyListeners.begin(), mPropertyListeners.end());
            mPropertyListeners.swap (grown);
            break;
        }
        const size_t room = std::max<size_t> (32, 2 * mPropertyListeners.capacity());
        lock.unlock();
        grown.reserve (room);
        lock.lock();
    }
    mPropertyListeners.push_back ({ id, proc, userData, false });
    return noErr;
}

OSStatus AUBase::RemovePropertyListener (AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc, void* userData,
                                         bool matchUserData)
{
    const std::lock_guard<std::mutex> lock (mListenerLock);
    for (auto i = mPropertyListeners.size(); i-- > 0;)
    {
        auto& listener = mPropertyListeners[i];
        if (listener.removed || listener.propertyID != id || listener.listenerProc != proc
            || (matchUserData && listener.listenerRefCon != userData))
            continue;
        if (mNotificationDepth > 0)
            listener.removed = true;  // a notification in progress still walks this array
        else
            mPropertyListeners.erase (mPropertyListeners.begin() + static_cast<std::ptrdiff_t> (i));
    }
    return noErr;
}

size_t AUBase::GetNumberOfPropertyListeners() const
{
    const std::lock_guard<std::mutex> lock (mListenerLock);
    return mPropertyListeners.size();
}

void AUBase::PropertyChanged (AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element)
{
    // Any thread, the render thread included. Each listener is copied under the lock and called
    // without it; while a walk runs, removals only mark, so the indices stay put. Listeners added
    // meanwhile wait for the next notification; removed ones are skipped.
    size_t n = 0;
    {
        const std::lock_guard<std::mutex> lock (mListenerLock);
        ++mNotificationDepth;
        n = mPropertyListeners.size();
    }
    for (size_t i = 0; i < n; ++i)
    {
        PropertyListener listener;
        {
            const std::lock_guard<std::mutex> lock (mListenerLock);
            listener = mPropertyListeners[i];
        }
        if (! listener.removed && listener.propertyID == id)
            listener.listenerProc (listener.listenerRefCon, GetComponentInstance(), id, scope, element);
    }
    const std::lock_guard<std::mutex> lock (mListenerLock);
    if (--mNotificationDepth == 0)
        mPropertyListeners.erase (std::remove_if (mPropertyListeners.begin(), mPropertyListeners.end(),
                                                  [] (const PropertyListener& l) { return l.removed; }),
                                  mPropertyListeners.end());
}

OSStatus AUBase::AddRenderNotify (AURenderCallback proc, void* userData)
{
    if (proc == nullptr)
        return kAudio_ParamError;
    mRenderCallbacksTouched.store (true, std::memory_order_release);
    mRenderCallbacks.deferred_add ({ proc, userData });
    return noErr;
}

OSStatus AUBase::RemoveRenderNotify (AURenderCallback proc, void* userData)
{
    mRenderCallbacks.deferred_remove ({ proc, userData });
    return noErr;
}

//==============================================================================
OSStatus AUBase::GetParameter (AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                               AudioUnitParameterValue& outValue)
{
    outValue = GetElement (scope, element)->GetParameter (id);
    return noErr;
}

OSStatus AUBase::SetParameter (AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                               AudioUnitParameterValue value, UInt32)
{
    GetElement (scope, element)->SetParameter (id, value, false);
    return noErr;
}

OSStatus AUBase::GetParameterList (AudioUnitScope scope, AudioUnitParameterID* outList, UInt32& outCount)
{
    auto& theScope = GetScope (scope);
    AUElement* largest = nullptr;
    UInt32 most = 0;
    for (UInt32 i = 0, n = theScope.GetNumberOfElements(); i < n; ++i)
    {
        auto* element = theScope.GetElement (i);
        if (element == nullptr)
            continue;
        const UInt32 count = element->GetNumberOfParameters();
        if (largest == nullptr || count > most)
        {
            largest = element;
            most = count;
        }
    }
    if (outList != nullptr && largest != nullptr)
        largest->GetParameterList (outList);
    outCount = most;
    return noErr;
}

OSStatus AUBase::GetParameterInfo (AudioUnitScope, AudioUnitParameterID, AudioUnitParameterInfo&)
{
    return kAudioUnitErr_InvalidParameter;
}

OSStatus AUBase::GetParameterHistoryInfo (AudioUnitScope, AudioUnitParameterID, Float32&, Float32&)
{
    return kAudioUnitErr_InvalidProperty;
}

OSStatus AUBase::GetParameterValueStrings (AudioUnitScope, AudioUnitParameterID, CFArrayRef*) { return kAudioUnitErr_InvalidProperty; }
OSStatus AUBase::CopyClumpName (AudioUnitScope, UInt32, UInt32, CFStringRef*) { return kAudioUnitErr_InvalidProperty; }
OSStatus AUBase::GetPresets (CFArrayRef*) const { return kAudioUnitErr_InvalidProperty; }
OSStatus AUBase::NewFactoryPresetSet (const AUPreset&) { return kAudioUnitErr_InvalidProperty; }

OSStatus AUBase::ScheduleParameter (const AudioUnitParameterEvent* events, UInt32 count)
{
    for (UInt32 i = 0; i < count; ++i)
    {
        const auto& event = events[i];
        if (event.eventType == kParameterEvent_Immediate)
            SetParameter (event.parameter, event.scope, event.element, event.eventValues.immediate.value,
                          event.eventValues.immediate.bufferOffset);
        mParamEventList.push_back (event);
    }
    return noErr;
}

OSStatus AUBase::ProcessForScheduledParams (ParameterEventList& events, UInt32 frames, void* userData)
{
    std::sort (events.begin(), events.end(),
               [] (const AudioUnitParameterEvent& a, const AudioUnitParameterEvent& b) { return EventOffset (a) < EventOffset (b); });

    SInt64 remaining = frames;
    SInt64 start = 0;
    while (remaining > 0)
    {
        SInt64 end = frames;
        for (const auto& event : events)
        {
            const SInt64 offset = EventOffset (event);
            if (offset > start && offset < end)
            {
                end = offset;
                break;
            }
            if (event.eventType == kParameterEvent_Ramped)
            {
                const SInt64 rampEnd = offset + SInt64 (event.eventValues.ramp.durationInFrames);
                if (rampEnd > start && rampEnd < end)
                    end = rampEnd;
            }
        }

        for (const auto& event : events)
        {
            const SInt64 offset = EventOffset (event);
            const bool takesPart = event.eventType == kParameterEvent_Ramped
                                       ? offset < end && offset + SInt64 (event.eventValues.ramp.durationInFrames) > start
                                       : offset <= start;
            if (! takesPart)
                continue;

            AUScope* scope = event.scope <= kAudioUnitScope_Group ? &mScopes[event.scope] : GetScopeExtended (event.scope);
            if (auto* element = scope != nullptr ? scope->GetElement (event.element) : nullptr)
                element->SetScheduledEvent (event.parameter, event, static_cast<UInt32> (start),
                                            static_cast<UInt32> (end - start), false);
        }

        if (const OSStatus status = ProcessScheduledSlice (userData, static_cast<UInt32> (start),
                                                           static_cast<UInt32> (end - start), frames);
            status != noErr)
            return status;

        remaining -= end - start;
        start = end;
    }
    return noErr;
}

//==============================================================================
void AUBase::RecordRenderError (OSStatus status)
{
    OSStatus none = noErr;
    if (mLastRenderError.compare_exchange_strong (none, status))
        PropertyChanged (kAudioUnitProperty_LastRenderError, kAudioUnitScope_Global, 0);
}

void AUBase::NotifyRender (AudioUnitRenderActionFlags flags, const AudioTimeStamp& timeStamp, UInt32 bus, UInt32 frames,
                           AudioBufferList& ioData)
{
    mRenderCallbacks.ForEach ([&] (const RenderCallback& callback) {
        AudioUnitRenderActionFlags copy = flags;
        callback.mRenderNotify (callback.mRenderNotifyRefCon, &copy, &timeStamp, bus, frames, &ioData);
    });
}

OSStatus AUBase::DoRender (AudioUnitRenderActionFlags& ioFlags, const AudioTimeStamp& timeStamp, UInt32 bus, UInt32 frames,
                           AudioBufferList& ioData)
{
    FloatingPointModeGuard fpMode;

    auto refuse = [this] (OSStatus status) {
        RecordRenderError (status);
        return status;
    };

    if (! IsInitialized())
        return refuse (kAudioUnitErr_Uninitialized);
    if (mAudioUnitAPIVersion < 2)
        return refuse (kAudio_ParamError);
    if (frames > mMaxFramesPerSlice)
        return refuse (kAudioUnitErr_TooManyFramesToProcess);

    auto& output = *GetIOElement (kAudioUnitScope_Output, bus);
    if (const OSStatus status = CheckBufferList (ioData, output.GetStreamFormat(), frames, true); status != noErr)
        return refuse (status);

    struct ClearEvents
    {
        ParameterEventList& events;
        ~ClearEvents() { events.clear(); }
    } clearEvents { mParamEventList };

    const bool touched = mRenderCallbacksTouched.load (std::memory_order_acquire);
    if (touched)
    {
        mRenderCallbacks.Update();
        NotifyRender (ioFlags | kAudioUnitRenderAction_PreRender, timeStamp, bus, frames, ioData);
    }

    const OSStatus status = DoRenderBus (ioFlags, timeStamp, bus, output, frames, ioData);
    if (status != noErr)
        RecordRenderError (status);

    if (touched)
        NotifyRender (ioFlags | kAudioUnitRenderAction_PostRender | (status != noErr ? UInt32 (kAudioUnitRenderAction_PostRenderError) : 0u),
                      timeStamp, bus, frames, ioData);
    return status;
}

OSStatus AUBase::CheckBufferList (AudioBufferList& list, const AudioStreamBasicDescription& format, UInt32 frames,
                                  bool noMemoryAllowed)
{
    if (list.mNumberBuffers != ExpectedBufferCount (format))
        return kAudio_ParamError;

    const UInt64 bytesNeeded = UInt64 (format.mBytesPerFrame) * frames;
    UInt32 withData = 0;
    for (UInt32 i = 0; i < list.mNumberBuffers; ++i)
    {
        auto& buffer = list.mBuffers[i];
        if (buffer.mData == nullptr)
            continue;
        ++withData;
        if (buffer.mDataByteSize < bytesNeeded)
            return kAudio_ParamError;
        buffer.mDataByteSize = static_cast<UInt32> (bytesNeeded);
    }
    // Either all the memory is there or none (and then only where allowed).
    if (withData != list.mNumberBuffers && (withData != 0 || ! noMemoryAllowed))
        return kAudio_ParamError;
    return noErr;
}

OSStatus AUBase::DoRenderBus (AudioUnitRenderActionFlags& ioFlags, const AudioTimeStamp& timeStamp, UInt32 bus,
                              AUIOElement& output, UInt32 frames, AudioBufferList& ioData)
{
    const bool callerHasMemory = ioData.mNumberBuffers > 0 && ioData.mBuffers[0].mData != nullptr;
    if (callerHasMemory && (! output.WillAllocateBuffer() || Outputs().GetNumberOfElements() < 2))
        output.SetBufferList (ioData);
    else
    {
        if (! output.WillAllocateBuffer())
            ThrowStatus (kAudioUnitErr_InvalidPropertyValue);
        output.PrepareBuffer (frames);
    }

    if (const OSStatus status = RenderBus (ioFlags, timeStamp, bus, frames); status != noErr)
        return status;

    if (! callerHasMemory)
    {
        const auto& own = output.GetBufferList();
        for (UInt32 i = 0; i < ioData.mNumberBuffers && i < own.mNumberBuffers; ++i)
        {
            ioData.mBuffers[i].mData = own.mBuffers[i].mData;
            ioData.mBuffers[i].mDataByteSize = own.mBuffers[i].mDataByteSize;
        }
    }
    else
    {
        output.CopyBufferContentsTo (ioData);
        output.InvalidateBufferList();
    }
    return noErr;
}

OSStatus AUBase::RenderBus (AudioUnitRenderActionFlags& ioFlags, const AudioTimeStamp& timeStamp, UInt32, UInt32 frames)
{
    if (timeStamp.mSampleTime == mCurrentRenderTime.mSampleTime)
        return noErr;  // this time was rendered already
    mCurrentRenderTime = timeStamp;
    return Render (ioFlags, timeStamp, frames);
}

OSStatus AUBase::Render (AudioUnitRenderActionFlags&, const AudioTimeStamp&, UInt32) { return noErr; }

OSStatus AUBase::ProcessBufferLists (AudioUnitRenderActionFlags&, const AudioBufferList&, AudioBufferList&, UInt32)
{
    return kAudio_UnimplementedError;
}

OSStatus AUBase::ProcessMultipleBufferLists (AudioUnitRenderActionFlags&, UInt32, UInt32, const AudioBufferList**, UInt32,
                                             AudioBufferList**)
{
    return kAudio_UnimplementedError;
}

OSStatus AUBase::ComplexRender (AudioUnitRenderActionFlags&, const AudioTimeStamp&, UInt32, UInt32, AudioBufferList&)
{
    return kAudio_UnimplementedError;
}

//==============================================================================
bool AUBase::ValidFormat (AudioUnitScope, AudioUnitElement, const AudioStreamBasicDescription& format)
{
    if (format.mFormatID != kAudioFormatLinearPCM || format.mFramesPerPacket != 1
        || format.mBytesPerPacket != format.mBytesPerFrame || (format.mFormatFlags & kAudioFormatFlagIsFloat) == 0
        || (format.mFormatFlags & kAudioFormatFlagIsBigEndian) != 0 || format.mBitsPerChannel != 32)
        return false;

    const bool nonInterleaved = (format.mFormatFlags & kAudioFormatFlagIsNonInterleaved) != 0;
    if (format.mChannelsPerFrame > 1 && nonInterleaved != (mAudioUnitAPIVersion >= 2))
        return false;
    const UInt64 expected = nonInterleaved ? 4 : 4 * UInt64 (format.mChannelsPerFrame);
    return format.mBytesPerFrame == expected;
}

AudioStreamBasicDescription AUBase::GetStreamFormat (AudioUnitScope scope, AudioUnitElement element)
{
    switch (scope)
    {
        case kAudioUnitScope_Global: return GetIOElement (kAudioUnitScope_Output, 0)->GetStreamFormat();
        case kAudioUnitScope_Input:
        case kAudioUnitScope_Output: return GetIOElement (scope, element)->GetStreamFormat();
        default: ThrowStatus (kAudioUnitErr_InvalidScope);
    }
}

OSStatus AUBase::ChangeStreamFormat (AudioUnitScope scope, AudioUnitElement element, const AudioStreamBasicDescription&,
                                     const AudioStreamBasicDescription& newFormat)
{
    AUIOElement* io = nullptr;
    switch (scope)
    {
        case kAudioUnitScope_Global: io = GetIOElement (kAudioUnitScope_Output, 0); break;
        case kAudioUnitScope_Input:
        case kAudioUnitScope_Output: io = GetIOElement (scope, element); break;
        default: ThrowStatus (kAudioUnitErr_InvalidScope);
    }
    io->SetStreamFormat (newFormat);
    PropertyChanged (kAudioUnitProperty_StreamFormat, scope, element);
    return noErr;
}

OSStatus AUBase::SetConnection (const AudioUnitConnection& connection)
{
    auto* input = GetInput (connection.destInputNumber);
    if (connection.sourceAudioUnit != nullptr)
    {
        AudioStreamBasicDescription format {};
        UInt32 size = sizeof format;
        OSStatus status = AudioUnitGetProperty (connection.sourceAudioUnit, kAudioUnitProperty_StreamFormat,
                                                kAudioUnitScope_Output, connection.sourceOutputNumber, &format, &size);
        if (status != noErr)
            return status;
        status = DispatchSetProperty (kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, connection.destInputNumber,
                                      &format, sizeof format);
        if (status != noErr)
            return status;
    }
    input->SetConnection (connection);
    PropertyChanged (kAudioUnitProperty_MakeConnection, kAudioUnitScope_Input, connection.destInputNumber);
    return noErr;
}

OSStatus AUBase::SetInputCallback (AudioUnitPropertyID id, AudioUnitElement element, AURenderCallback proc, void* userData)
{
    GetInput (element)->SetInputCallback (proc, userData);
    PropertyChanged (id, kAudioUnitScope_Input, element);
    return noErr;
}

UInt32 AUBase::GetChannelLayoutTags (AudioUnitScope scope, AudioUnitElement element, AudioChannelLayoutTag* outTags)
{
    return GetIOElement (scope, element)->GetChannelLayoutTags (outTags);
}

UInt32 AUBase::GetAudioChannelLayout (AudioUnitScope scope, AudioUnitElement element, AudioChannelLayout* outLayout,
                                      Boolean& outWritable)
{
    return GetIOElement (scope, element)->GetAudioChannelLayout (outLayout, outWritable);
}

OSStatus AUBase::SetAudioChannelLayout (AudioUnitScope scope, AudioUnitElement element, const AudioChannelLayout& layout)
{
    auto* io = GetIOElement (scope, element);
    if (ChannelLayoutChannelCount (layout) != io->NumberChannels())
        return kAudioUnitErr_InvalidPropertyValue;

    const UInt32 count = GetChannelLayoutTags (scope, element, nullptr);
    if (count == 0)
        return kAudioUnitErr_InvalidProperty;
    std::vector<AudioChannelLayoutTag> tags (count);
    GetChannelLayoutTags (scope, element, tags.data());
    if (std::find (tags.begin(), tags.end(), layout.mChannelLayoutTag) == tags.end()
        && std::find (tags.begin(), tags.end(), kAudioChannelLayoutTag_UseChannelDescriptions) == tags.end())
        return kAudioUnitErr_InvalidPropertyValue;
    return io->SetAudioChannelLayout (layout);
}

OSStatus AUBase::RemoveAudioChannelLayout (AudioUnitScope scope, AudioUnitElement element)
{
    auto* io = GetIOElement (scope, element);
    Boolean writable = false;
    if (io->GetAudioChannelLayout (nullptr, writable) > 0)
        return io->RemoveAudioChannelLayout();
    return noErr;
}

//==============================================================================
void AUBase::SetCurrentPreset (SInt32 number, CFStringRef name)
{
    CFRetain (name);
    CFRelease (mCurrentPreset.presetName);
    mCurrentPreset = { number, name };
}

bool AUBase::SetAFactoryPresetAsCurrent (const AUPreset& preset)
{
    if (preset.presetNumber < 0 || preset.presetName == nullptr)
        return false;
    SetCurrentPreset (preset.presetNumber, preset.presetName);
    return true;
}
} // namespace kelmora::au
