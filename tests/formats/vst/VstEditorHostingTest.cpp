// The editor inside a host's X11 window, with the host's idle calls driving JUCE while audio
// runs on another thread. Needs an X server.
#include "formats/vst/WrapperTest.h"
#include "support/Concurrency.h"
#include "tools/aaxhost/HostWindow.h"

#include <X11/Xlib.h>

#include <thread>

namespace kelmora::vst::test
{
namespace
{
/** Posts a message and waits for it, giving the host's idle call a chance each round; false
    when the watchdog gave up. */
bool messageArrives (std::function<void()> idle)
{
    auto delivered = std::make_shared<std::atomic<bool>> (false);
    juce::MessageManager::callAsync ([delivered] { *delivered = true; });
    return quietline::test::waitUntil ([&] { return delivered->load(); }, [&] { idle(); std::this_thread::yield(); });
}
} // namespace

TEST_F (WrapperTest, EditorOpensInTheHostWindowWhileAudioRunsElsewhere)
{
    kelmora::tools::HostWindow frame;
    ASSERT_NE (frame.display, nullptr) << "needs an X server";
    const ::Window parent = frame.window;

    // Without an editor the module's own thread runs the messages, with no idle call.
    EXPECT_TRUE (messageArrives ([] {})) << "watchdog: no message arrived";

    start (96000.0f, 256);
    std::atomic<bool> stop { false };
    std::thread audio ([&] {
        std::vector<float> x (256, 0.1f);
        float* io[] = { x.data(), x.data() };
        while (! stop)
            effect->processReplacing (effect, io, io, 256);
    });

    ERect* rect = nullptr;
    ASSERT_EQ (dispatch (effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ (std::make_pair (rect->right - rect->left, rect->bottom - rect->top), std::make_pair (406, 242));
    ASSERT_EQ (dispatch (effEditOpen, 0, 0, (void*) (uintptr_t) parent), 1);
    ASSERT_NE (processor->getActiveEditor(), nullptr);
    ::Window root = 0, parentOfParent = 0, *children = nullptr;
    unsigned int count = 0;
    XQueryTree (frame.display, parent, &root, &parentOfParent, &children, &count);
    EXPECT_EQ (count, 1u) << "the editor's window is a child of the host's";
    XFree (children);

    // While the editor is open the host's idle calls deliver the messages.
    EXPECT_TRUE (messageArrives ([&] { dispatch (effEditIdle); })) << "watchdog: no message arrived";
    EXPECT_TRUE (processor->getActiveEditor()->isShowing());
    const int blocksSoFar = processor->blocks.load();
    EXPECT_TRUE (quietline::test::waitUntil ([&] { return processor->blocks.load() > blocksSoFar + 10; }, [&] { dispatch (effEditIdle); }))
        << "watchdog: audio stopped while the editor was open";

    // Closed again, the module's own thread takes the messages back.
    dispatch (effEditClose);
    EXPECT_EQ (processor->getActiveEditor(), nullptr);
    EXPECT_TRUE (messageArrives ([] {})) << "watchdog: no message arrived";

    stop = true;
    audio.join();
}
} // namespace kelmora::vst::test

namespace kelmora::vst::test
{
TEST_F (WrapperTest, AResizedEditorAsksTheHostOnceAndResizesThroughItOnlyWhenItAgrees)
{
    kelmora::tools::HostWindow frame;
    ASSERT_NE (frame.display, nullptr) << "needs an X server";
    ERect* rect = nullptr;

    for (const bool hostAgrees : { true, false })
    {
        SCOPED_TRACE (hostAgrees ? "the host resizes" : "the host does not resize");
        // A fresh instance each time: the question is asked once per instance.
        TearDown();
        SetUp();
        host.answer (hostCanDo, hostAgrees ? 1 : 0);
        host.clear();
        ASSERT_EQ (dispatch (effEditGetRect, 0, 0, &rect), 1);
        ASSERT_EQ (dispatch (effEditOpen, 0, 0, (void*) (uintptr_t) frame.window), 1);

        // Two resizes on the message thread, each followed by the host's idle call that says them.
        for (const int width : { 500, 520 })
        {
            std::atomic<bool> resized { false };
            juce::MessageManager::callAsync ([this, width, &resized] {
                processor->getActiveEditor()->setSize (width, 300);
                resized = true;
            });
            ASSERT_TRUE (quietline::test::waitUntil ([&] { return resized.load(); })) << "watchdog: never resized";
            dispatch (effEditIdle);
        }

        EXPECT_EQ (host.count (hostCanDo), 1u);
        const auto calls = host.snapshot();
        std::vector<std::pair<int32_t, intptr_t>> sizes;
        for (const auto& c : calls)
            if (c.opcode == hostSizeWindow)
                sizes.emplace_back (c.index, c.value);
        using Sizes = std::vector<std::pair<int32_t, intptr_t>>;
        const Sizes said = hostAgrees ? Sizes { { 500, 300 }, { 520, 300 } } : Sizes();
        EXPECT_EQ (sizes, said);
    }
}
} // namespace kelmora::vst::test
