#include "PresetTestProduct.h"
#include "support/Concurrency.h"

#include <atomic>
#include <map>
#include <mutex>
#include <random>
#include <thread>

using namespace kelmora::core;
using quietline::test::PresetTestProduct;

namespace
{
// Slot -> name of every preset stored and not yet deleted. A slot is registered after its store
// returned and unregistered before its delete, so two owners at once mean a slot taken twice.
struct Registry
{
    std::mutex mutex;
    std::map<int, juce::String> live;
    std::atomic<int> doubleTakes { 0 }, failedOps { 0 }, stores { 0 };

    void add (int slot, const juce::String& name)
    {
        const std::lock_guard<std::mutex> l (mutex);
        doubleTakes += live.emplace (slot, name).second ? 0 : 1;
        ++stores;
    }
    void remove (int slot)
    {
        const std::lock_guard<std::mutex> l (mutex);
        live.erase (slot);
    }
};

constexpr int operationsEach = 500;

void runWorker (PresetController& c, int id, Registry& registry)
{
    std::mt19937 rng ((unsigned) (id + 1) * 7919u);
    auto pick = [&rng] (int n) { return (int) (rng() % (unsigned) n); };
    std::map<int, juce::String> own;
    std::vector<std::unique_ptr<juce::XmlElement>> states;

    for (int counter = 0; counter < operationsEach; ++counter)
    {
        const int op = pick (8);
        const auto mine = own.empty() ? own.end() : std::next (own.begin(), pick ((int) own.size()));

        if (op < 2 && own.size() < 2)
        {
            const auto name = "T" + juce::String (id) + "-" + juce::String (counter);
            if (const int slot = c.storeUserPresetInFreeSlot (name); slot >= 0)
                registry.add (slot, own[slot] = name);
        }
        else if ((op == 2 || op == 4) && mine != own.end())
        {
            if (op == 2)
                registry.remove (mine->first);
            c.selectPreset (mine->first);
            registry.failedOps += (op == 2 ? c.deleteUserPreset (mine->first) : c.overwriteUserPreset (mine->first, mine->second)) ? 0 : 1;
            if (op == 2)
                own.erase (mine);
        }
        else if (op == 3)
            c.revertActivePreset();
        else if (op == 5)
        {
            states.push_back (std::make_unique<juce::XmlElement> ("OrvelQuietline"));
            c.saveState (*states.back());
            if (states.size() > 8)
                states.erase (states.begin() + pick (8));
        }
        else if (op == 6 && ! states.empty())
            c.loadState (*states[(size_t) pick ((int) states.size())]);
        else if (op == 7)
        {
            c.setParameterFromUi (pick (4), (float) pick (101) / 100.0f);
            c.selectPreset (pick (5));
        }
    }
}
} // namespace

TEST (PresetConcurrency, EightControllersShareTheUserPresetFileWithoutLosingPresets)
{
    quietline::test::TempHome home;
    std::vector<std::unique_ptr<PresetController>> controllers;
    for (int i = 0; i < 8; ++i)
        controllers.push_back (PresetTestProduct::makeController());

    Registry registry;
    const quietline::test::Watchdog watchdog ("preset controllers deadlocked");
    std::atomic<int> working { 8 };
    std::vector<std::function<void()>> bodies;
    for (int i = 0; i < 8; ++i)
        bodies.push_back ([&, i] { runWorker (*controllers[(size_t) i], i, registry); --working; });
    // The editor of instance 0 polls its flags without the lock meanwhile.
    bodies.push_back ([&working, &c = *controllers[0]]
    {
        for (auto& pm = c.getParamManager(); working.load() > 0; std::this_thread::yield())
            (void) (c.testAndClearStateChanged (true) + c.isStatesEqual() + c.isPresetModified() + c.canUndo() + c.canRedo()
                    + pm.testAndClearPresetListChanged (true) + pm.testAndClearActivePresetChanged (true) + pm.hasNextPreset()
                    + pm.isUserPresetSlotEmpty (pm.getActivePresetIndex()) + pm.isLinked() + pm.isStateBActive());
    });
    quietline::test::runTogether (bodies);

    EXPECT_EQ (registry.doubleTakes.load(), 0) << "two stores took the same slot";
    EXPECT_EQ (registry.failedOps.load(), 0) << "an overwrite or delete of an own preset was refused";
    EXPECT_GE (registry.stores.load(), 5) << "fewer stores than the five free user slots";
    EXPECT_EQ (PresetTestProduct::liveEntriesInFile(), registry.live) << "every successful store is in the file, nothing else";
}
