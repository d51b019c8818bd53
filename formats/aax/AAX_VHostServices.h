#pragma once

// The host's services (assertion reports and trace messages), made through the host's component
// factory, and the process-wide holder that ACFStartup fills and ACFShutdown empties. Without the
// host's interface both operations answer -20004. The holder is not guarded: the host starts up
// and shuts down from one thread at a time.

#include "platform/aax/IAAXHostServices.h"

namespace kelmora::aax {

class AAX_VHostServices
{
public:
    explicit AAX_VHostServices (IACFUnknown* host);
    virtual ~AAX_VHostServices();

    virtual AAX_Result HandleAssertFailure (const char* file, int32_t line, const char* note) const;
    virtual AAX_Result Trace (int32_t priority, const char* message) const;

    AAX_VHostServices (const AAX_VHostServices&) = delete;
    AAX_VHostServices& operator= (const AAX_VHostServices&) = delete;

private:
    IAAXHostServices* services = nullptr;
};

/** The holder: null until ACFStartup with a host, and again after ACFShutdown. */
AAX_VHostServices* GetHostServices();

/** Makes the holder's object when there is none and the host is not null. */
void StartHostServices (IACFUnknown* host);

/** Deletes the holder's object, if any. */
void StopHostServices();

} // namespace kelmora::aax
