#include "core/UndoHistory.h"

#include "core/ParamManager.h"
#include "core/Clock.h"
#include "core/PresetRecord.h"
#include "core/XmlUtils.h"

#include <cmath>
#include <limits>

namespace kelmora::core
{
namespace
{
bool allFinite (const std::vector<float>& values)
{
    for (auto v : values)
        if (! std::isfinite (v))
            return false;

    return true;
}

/** A number attribute: 0.0 when absent (as saved histories expect), NaN when present but
    not a finite number, so that the entry can be refused. */
double readNumber (const juce::XmlElement& e, const juce::String& name)
{
    if (! XmlUtils::hasAttribute (e, name))
        return 0.0;

    return XmlUtils::getDoubleAttribute (e, name, std::numeric_limits<double>::quiet_NaN());
}

bool holdsValues (UndoOp op)
{
    return op == UndoOp::PresetValues || op == UndoOp::CopyAToB || op == UndoOp::CopyBToA;
}
} // namespace

UndoHistory::UndoHistory (int numValuesIn)
    : ring ((size_t) capacity), numValues (juce::jmax (0, numValuesIn))
{
    const auto t = now();

    for (auto& r : ring)
        r.clear (t);
}

std::uint32_t UndoHistory::now() noexcept
{
    // Not the wall clock: setting it must neither merge two edits nor split one. Only
    // differences are used, so the counter may wrap.
    return Clock::counterMillis();
}

int UndoHistory::getNumUndoable() const noexcept
{
    return (position.load() - tail.load() + capacity) % capacity;
}

int UndoHistory::getNumRedoable() const noexcept
{
    return (end.load() - position.load() + capacity) % capacity;
}

void UndoHistory::push (const UndoRecord& entry)
{
    const int pos = position.load();
    end.store (pos);
    ring[(size_t) pos] = entry;
    // Bounded like the slots' names, whatever state the name was read from.
    ring[(size_t) pos].presetName = entry.presetName.substring (0, PresetRecord::maxNameLength);

    const int newPos = next (pos);
    position.store (newPos);
    end.store (newPos);

    if (newPos == tail.load())
        tail.store (next (newPos));
}

void UndoHistory::pushParameterChange (int paramIndex, float normalisedValue)
{
    UndoRecord r;
    r.clear (now());
    r.op = UndoOp::ParameterChange;
    r.paramIndex = paramIndex;
    r.normalisedValue = normalisedValue;
    push (r);
}

void UndoHistory::pushPresetChange (int previousSlot)
{
    UndoRecord r;
    r.clear (now());
    r.op = UndoOp::PresetChange;
    r.presetIndex = previousSlot;
    push (r);
}

void UndoHistory::pushPresetValues (const juce::String& name, const std::vector<float>& liveValues)
{
    UndoRecord r;
    r.clear (now());
    r.op = UndoOp::PresetValues;
    r.presetName = name;
    r.values = liveValues;
    push (r);
}

void UndoHistory::pushStateSwitch (bool wasB)
{
    UndoRecord r;
    r.clear (now());
    r.op = UndoOp::StateSwitch;
    r.stateBActive = wasB;
    push (r);
}

void UndoHistory::pushCopyAToB (const std::vector<float>& bValues, bool linked)
{
    UndoRecord r;
    r.clear (now());
    r.op = UndoOp::CopyAToB;
    r.linked = linked;

    if (! linked)
        r.values = bValues;

    push (r);
}

void UndoHistory::pushCopyBToA (const std::vector<float>& aValues, bool linked)
{
    UndoRecord r;
    r.clear (now());
    r.op = UndoOp::CopyBToA;
    r.linked = linked;

    if (! linked)
        r.values = aValues;

    push (r);
}

void UndoHistory::pushRename (const juce::String& oldName)
{
    UndoRecord r;
    r.clear (now());
    r.op = UndoOp::PresetRename;
    r.presetName = oldName;
    push (r);
}

UndoRecord* UndoHistory::getNewestUndoable() noexcept
{
    return canUndo() ? &ring[(size_t) prev (position.load())] : nullptr;
}

UndoRecord* UndoHistory::getExtendableEntry() noexcept
{
    auto* newest = getNewestUndoable();
    return newest != nullptr && ! newest->sealed ? newest : nullptr;
}

void UndoHistory::sealNewest() noexcept
{
    if (auto* newest = getNewestUndoable())
        newest->sealed = true;
}

const UndoRecord* UndoHistory::getUndoEntry (int k) const noexcept
{
    if (k < 0 || k >= getNumUndoable())
        return nullptr;

    return &ring[(size_t) ((position.load() - 1 - k + 2 * capacity) % capacity)];
}

const UndoRecord* UndoHistory::getRedoEntry (int k) const noexcept
{
    if (k < 0 || k >= getNumRedoable())
        return nullptr;

    return &ring[(size_t) ((position.load() + k) % capacity)];
}

void UndoHistory::dropNewestUndoable() noexcept
{
    // Right after a push `position` == `end`, and this steps both back by one. Should an
    // undo have happened in between, stepping `end` alone would turn redoable entries into
    // undoable ones, so the redoable entries go as well.
    if (! canUndo())
        return;

    const int p = prev (position.load());
    position.store (p);
    end.store (p);
}

bool UndoHistory::peekUndo (UndoRecord& out) const
{
    if (! canUndo())
        return false;

    out = ring[(size_t) prev (position.load())];
    return true;
}

void UndoHistory::commitUndo (const UndoRecord& inverse)
{
    if (! canUndo())
        return;

    const int p = prev (position.load());
    ring[(size_t) p] = inverse;
    position.store (p);
    sealNewest();
}

bool UndoHistory::peekRedo (UndoRecord& out) const
{
    if (! canRedo())
        return false;

    out = ring[(size_t) position.load()];
    return true;
}

void UndoHistory::commitRedo (const UndoRecord& inverse)
{
    if (! canRedo())
        return;

    const int p = position.load();
    ring[(size_t) p] = inverse;
    position.store (next (p));
    sealNewest();
}

juce::String UndoHistory::describe (const UndoRecord& entry, const ParamManager& manager)
{
    const juce::String quote ("\"");

    switch (entry.op)
    {
        case UndoOp::ParameterChange:
        {
            const auto* p = manager.getParam (entry.paramIndex);
            auto text = "Change " + quote + p->getName() + quote + " parameter value back to "
                      + p->getTextForNormalised (entry.normalisedValue);
            const auto unit = p->getUnit();

            if (unit.isNotEmpty())
                text << " " << unit;

            return text;
        }
        case UndoOp::PresetChange:
            return "Change the current preset back to " + quote
                 + manager.getPreset (entry.presetIndex).getName() + quote;
        case UndoOp::PresetValues:
            return "Restore " + quote + entry.presetName + quote + " preset values";
        case UndoOp::StateSwitch:
            return juce::String ("Restore A/B back to ") + (entry.stateBActive ? "B" : "A");
        case UndoOp::CopyAToB:
            return entry.linked ? "Revert A>B to initial state"
                                : "Restore overwritten values by copy A>B operation";
        case UndoOp::CopyBToA:
            return entry.linked ? "Revert B>A to initial state"
                                : "Restore overwritten values by copy B>A operation";
        case UndoOp::PresetRename:
            return "Restore the preset name back to " + quote + entry.presetName + quote;
        case UndoOp::None:
        default:
            return {};
    }
}

void UndoHistory::writeToXml (juce::XmlElement& stateElement) const
{
    auto* undo = stateElement.createNewChildElement ("undo");
    const int pos = position.load(), last = end.load();
    const int newest = canUndo() ? prev (pos) : -1;

    auto writeValues = [this] (juce::XmlElement& ui, const UndoRecord& r)
    {
        XmlUtils::setAttribute (ui, "ab", r.linked ? 1 : 0);

        if (! r.linked)
            for (int i = 0; i < numValues; ++i)
                XmlUtils::setAttribute (ui, "pv" + juce::String (i),
                                              i < (int) r.values.size() ? (double) r.values[(size_t) i] : 0.0);
    };

    for (int slot = tail.load(); slot != last; slot = next (slot))
    {
        const auto& r = ring[(size_t) slot];
        auto* ui = undo->createNewChildElement ("ui");
        XmlUtils::setAttribute (*ui, "op", (int) r.op);

        switch (r.op)
        {
            case UndoOp::ParameterChange:
                XmlUtils::setAttribute (*ui, "pi", r.paramIndex);
                XmlUtils::setAttribute (*ui, "nv", (double) r.normalisedValue);
                break;
            case UndoOp::PresetChange:
                XmlUtils::setAttribute (*ui, "pi", r.presetIndex);
                break;
            case UndoOp::PresetValues:
                XmlUtils::setAttribute (*ui, "pn", r.presetName);
                writeValues (*ui, r);
                break;
            case UndoOp::StateSwitch:
                XmlUtils::setAttribute (*ui, "is_b", r.stateBActive ? 1 : 0);
                break;
            case UndoOp::CopyAToB:
            case UndoOp::CopyBToA:
                writeValues (*ui, r);
                break;
            case UndoOp::PresetRename:
                XmlUtils::setAttribute (*ui, "pn", r.presetName);
                break;
            case UndoOp::None:
            default:
                break;
        }

        if (slot == newest)
            XmlUtils::setAttribute (*ui, "active", 1);
    }
}

void UndoHistory::clear()
{
    const auto t = now();

    for (auto& r : ring)
        r.clear (t);

    tail.store (0);
    position.store (0);
    end.store (0);
}

void UndoHistory::readFromXml (const juce::XmlElement& stateElement)
{
    // Replaced, not appended to: restoring a state twice must not double its history.
    clear();
    const auto* undo = XmlUtils::findChild (stateElement, "undo");

    if (undo == nullptr || undo->getNumChildElements() == 0)
        return;

    // Counted from the end rather than remembered as a ring slot: with more entries than the
    // ring holds, the marked entry may itself be pushed out, and a stale slot index would
    // leave `position` outside the live range.
    int entriesAfterMarked = -1;

    for (const auto* ui : undo->getChildIterator())
    {
        if (! XmlUtils::tagIs (*ui, "ui"))
            continue;

        UndoRecord r;
        r.clear (now());
        r.op = static_cast<UndoOp> (XmlUtils::getIntAttribute (*ui, "op", 0));

        auto readValues = [this, ui, &r]
        {
            r.linked = XmlUtils::getBoolAttribute (*ui, "ab", false);

            if (! r.linked)
            {
                r.values.resize ((size_t) numValues);

                for (int i = 0; i < numValues; ++i)
                    r.values[(size_t) i] = (float) readNumber (*ui, "pv" + juce::String (i));
            }
        };

        switch (r.op)
        {
            case UndoOp::ParameterChange:
                r.paramIndex = XmlUtils::getIntAttribute (*ui, "pi", 0);
                r.normalisedValue = (float) readNumber (*ui, "nv");
                break;
            case UndoOp::PresetChange:
                r.presetIndex = XmlUtils::getIntAttribute (*ui, "pi", 0);
                break;
            case UndoOp::PresetValues:
                r.presetName = XmlUtils::getAttribute (*ui, "pn");
                readValues();
                break;
            case UndoOp::StateSwitch:
                r.stateBActive = XmlUtils::getBoolAttribute (*ui, "is_b", false);
                break;
            case UndoOp::CopyAToB:
            case UndoOp::CopyBToA:
                readValues();
                break;
            case UndoOp::PresetRename:
                r.presetName = XmlUtils::getAttribute (*ui, "pn");
                break;
            case UndoOp::None:
            default:
                break;
        }

        const bool harmful = (r.op == UndoOp::ParameterChange
                              && (r.paramIndex < 0 || r.paramIndex >= numValues
                                  || ! std::isfinite (r.normalisedValue)))
                             || (holdsValues (r.op) && ! allFinite (r.values));

        if (! harmful)
        {
            push (r);

            if (entriesAfterMarked >= 0)
                ++entriesAfterMarked;
        }

        // A skipped marked entry leaves the mark on the entry before it.
        if (XmlUtils::getBoolAttribute (*ui, "active", false))
            entriesAfterMarked = 0;
    }

    // No mark: every entry had been undone when the state was saved, so all stay redoable.
    const int total = getNumUndoable();
    const int redoable = entriesAfterMarked < 0 ? total : juce::jmin (entriesAfterMarked, total);
    position.store ((position.load() - redoable + capacity) % capacity);
    sealNewest();
}

int UndoHistory::removePresetEntries (int deleted)
{
    const int pos = position.load();
    const int first = tail.load();
    end.store (pos);

    auto isErasable = [] (UndoOp op)
    {
        return op == UndoOp::ParameterChange || op == UndoOp::PresetValues || op == UndoOp::PresetRename;
    };

    int tracked = deleted;
    int replacement = -1;

    for (int slot = pos; slot != first;)
    {
        slot = prev (slot);
        auto& r = ring[(size_t) slot];

        if (r.op == UndoOp::PresetChange)
        {
            if (r.presetIndex == deleted)
            {
                r.op = UndoOp::None;
                tracked = deleted;
            }
            else
            {
                tracked = r.presetIndex;

                if (replacement < 0)
                    replacement = tracked;
            }
        }
        else if (tracked == deleted && isErasable (r.op))
        {
            r.op = UndoOp::None;
        }
    }

    tracked = deleted;

    for (int slot = pos; slot != first;)
    {
        slot = prev (slot);
        auto& r = ring[(size_t) slot];

        if (r.op != UndoOp::PresetChange)
            continue;

        if (r.presetIndex == tracked)
            r.op = UndoOp::None;
        else
            tracked = r.presetIndex;
    }

    std::vector<UndoRecord> fresh ((size_t) capacity);
    const auto t = now();

    for (auto& r : fresh)
        r.clear (t);

    int n = 0;

    for (int slot = first; slot != pos; slot = next (slot))
        if (ring[(size_t) slot].op != UndoOp::None)
            fresh[(size_t) n++] = ring[(size_t) slot];

    if (n > 0 && fresh[(size_t) n - 1].op == UndoOp::PresetChange
        && fresh[(size_t) n - 1].presetIndex == replacement)
        --n;

    ring.swap (fresh);
    tail.store (0);
    position.store (n);
    end.store (n);
    sealNewest();

    return replacement >= 0 ? replacement : 0;
}
} // namespace kelmora::core
