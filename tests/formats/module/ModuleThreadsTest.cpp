// Host threads on the built module at once, through its dispatcher (also run under
// ThreadSanitizer): program names read while other threads rename and restore.
#include "support/Concurrency.h"
#include "support/TempHome.h"
#include "tools/vsthost/HostedEffect.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <set>

namespace kelmora::tools::test
{
TEST (ModuleThreads, ProgramNamesReadWhileOtherThreadsRenameAndRestore)
{
    quietline::test::TempHome home;
    ::unsetenv ("DISPLAY");
    std::string error;
    auto module = VstPluginModule::load (QUIETLINE_MODULE_PATH, error);
    ASSERT_NE (module, nullptr) << error;
    auto e = HostedEffect::create (*module, error);
    ASSERT_NE (e, nullptr) << error;
    e->open();

    const auto bank = e->getChunk(), preset = e->getChunk (true);
    std::set<std::string> names;
    for (int32_t i = 0; i < e->numPrograms(); ++i)
        names.insert (e->programNameIndexed (i));

    const auto known = [&names] (const std::string& name) { return names.count (name) > 0 || name.rfind ("Renamed ", 0) == 0; };
    std::atomic<bool> restoring { true };
    std::atomic<int> unknown { 0 };
    quietline::test::runTogether ({
        [&] {
            // Saved, bank and program states in turn.
            for (int i = 0; i < 300; ++i)
                e->setChunk (i % 3 == 0 ? e->getChunk() : i % 3 == 1 ? bank : preset, i % 3 == 2);
            restoring = false;
        },
        [&] {
            for (int i = 0; i < 300 || restoring; ++i)
                e->setProgramName ("Renamed " + std::to_string (i % 7));
        },
        [&] {
            for (int round = 0; round < 100 || restoring; ++round)
            {
                for (int32_t i = 0; i < e->numPrograms(); ++i)
                    unknown += known (e->programNameIndexed (i)) ? 0 : 1;
                unknown += known (e->programName()) ? 0 : 1;
            }
        },
    });
    EXPECT_EQ (unknown.load(), 0) << "every name read is one that was written";

    e.reset();
}
} // namespace kelmora::tools::test
