#pragma once

#include "formats/aax/AAX_IPacketHandler.h"
#include "platform/aax/AAXResults.h"

namespace kelmora::aax {

/** A packet handler that calls a member operation of a target object: the form taking the
    identifier and the packet when given, else the form taking the packet alone. */
template <class Target>
class AAX_CPacketHandler : public AAX_IPacketHandler
{
public:
    using PacketMember = int32_t (Target::*) (AAX_CPacket&);
    using IdentifierPacketMember = int32_t (Target::*) (const char*, AAX_CPacket&);

    AAX_CPacketHandler (Target* targetObject, PacketMember member)
        : target (targetObject), packetMember (member)
    {
    }

    AAX_CPacketHandler (Target* targetObject, IdentifierPacketMember member)
        : target (targetObject), identifierPacketMember (member)
    {
    }

    AAX_IPacketHandler* Clone() const override { return new AAX_CPacketHandler (*this); }

    int32_t Call (const char* identifier, AAX_CPacket& packet) const override
    {
        if (target == nullptr)
            return kAAXNullObject;
        if (identifierPacketMember != nullptr)
            return (target->*identifierPacketMember) (identifier, packet);
        if (packetMember != nullptr)
            return (target->*packetMember) (packet);
        return kAAXNullObject;
    }

private:
    Target* target = nullptr;
    PacketMember packetMember = nullptr;
    IdentifierPacketMember identifierPacketMember = nullptr;
};

} // namespace kelmora::aax
