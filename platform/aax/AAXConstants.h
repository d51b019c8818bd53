#pragma once

// Codes the host protocol leaves to the plug-in's choice. Host sessions store them (in the plug-in
// description and in saved sessions), so a value, once shipped, never changes.

#include <cstdint>

// Procedure ids handed to the host with AddProcPtr.
inline constexpr uint32_t kAAXProc_CreateEffectParameters = 1;
inline constexpr uint32_t kAAXProc_CreateEffectGUI = 2;

// Property numbers of a property map (the described range is 10..307).
inline constexpr uint32_t kAAXProperty_ManufacturerID = 10;
inline constexpr uint32_t kAAXProperty_ProductID = 11;
inline constexpr uint32_t kAAXProperty_PlugInID_Native = 12;
inline constexpr uint32_t kAAXProperty_InputStemFormat = 20;
inline constexpr uint32_t kAAXProperty_OutputStemFormat = 21;
inline constexpr uint32_t kAAXProperty_CanBypass = 30;
inline constexpr uint32_t kAAXProperty_LatencyContribution = 31;

// Stem formats: the channel layout of a component's input or output.
inline constexpr uint32_t kAAXStemFormat_None = 0;
inline constexpr uint32_t kAAXStemFormat_Mono = 1;
inline constexpr uint32_t kAAXStemFormat_Stereo = 2;

// The data-port kind of a component's master-bypass field: the latest packet, unbuffered.
inline constexpr uint32_t kAAXDataPort_Unbuffered = 0;

// The plug-in's second state chunk: the processor's whole state block, beside the controls chunk.
inline constexpr uint32_t kAAXChunk_ProcessorState = 0x4B4C7374u;  // 'KLst'

// View-container types answered by the host's view container.
inline constexpr int32_t kAAXViewContainer_None = 0;
inline constexpr int32_t kAAXViewContainer_NSView = 1;
inline constexpr int32_t kAAXViewContainer_X11Window = 2;

// Effect categories (a bit mask).
inline constexpr uint32_t kAAXCategory_None = 0;
inline constexpr uint32_t kAAXCategory_EQ = 1u << 0;
inline constexpr uint32_t kAAXCategory_Dynamics = 1u << 1;
