#include "core/ParamManager.h"

#include "core/OutsideText.h"
#include "core/SettingsFile.h"
#include "core/XmlUtils.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <sys/stat.h>

namespace kelmora::core
{
namespace
{
constexpr const char* rootTag = SettingsFile::rootTag;

bool isInPresets (const Parameter& p)
{
    return (p.getFlags() & Parameter::notInPresets) == 0;
}

/** A regular file holding nothing but blanks carries nothing to keep: saving replaces it
    as if it were missing. (Anything else that is not a regular file is never read here: a
    pipe would block the reader.) */
bool isBlankFile (const juce::File& file)
{
    struct stat info;

    if (::stat (file.getFullPathName().toRawUTF8(), &info) != 0 || ! S_ISREG (info.st_mode) || info.st_size > 4096)
        return false;

    // Read as bytes: text that does not read is not blank, nor is anything behind a NUL byte.
    // Either stays.
    juce::MemoryBlock bytes;
    if (! file.loadFileAsData (bytes) || std::memchr (bytes.getData(), 0, bytes.getSize()) != nullptr)
        return false;

    auto* data = static_cast<const char*> (bytes.getData());
    auto size = bytes.getSize();
    if (size >= 3 && juce::CharPointer_UTF8::isByteOrderMark (data))
    {
        data += 3;
        size -= 3;
    }

    const auto text = OutsideText::fromBytes (data, size);
    return text.has_value() && text->trim().isEmpty();
}

/** Calls visit (entry, slot, number) for every live `preset` child of `presets`, in document
    order, with the number it is read under: its "_No_", or for an entry without one the count
    k, which starts at 1 and goes up with every entry that lies in the bank, except those of
    `uncountedSlot`. `slot` may lie outside the bank. Every reader of presets numbers entries
    this way, so the slot an entry loads into is the same everywhere. */
template <typename Visit>
void forEachLiveEntry (const ParamManager& pm, const juce::XmlElement& presets, int uncountedSlot, Visit&& visit)
{
    int k = 1;

    for (auto* entry : presets.getChildIterator())
    {
        if (! XmlUtils::tagIs (*entry, "preset") || XmlUtils::getBoolAttribute (*entry, "_Deleted_", false))
            continue;

        const int number = XmlUtils::getIntAttribute (*entry, "_No_", k);
        const int slot = pm.numberToSlot (number);
        visit (*entry, slot, number);

        if (slot >= 0 && slot < pm.getNumPresets() && slot != uncountedSlot)
            ++k;
    }
}

/** Gives every live entry without "_No_" the number it is read under. A later entry without
    one counts only the live entries before it, so marking an entry deleted or reviving one
    would otherwise move the later presets into other slots, or bring one from outside the
    bank into a slot. */
void numberEntries (const ParamManager& pm, const juce::XmlElement& presets)
{
    forEachLiveEntry (pm, presets, -1, [] (juce::XmlElement& entry, int, int number)
    {
        if (! XmlUtils::hasAttribute (entry, "_No_"))
            XmlUtils::setAttribute (entry, "_No_", number);
    });
}
} // namespace

ParamManager::ParamManager (int numParams, int numPresets, int numUserPresetsIn)
    : ParamList (numParams),
      currentBank (numPresets, numParams),
      savedBank (numPresets, numParams),
      fileBank (numPresets, numParams),
      numFactoryPresets (juce::jlimit (0, juce::jmax (0, numPresets), numPresets - numUserPresetsIn)),
      numUserPresets (juce::jmax (0, numPresets) - numFactoryPresets),
      stateA (numParams),
      stateB (numParams)
{
}

ParamManager::~ParamManager() = default;

//==============================================================================
void ParamManager::initialisePresets()
{
    checkComplete();

    for (int i = 0; i < currentBank.getCount(); ++i)
    {
        auto& slot = *currentBank.getSlot (i);
        juce::String name;

        if (i == 0)
            name = "Default";
        else if (i < numFactoryPresets)
            name = juce::String::formatted ("PRST%03d", i);
        else
            name = juce::String::formatted ("USER%03d", i + 1 - numFactoryPresets);

        slot.setName (name);
        storeLiveValuesInto (slot);
    }

    for (int i = 0; i < currentBank.getCount(); ++i)
        currentBank.getSlot (i)->setModified (false);

    savedBank.copyFrom (currentBank);
    stateA.copyFrom (currentBank.get (0));
    stateB.copyFrom (currentBank.get (0));
}

void ParamManager::loadFactoryPresets (const juce::XmlElement& root)
{
    readPresets (root, false);

    for (int i = 0; i < currentBank.getCount(); ++i)
        currentBank.getSlot (i)->setModified (false);

    savedBank.copyFrom (currentBank);
    const auto& active = currentBank.get (getActivePresetIndex());
    applyRecord (active);
    stateA.copyFrom (active);
    stateB.copyFrom (active);
}

//==============================================================================
void ParamManager::storeLiveValuesInto (PresetRecord& record) const
{
    const int n = juce::jmin (record.getNumValues(), getCount());

    for (int i = 0; i < n; ++i)
        record.setValue (i, getParam (i)->getNormalisedValue());
}

void ParamManager::applyRecord (const PresetRecord& record)
{
    for (int i = 0; i < getCount(); ++i)
    {
        auto* p = getParam (i);

        if (isInPresets (*p))
            p->setNormalisedValue (record.getValue (i));
    }
}

std::vector<float> ParamManager::getLiveValues() const
{
    std::vector<float> values ((size_t) getCount());

    for (int i = 0; i < getCount(); ++i)
        values[(size_t) i] = getParam (i)->getNormalisedValue();

    return values;
}

void ParamManager::setLiveValues (const std::vector<float>& values)
{
    const int n = juce::jmin ((int) values.size(), getCount());

    for (int i = 0; i < n; ++i)
        getParam (i)->setNormalisedValue (values[(size_t) i]);
}

void ParamManager::storeCurrentValues()
{
    if (auto* slot = currentBank.getSlot (getActivePresetIndex()))
        storeLiveValuesInto (*slot);

    if (isLinked())
    {
        storeLiveValuesInto (stateA);
        storeLiveValuesInto (stateB);
    }
    else
    {
        storeLiveValuesInto (isStateBActive() ? stateB : stateA);
    }
}

void ParamManager::applyPreset (int index)
{
    if (! currentBank.isValidIndex (index))
        return;

    storeCurrentValues();
    applyRecord (currentBank.get (index));

    if (index != getActivePresetIndex())
        activePresetChanged.store (true);

    activePresetIndex.store (index);
    presetApplied.store (true);
}

bool ParamManager::revertPresetToSaved()
{
    const int index = getActivePresetIndex();
    auto* slot = currentBank.getSlot (index);

    if (slot == nullptr)
        return false;

    const bool wasInUse = slot->isInUse();
    const bool nameChanged = slot->getName() != savedBank.get (index).getName();
    slot->copyFrom (savedBank.get (index));

    if (nameChanged)
        presetListChanged.store (true);

    applyRecord (*slot);

    if (! isUserSlot (index))
        return nameChanged;

    slot->setModified (false);
    slot->setInUse (false);

    if (wasInUse)
        presetListChanged.store (true);

    return true;
}

bool ParamManager::isActivePresetModified() const
{
    const int index = getActivePresetIndex();
    const auto& saved = savedBank.get (index);

    if (currentBank.get (index).getName() != saved.getName())
        return true;

    for (int i = 0; i < getCount(); ++i)
        if (! PresetRecord::sameValue (getParam (i)->getNormalisedValue(), saved.getValue (i)))
            return true;

    return false;
}

bool ParamManager::storeUserPreset (const juce::String& fileName, int index, const juce::String& name)
{
    // Only ever a user slot: a factory slot written to the shared file would replace that
    // factory preset in every instance from then on.
    if (! isUserSlot (index))
        return false;

    PresetRecord record (getCount());
    storeLiveValuesInto (record);
    record.setName (name);

    // A preset that only this instance holds would be replaced by the next store and never
    // reach another instance, so the slot takes it only once the file does.
    if (writeUserEntry (fileName, index, record, false) != FileWrite::written)
        return false;

    auto& slot = *currentBank.getSlot (index);
    storeLiveValuesInto (slot);
    slot.setName (name);
    applyPreset (index);
    slot.setInUse (true);
    presetListChanged.store (true);
    return true;
}

void ParamManager::copyAToB()
{
    storeCurrentValues();
    stateB.copyFrom (stateA);

    if (isStateBActive())
        applyRecord (stateB);

    linked.store (false);
}

void ParamManager::copyBToA()
{
    storeCurrentValues();
    stateA.copyFrom (stateB);

    if (! isStateBActive())
        applyRecord (stateA);

    linked.store (false);
}

void ParamManager::selectState (bool useB)
{
    storeCurrentValues();
    applyRecord (useB ? stateB : stateA);
    stateBActive.store (useB);
}

void ParamManager::resetState()
{
    // In place: the editor may be reading slot names while a host thread resets.
    currentBank.copyFrom (savedBank);

    // The editor learns of the new selection and the emptied user slots only from these.
    if (getActivePresetIndex() != 0)
        activePresetChanged.store (true);

    presetListChanged.store (true);
    activePresetIndex.store (0);
    stateBActive.store (false);
    applyRecord (currentBank.get (0));
    stateA.copyFrom (currentBank.get (0));
    stateB.copyFrom (currentBank.get (0));
    linked.store (true);
}

bool ParamManager::renameSlot (int index, const juce::String& name)
{
    auto* slot = currentBank.getSlot (index);

    if (slot == nullptr || (index == 0 && ! isPresetApplied()))
        return false;

    if (! slot->setName (name))
        return false;

    presetListChanged.store (true);
    return true;
}

//==============================================================================
int ParamManager::findNeighbourPreset (int step) const
{
    for (int i = getActivePresetIndex() + step; currentBank.isValidIndex (i); i += step)
        if (! isUserSlot (i) || currentBank.get (i).isInUse())
            return i;

    return -1;
}

bool ParamManager::hasNextPreset() const
{
    return findNeighbourPreset (1) >= 0;
}

bool ParamManager::hasPreviousPreset() const
{
    return findNeighbourPreset (-1) >= 0;
}

bool ParamManager::isUserPresetSlotEmpty (int index) const
{
    if (index < numFactoryPresets)
        return false;

    return ! currentBank.isValidIndex (index) || ! currentBank.get (index).isInUse();
}

bool ParamManager::testAndClearPresetListChanged (bool clear)
{
    return clear ? presetListChanged.exchange (false) : presetListChanged.load();
}

bool ParamManager::testAndClearActivePresetChanged (bool clear)
{
    return clear ? activePresetChanged.exchange (false) : activePresetChanged.load();
}

int ParamManager::slotToNumber (int slot) const noexcept
{
    return slot < numFactoryPresets ? slot + 1 : slot + 1000 - numFactoryPresets;
}

int ParamManager::numberToSlot (juce::int64 number) const noexcept
{
    const juce::int64 slot = number > 999 ? number + numFactoryPresets - 1000 : number - 1;
    return slot < -1 || slot > std::numeric_limits<int>::max() ? -1 : (int) slot;
}

//==============================================================================
void ParamManager::writeValueAttributes (const PresetRecord& record, juce::XmlElement& element, bool withLogical) const
{
    for (int i = 0; i < getCount(); ++i)
    {
        const auto* p = getParam (i);
        XmlUtils::setAttribute (element, p->getId(), p->getTextForNormalised (record.getValue (i)));
    }

    if (! withLogical)
        return;

    auto* logical = XmlUtils::findChild (element, "logical");

    if (logical == nullptr)
        logical = element.createNewChildElement ("logical");

    for (int i = 0; i < getCount(); ++i)
    {
        const auto* p = getParam (i);
        XmlUtils::setAttribute (*logical, p->getId(), p->normalisedToValue (record.getValue (i)));
    }
}

void ParamManager::writeValues (juce::XmlElement& element, bool withLogical)
{
    PresetRecord live (getCount());
    storeLiveValuesInto (live);
    writeValueAttributes (live, element, withLogical);
}

void ParamManager::writeState (juce::XmlElement& element)
{
    storeCurrentValues();
    writeValues (element, true);

    const int active = getActivePresetIndex();
    auto* presets = element.createNewChildElement ("presets");
    XmlUtils::setAttribute (*presets, "active", slotToNumber (active));

    for (int i = 0; i < currentBank.getCount(); ++i)
    {
        const auto& slot = currentBank.get (i);

        if (! slot.isModified())
            continue;

        auto* preset = presets->createNewChildElement ("preset");
        XmlUtils::setAttribute (*preset, "_No_", slotToNumber (i));
        XmlUtils::setAttribute (*preset, "_Name_", slot.getName());

        if (i != active)
            writeValueAttributes (slot, *preset, true);
    }

    const bool bActive = isStateBActive();

    for (const bool isB : { false, true })
    {
        auto* state = element.createNewChildElement (isB ? "B" : "A");
        const bool isActive = isB == bActive;
        XmlUtils::setAttribute (*state, "_Active_", isActive ? 1 : 0);

        if (isActive)
            continue;

        if (isLinked())
            XmlUtils::setAttribute (*state, "_Linked_", 1);
        else
            writeValueAttributes (getState (isB), *state, true);
    }
}

void ParamManager::readValueAttributes (PresetRecord& record, const juce::XmlElement& element) const
{
    const auto* logical = XmlUtils::findChild (element, "logical");

    for (int i = 0; i < getCount(); ++i)
    {
        const auto* p = getParam (i);
        const auto id = p->getId();
        float value = record.getValue (i);
        // A logical value that is missing or not a finite number counts as absent.
        const double logicalValue = logical != nullptr
                                        ? XmlUtils::getDoubleAttribute (*logical, id, std::numeric_limits<double>::quiet_NaN())
                                        : std::numeric_limits<double>::quiet_NaN();
        const bool hasLogical = std::isfinite (logicalValue);

        if (XmlUtils::hasAttribute (element, id))
        {
            const auto text = XmlUtils::getAttribute (element, id);

            if (p->textToNormalised (text, &value))
            {
                // The text is rounded for display; the exact value stands in for it unless the
                // two disagree (a hand-edited file), so values do not move on every reload.
                if (hasLogical)
                    if (const float exact = p->valueToNormalised (logicalValue); p->getTextForNormalised (exact) == text)
                        value = exact;
            }
            else if (hasLogical)
            {
                value = p->valueToNormalised (logicalValue);
            }
        }
        else if (hasLogical)
        {
            value = p->valueToNormalised (logicalValue);
        }

        record.setValue (i, value);
    }

    record.setInUse (true);
}

void ParamManager::readValues (const juce::XmlElement& element)
{
    PresetRecord values (getCount());

    for (int i = 0; i < getCount(); ++i)
    {
        const auto* p = getParam (i);
        values.setValue (i, p->valueToNormalised (p->getDefaultValue()));
    }

    readValueAttributes (values, element);
    setLiveValues (values.getValues());
}

void ParamManager::readPresets (const juce::XmlElement& presetsElement, bool skipActive)
{
    const int namedActive = numberToSlot (XmlUtils::getIntAttribute (presetsElement, "active", 1));
    const int uncounted = skipActive ? namedActive : -1;

    forEachLiveEntry (*this, presetsElement, uncounted, [&] (const juce::XmlElement& entry, int index, int)
    {
        auto* slot = currentBank.getSlot (index);

        if (slot == nullptr)
            return;

        // A slot the state lists stays listed when the state is written again, also when its
        // content happens to equal the factory or file content it is read over.
        slot->setModified (true);

        if (slot->setName (XmlUtils::getAttribute (entry, "_Name_")))
            presetListChanged.store (true);

        if (skipActive && index == namedActive)
            return;

        const auto* inner = XmlUtils::findChild (entry, rootTag);
        readValueAttributes (*slot, inner != nullptr ? *inner : entry);
    });
}

void ParamManager::readState (const juce::XmlElement& element)
{
    readValues (element);

    if (const auto* presets = XmlUtils::findChild (element, "presets"))
    {
        readPresets (*presets, true);
        const int named = numberToSlot (XmlUtils::getIntAttribute (*presets, "active", 1));
        const int index = juce::jlimit (0, juce::jmax (0, getNumPresets() - 1), named);

        if (index != getActivePresetIndex())
            activePresetChanged.store (true);

        activePresetIndex.store (index);
    }

    if (const auto* a = XmlUtils::findChild (element, "A"))
    {
        const bool aActive = XmlUtils::getBoolAttribute (*a, "_Active_", false);

        if (! aActive)
        {
            linked.store (XmlUtils::getBoolAttribute (*a, "_Linked_", false));

            if (! isLinked())
                readValueAttributes (stateA, *a);
        }

        stateBActive.store (! aActive);
    }

    if (const auto* b = XmlUtils::findChild (element, "B"))
    {
        const bool bActive = XmlUtils::getBoolAttribute (*b, "_Active_", false);

        if (! bActive)
        {
            linked.store (XmlUtils::getBoolAttribute (*b, "_Linked_", false));

            if (! isLinked())
                readValueAttributes (stateB, *b);
        }

        stateBActive.store (bActive);
    }

    storeCurrentValues();
    presetApplied.store (true);
}

//==============================================================================
juce::File ParamManager::getUserPresetFile (const juce::String& fileName)
{
    return SettingsFile::getFile (fileName);
}

std::unique_ptr<juce::XmlElement> ParamManager::readUserPresetDocument (const juce::String& fileName)
{
    const auto file = getUserPresetFile (fileName);

    if (! file.existsAsFile())
        return {};

    auto doc = XmlUtils::parseFile (file);

    if (doc == nullptr || ! XmlUtils::tagIs (*doc, rootTag))
        return {};

    return doc;
}

PresetRecord ParamManager::readUserEntry (const juce::XmlElement* presets, int index) const
{
    PresetRecord entryRecord (getCount());
    entryRecord.copyFrom (savedBank.get (index));
    entryRecord.setInUse (false);
    entryRecord.setModified (false);

    if (presets == nullptr)
        return entryRecord;

    // Exactly what loading the file puts into the slot: every live entry that loads into it,
    // in document order, so that of duplicate entries the last one wins, in every reader and
    // writer (reverting and syncing show what loading shows).
    forEachLiveEntry (*this, *presets, -1, [&] (const juce::XmlElement& entry, int slot, int)
    {
        if (slot != index)
            return;

        entryRecord.setName (XmlUtils::getAttribute (entry, "_Name_"));
        const auto* inner = XmlUtils::findChild (entry, rootTag);
        readValueAttributes (entryRecord, inner != nullptr ? *inner : entry);
    });

    entryRecord.setModified (false);
    return entryRecord;
}

namespace
{
bool sameEntry (const PresetRecord& a, const PresetRecord& b)
{
    if (a.isInUse() != b.isInUse())
        return false;

    if (! a.isInUse())
        return true;

    if (a.getName() != b.getName() || a.getNumValues() != b.getNumValues())
        return false;

    for (int i = 0; i < a.getNumValues(); ++i)
        if (! PresetRecord::sameValue (a.getValue (i), b.getValue (i)))
            return false;

    return true;
}
} // namespace

void ParamManager::loadUserPresets (const juce::String& fileName)
{
    const auto doc = readUserPresetDocument (fileName);
    const auto* presets = doc != nullptr ? XmlUtils::findChild (*doc, "presets") : nullptr;

    if (presets == nullptr)
        return;

    // Entries load as the factory text does, into factory slots as well: the file may replace
    // a factory preset in this instance's bank (the writers below never touch such entries;
    // reverting the slot brings back the built-in preset).
    std::vector<bool> wasInUse;

    for (int i = numFactoryPresets; i < getNumPresets(); ++i)
        wasInUse.push_back (currentBank.get (i).isInUse());

    readPresets (*presets, false);

    for (int i = 0; i < getNumPresets(); ++i)
        currentBank.getSlot (i)->setModified (false);

    for (int i = numFactoryPresets; i < getNumPresets(); ++i)
    {
        *fileBank.getSlot (i) = readUserEntry (presets, i);

        if (currentBank.get (i).isInUse() != wasInUse[(size_t) (i - numFactoryPresets)])
            presetListChanged.store (true);
    }

    const auto& active = currentBank.get (getActivePresetIndex());
    applyRecord (active);
    stateA.copyFrom (active);
    stateB.copyFrom (active);
}

void ParamManager::restorePresetBank (const juce::String& fileName)
{
    currentBank.copyFrom (savedBank);
    presetListChanged.store (true);

    for (int i = numFactoryPresets; i < getNumPresets(); ++i)
        fileBank.getSlot (i)->clear();

    loadUserPresets (fileName);
}

void ParamManager::syncUserPresets (const juce::String& fileName)
{
    // A file that exists but cannot be read tells nothing about its entries.
    const auto doc = readUserPresetDocument (fileName);

    if (doc == nullptr && getUserPresetFile (fileName).exists())
        return;

    const auto* presets = doc != nullptr ? XmlUtils::findChild (*doc, "presets") : nullptr;

    for (int i = numFactoryPresets; i < getNumPresets(); ++i)
    {
        const auto entry = readUserEntry (presets, i);

        if (sameEntry (entry, fileBank.get (i)))
            continue;

        *fileBank.getSlot (i) = entry;
        currentBank.getSlot (i)->copyFrom (entry);
        presetListChanged.store (true);
    }
}

void ParamManager::revertUserPresetFromFile (const juce::String& fileName)
{
    revertPresetToSaved();

    const int index = getActivePresetIndex();
    auto* slot = currentBank.getSlot (index);

    if (slot == nullptr || ! isUserSlot (index))
        return;

    const auto doc = readUserPresetDocument (fileName);
    const auto* presets = doc != nullptr ? XmlUtils::findChild (*doc, "presets") : nullptr;

    if (presets == nullptr)
        return;

    const auto entry = readUserEntry (presets, index);
    *fileBank.getSlot (index) = entry;

    if (entry.isInUse())
    {
        if (slot->getName() != entry.getName())
            presetListChanged.store (true);

        slot->copyFrom (entry);
    }

    applyRecord (*slot);
}

ParamManager::FileWrite ParamManager::writeUserEntry (const juce::String& fileName, int index,
                                                      const PresetRecord& record, bool checkStale)
{
    if (! isUserSlot (index) || ! SettingsFile::ensureFolder())
        return FileWrite::failed;

    const auto file = getUserPresetFile (fileName);
    std::unique_ptr<juce::XmlElement> doc;

    if (file.exists() && ! isBlankFile (file))
    {
        // A file we cannot read, or one that is not ours, is left alone rather than replaced
        // by a document holding only this preset.
        doc = XmlUtils::parseFile (file);

        if (doc == nullptr || ! XmlUtils::tagIs (*doc, rootTag))
            return FileWrite::failed;
    }
    else
    {
        doc = std::make_unique<juce::XmlElement> (rootTag);
    }

    auto* presets = XmlUtils::findChild (*doc, "presets");

    if (presets == nullptr)
        presets = doc->createNewChildElement ("presets");

    if (checkStale && ! sameEntry (readUserEntry (presets, index), fileBank.get (index)))
        return FileWrite::stale;

    numberEntries (*this, *presets);

    // The last live entry that loads into the slot is rewritten: it overrides any earlier one.
    // Without one, the first deleted entry of the slot's number is saved again in place.
    juce::XmlElement* entry = nullptr;

    forEachLiveEntry (*this, *presets, -1, [&] (juce::XmlElement& live, int slot, int)
    {
        if (slot == index)
            entry = &live;
    });

    if (entry == nullptr)
    {
        for (auto* deleted : presets->getChildIterator())
        {
            if (XmlUtils::tagIs (*deleted, "preset") && XmlUtils::getBoolAttribute (*deleted, "_Deleted_", false)
                && numberToSlot (XmlUtils::getIntAttribute (*deleted, "_No_", 0)) == index)
            {
                entry = deleted;
                XmlUtils::setAttribute (*entry, "_Deleted_", 0);
                break;
            }
        }
    }

    if (entry == nullptr)
    {
        entry = presets->createNewChildElement ("preset");
        XmlUtils::setAttribute (*entry, "_No_", slotToNumber (index));
    }

    XmlUtils::setAttribute (*entry, "_Name_", record.getName());
    // An entry that keeps its values in an inner element is read from there, so they go there.
    auto* inner = XmlUtils::findChild (*entry, rootTag);
    writeValueAttributes (record, inner != nullptr ? *inner : *entry, true);

    if (! SettingsFile::writeXml (*doc, file))
        return FileWrite::failed;

    *fileBank.getSlot (index) = readUserEntry (presets, index);
    return FileWrite::written;
}

ParamManager::FileWrite ParamManager::saveUserPresets (const juce::String& fileName, const juce::String& name)
{
    const int index = getActivePresetIndex();
    auto* slot = currentBank.getSlot (index);

    if (slot == nullptr || ! isUserSlot (index))
        return FileWrite::failed;

    storeCurrentValues();
    PresetRecord record (*slot);
    record.setName (name);
    const auto result = writeUserEntry (fileName, index, record, true);

    if (result == FileWrite::written && ! slot->isInUse())
    {
        slot->setInUse (true);
        presetListChanged.store (true);
    }

    return result;
}

ParamManager::FileWrite ParamManager::deleteUserPresetFromFile (const juce::String& fileName, int index)
{
    if (! isUserSlot (index))
        return FileWrite::failed;

    const auto file = getUserPresetFile (fileName);
    const auto doc = readUserPresetDocument (fileName);

    if (doc == nullptr && file.exists())
        return FileWrite::failed;

    auto* presets = doc != nullptr ? XmlUtils::findChild (*doc, "presets") : nullptr;
    const auto current = readUserEntry (presets, index);

    if (! sameEntry (current, fileBank.get (index)))
        return FileWrite::stale;

    if (! current.isInUse())
        return FileWrite::written; // nothing live to mark

    numberEntries (*this, *presets);

    // Every live entry that loads into the slot, so that a duplicate cannot bring the preset back.
    forEachLiveEntry (*this, *presets, -1, [index] (juce::XmlElement& entry, int slot, int)
    {
        if (slot == index)
            XmlUtils::setAttribute (entry, "_Deleted_", 1);
    });

    if (! SettingsFile::writeXml (*doc, file))
        return FileWrite::failed;

    fileBank.getSlot (index)->clear();
    return FileWrite::written;
}

int ParamManager::findFreeUserPresetSlot (const juce::String& fileName) const
{
    const auto doc = readUserPresetDocument (fileName);
    const auto* presets = doc != nullptr ? XmlUtils::findChild (*doc, "presets") : nullptr;

    if (presets == nullptr)
        return numUserPresets > 0 ? numFactoryPresets : -1;

    // A slot is taken when an entry loads into it, also one without "_No_": a slot that shows a
    // preset is never offered for a new one, which would hide it.
    std::vector<bool> taken ((size_t) getNumPresets(), false);

    forEachLiveEntry (*this, *presets, -1, [&] (const juce::XmlElement&, int index, int)
    {
        if (currentBank.isValidIndex (index))
            taken[(size_t) index] = true;
    });

    for (int i = numFactoryPresets; i < getNumPresets(); ++i)
        if (! taken[(size_t) i])
            return i;

    return -1;
}
} // namespace kelmora::core
