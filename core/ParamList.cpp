#include "core/ParamList.h"

#include "core/SettingsFile.h"
#include "core/XmlUtils.h"

namespace kelmora::core
{
ParamList::ParamList (int count)
    : params ((size_t) juce::jmax (0, count))
{
}

ParamList::~ParamList() = default;

void ParamList::setParam (int index, std::unique_ptr<Parameter> p)
{
    if (isValidIndex (index))
        params[(size_t) index] = std::move (p);
}

bool ParamList::isValidIndex (int index) const noexcept
{
    return index >= 0 && index < getCount();
}

int ParamList::getCount() const noexcept
{
    return (int) params.size();
}

void ParamList::checkComplete() noexcept
{
    for (auto& p : params)
        if (p == nullptr)
            return;

    complete = true;
}

bool ParamList::isComplete() const noexcept
{
    return complete;
}

Parameter* ParamList::getParam (int index) const noexcept
{
    if (isValidIndex (index))
        if (auto* p = params[(size_t) index].get())
            return p;

    return &Parameter::getInvalid();
}

void ParamList::markFlaggedParametersChanged() noexcept
{
    for (auto& p : params)
        if (p != nullptr && (p->getFlags() & Parameter::sampleRateDependent) != 0)
            p->markChanged (Parameter::allChanged);
}

void ParamList::markAllChanged (juce::uint32 mask) noexcept
{
    for (auto& p : params)
        if (p != nullptr)
            p->markChanged (mask);
}

void ParamList::writeToXml (juce::XmlElement& parent) const
{
    for (auto& p : params)
        if (p != nullptr) // an empty slot has nothing to save
            parent.createNewChildElement (p->getId())->addTextElement (p->getValueText());
}

void ParamList::readFromXml (const juce::XmlElement& root)
{
    for (auto& p : params)
    {
        if (p == nullptr)
            continue;

        if (auto* child = XmlUtils::findChild (root, p->getId()))
        {
            float n = 0.0f;

            if (p->textToNormalised (child->getAllSubText(), &n))
                p->setNormalisedValue (n);
        }
    }
}

juce::String ParamList::getSettingsFile (const juce::String& fileName)
{
    const auto folder = SettingsFile::getFolder().getFullPathName();

    if (fileName.isEmpty())
        return folder;

    return folder + juce::File::getSeparatorString() + fileName;
}

bool ParamList::saveToFile (const juce::String& fileName) const
{
    if (! SettingsFile::ensureFolder())
        return false;

    juce::XmlElement root (SettingsFile::rootTag);
    writeToXml (root);
    return SettingsFile::writeXml (root, juce::File (getSettingsFile (fileName)));
}

void ParamList::loadFromFile (const juce::String& fileName)
{
    const juce::File file (getSettingsFile (fileName));

    if (file.exists())
    {
        if (auto root = XmlUtils::parseFile (file))
            if (XmlUtils::tagIs (*root, SettingsFile::rootTag))
                readFromXml (*root);
    }
    else
    {
        saveToFile (fileName);
    }
}
} // namespace kelmora::core
