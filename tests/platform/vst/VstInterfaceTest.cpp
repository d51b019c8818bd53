#include "platform/vst/VstInterface.h"

#include <gtest/gtest.h>

#include <vector>

// The record offsets themselves are checked at compile time beside the record.

TEST (VstInterface, FourCharacterCodesPutTheFirstCharacterHighest)
{
    EXPECT_EQ (kEffectMagic, 0x56737450);
    EXPECT_EQ (vstFourCC ('O', 'q', '1', 'b'), 0x4F713162);
    EXPECT_EQ (vstFourCC ('\xff', 0, 0, 1), (int32_t) 0xFF000001u);
}

TEST (VstInterface, SpeakersAreAddressedAtTheirByteOffsets)
{
    EXPECT_EQ (vstSpeakerArrangementSize (0), 8u);
    EXPECT_EQ (vstSpeakerArrangementSize (2), 232u);

    std::vector<char> storage (vstSpeakerArrangementSize (12));
    auto* a = reinterpret_cast<VstSpeakerArrangement*> (storage.data());
    EXPECT_EQ (reinterpret_cast<char*> (vstSpeakerAt (a, 0)), storage.data() + 8);
    EXPECT_EQ (reinterpret_cast<char*> (vstSpeakerAt (a, 11)), storage.data() + 8 + 11 * 112);
}
