// The editor inside a host's X11 window, with the host's idle calls driving JUCE while audio
// runs on another thread. Needs an X server.
#include "formats/vst/RecordingHost.h"
#include "formats/vst/TestGainProcessor.h"
#include "formats/vst/VstProcessorWrapper.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include <X11/Xlib.h>

namespace kelmora::vst::test
{
namespace
{
juce::AudioProcessor* makeTestProcessor() { return new TestGainProcessor(); }

const VstIdentity identity { "Orvel Quietline", "Kelmora Labs", vstFourCC ('O', 'q', '1', 'b'), 100, kPlugCategEffect };

bool isChildOf (::Display* display, ::Window parent)
{
    ::Window root = 0, parentOfParent = 0, *children = nullptr;
    unsigned int count = 0;
    if (XQueryTree (display, parent, &root, &parentOfParent, &children, &count) == 0)
        return false;
    if (children != nullptr)
        XFree (children);
    return count > 0;
}

/** Waits up to two seconds for the flag, giving the host's idle call a chance each round. */
template <typename Idle>
bool waitFor (const std::atomic<bool>& flag, Idle&& idle)
{
    for (int i = 0; i < 200 && ! flag; ++i)
    {
        idle();
        std::this_thread::sleep_for (std::chrono::milliseconds (10));
    }
    return flag;
}
} // namespace

TEST (VstEditorHosting, EditorOpensInTheHostWindowWhileAudioRunsElsewhere)
{
    quietline::test::TempHome home;
    // Like real hosts, keep X errors from ending the process (Xlib's default handler exits; a
    // server without a window manager lacks some of the atoms the window properties name).
    XSetErrorHandler ([] (::Display*, XErrorEvent*) { return 0; });
    ::Display* display = XOpenDisplay (nullptr);
    ASSERT_NE (display, nullptr) << "needs an X server";
    const ::Window parent = XCreateSimpleWindow (display, DefaultRootWindow (display), 0, 0, 500, 300, 0, 0, 0);
    XMapWindow (display, parent);
    XFlush (display);

    RecordingHost host;
    host.answer (hostGetVersion, 2400);
    AEffect* effect = createVstEffect (&RecordingHost::callback, &makeTestProcessor, identity);
    ASSERT_NE (effect, nullptr);
    auto& wrapper = *static_cast<VstProcessorWrapper*> (effect->object);
    auto& processor = dynamic_cast<TestGainProcessor&> (wrapper.getProcessor());
    auto dispatch = [&] (int32_t opcode, intptr_t value = 0, void* ptr = nullptr) {
        return effect->dispatcher (effect, opcode, 0, value, ptr, 0.0f);
    };

    dispatch (effOpen);
    effect->dispatcher (effect, effSetSampleRate, 0, 0, nullptr, 96000.0f);
    dispatch (effSetBlockSize, 256);
    dispatch (effMainsChanged, 1);

    std::atomic<bool> stop { false };
    std::thread audio ([&] {
        std::vector<float> x (256, 0.1f), y (256);
        float* in[] = { x.data(), x.data() };
        float* out[] = { y.data(), y.data() };
        while (! stop)
        {
            effect->processReplacing (effect, in, out, 256);
            std::this_thread::sleep_for (std::chrono::milliseconds (1));
        }
    });

    ERect* rect = nullptr;
    ASSERT_EQ (dispatch (effEditGetRect, 0, &rect), 1);
    EXPECT_EQ (rect->right, 406);
    ASSERT_EQ (dispatch (effEditOpen, 0, (void*) (uintptr_t) parent), 1);

    auto* editor = processor.getActiveEditor();
    ASSERT_NE (editor, nullptr);
    EXPECT_TRUE (isChildOf (display, parent));

    // While the editor is open the host's thread is the message thread: a message posted now
    // is delivered by the host's idle calls.
    std::atomic<bool> delivered { false };
    juce::MessageManager::callAsync ([&] { delivered = true; });
    EXPECT_TRUE (waitFor (delivered, [&] { dispatch (effEditIdle); }));
    EXPECT_TRUE (editor->isShowing());

    // An edit on the message thread reaches the host as automation.
    host.clear();
    processor.editFromUi (0, 0.5f);
    EXPECT_EQ (host.withOpcode (hostAutomate).size(), 1u);

    dispatch (effEditClose);
    EXPECT_EQ (processor.getActiveEditor(), nullptr);

    // Closed again, the module's own thread runs the messages without any idle call.
    std::atomic<bool> deliveredAlone { false };
    juce::MessageManager::callAsync ([&] { deliveredAlone = true; });
    EXPECT_TRUE (waitFor (deliveredAlone, [] {}));

    stop = true;
    audio.join();
    EXPECT_GT (processor.blocks.load(), 0);
    EXPECT_EQ (effect->dispatcher (effect, effClose, 0, 0, nullptr, 0.0f), 1);

    XDestroyWindow (display, parent);
    XCloseDisplay (display);
}
} // namespace kelmora::vst::test
