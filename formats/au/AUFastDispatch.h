#pragma once

#include "platform/au/AudioUnitTypes.h"

namespace kelmora::au
{
// The fast-dispatch functions handed to Component Manager hosts; the first argument is the unit
// object (an AUBase). Each answers a status and lets nothing escape.
OSStatus AUFastDispatchGetParameter (void* object, AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                                     AudioUnitParameterValue* outValue);
OSStatus AUFastDispatchSetParameter (void* object, AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                                     AudioUnitParameterValue value, UInt32 bufferOffsetInFrames);
OSStatus AUFastDispatchRender (void* object, AudioUnitRenderActionFlags* ioFlags, const AudioTimeStamp* timeStamp,
                               UInt32 bus, UInt32 frames, AudioBufferList* ioData);
} // namespace kelmora::au
