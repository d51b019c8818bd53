#pragma once

#include "core/Parameter.h"

#include <memory>
#include <vector>

namespace kelmora::core
{
/** A fixed-size, owning array of parameters addressed by index, and the framework's settings
    file format: one child element per parameter, tagged with its id, holding its value text.

    Slots are filled while the owner is being built (setParam); afterwards the list itself does
    not change, and parameters may be used from any thread as Parameter says. getParam never
    returns null: a bad index or an empty slot gives Parameter::getInvalid(). */
class ParamList
{
public:
    /** @param count number of slots (negative counts as 0), all empty */
    explicit ParamList (int count);

    /** Deletes every parameter. */
    virtual ~ParamList();

    ParamList (const ParamList&) = delete;
    ParamList& operator= (const ParamList&) = delete;

    /** Puts p into the slot, deleting any parameter that was there. With an index out of range
        p is deleted and nothing else happens. Only while the owner is being built. */
    virtual void setParam (int index, std::unique_ptr<Parameter> p);

    /** 0 <= index < getCount() */
    bool isValidIndex (int index) const noexcept;

    /** Number of slots. */
    int getCount() const noexcept;

    /** Records that every slot is filled, when it is; leaves the record unchanged otherwise. */
    void checkComplete() noexcept;

    /** True once checkComplete() found every slot filled. */
    bool isComplete() const noexcept;

    /** The parameter at index, or the shared invalid parameter for an index out of range or an
        empty slot; never null. Any thread. */
    Parameter* getParam (int index) const noexcept;

    /** Marks changed every parameter with the flag sampleRateDependent. Any thread. */
    void markFlaggedParametersChanged() noexcept;

    /** Marks every parameter changed (which sets all consumer bits). Any thread. */
    void markAllChanged (juce::uint32 mask) noexcept;

    /** Adds to parent, in index order, one child per parameter tagged with its id and holding
        its value text (getValueText); empty slots are skipped. */
    void writeToXml (juce::XmlElement& parent) const;

    /** For each parameter, the first child of root whose tag equals its id ignoring case: its
        whole text is parsed (textToNormalised) and, when that succeeds, becomes the value.
        Missing children and children with other tags change nothing. */
    void readFromXml (const juce::XmlElement& root);

    /** <application-data folder>/Kelmora Labs/<fileName> as a path; the folder path alone,
        without a trailing separator, for an empty name. */
    static juce::String getSettingsFile (const juce::String& fileName);

    /** Writes a "KelmoraLabs" document with writeToXml into the settings file of that name,
        creating the folder when missing (SettingsFile::writeXml). False when the folder cannot
        be created or the file cannot be written. Message or host thread. */
    bool saveToFile (const juce::String& fileName) const;

    /** Reads the settings file of that name when its root tag is "KelmoraLabs" (ignoring case);
        a file that does not parse, is too large or has another root changes nothing. A missing
        file is written with the current values (saveToFile). Message or host thread. */
    void loadFromFile (const juce::String& fileName);

private:
    std::vector<std::unique_ptr<Parameter>> params;
    bool complete = false;
};
} // namespace kelmora::core
