// Readers of text: the bounded XML reader, number text and parameter text.
#include "core/GlobalParamList.h"
#include "core/NumberText.h"
#include "core/OutsideText.h"
#include "core/XmlReader.h"
#include "dsp/KelmoraLabsTemplateAudioProcessor.h"
#include "fuzz/FuzzTargets.h"

#include <cmath>
#include <vector>

namespace quietline::fuzz
{
namespace
{
using kelmora::core::NumberText;

// Text from outside reaches the readers as the entries hand it over: checked, or not at all.
juce::String textOf (const uint8_t* data, size_t size)
{
    return kelmora::core::OutsideText::fromBytes (data, size).value_or (juce::String());
}

/** Walks the tree without recursion, checking the reader's bounds. */
void requireWithinLimits (const juce::XmlElement& root, const kelmora::core::XmlReader::Limits& limits)
{
    std::vector<std::pair<const juce::XmlElement*, int>> open { { &root, 1 } };
    int nodes = 0;
    while (! open.empty())
    {
        const auto [element, depth] = open.back();
        open.pop_back();
        ++nodes;
        require (element->isTextElement() || depth <= limits.maxDepth, "nesting within the depth limit");
        require (element->getNumAttributes() <= limits.maxAttributesPerElement, "attributes within the limit");
        for (auto* child : element->getChildIterator())
            open.emplace_back (child, depth + 1);
    }
    require (nodes <= limits.maxNodes, "nodes within the limit");
}
} // namespace

void xmlReader (const uint8_t* data, size_t size)
{
    constexpr kelmora::core::XmlReader::Limits limits { 12, 8, 2000 };
    const auto root = kelmora::core::XmlReader::read (reinterpret_cast<const char*> (data), size, limits);
    if (root == nullptr)
        return;
    requireWithinLimits (*root, limits);

    // What JUCE writes of a tree we read, we read again.
    const auto written = root->toString (juce::XmlElement::TextFormat().withoutHeader()).toStdString();
    require (kelmora::core::XmlReader::read (written.data(), written.size(), limits) != nullptr,
             "a tree read once reads again after writing");
}

void numberText (const uint8_t* data, size_t size)
{
    double v = 0.0;
    if (! NumberText::parse (textOf (data, size), &v))
        return;
    require (std::isfinite (v), "a parsed number is finite");

    const int rounded = NumberText::roundHalfUp (v);
    double back = 0.0;
    require (NumberText::parse (NumberText::formatInt (rounded), &back) && back == rounded, "an int reads back exactly");
    require (NumberText::parse (NumberText::formatFixed (v, 20), &back) && std::isfinite (back)
                 && std::abs (back - v) <= 1e-12 * std::max (1.0, std::abs (v)),
             "a formatted number reads back");
}

void parameterText (const uint8_t* data, size_t size)
{
    static const auto params = kelmora::dsp::KelmoraLabsTemplateAudioProcessor::createParameters();
    static const auto settings = []
    {
        auto list = std::make_unique<kelmora::core::GlobalParamList>();
        list->addStandardParams();
        return list;
    }();
    const auto text = textOf (data, size);
    for (const kelmora::core::ParamList* list : { (const kelmora::core::ParamList*) params.get(), (const kelmora::core::ParamList*) settings.get() })
    {
        for (int i = 0; i < list->getCount(); ++i)
        {
            const auto& param = *list->getParam (i);
            double v = 0.0;
            if (param.parseText (text, &v))
            {
                require (std::isfinite (v) && v >= param.getMinimum() && v <= param.getMaximum(), "parsed text finite and in range");
                double again = 0.0;
                require (param.parseText (param.getText (v), &again) && param.getText (again) == param.getText (v),
                         "the display text of a parsed value reads back as the same text");
            }
            float n = 0.0f;
            param.textToNormalised (text, &n);
            require (std::isfinite (n) && n >= 0.0f && n <= 1.0f, "text to normalised finite and within 0..1");
        }
    }
}
} // namespace quietline::fuzz
