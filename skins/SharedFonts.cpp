#include "skins/SharedFonts.h"

namespace kelmora::skins
{
namespace
{
juce::CriticalSection& fontsLock()
{
    static juce::CriticalSection lock;
    return lock;
}

SharedFonts::Ptr& currentInstance()
{
    static SharedFonts::Ptr instance;   // guarded by fontsLock
    return instance;
}

// The typefaces, resolved once per process. Keeping them for the whole run means that a fresh
// SharedFonts after deleteInstance does not reopen the font files, and that FreeType faces are
// never created on one thread while another thread destroys them.
struct ResolvedFaces
{
    juce::String family;
    juce::Typeface::Ptr plain, bold;
};

juce::Typeface::Ptr makeTypeface (const juce::String& family, bool isBold)
{
    const juce::Font font (family, 16.0f, isBold ? juce::Font::bold : juce::Font::plain);

    // Created directly rather than through juce::Font::getTypeface, which would ask the current
    // look-and-feel (our skins answer with the plain face whatever is asked for).
    juce::Typeface::Ptr face = juce::Typeface::createSystemTypefaceFor (font);

    if (face == nullptr)
        face = juce::Font::getDefaultTypefaceForFont (font);

    return face;
}

const ResolvedFaces& resolvedFaces()   // call with fontsLock held
{
    static const ResolvedFaces faces = []
    {
        // "Verdana" is the design face. Where it is missing JUCE would hand back a face without
        // a name whose bold style is lost, so pick an installed family with similar metrics.
        const auto installed = juce::Font::findAllTypefaceNames();
        juce::String family;

        for (auto* candidate : { "Verdana", "DejaVu Sans", "Bitstream Vera Sans", "Liberation Sans" })
            if (installed.contains (candidate))
            {
                family = candidate;
                break;
            }

        ResolvedFaces result;

        if (family.isEmpty())
        {
            // The system's default sans-serif: JUCE resolves its placeholder name to a real face.
            const juce::Font placeholderPlain (juce::Font::getDefaultSansSerifFontName(), 16.0f, juce::Font::plain);
            const juce::Font placeholderBold (juce::Font::getDefaultSansSerifFontName(), 16.0f, juce::Font::bold);
            result.plain = juce::Font::getDefaultTypefaceForFont (placeholderPlain);
            result.bold = juce::Font::getDefaultTypefaceForFont (placeholderBold);
            result.family = result.plain->getName();
        }
        else
        {
            result.family = family;
            result.bold = makeTypeface (family, true);
            result.plain = makeTypeface (family, false);
        }

        // A glyph of each face now, before these faces are kept: JUCE's leak detector counts
        // glyphs in a static made with the first glyph and judges them when that static goes.
        // Made after the faces, it would go first and find glyphs they still hold.
        for (const auto& face : { result.plain, result.bold })
            if (face != nullptr)
                face->getStringWidth ("0");

        return result;
    }();

    return faces;
}
} // namespace

SharedFonts::SharedFonts()
    : plain (resolvedFaces().plain),
      bold (resolvedFaces().bold)
{
    jassert (plain != nullptr && bold != nullptr);
}

SharedFonts::Ptr SharedFonts::getInstance()
{
    const juce::ScopedLock sl (fontsLock());
    auto& instance = currentInstance();

    if (instance == nullptr)
        instance = new SharedFonts();

    return instance;
}

void SharedFonts::deleteInstance()
{
    Ptr released;
    {
        const juce::ScopedLock sl (fontsLock());
        released = std::move (currentInstance());
    }
    // Dropped outside the lock: when this was the last reference the object goes here.
}

juce::Typeface::Ptr SharedFonts::getPlainTypeface() const
{
    const juce::ScopedLock sl (fontsLock());
    return plain;
}

juce::Typeface::Ptr SharedFonts::getBoldTypeface() const
{
    const juce::ScopedLock sl (fontsLock());
    return bold;
}

juce::Font SharedFonts::makePlainFont (float height) const
{
    juce::Font font (getPlainTypeface());
    font.setHeight (height);
    return font;
}

juce::Font SharedFonts::makeBoldFont (float height) const
{
    juce::Font font (getBoldTypeface());
    font.setHeight (height);
    // The bold face already names its style "Bold", so this keeps the typeface and only makes
    // sure the flag is set even where the family has no bold face of its own.
    return font.boldened();
}

juce::String SharedFonts::getFamilyName()
{
    const juce::ScopedLock sl (fontsLock());
    return resolvedFaces().family;
}
} // namespace kelmora::skins
