#include "resources/BinaryData.h"

namespace kelmora::resources
{
namespace
{
struct Entry
{
    std::uint32_t hash;
    const char* data;
    const int* size;
};

// The hashes are computed by the compiler: the module keeps no names.
constexpr Entry entries[] = {
    { hashResourceName ("undo_png"), undo_png, &undo_pngSize },
    { hashResourceName ("undo_over_png"), undo_over_png, &undo_over_pngSize },
    { hashResourceName ("undo_down_png"), undo_down_png, &undo_down_pngSize },
    { hashResourceName ("redo_png"), redo_png, &redo_pngSize },
    { hashResourceName ("redo_over_png"), redo_over_png, &redo_over_pngSize },
    { hashResourceName ("redo_down_png"), redo_down_png, &redo_down_pngSize },
    { hashResourceName ("about_png"), about_png, &about_pngSize },
    { hashResourceName ("about_over_png"), about_over_png, &about_over_pngSize },
    { hashResourceName ("about_down_png"), about_down_png, &about_down_pngSize },
    { hashResourceName ("help_png"), help_png, &help_pngSize },
    { hashResourceName ("help_over_png"), help_over_png, &help_over_pngSize },
    { hashResourceName ("help_down_png"), help_down_png, &help_down_pngSize },
    { hashResourceName ("settings_png"), settings_png, &settings_pngSize },
    { hashResourceName ("settings_over_png"), settings_over_png, &settings_over_pngSize },
    { hashResourceName ("settings_down_png"), settings_down_png, &settings_down_pngSize },
    { hashResourceName ("state_a_png"), state_a_png, &state_a_pngSize },
    { hashResourceName ("state_a_over_png"), state_a_over_png, &state_a_over_pngSize },
    { hashResourceName ("state_a_down_png"), state_a_down_png, &state_a_down_pngSize },
    { hashResourceName ("state_b_png"), state_b_png, &state_b_pngSize },
    { hashResourceName ("state_b_over_png"), state_b_over_png, &state_b_over_pngSize },
    { hashResourceName ("state_b_down_png"), state_b_down_png, &state_b_down_pngSize },
    { hashResourceName ("copy_a_to_b_png"), copy_a_to_b_png, &copy_a_to_b_pngSize },
    { hashResourceName ("copy_a_to_b_over_png"), copy_a_to_b_over_png, &copy_a_to_b_over_pngSize },
    { hashResourceName ("copy_a_to_b_down_png"), copy_a_to_b_down_png, &copy_a_to_b_down_pngSize },
    { hashResourceName ("copy_b_to_a_png"), copy_b_to_a_png, &copy_b_to_a_pngSize },
    { hashResourceName ("copy_b_to_a_over_png"), copy_b_to_a_over_png, &copy_b_to_a_over_pngSize },
    { hashResourceName ("copy_b_to_a_down_png"), copy_b_to_a_down_png, &copy_b_to_a_down_pngSize },
    { hashResourceName ("preset_up_png"), preset_up_png, &preset_up_pngSize },
    { hashResourceName ("preset_up_over_png"), preset_up_over_png, &preset_up_over_pngSize },
    { hashResourceName ("preset_up_down_png"), preset_up_down_png, &preset_up_down_pngSize },
    { hashResourceName ("preset_down_png"), preset_down_png, &preset_down_pngSize },
    { hashResourceName ("preset_down_over_png"), preset_down_over_png, &preset_down_over_pngSize },
    { hashResourceName ("preset_down_down_png"), preset_down_down_png, &preset_down_down_pngSize },
    { hashResourceName ("menu_button_png"), menu_button_png, &menu_button_pngSize },
    { hashResourceName ("menu_button_over_png"), menu_button_over_png, &menu_button_over_pngSize },
    { hashResourceName ("menu_button_down_png"), menu_button_down_png, &menu_button_down_pngSize },
    { hashResourceName ("dialog_button_png"), dialog_button_png, &dialog_button_pngSize },
    { hashResourceName ("dialog_button_over_png"), dialog_button_over_png, &dialog_button_over_pngSize },
    { hashResourceName ("dialog_button_down_png"), dialog_button_down_png, &dialog_button_down_pngSize },
    { hashResourceName ("tickbox_png"), tickbox_png, &tickbox_pngSize },
    { hashResourceName ("window_frame_png"), window_frame_png, &window_frame_pngSize },
    { hashResourceName ("fallback_logo_png"), fallback_logo_png, &fallback_logo_pngSize },
    { hashResourceName ("knob_large_png"), knob_large_png, &knob_large_pngSize },
    { hashResourceName ("knob_small_png"), knob_small_png, &knob_small_pngSize },
    { hashResourceName ("bypass_lit_png"), bypass_lit_png, &bypass_lit_pngSize },
    { hashResourceName ("bypass_dim_png"), bypass_dim_png, &bypass_dim_pngSize },
    { hashResourceName ("background_png"), background_png, &background_pngSize },
    { hashResourceName ("label_box_png"), label_box_png, &label_box_pngSize },
    { hashResourceName ("value_box_png"), value_box_png, &value_box_pngSize },
    { hashResourceName ("wide_box_png"), wide_box_png, &wide_box_pngSize },
    { hashResourceName ("led_blue_png"), led_blue_png, &led_blue_pngSize },
    { hashResourceName ("led_green_png"), led_green_png, &led_green_pngSize },
    { hashResourceName ("led_orange_png"), led_orange_png, &led_orange_pngSize },
    { hashResourceName ("led_red_png"), led_red_png, &led_red_pngSize },
    { hashResourceName ("led_white_png"), led_white_png, &led_white_pngSize },
    { hashResourceName ("help_framework_xml"), help_framework_xml, &help_framework_xmlSize },
    { hashResourceName ("help_product_xml"), help_product_xml, &help_product_xmlSize },
    { hashResourceName ("factory_presets_xml"), factory_presets_xml, &factory_presets_xmlSize },
};

static_assert (sizeof (entries) / sizeof (entries[0]) == numNamedResources);

constexpr bool hashesAreUsable()
{
    for (const auto& a : entries)
    {
        // The about dialog asks for a logo this product does not ship; that must find nothing.
        if (a.hash == hashResourceName ("infologo_png"))
            return false;

        int matches = 0;
        for (const auto& b : entries)
            matches += a.hash == b.hash ? 1 : 0;

        if (matches != 1)
            return false;
    }

    return true;
}

static_assert (hashesAreUsable(), "two resource names share a hash, or one matches infologo_png");
} // namespace

const char* getNamedResource (const char* resourceNameUTF8, int& dataSizeInBytes) noexcept
{
    if (resourceNameUTF8 != nullptr && *resourceNameUTF8 != 0)
    {
        const auto hash = hashResourceName (resourceNameUTF8);

        for (const auto& entry : entries)
            if (entry.hash == hash)
            {
                dataSizeInBytes = *entry.size;
                return entry.data;
            }
    }

    dataSizeInBytes = 0;
    return nullptr;
}
} // namespace kelmora::resources
