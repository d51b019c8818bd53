#include "formats/au/AUInputElement.h"

#include "formats/au/ComponentBase.h"
#include "platform/au/AudioUnitRuntime.h"

namespace kelmora::au
{
OSStatus AUInputElement::SetStreamFormat (const AudioStreamBasicDescription& format)
{
    AUIOElement::SetStreamFormat (format);
    AllocateBuffer();
    return noErr;
}

void AUInputElement::SetConnection (const AudioUnitConnection& connection)
{
    if (connection.sourceAudioUnit == nullptr)
    {
        mInputType = kNoInput;
        mIOBuffer.Deallocate();
        return;
    }

    mInputType = kFromConnection;
    mConnection = connection;
    AllocateBuffer();

    mConnRenderProc = nullptr;
    mConnInstanceStorage = nullptr;
    AudioUnitRenderProc proc = nullptr;
    UInt32 size = sizeof proc;
    if (AudioUnitGetProperty (connection.sourceAudioUnit, kAudioUnitProperty_FastDispatch, kAudioUnitScope_Global,
                              kAudioUnitRenderSelect, &proc, &size)
        == noErr)
    {
        mConnRenderProc = proc;
        mConnInstanceStorage = CMgrGetComponentInstanceStorage (connection.sourceAudioUnit);
    }
}

void AUInputElement::SetInputCallback (AURenderCallback callback, void* userData)
{
    if (callback == nullptr)
    {
        mInputType = kNoInput;
        mIOBuffer.Deallocate();
        return;
    }
    mInputType = kFromCallback;
    mInputProc = { callback, userData };
    AllocateBuffer();
}

OSStatus AUInputElement::PullInput (AudioUnitRenderActionFlags& ioFlags, const AudioTimeStamp& timeStamp,
                                    AudioUnitElement element, UInt32 frames)
{
    if (mInputType == kNoInput)
        return kAudioUnitErr_NoConnection;

    AudioBufferList& list = (mInputType == kFromCallback && WillAllocateBuffer()) ? mIOBuffer.PrepareBuffer (mStreamFormat, frames)
                                                                                  : mIOBuffer.PrepareNullBuffer (mStreamFormat, frames);
    OSStatus status;
    if (mInputType == kFromCallback)
        status = mInputProc.inputProc (mInputProc.inputProcRefCon, &ioFlags, &timeStamp, element, frames, &list);
    else if (mConnRenderProc != nullptr)
        status = mConnRenderProc (mConnInstanceStorage, &ioFlags, &timeStamp, mConnection.sourceOutputNumber, frames, &list);
    else
        status = AudioUnitRender (mConnection.sourceAudioUnit, &ioFlags, &timeStamp, mConnection.sourceOutputNumber, frames, &list);

    if (mInputType == kNoInput)  // the input went away during the pull
        return kAudioUnitErr_NoConnection;
    return status;
}
} // namespace kelmora::au
