// The two routes by which a host reaches a unit: the factory record with its method table, and
// the Component Manager's numbered calls. Every path runs inside the status ladder.

#include "formats/au/AUPlugInDispatch.h"

#include "formats/au/AUMIDIBase.h"
#include "formats/au/StatusLadder.h"

#include <cstdlib>
#include <memory>
#include <cstring>

namespace kelmora::au
{
namespace
{
AUBase& UnitAt (void* self) { return *static_cast<AUBase*> (static_cast<ComponentBase*> (UnitStorage (self))); }

template <typename Fn>
OSStatus OnUnit (void* self, Fn&& fn)
{
    return CallWithStatusLadder ([&] { return fn (UnitAt (self)); });
}

// Construction under the component mutex with the route's instance type, restored on every exit.
template <typename Fn>
void WhileConstructing (ComponentBase::InstanceType type, Fn&& fn)
{
    ComponentBase::InitComponentMutex();
    std::lock_guard<std::recursive_mutex> lock (ComponentBase::ComponentMutex());
    struct Restore
    {
        ComponentBase::InstanceType saved = ComponentBase::NewInstanceType();
        ~Restore() { ComponentBase::SetNewInstanceType (saved); }
    } restore;
    ComponentBase::SetNewInstanceType (type);
    fn();
}

OSStatus GetPropertyToCapacity (AUBase& unit, AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                void* data, UInt32* ioSize)
{
    if (ioSize == nullptr)
        return kAudio_ParamError;
    if (data == nullptr)
    {
        UInt32 size = 0;
        Boolean writable = false;
        const OSStatus status = unit.DispatchGetPropertyInfo (id, scope, element, size, writable);
        *ioSize = size;
        return status;
    }
    return unit.DispatchGetPropertyToCapacity (id, scope, element, data, *ioSize);
}

OSStatus SetOrRemoveProperty (AUBase& unit, AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                              const void* data, UInt32 size)
{
    if (data != nullptr && size != 0)
        return unit.DispatchSetProperty (id, scope, element, data, size);
    if (data == nullptr && size == 0)
        return unit.DispatchRemovePropertyValue (id, scope, element);
    return kAudio_ParamError;
}

OSStatus GetPropertyInfoThrough (AUBase& unit, AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                          UInt32* outSize, Boolean* outWritable)
{
    UInt32 size = 0;
    Boolean writable = false;
    const OSStatus status = unit.DispatchGetPropertyInfo (id, scope, element, size, writable);
    if (outSize != nullptr)
        *outSize = size;
    if (outWritable != nullptr)
        *outWritable = writable;
    return status;
}

OSStatus RenderChecked (AUBase& unit, AudioUnitRenderActionFlags* ioFlags, const AudioTimeStamp* timeStamp, UInt32 bus,
                 UInt32 frames, AudioBufferList* ioData)
{
    if (timeStamp == nullptr || ioData == nullptr)
        return kAudio_ParamError;
    AudioUnitRenderActionFlags noFlags = 0;
    return unit.DoRender (ioFlags != nullptr ? *ioFlags : noFlags, *timeStamp, bus, frames, *ioData);
}

//==============================================================================
OSStatus AUMethodInitialize (void* self) { return OnUnit (self, [] (AUBase& u) { return u.DoInitialize(); }); }
OSStatus AUMethodUninitialize (void* self)
{
    return OnUnit (self, [] (AUBase& u) { u.DoCleanup(); return OSStatus (noErr); });
}
OSStatus AUMethodGetPropertyInfo (void* self, AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                  UInt32* outSize, Boolean* outWritable)
{
    return OnUnit (self, [&] (AUBase& u) { return GetPropertyInfoThrough (u, id, scope, element, outSize, outWritable); });
}
OSStatus AUMethodGetProperty (void* self, AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                              void* outData, UInt32* ioSize)
{
    return OnUnit (self, [&] (AUBase& u) { return GetPropertyToCapacity (u, id, scope, element, outData, ioSize); });
}
OSStatus AUMethodSetProperty (void* self, AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                              const void* data, UInt32 size)
{
    return OnUnit (self, [&] (AUBase& u) { return SetOrRemoveProperty (u, id, scope, element, data, size); });
}
OSStatus AUMethodGetParameter (void* self, AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                               AudioUnitParameterValue* outValue)
{
    if (outValue == nullptr)
        return kAudio_ParamError;
    return OnUnit (self, [&] (AUBase& u) { return u.GetParameter (id, scope, element, *outValue); });
}
OSStatus AUMethodSetParameter (void* self, AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                               AudioUnitParameterValue value, UInt32 offset)
{
    return OnUnit (self, [&] (AUBase& u) { return u.SetParameter (id, scope, element, value, offset); });
}
OSStatus AUMethodReset (void* self, AudioUnitScope scope, AudioUnitElement element)
{
    return OnUnit (self, [&] (AUBase& u) { return u.Reset (scope, element); });
}
OSStatus AUMethodAddPropertyListener (void* self, AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc, void* userData)
{
    return OnUnit (self, [&] (AUBase& u) { return u.AddPropertyListener (id, proc, userData); });
}
OSStatus AUMethodRemovePropertyListener (void* self, AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc)
{
    return OnUnit (self, [&] (AUBase& u) { return u.RemovePropertyListener (id, proc, nullptr, false); });
}
OSStatus AUMethodRemovePropertyListenerWithUserData (void* self, AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc,
                                                     void* userData)
{
    return OnUnit (self, [&] (AUBase& u) { return u.RemovePropertyListener (id, proc, userData, true); });
}
OSStatus AUMethodRender (void* self, AudioUnitRenderActionFlags* ioFlags, const AudioTimeStamp* timeStamp, UInt32 bus,
                         UInt32 frames, AudioBufferList* ioData)
{
    return OnUnit (self, [&] (AUBase& u) { return RenderChecked (u, ioFlags, timeStamp, bus, frames, ioData); });
}
OSStatus AUMethodAddRenderNotify (void* self, AURenderCallback proc, void* userData)
{
    return OnUnit (self, [&] (AUBase& u) { return u.AddRenderNotify (proc, userData); });
}
OSStatus AUMethodRemoveRenderNotify (void* self, AURenderCallback proc, void* userData)
{
    return OnUnit (self, [&] (AUBase& u) { return u.RemoveRenderNotify (proc, userData); });
}
OSStatus AUMethodScheduleParameters (void* self, const AudioUnitParameterEvent* events, UInt32 count)
{
    return OnUnit (self, [&] (AUBase& u) { return u.ScheduleParameter (events, count); });
}

template <typename Fn>
AudioComponentMethod Method (Fn fn)
{
    return reinterpret_cast<AudioComponentMethod> (fn);
}
} // namespace

AudioComponentMethod AUMethodLookup (SInt16 selector)
{
    switch (selector)
    {
        case kAudioUnitInitializeSelect: return Method (&AUMethodInitialize);
        case kAudioUnitUninitializeSelect: return Method (&AUMethodUninitialize);
        case kAudioUnitGetPropertyInfoSelect: return Method (&AUMethodGetPropertyInfo);
        case kAudioUnitGetPropertySelect: return Method (&AUMethodGetProperty);
        case kAudioUnitSetPropertySelect: return Method (&AUMethodSetProperty);
        case kAudioUnitGetParameterSelect: return Method (&AUMethodGetParameter);
        case kAudioUnitSetParameterSelect: return Method (&AUMethodSetParameter);
        case kAudioUnitResetSelect: return Method (&AUMethodReset);
        case kAudioUnitAddPropertyListenerSelect: return Method (&AUMethodAddPropertyListener);
        case kAudioUnitRemovePropertyListenerSelect: return Method (&AUMethodRemovePropertyListener);
        case kAudioUnitRenderSelect: return Method (&AUMethodRender);
        case kAudioUnitAddRenderNotifySelect: return Method (&AUMethodAddRenderNotify);
        case kAudioUnitRemoveRenderNotifySelect: return Method (&AUMethodRemoveRenderNotify);
        case kAudioUnitScheduleParametersSelect: return Method (&AUMethodScheduleParameters);
        case kAudioUnitRemovePropertyListenerWithUserDataSelect: return Method (&AUMethodRemovePropertyListenerWithUserData);
        default: return nullptr;
    }
}

AudioComponentPlugInInterface* AUPlugInFactory (size_t unitSize, void* (*construct) (void*, AudioComponentInstance),
                                                void (*destruct) (void*))
{
    auto* record = static_cast<AUPlugInRecord*> (std::malloc (sizeof (AUPlugInRecord) + unitSize));
    if (record == nullptr)
        return nullptr;
    *record = { { &ComponentBase::AP_Open, &ComponentBase::AP_Close, &AUMethodLookup, nullptr }, construct, destruct, { nullptr, nullptr } };
    return &record->mPlugInInterface;
}

//==============================================================================
OSStatus ComponentBase::AP_Open (void* self, AudioComponentInstance instance)
{
    auto* record = static_cast<AUPlugInRecord*> (self);
    void* storage = UnitStorage (self);
    bool constructed = false;
    const OSStatus status = CallWithStatusLadder ([&] {
        WhileConstructing (kAudioComponentInstance, [&] {
            auto* object = static_cast<ComponentBase*> (record->mConstruct (storage, instance));
            constructed = object != nullptr;
            if (object != nullptr)
                object->PostConstructor();
        });
        return OSStatus (noErr);
    });
    if (status != noErr)
    {
        // A unit built before the failure goes before its memory does.
        if (constructed)
            record->mDestruct (storage);
        std::free (record);
    }
    return status;
}

OSStatus ComponentBase::AP_Close (void* self)
{
    auto* record = static_cast<AUPlugInRecord*> (self);
    const OSStatus status = CallWithStatusLadder ([&] {
        static_cast<ComponentBase*> (UnitStorage (self))->PreDestructor();
        record->mDestruct (UnitStorage (self));
        return OSStatus (noErr);
    });
    if (status == noErr)
        std::free (record);
    return status;
}

OSStatus ComponentBase::ComponentEntryDispatch (ComponentParameters* params, ComponentBase* object)
{
    switch (params->what)
    {
        case kComponentCloseSelect:
            object->PreDestructor();
            delete object;
            return noErr;
        case kComponentVersionSelect: return object->Version();
        case kComponentCanDoSelect:
        {
            const auto selector = static_cast<SInt16> (params->params[1] & 0xFFFF);
            return selector >= kComponentVersionSelect && selector <= kComponentOpenSelect ? 1 : 0;
        }
        default: return badComponentSelector;
    }
}

OSStatus AUBase::ComponentEntryDispatch (ComponentParameters* params, AUBase* unit)
{
    const auto* p = params->params;
    auto word = [p] (int i) { return static_cast<UInt32> (p[i]); };
    auto pointer = [p] (int i) { return reinterpret_cast<void*> (p[i]); };
    const bool version2 = unit->GetAudioUnitAPIVersion() > 1;

    switch (params->what)
    {
        case kAudioUnitInitializeSelect: return unit->DoInitialize();
        case kAudioUnitUninitializeSelect: unit->DoCleanup(); return noErr;
        case kAudioUnitGetPropertyInfoSelect:
            return GetPropertyInfoThrough (*unit, word (1), word (2), word (3), static_cast<UInt32*> (pointer (4)),
                                    static_cast<Boolean*> (pointer (5)));
        case kAudioUnitGetPropertySelect:
            return GetPropertyToCapacity (*unit, word (1), word (2), word (3), pointer (4), static_cast<UInt32*> (pointer (5)));
        case kAudioUnitSetPropertySelect: return SetOrRemoveProperty (*unit, word (1), word (2), word (3), pointer (4), word (5));
        case kAudioUnitGetParameterSelect:
            if (pointer (4) == nullptr)
                return kAudio_ParamError;
            return unit->GetParameter (word (1), word (2), word (3), *static_cast<AudioUnitParameterValue*> (pointer (4)));
        case kAudioUnitSetParameterSelect:
        {
            const UInt32 bits = word (4);
            AudioUnitParameterValue value;
            std::memcpy (&value, &bits, sizeof value);
            return unit->SetParameter (word (1), word (2), word (3), value, word (5));
        }
        case kAudioUnitResetSelect:
            unit->ResetRenderTime();
            return unit->Reset (word (1), word (2));
        case kAudioUnitAddPropertyListenerSelect:
            return unit->AddPropertyListener (word (1), reinterpret_cast<AudioUnitPropertyListenerProc> (p[2]), pointer (3));
        case kAudioUnitRemovePropertyListenerWithUserDataSelect:
            return unit->RemovePropertyListener (word (1), reinterpret_cast<AudioUnitPropertyListenerProc> (p[2]), pointer (3), true);
        case kAudioUnitRenderSelect:
            return RenderChecked (*unit, static_cast<AudioUnitRenderActionFlags*> (pointer (1)), static_cast<const AudioTimeStamp*> (pointer (2)),
                           word (3), word (4), static_cast<AudioBufferList*> (pointer (5)));
        case kAudioUnitAddRenderNotifySelect: return unit->AddRenderNotify (reinterpret_cast<AURenderCallback> (p[1]), pointer (2));
        case kAudioUnitRemoveRenderNotifySelect:
            return unit->RemoveRenderNotify (reinterpret_cast<AURenderCallback> (p[1]), pointer (2));
        case kAudioUnitScheduleParametersSelect:
            if (! version2)
                return badComponentSelector;
            return unit->ScheduleParameter (static_cast<const AudioUnitParameterEvent*> (pointer (1)), word (2));
        case kComponentCanDoSelect:
        {
            const auto selector = static_cast<SInt16> (p[1] & 0xFFFF);
            if ((selector >= kAudioUnitInitializeSelect && selector <= SInt16 (kAudioUnitSetParameterSelect))
                || selector == kAudioUnitResetSelect || selector == kAudioUnitAddPropertyListenerSelect)
                return 1;
            if (selector >= SInt16 (kAudioUnitRenderSelect) && selector <= kAudioUnitRemovePropertyListenerWithUserDataSelect)
                return version2 ? 1 : 0;
            return ComponentBase::ComponentEntryDispatch (params, unit);
        }
        default: return ComponentBase::ComponentEntryDispatch (params, unit);
    }
}

OSStatus AUComponentEntryDispatch (ComponentParameters* params, void* storage, AUBase* (*create) (AudioComponentInstance))
{
    if (params == nullptr)
        return kAudio_ParamError;
    return CallWithStatusLadder ([&] {
        if (params->what == kComponentOpenSelect)
        {
            auto instance = reinterpret_cast<AudioComponentInstance> (params->params[0]);
            WhileConstructing (ComponentBase::kComponentMgrInstance, [&] {
                std::unique_ptr<AUBase> unit (create (instance));  // a failure after construction deletes it
                unit->PostConstructor();
                CMgrSetComponentInstanceStorage (instance, static_cast<void*> (unit.get()));
                unit.release();
            });
            return OSStatus (noErr);
        }
        if (storage == nullptr)
            return OSStatus (kAudio_ParamError);
        auto* unit = static_cast<AUBase*> (static_cast<ComponentBase*> (storage));
        if (auto* midiEffect = dynamic_cast<AUMIDIEffectBase*> (unit))
            return AUMIDIEffectBase::ComponentEntryDispatch (params, midiEffect);
        return AUBase::ComponentEntryDispatch (params, unit);
    });
}
} // namespace kelmora::au
