#pragma once

// The seven C entry points through which an AAX host loads the module. They are exported with
// default visibility (the module's version script lists them). Each answers a 32-bit result code;
// a null out-pointer answers -20004.
//
// ACFRegisterPlugin describes the plug-in by calling the description routine set with
// SetEffectDescriptionRoutine (the AAX glue sets it; tests replace it). Without one it answers
// -20004.

#include "platform/aax/IACFUnknown.h"

#include <cstdint>

#define AAX_ACF_EXPORT extern "C" __attribute__ ((visibility ("default")))

namespace kelmora::aax {

class AAX_ICollection;

using EffectDescriptionRoutine = AAX_Result (*) (AAX_ICollection* collection);

/** Sets the routine ACFRegisterPlugin calls, returning the one it replaces. */
EffectDescriptionRoutine SetEffectDescriptionRoutine (EffectDescriptionRoutine routine);
EffectDescriptionRoutine GetEffectDescriptionRoutine();

/** The value ACFGetSDKVersion reports. */
inline constexpr uint64_t kACFSDKVersion = 0x2000061125Cull;

} // namespace kelmora::aax

AAX_ACF_EXPORT ACFResult ACFRegisterPlugin (IACFUnknown* host, IACFUnknown** pluginDefinition);
AAX_ACF_EXPORT ACFResult ACFRegisterComponent (IACFUnknown* host, const acfUID* classID, IACFUnknown** componentDefinition);
AAX_ACF_EXPORT ACFResult ACFGetClassFactory (IACFUnknown* host, const acfUID* classID, const acfUID* interfaceID,
                                             void** classFactory);
AAX_ACF_EXPORT ACFResult ACFCanUnloadNow (IACFUnknown* host);  // the number of live plug-in objects
AAX_ACF_EXPORT ACFResult ACFStartup (IACFUnknown* host);
AAX_ACF_EXPORT ACFResult ACFShutdown (IACFUnknown* host);
AAX_ACF_EXPORT ACFResult ACFGetSDKVersion (uint64_t* version);
