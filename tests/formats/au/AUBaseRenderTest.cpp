#include "TestUnit.h"

#include <xmmintrin.h>

using namespace kelmora::au;
using namespace kelmora::au::test;

namespace
{
struct NotifyLog
{
    std::vector<AudioUnitRenderActionFlags> flags;
    static OSStatus Callback (void* self, AudioUnitRenderActionFlags* f, const AudioTimeStamp*, UInt32, UInt32, AudioBufferList*)
    {
        static_cast<NotifyLog*> (self)->flags.push_back (*f);
        *f |= 0x8000;  // a notification's changes must not reach the caller
        return noErr;
    }
};

AudioUnitParameterEvent Ramp (SInt32 offset, UInt32 duration)
{
    AudioUnitParameterEvent e { kAudioUnitScope_Global, 0, 0, kParameterEvent_Ramped, {} };
    e.eventValues.ramp = { offset, duration, 0.0f, 1.0f };
    return e;
}
AudioUnitParameterEvent Immediate (UInt32 offset, float value)
{
    AudioUnitParameterEvent e { kAudioUnitScope_Global, 0, 0, kParameterEvent_Immediate, {} };
    e.eventValues.immediate = { offset, value };
    return e;
}

struct AUBaseRender : LeakCheck
{
    UnitPtr unit = MakeUnit();
    void SetUp() override { ASSERT_EQ (noErr, unit->DoInitialize()); }

    OSStatus Render (HostBuffers& buffers, UInt32 frames, Float64 time = 0) { return RenderInto (*unit, buffers, frames, time); }

    OSStatus ReadLastError()
    {
        OSStatus error = 1;
        EXPECT_EQ (noErr, unit->DispatchGetProperty (kAudioUnitProperty_LastRenderError, kAudioUnitScope_Global, 0, &error));
        return error;
    }

    using Slices = std::vector<std::pair<UInt32, UInt32>>;
    Slices SlicesFor (AUBase::ParameterEventList events)
    {
        unit->slices.clear();
        EXPECT_EQ (noErr, unit->ProcessForScheduledParams (events, 128, nullptr));
        return unit->slices;
    }
};
} // namespace

TEST_F (AUBaseRender, ChecksTheCallersBuffersKeepsTheFirstErrorAndFlushesDenormalsOnlyWhileRendering)
{
    ListenerLog log;
    log.Listen (*unit, { kAudioUnitProperty_LastRenderError });
    HostBuffers big (2, 1157), mono (1, 64), shortBuffers (2, 64), mixed (2, 64);
    shortBuffers.List().mBuffers[1].mDataByteSize = 255;
    mixed.List().mBuffers[1].mData = nullptr;   // either all memory from the caller or none
    EXPECT_EQ ((std::vector<OSStatus> { kAudioUnitErr_TooManyFramesToProcess, kAudio_ParamError, kAudio_ParamError, kAudio_ParamError }),
               (std::vector<OSStatus> { Render (big, 1157), Render (mono, 64), Render (shortBuffers, 64, 64), Render (mixed, 64, 128) }));
    EXPECT_EQ (1u, log.Count (kAudioUnitProperty_LastRenderError)) << "only the first error is kept and announced";
    EXPECT_EQ ((std::pair<OSStatus, OSStatus> (kAudioUnitErr_TooManyFramesToProcess, noErr)), (std::pair { ReadLastError(), ReadLastError() })) << "read once";
    EXPECT_EQ (0, unit->renders);

    const unsigned before = _mm_getcsr();
    HostBuffers larger (2, 100);
    EXPECT_EQ (noErr, Render (larger, 64, 192));
    EXPECT_EQ (0x8040u, unit->floatingPointMode & 0x8040u);
    EXPECT_EQ (before, _mm_getcsr());
    EXPECT_EQ ((std::vector<float> { 0.25f, 1.25f, -1.0f }), (std::vector<float> { larger.samples[0][63], larger.samples[1][0], larger.samples[0][64] }));
    EXPECT_EQ (256u, larger.List().mBuffers[1].mDataByteSize);
    EXPECT_EQ (AUBufferList::kPtrsInvalid, unit->GetOutput (0)->GetBuffers().GetPointerState()) << "caller's list forgotten";
}

TEST_F (AUBaseRender, NullBuffersReceiveTheUnitsOwnMemoryAndTimesRenderOnce)
{
    HostBuffers none (2, 32, false);
    EXPECT_EQ (noErr, Render (none, 32, 1000));
    auto& list = none.List();
    ASSERT_NE (nullptr, list.mBuffers[1].mData);
    EXPECT_TRUE (list.mBuffers[1].mDataByteSize == 128u && static_cast<float*> (list.mBuffers[1].mData)[31] == 1.25f);

    HostBuffers again (2, 32);
    EXPECT_EQ (noErr, Render (again, 32, 1000));
    EXPECT_EQ (1, unit->renders) << "a bus is rendered once per time stamp";
    unit->Reset (kAudioUnitScope_Global, 0);
    EXPECT_EQ (-1.0, unit->CurrentRenderTime().mSampleTime);
}

TEST_F (AUBaseRender, NotificationsSeePreAndPostFlagsAndErrors)
{
    NotifyLog log;
    EXPECT_EQ (kAudio_ParamError, unit->AddRenderNotify (nullptr, &log));
    ASSERT_EQ (noErr, unit->AddRenderNotify (NotifyLog::Callback, &log));
    ASSERT_EQ (noErr, unit->AddRenderNotify (NotifyLog::Callback, &log));

    HostBuffers buffers (2, 16);
    EXPECT_EQ (noErr, Render (buffers, 16));
    unit->renderStatus = -3;
    EXPECT_EQ (-3, Render (buffers, 16, 16));
    EXPECT_EQ (-3, ReadLastError());
    EXPECT_EQ ((std::vector<AudioUnitRenderActionFlags> { kAudioUnitRenderAction_PreRender, kAudioUnitRenderAction_PostRender, kAudioUnitRenderAction_PreRender,
                                                          kAudioUnitRenderAction_PostRender | kAudioUnitRenderAction_PostRenderError }), log.flags)
        << "the same notification added twice is active once";
}

TEST_F (AUBaseRender, RampsAndImmediateEventsSliceTheCallAndLastOneRender)
{
    unit->Globals()->UseIndexedParameters (1);
    EXPECT_EQ ((Slices { { 0, 64 }, { 64, 36 }, { 100, 28 } }), SlicesFor ({ Ramp (100, 28), Ramp (0, 64) }));
    EXPECT_EQ (kParameterEvent_Ramped, unit->Globals()->FindParameter (0)->eventType);
    EXPECT_EQ ((Slices { { 0, 128 } }), SlicesFor ({ Immediate (0, 0.5f) }));
    EXPECT_EQ ((Slices { { 0, 32 }, { 32, 96 } }), SlicesFor ({ Immediate (0, 0.1f), Immediate (32, 0.9f) }));
    EXPECT_EQ (0.9f, unit->Globals()->GetParameter (0));

    const AudioUnitParameterEvent events[] = { Immediate (0, 0.5f), Ramp (10, 20) };
    EXPECT_EQ (noErr, unit->ScheduleParameter (events, 2));
    EXPECT_EQ (0.5f, unit->Globals()->GetParameter (0)) << "immediate events apply at once";

    HostBuffers big (2, 2000);
    EXPECT_EQ (kAudioUnitErr_TooManyFramesToProcess, Render (big, 2000));
    EXPECT_EQ (2u, unit->GetParamEventList().size()) << "a refused call keeps the events";
    unit->renderStatus = -3;
    HostBuffers buffers (2, 16);
    EXPECT_EQ (-3, Render (buffers, 16));
    EXPECT_TRUE (unit->GetParamEventList().empty());
}
