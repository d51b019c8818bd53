#pragma once

// The host-services interface (class kAAXID_HostServicesClass, interface kAAXID_HostServices),
// made through the host's component factory when the module starts up.

#include "platform/aax/IACFUnknown.h"

class IAAXHostServices : public IACFUnknown
{
public:
    virtual AAX_Result HandleAssertFailure (const char* file, int32_t line, const char* note) = 0;  // 3
    virtual AAX_Result Trace (int32_t priority, const char* message) = 0;                           // 4

protected:
    ~IAAXHostServices() = default;
};
