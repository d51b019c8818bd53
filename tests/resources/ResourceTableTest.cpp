#include "resources/BinaryData.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace
{
namespace res = kelmora::resources;

struct NamedBlock
{
    const char* name;
    const char* data;
    int size;
};

#define BLOCK(n) NamedBlock { #n, res::n, res::n##Size }

const NamedBlock allBlocks[] = {
    BLOCK (undo_png),
    BLOCK (undo_over_png),
    BLOCK (undo_down_png),
    BLOCK (redo_png),
    BLOCK (redo_over_png),
    BLOCK (redo_down_png),
    BLOCK (about_png),
    BLOCK (about_over_png),
    BLOCK (about_down_png),
    BLOCK (help_png),
    BLOCK (help_over_png),
    BLOCK (help_down_png),
    BLOCK (settings_png),
    BLOCK (settings_over_png),
    BLOCK (settings_down_png),
    BLOCK (state_a_png),
    BLOCK (state_a_over_png),
    BLOCK (state_a_down_png),
    BLOCK (state_b_png),
    BLOCK (state_b_over_png),
    BLOCK (state_b_down_png),
    BLOCK (copy_a_to_b_png),
    BLOCK (copy_a_to_b_over_png),
    BLOCK (copy_a_to_b_down_png),
    BLOCK (copy_b_to_a_png),
    BLOCK (copy_b_to_a_over_png),
    BLOCK (copy_b_to_a_down_png),
    BLOCK (preset_up_png),
    BLOCK (preset_up_over_png),
    BLOCK (preset_up_down_png),
    BLOCK (preset_down_png),
    BLOCK (preset_down_over_png),
    BLOCK (preset_down_down_png),
    BLOCK (menu_button_png),
    BLOCK (menu_button_over_png),
    BLOCK (menu_button_down_png),
    BLOCK (dialog_button_png),
    BLOCK (dialog_button_over_png),
    BLOCK (dialog_button_down_png),
    BLOCK (tickbox_png),
    BLOCK (window_frame_png),
    BLOCK (fallback_logo_png),
    BLOCK (knob_large_png),
    BLOCK (knob_small_png),
    BLOCK (bypass_lit_png),
    BLOCK (bypass_dim_png),
    BLOCK (background_png),
    BLOCK (label_box_png),
    BLOCK (value_box_png),
    BLOCK (wide_box_png),
    BLOCK (led_blue_png),
    BLOCK (led_green_png),
    BLOCK (led_orange_png),
    BLOCK (led_red_png),
    BLOCK (led_white_png),
    BLOCK (help_framework_xml),
    BLOCK (help_product_xml),
    BLOCK (factory_presets_xml),
};

#undef BLOCK

static_assert (std::size (allBlocks) == res::numNamedResources);
static_assert (res::numNamedResources == 58);

// The committed file a block was made from: "undo_over_png" -> images/undo_over.png.
std::string sourceFileOf (const std::string& name)
{
    const auto dot = name.rfind ('_');
    const auto extension = name.substr (dot + 1);
    const auto folder = extension == "png" ? "images/" : "text/";
    return std::string (QUIETLINE_SOURCE_DIR) + "/resources/" + folder + name.substr (0, dot) + "." + extension;
}

TEST (ResourceTable, EveryNameFindsItsOwnConstantsFollowedByAZeroByte)
{
    for (const auto& block : allBlocks)
    {
        SCOPED_TRACE (block.name);
        int size = -1;
        EXPECT_EQ (res::getNamedResource (block.name, size), block.data);
        EXPECT_EQ (size, block.size);
        ASSERT_GT (block.size, 0);
        EXPECT_EQ (block.data[block.size], 0) << "the zero byte after the block";
    }
}

TEST (ResourceTable, BlocksHoldTheCommittedFilesByteForByte)
{
    for (const auto& block : allBlocks)
    {
        SCOPED_TRACE (block.name);
        std::ifstream file (sourceFileOf (block.name), std::ios::binary);
        ASSERT_TRUE (file.good()) << sourceFileOf (block.name);
        const std::vector<char> bytes ((std::istreambuf_iterator<char> (file)), std::istreambuf_iterator<char>());
        ASSERT_EQ (bytes.size(), (size_t) block.size);
        EXPECT_EQ (std::memcmp (bytes.data(), block.data, bytes.size()), 0);
    }
}

TEST (ResourceTable, NullEmptyUnknownAndMissingLogoFindNothing)
{
    for (const char* name : { (const char*) nullptr, "", "undo", "undo_png ", "UNDO_PNG", "infologo_png" })
    {
        SCOPED_TRACE (name == nullptr ? "null" : name);
        int size = 1234;
        EXPECT_EQ (res::getNamedResource (name, size), nullptr);
        EXPECT_EQ (size, 0);
    }
}

TEST (ResourceTable, OnlyTheHashIsCompared)
{
    // "vO" and "un" add the same amount to the hash (118 * 31 + 79 == 117 * 31 + 110).
    static_assert (res::hashResourceName ("vOdo_png") == res::hashResourceName ("undo_png"));
    int size = 0;
    EXPECT_EQ (res::getNamedResource ("vOdo_png", size), res::undo_png);
    EXPECT_EQ (size, res::undo_pngSize);
}

TEST (ResourceNameHash, FollowsTheThirtyOneMultiplierOverSignedBytes)
{
    static_assert (res::hashResourceName (nullptr) == 0u);
    static_assert (res::hashResourceName ("") == 0u);
    static_assert (res::hashResourceName ("a") == 97u);
    static_assert (res::hashResourceName ("ab") == 97u * 31u + 98u);
    // Bytes above 127 count as negative: 0xC3 is -61 and 0x83 is -125.
    static_assert (res::hashResourceName ("\xC3\x83") == 0xFFFFF820u);
    static_assert (res::hashResourceName ("\xFF") == 0xFFFFFFFFu);
    // Wraps modulo 2^32.
    static_assert (res::hashResourceName ("factory_presets_xml") == 0xB7E6EF17u);
    static_assert (res::hashResourceName ("infologo_png") == 0x39EFB043u);

    // The same at run time.
    const std::string name = "\xC3\x83";
    EXPECT_EQ (res::hashResourceName (name.c_str()), 0xFFFFF820u);
}

TEST (ResourceTable, TextBlocksReadAsZeroTerminatedStrings)
{
    for (const auto& block : allBlocks)
    {
        if (std::string (block.name).find ("_xml") != std::string::npos)
        {
            EXPECT_EQ (std::strlen (block.data), (size_t) block.size) << block.name;
        }
    }
}
} // namespace
