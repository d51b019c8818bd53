#pragma once

#include "formats/aax/AAX_CMutex.h"
#include "formats/aax/AAX_CPacket.h"
#include "formats/aax/AAX_IPacketHandler.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>

class AAX_IACFEffectParameters;

namespace kelmora::aax {

class AAX_IController;

/** Keeps one packet per port, the handlers that fill them per parameter identifier, and posts
    the dirty packets to the host's controller.

    Every operation runs under one AAX_CMutex, which a handler calling back into the dispatcher
    from inside Dispatch() re-enters without blocking. Parameter changes (SetDirty) and the
    host's coefficient requests (Dispatch) may come from different threads. */
class AAX_CPacketDispatcher
{
public:
    AAX_CPacketDispatcher();
    ~AAX_CPacketDispatcher();

    AAX_CPacketDispatcher (const AAX_CPacketDispatcher&) = delete;
    AAX_CPacketDispatcher& operator= (const AAX_CPacketDispatcher&) = delete;

    /** Neither pointer is owned; both null again once the effect has released its proxies. */
    void Initialize (AAX_IController* controller, AAX_IACFEffectParameters* effect);

    /** Binds the identifier to the packet of the port (made when the port has none) through a
        clone of the handler. Always 0. */
    int32_t RegisterPacket (const char* identifier, uint32_t port, const AAX_IPacketHandler* handler);

    /** Marks the packet of every handler entry of exactly this identifier. Always 0. */
    int32_t SetDirty (const char* identifier, bool dirty);

    /** Fills and posts every dirty packet; the result of the last post, 0 when nothing was
        posted, -20004 without a controller. */
    int32_t Dispatch();

    /** A handler member: writes the parameter's value as 4 bytes (bool as 1 or 0, float, int32)
        or 8 bytes (double). -20004 without the parameter or a value. */
    int32_t GenerateSingleValuePacket (const char* identifier, AAX_CPacket& packet);

private:
    class ScopedLock;

    using HandlerEntry = std::pair<AAX_CPacket*, std::unique_ptr<AAX_IPacketHandler>>;

    std::map<uint32_t, std::unique_ptr<AAX_CPacket>> packets;
    std::multimap<std::string, HandlerEntry> handlers;
    AAX_IController* controller = nullptr;
    AAX_IACFEffectParameters* effect = nullptr;
    AAX_CMutex mutex;
};

} // namespace kelmora::aax
