#pragma once

#include "formats/au/AUIOElement.h"

namespace kelmora::au
{
/** An input bus, fed either by a connection to another unit's output or by a host callback. */
class AUInputElement : public AUIOElement
{
public:
    enum InputType : UInt32 { kNoInput = 0, kFromConnection = 1, kFromCallback = 2 };

    explicit AUInputElement (AUBase& unit) : AUIOElement (unit) {}

    OSStatus SetStreamFormat (const AudioStreamBasicDescription& format) override;
    bool NeedsBufferSpace() const override { return mInputType == kFromCallback; }

    void SetConnection (const AudioUnitConnection& connection);
    void SetInputCallback (AURenderCallback callback, void* userData);

    /** Fills this element's buffer list from the input; kAudioUnitErr_NoConnection without one. */
    OSStatus PullInput (AudioUnitRenderActionFlags& ioFlags, const AudioTimeStamp& timeStamp, AudioUnitElement element,
                        UInt32 frames);

    InputType GetInputType() const noexcept { return mInputType; }
    bool IsActive() const noexcept { return mInputType != kNoInput; }
    bool IsCallback() const noexcept { return mInputType == kFromCallback; }
    bool HasConnection() const noexcept { return mInputType == kFromConnection; }
    const AudioUnitConnection& GetConnection() const noexcept { return mConnection; }

private:
    InputType mInputType = kNoInput;
    AURenderCallbackStruct mInputProc {};
    AudioUnitConnection mConnection {};
    AudioUnitRenderProc mConnRenderProc = nullptr;
    void* mConnInstanceStorage = nullptr;
};
} // namespace kelmora::au
