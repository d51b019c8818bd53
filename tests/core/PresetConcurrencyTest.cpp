#include "PresetTestProduct.h"
#include "support/TempHome.h"

#include "core/XmlUtils.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <thread>

using namespace kelmora::core;
using quietline::test::PresetTestProduct;

namespace
{
/** Slot -> name of every preset stored and not yet deleted, kept by the threads that own
    them. A slot is registered after its store returned and unregistered before its delete,
    so two owners of one slot at once mean two stores took the same slot. */
struct Registry
{
    std::mutex mutex;
    std::map<int, juce::String> live;
    std::atomic<int> doubleTakes { 0 }, failedOps { 0 }, stores { 0 };

    void add (int slot, const juce::String& name)
    {
        const std::lock_guard<std::mutex> l (mutex);

        if (! live.emplace (slot, name).second)
            ++doubleTakes;

        ++stores;
    }

    void remove (int slot)
    {
        const std::lock_guard<std::mutex> l (mutex);
        live.erase (slot);
    }
};

/** Fails the whole run when the workers have not finished in time (a deadlock). */
class Watchdog
{
public:
    explicit Watchdog (std::chrono::seconds limit)
        : thread ([this, limit]
                  {
                      std::unique_lock<std::mutex> l (mutex);

                      if (! condition.wait_for (l, limit, [this] { return finished; }))
                      {
                          std::fprintf (stderr, "watchdog: preset controllers deadlocked\n");
                          std::_Exit (3);
                      }
                  })
    {
    }

    ~Watchdog()
    {
        {
            const std::lock_guard<std::mutex> l (mutex);
            finished = true;
        }

        condition.notify_all();
        thread.join();
    }

private:
    std::mutex mutex;
    std::condition_variable condition;
    bool finished = false;
    std::thread thread;
};

void runWorker (PresetController& c, int id, Registry& registry, const std::atomic<bool>& stop)
{
    std::mt19937 rng ((unsigned) (id + 1) * 7919u);
    auto pick = [&rng] (int n) { return (int) (rng() % (unsigned) n); };
    std::map<int, juce::String> own;
    std::vector<std::unique_ptr<juce::XmlElement>> states;
    int counter = 0;

    while (! stop.load())
    {
        switch (pick (8))
        {
            case 0:
            case 1:
            {
                if (own.size() >= 2)
                    break;

                const auto name = "T" + juce::String (id) + "-" + juce::String (counter++);
                const int slot = c.storeUserPresetInFreeSlot (name);

                if (slot >= 0)
                {
                    registry.add (slot, name);
                    own[slot] = name;
                }
                break;
            }
            case 2:
            {
                if (own.empty())
                    break;

                const auto it = std::next (own.begin(), pick ((int) own.size()));
                registry.remove (it->first);
                c.selectPreset (it->first);

                if (! c.deleteUserPreset (it->first))
                    ++registry.failedOps;

                own.erase (it);
                break;
            }
            case 3:
                c.revertActivePreset();
                break;
            case 4:
            {
                if (own.empty())
                    break;

                const auto it = std::next (own.begin(), pick ((int) own.size()));
                c.selectPreset (it->first);

                if (! c.overwriteUserPreset (it->first, it->second))
                    ++registry.failedOps;
                break;
            }
            case 5:
            {
                auto state = std::make_unique<juce::XmlElement> ("OrvelQuietline");
                c.saveState (*state);

                if (states.size() < 8)
                    states.push_back (std::move (state));
                else
                    states[(size_t) pick (8)] = std::move (state);
                break;
            }
            case 6:
                if (! states.empty())
                    c.loadState (*states[(size_t) pick ((int) states.size())]);
                break;
            case 7:
                c.setParameterFromUi (pick (4), (float) pick (101) / 100.0f);
                c.selectPreset (pick (5));
                break;
        }
    }
}
} // namespace

TEST (PresetConcurrency, EightControllersShareTheUserPresetFileWithoutLosingPresets)
{
    quietline::test::TempHome home;
    constexpr int numControllers = 8;
    std::vector<std::unique_ptr<PresetController>> controllers;

    for (int i = 0; i < numControllers; ++i)
        controllers.push_back (PresetTestProduct::makeController());

    Registry registry;
    std::atomic<bool> stop { false };

    {
        const Watchdog watchdog (std::chrono::seconds (60));
        std::vector<std::thread> threads;

        for (int i = 0; i < numControllers; ++i)
            threads.emplace_back (runWorker, std::ref (*controllers[(size_t) i]), i, std::ref (registry), std::cref (stop));

        // The editor of instance 0 polls its flags without the lock meanwhile.
        threads.emplace_back ([&stop, &c = *controllers[0]]
                              {
                                  while (! stop.load())
                                  {
                                      c.testAndClearStateChanged (true);
                                      (void) (c.isStatesEqual() && c.isPresetModified() && c.canUndo() && c.canRedo());
                                      auto& pm = c.getParamManager();
                                      pm.testAndClearPresetListChanged (true);
                                      pm.testAndClearActivePresetChanged (true);
                                      (void) (pm.hasNextPreset() || pm.isUserPresetSlotEmpty (pm.getActivePresetIndex()));
                                      (void) (pm.isLinked() || pm.isStateBActive());
                                      std::this_thread::yield();
                                  }
                              });

        std::this_thread::sleep_for (std::chrono::seconds (2));
        stop.store (true);

        for (auto& t : threads)
            t.join();
    }

    EXPECT_EQ (registry.doubleTakes.load(), 0) << "two stores took the same slot";
    EXPECT_EQ (registry.failedOps.load(), 0) << "an overwrite or delete of an own preset was refused";
    EXPECT_GT (registry.stores.load(), 10);

    auto doc = XmlUtils::parseFile (PresetTestProduct::userPresetFile());
    ASSERT_NE (doc, nullptr);
    const auto* presets = XmlUtils::findChild (*doc, "presets");
    ASSERT_NE (presets, nullptr);

    std::map<int, juce::String> inFile;
    std::set<int> numbers;

    for (const auto* entry : presets->getChildIterator())
    {
        const int number = XmlUtils::getIntAttribute (*entry, "_No_", 0);
        EXPECT_TRUE (numbers.insert (number).second) << "number " << number << " appears twice";
        EXPECT_GE (number, 1000);

        if (! XmlUtils::getBoolAttribute (*entry, "_Deleted_", false))
            inFile[number - 1000 + PresetTestProduct::numFactory] = XmlUtils::getAttribute (*entry, "_Name_");
    }

    EXPECT_EQ (inFile, registry.live) << "every successful store is in the file, nothing else";
}
