#pragma once

// Small value types that host calls take: view geometry, identifier triads, MIDI packets, time-code
// rates and the procedure pointers handed to the host when the plug-in describes itself.

#include <cstdint>

using AAX_FieldIndex = uint32_t;  // index of a field of a component's context record
using AAX_ProcedureID = uint32_t;

struct AAX_Point
{
    float vertical;
    float horizontal;
};

struct AAX_Rect
{
    float top;
    float left;
    float width;
    float height;
};

/** Manufacturer, product and plug-in codes naming one plug-in type. */
struct AAX_IdentifierTriad
{
    uint32_t manufacturerID;
    uint32_t productID;
    uint32_t plugInID;
};

struct AAX_MidiPacket
{
    uint32_t timestamp;
    uint32_t length;
    uint8_t data[4];
    bool isImmediate;
};

using AAX_FrameRate = int32_t;
using AAX_FeetFramesRate = int32_t;
using AAX_HighlightColor = int32_t;

/** The audio-side procedures of a native processing component. */
using AAX_ProcessProc = void (*) (void* const instancesBegin[], const void* instancesEnd);
using AAX_InstanceInitProc = int32_t (*) (const void* instanceContext, const void* privateData, int32_t action);
using AAX_BackgroundProc = int32_t (*)();

class IACFUnknown;

/** The object factories handed to AddProcPtr: a new plug-in object whose one reference is the
    caller's, or null. */
using AAX_CreateObjectProc = IACFUnknown* (*)();
