#pragma once

#include "resources/BinaryData.h"

#include <iterator>

namespace quietline::test
{
/** One named block and, for an image, the size it must decode to (0 x 0 for the texts). */
struct NamedBlock
{
    const char* name;
    const char* data;
    int size, width, height;
};

#define QUIETLINE_BLOCK(n, w, h) NamedBlock { #n, kelmora::resources::n, kelmora::resources::n##Size, w, h }
#define QUIETLINE_KEY3(n, w, h) QUIETLINE_BLOCK (n##_png, w, h), QUIETLINE_BLOCK (n##_over_png, w, h), QUIETLINE_BLOCK (n##_down_png, w, h)

inline const NamedBlock allBlocks[] = {
    QUIETLINE_KEY3 (undo, 24, 22), QUIETLINE_KEY3 (redo, 24, 22), QUIETLINE_KEY3 (about, 24, 22),
    QUIETLINE_KEY3 (help, 24, 22), QUIETLINE_KEY3 (settings, 24, 22), QUIETLINE_KEY3 (state_a, 36, 22),
    QUIETLINE_KEY3 (state_b, 36, 22), QUIETLINE_KEY3 (copy_a_to_b, 36, 22), QUIETLINE_KEY3 (copy_b_to_a, 36, 22),
    QUIETLINE_KEY3 (preset_up, 24, 11), QUIETLINE_KEY3 (preset_down, 24, 11), QUIETLINE_KEY3 (menu_button, 102, 22),
    QUIETLINE_KEY3 (dialog_button, 83, 26), QUIETLINE_BLOCK (tickbox_png, 32, 16),
    QUIETLINE_BLOCK (window_frame_png, 61, 93), QUIETLINE_BLOCK (fallback_logo_png, 40, 35),
    QUIETLINE_BLOCK (knob_large_png, 70, 10500), QUIETLINE_BLOCK (knob_small_png, 50, 7500),
    QUIETLINE_BLOCK (bypass_lit_png, 54, 40), QUIETLINE_BLOCK (bypass_dim_png, 54, 40),
    QUIETLINE_BLOCK (background_png, 406, 214), QUIETLINE_BLOCK (label_box_png, 50, 18),
    QUIETLINE_BLOCK (value_box_png, 55, 21), QUIETLINE_BLOCK (wide_box_png, 84, 21),
    QUIETLINE_BLOCK (led_blue_png, 23, 46), QUIETLINE_BLOCK (led_green_png, 23, 46),
    QUIETLINE_BLOCK (led_orange_png, 23, 46), QUIETLINE_BLOCK (led_red_png, 23, 46),
    QUIETLINE_BLOCK (led_white_png, 23, 46), QUIETLINE_BLOCK (help_framework_xml, 0, 0),
    QUIETLINE_BLOCK (help_product_xml, 0, 0), QUIETLINE_BLOCK (factory_presets_xml, 0, 0),
};

#undef QUIETLINE_KEY3
#undef QUIETLINE_BLOCK

static_assert (std::size (allBlocks) == kelmora::resources::numNamedResources && std::size (allBlocks) == 58);
} // namespace quietline::test
