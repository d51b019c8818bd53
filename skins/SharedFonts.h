#pragma once

#include <juce_graphics/juce_graphics.h>

namespace kelmora::skins
{
/** The process-wide pair of typefaces, plain and bold, that every skin, dialog and display sets
    its text in.

    The family is "Verdana" where it is installed; elsewhere the first installed of "DejaVu Sans",
    "Bitstream Vera Sans" and "Liberation Sans", else the system's default sans-serif face. It is
    resolved once per process. With no font at all the typefaces are empty but valid: text draws
    nothing and nothing fails.

    The instance is reference-counted: getInstance hands out a reference, and deleteInstance
    (called by each processor's destructor) only drops the process-wide one, so an editor that is
    still drawing keeps its object alive. The next getInstance after deleteInstance makes a fresh
    object. Every operation may be called from any thread.
*/
class SharedFonts : public juce::ReferenceCountedObject
{
public:
    using Ptr = juce::ReferenceCountedObjectPtr<SharedFonts>;

    /** The current object, created on first use. Never null. */
    static Ptr getInstance();

    /** Drops the process-wide reference; the object goes when its last user lets go. */
    static void deleteInstance();

    /** A new reference to the plain or the bold typeface. Never null. */
    juce::Typeface::Ptr getPlainTypeface() const;
    juce::Typeface::Ptr getBoldTypeface() const;

    /** A font of the plain typeface with the given height in pixels. */
    juce::Font makePlainFont (float height) const;

    /** A font of the bold typeface with the given height, also carrying the bold style flag. */
    juce::Font makeBoldFont (float height) const;

    /** The family both typefaces belong to, as resolved for this process (empty when the system
        has no fonts). */
    static juce::String getFamilyName();

private:
    SharedFonts();

    const juce::Typeface::Ptr plain, bold;

    JUCE_DECLARE_NON_COPYABLE (SharedFonts)
};
} // namespace kelmora::skins
