#pragma once

#include "resources/BinaryData.h"

#include <cstring>
#include <iterator>

namespace quietline::test
{
/** One block of the generated table and the committed file (below resources/) it holds. */
struct NamedBlock
{
    const char* name;
    const char* file;
    const char* data;
    int size;
};

inline const NamedBlock allBlocks[] = {
#define QUIETLINE_RESOURCE(symbol, file) NamedBlock { #symbol, file, kelmora::resources::symbol, kelmora::resources::symbol##Size },
#include "resources/ResourceList.inc"
#undef QUIETLINE_RESOURCE
};

static_assert (std::size (allBlocks) == kelmora::resources::numNamedResources && std::size (allBlocks) == 58);

/** The sizes the editor lays its images out with; {0, 0} for a block not listed (texts). */
struct ImageSize { int width, height; };

inline ImageSize expectedImageSize (const char* name)
{
    struct Row { const char* prefix; ImageSize size; };
    // A prefix covers a key's three images ("undo_png", "undo_over_png", "undo_down_png").
    static const Row rows[] = {
        { "undo_", { 24, 22 } }, { "redo_", { 24, 22 } }, { "about_", { 24, 22 } }, { "help_png", { 24, 22 } },
        { "help_over", { 24, 22 } }, { "help_down", { 24, 22 } }, { "settings_", { 24, 22 } },
        { "state_a_", { 36, 22 } }, { "state_b_", { 36, 22 } }, { "copy_a_to_b_", { 36, 22 } }, { "copy_b_to_a_", { 36, 22 } },
        { "preset_up_", { 24, 11 } }, { "preset_down_", { 24, 11 } }, { "menu_button_", { 102, 22 } },
        { "dialog_button_", { 83, 26 } }, { "tickbox_png", { 32, 16 } }, { "window_frame_png", { 61, 93 } },
        { "fallback_logo_png", { 40, 35 } }, { "knob_large_png", { 70, 10500 } }, { "knob_small_png", { 50, 7500 } },
        { "bypass_lit_png", { 54, 40 } }, { "bypass_dim_png", { 54, 40 } }, { "background_png", { 406, 214 } },
        { "label_box_png", { 50, 18 } }, { "value_box_png", { 55, 21 } }, { "wide_box_png", { 84, 21 } },
        { "led_", { 23, 46 } },
    };
    for (const auto& row : rows)
        if (std::strncmp (name, row.prefix, std::strlen (row.prefix)) == 0)
            return row.size;
    return { 0, 0 };
}
} // namespace quietline::test
