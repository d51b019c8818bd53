#pragma once

// Result codes of the AAX host protocol. Every call across the host boundary answers one of these
// 32-bit signed values: 0 for success, negative for errors. The ACF-level codes are the protocol's
// own values written as 32-bit patterns.

#include <cstdint>

using AAX_Result = int32_t;
using ACFResult = int32_t;

inline constexpr AAX_Result kAAXSuccess = 0;
inline constexpr AAX_Result kAAXNoSuchParameter = -20001;
inline constexpr AAX_Result kAAXConversionFailed = -20002;
inline constexpr AAX_Result kAAXNullObject = -20004;           // a required host interface or object is absent
inline constexpr AAX_Result kAAXChunkIndexOutOfRange = -20006;
inline constexpr AAX_Result kAAXUnknownChunk = -20007;
inline constexpr AAX_Result kAAXChunkSizeChanged = -20008;
inline constexpr AAX_Result kAAXNotSupported = -20009;         // also: a second-version host interface is absent
inline constexpr AAX_Result kAAXNoController = -20011;         // a view initialised without a controller
inline constexpr AAX_Result kAAXOutOfMemory = -333;            // out of memory while writing a chunk

inline constexpr ACFResult kACFNoInterface = static_cast<ACFResult> (0x80000004u);
inline constexpr ACFResult kACFNullPointer = static_cast<ACFResult> (0x80000005u); // thrown as an int32_t
inline constexpr ACFResult kACFUnexpected = static_cast<ACFResult> (0x8000FFFFu);  // an exception reached an export
