#include "formats/au/AUFastDispatch.h"

#include "formats/au/AUBase.h"
#include "formats/au/StatusLadder.h"

namespace kelmora::au
{
OSStatus AUFastDispatchGetParameter (void* object, AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                                     AudioUnitParameterValue* outValue)
{
    if (object == nullptr || outValue == nullptr)
        return kAudio_ParamError;
    return CallWithStatusLadder ([&] { return static_cast<AUBase*> (object)->GetParameter (id, scope, element, *outValue); });
}

OSStatus AUFastDispatchSetParameter (void* object, AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                                     AudioUnitParameterValue value, UInt32 bufferOffsetInFrames)
{
    if (object == nullptr)
        return kAudio_ParamError;
    return CallWithStatusLadder (
        [&] { return static_cast<AUBase*> (object)->SetParameter (id, scope, element, value, bufferOffsetInFrames); });
}

OSStatus AUFastDispatchRender (void* object, AudioUnitRenderActionFlags* ioFlags, const AudioTimeStamp* timeStamp,
                               UInt32 bus, UInt32 frames, AudioBufferList* ioData)
{
    if (object == nullptr || timeStamp == nullptr || ioData == nullptr)
        return kAudio_ParamError;
    AudioUnitRenderActionFlags noFlags = 0;
    return CallWithStatusLadder ([&] {
        return static_cast<AUBase*> (object)->DoRender (ioFlags != nullptr ? *ioFlags : noFlags, *timeStamp, bus, frames, *ioData);
    });
}
} // namespace kelmora::au
