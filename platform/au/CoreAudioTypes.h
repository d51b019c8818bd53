#pragma once

// The scalar types and audio data structures of the platform's audio interfaces, with their
// sizes and field orders.

#include "platform/au/CoreFoundation.h"

#include <cstddef>
#include <cstdint>

extern "C" {

typedef uint8_t Byte;
typedef int16_t SInt16;
typedef uint16_t UInt16;
typedef int32_t SInt32;
typedef uint32_t UInt32;
typedef int64_t SInt64;
typedef uint64_t UInt64;
typedef float Float32;
typedef double Float64;
typedef int32_t OSStatus;
typedef int16_t OSErr;
typedef uint32_t OSType;
typedef uint32_t AudioFormatID;
typedef uint32_t AudioFormatFlags;
typedef uint32_t AudioChannelLayoutTag;
typedef uint32_t AudioChannelLabel;

enum : OSStatus
{
    noErr = 0,
    kAudio_UnimplementedError = -4,
    kAudio_ParamError = -50,
    kAudio_MemFullError = -108
};

enum : AudioFormatID { kAudioFormatLinearPCM = 0x6C70636D };  // 'lpcm'

enum : AudioFormatFlags
{
    kAudioFormatFlagIsFloat = 1u << 0,
    kAudioFormatFlagIsBigEndian = 1u << 1,
    kAudioFormatFlagIsSignedInteger = 1u << 2,
    kAudioFormatFlagIsPacked = 1u << 3,
    kAudioFormatFlagIsAlignedHigh = 1u << 4,
    kAudioFormatFlagIsNonInterleaved = 1u << 5,
    kLinearPCMFormatFlagsSampleFractionShift = 7,
    kLinearPCMFormatFlagsSampleFractionMask = 0x3Fu << 7
};

struct AudioStreamBasicDescription
{
    Float64 mSampleRate;
    AudioFormatID mFormatID;
    AudioFormatFlags mFormatFlags;
    UInt32 mBytesPerPacket;
    UInt32 mFramesPerPacket;
    UInt32 mBytesPerFrame;
    UInt32 mChannelsPerFrame;
    UInt32 mBitsPerChannel;
    UInt32 mReserved;
};

struct AudioBuffer
{
    UInt32 mNumberChannels;
    UInt32 mDataByteSize;
    void* mData;
};

// Declared with room for one buffer; lists with more are allocated as 8 + 16 * n bytes.
struct AudioBufferList
{
    UInt32 mNumberBuffers;
    AudioBuffer mBuffers[1];
};

struct SMPTETime
{
    SInt16 mSubframes;
    SInt16 mSubframeDivisor;
    UInt32 mCounter;
    UInt32 mType;
    UInt32 mFlags;
    SInt16 mHours;
    SInt16 mMinutes;
    SInt16 mSeconds;
    SInt16 mFrames;
};

enum : UInt32
{
    kAudioTimeStampSampleTimeValid = 1u << 0,
    kAudioTimeStampHostTimeValid = 1u << 1,
    kAudioTimeStampRateScalarValid = 1u << 2
};

struct AudioTimeStamp
{
    Float64 mSampleTime;
    UInt64 mHostTime;
    Float64 mRateScalar;
    UInt64 mWordClockTime;
    SMPTETime mSMPTETime;
    UInt32 mFlags;
    UInt32 mReserved;
};

struct AudioChannelDescription
{
    AudioChannelLabel mChannelLabel;
    UInt32 mChannelFlags;
    Float32 mCoordinates[3];
};

// 12 bytes of header, then 20 bytes per channel description.
struct AudioChannelLayout
{
    AudioChannelLayoutTag mChannelLayoutTag;
    UInt32 mChannelBitmap;
    UInt32 mNumberChannelDescriptions;
    AudioChannelDescription mChannelDescriptions[1];
};

enum : AudioChannelLayoutTag
{
    kAudioChannelLayoutTag_UseChannelDescriptions = 0,
    kAudioChannelLayoutTag_UseChannelBitmap = 1u << 16
};

static_assert (sizeof (AudioStreamBasicDescription) == 40, "stream description layout");
static_assert (sizeof (AudioBuffer) == 16 && offsetof (AudioBufferList, mBuffers) == 8, "buffer list layout");
static_assert (sizeof (SMPTETime) == 24 && sizeof (AudioTimeStamp) == 64, "time stamp layout");
static_assert (sizeof (AudioChannelDescription) == 20 && offsetof (AudioChannelLayout, mChannelDescriptions) == 12,
               "channel layout");
}
