#pragma once

#include <cstdint>

/*  The byte blocks compiled into the module: the editor's images, the two help texts and the
    factory presets. Each block is followed by a zero byte that its size does not count, so a
    text block can also be read as a zero-terminated string. The data never changes and may be
    read from any thread.

    Images are meant to be decoded through juce::ImageCache::getFromMemory (data, size), which
    decodes each block once.
*/
namespace kelmora::resources
{
extern const char undo_png[];
extern const int undo_pngSize;
extern const char undo_over_png[];
extern const int undo_over_pngSize;
extern const char undo_down_png[];
extern const int undo_down_pngSize;
extern const char redo_png[];
extern const int redo_pngSize;
extern const char redo_over_png[];
extern const int redo_over_pngSize;
extern const char redo_down_png[];
extern const int redo_down_pngSize;
extern const char about_png[];
extern const int about_pngSize;
extern const char about_over_png[];
extern const int about_over_pngSize;
extern const char about_down_png[];
extern const int about_down_pngSize;
extern const char help_png[];
extern const int help_pngSize;
extern const char help_over_png[];
extern const int help_over_pngSize;
extern const char help_down_png[];
extern const int help_down_pngSize;
extern const char settings_png[];
extern const int settings_pngSize;
extern const char settings_over_png[];
extern const int settings_over_pngSize;
extern const char settings_down_png[];
extern const int settings_down_pngSize;
extern const char state_a_png[];
extern const int state_a_pngSize;
extern const char state_a_over_png[];
extern const int state_a_over_pngSize;
extern const char state_a_down_png[];
extern const int state_a_down_pngSize;
extern const char state_b_png[];
extern const int state_b_pngSize;
extern const char state_b_over_png[];
extern const int state_b_over_pngSize;
extern const char state_b_down_png[];
extern const int state_b_down_pngSize;
extern const char copy_a_to_b_png[];
extern const int copy_a_to_b_pngSize;
extern const char copy_a_to_b_over_png[];
extern const int copy_a_to_b_over_pngSize;
extern const char copy_a_to_b_down_png[];
extern const int copy_a_to_b_down_pngSize;
extern const char copy_b_to_a_png[];
extern const int copy_b_to_a_pngSize;
extern const char copy_b_to_a_over_png[];
extern const int copy_b_to_a_over_pngSize;
extern const char copy_b_to_a_down_png[];
extern const int copy_b_to_a_down_pngSize;
extern const char preset_up_png[];
extern const int preset_up_pngSize;
extern const char preset_up_over_png[];
extern const int preset_up_over_pngSize;
extern const char preset_up_down_png[];
extern const int preset_up_down_pngSize;
extern const char preset_down_png[];
extern const int preset_down_pngSize;
extern const char preset_down_over_png[];
extern const int preset_down_over_pngSize;
extern const char preset_down_down_png[];
extern const int preset_down_down_pngSize;
extern const char menu_button_png[];
extern const int menu_button_pngSize;
extern const char menu_button_over_png[];
extern const int menu_button_over_pngSize;
extern const char menu_button_down_png[];
extern const int menu_button_down_pngSize;
extern const char dialog_button_png[];
extern const int dialog_button_pngSize;
extern const char dialog_button_over_png[];
extern const int dialog_button_over_pngSize;
extern const char dialog_button_down_png[];
extern const int dialog_button_down_pngSize;
extern const char tickbox_png[];
extern const int tickbox_pngSize;
extern const char window_frame_png[];
extern const int window_frame_pngSize;
extern const char fallback_logo_png[];
extern const int fallback_logo_pngSize;
extern const char knob_large_png[];
extern const int knob_large_pngSize;
extern const char knob_small_png[];
extern const int knob_small_pngSize;
extern const char bypass_lit_png[];
extern const int bypass_lit_pngSize;
extern const char bypass_dim_png[];
extern const int bypass_dim_pngSize;
extern const char background_png[];
extern const int background_pngSize;
extern const char label_box_png[];
extern const int label_box_pngSize;
extern const char value_box_png[];
extern const int value_box_pngSize;
extern const char wide_box_png[];
extern const int wide_box_pngSize;
extern const char led_blue_png[];
extern const int led_blue_pngSize;
extern const char led_green_png[];
extern const int led_green_pngSize;
extern const char led_orange_png[];
extern const int led_orange_pngSize;
extern const char led_red_png[];
extern const int led_red_pngSize;
extern const char led_white_png[];
extern const int led_white_pngSize;
extern const char help_framework_xml[];
extern const int help_framework_xmlSize;
extern const char help_product_xml[];
extern const int help_product_xmlSize;
extern const char factory_presets_xml[];
extern const int factory_presets_xmlSize;

/** Number of blocks in the table. */
constexpr int numNamedResources = 58;

/** The name hash of the table: h = h * 31 + c over the name's bytes, each byte taken as a
    signed 8-bit value, modulo 2^32. Independent of the signedness of char. */
constexpr std::uint32_t hashResourceName (const char* name) noexcept
{
    std::uint32_t h = 0;

    if (name != nullptr)
        for (; *name != 0; ++name)
        {
            const auto byte = static_cast<std::uint32_t> (static_cast<unsigned char> (*name));
            // Sign-extend: the byte 0xC3 adds 0xFFFFFFC3 (that is, -61), not 195.
            const auto c = byte >= 0x80u ? (byte | 0xFFFFFF00u) : byte;
            h = h * 31u + c;
        }

    return h;
}

/** Finds a block by its entry name (for example "factory_presets_xml"). Only the name's hash is
    compared. Returns the data and sets dataSizeInBytes, or returns nullptr and sets it to 0 when
    the name is null, empty or unknown. Allocates nothing; callable from any thread. */
const char* getNamedResource (const char* resourceNameUTF8, int& dataSizeInBytes) noexcept;
} // namespace kelmora::resources

/** The name JUCE projects conventionally use for their embedded data. */
namespace BinaryData = kelmora::resources;
