// An editor's window events are dispatched by the next idle call of any open editor, whoever
// read them off the X connection. Here the module's own loop thread reads them first, as its
// pointer queries do between two idle calls of a host that idles at 10 Hz: the socket is then
// quiet, and only Xlib's queue holds them. The product runs through its VST entry in this
// process, where that thread and JUCE's display can be reached.
#include "formats/module/EditorInput.h"
#include "platform/vst/VstInterface.h"
#include "support/Concurrency.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

// After gtest: Xlib's macros would break its names.
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include <juce_gui_basics/juce_gui_basics.h>

#include <atomic>
#include <functional>

extern "C" AEffect* VSTPluginMain (audioMasterCallback host);

namespace quietline::test
{
namespace
{
using kelmora::tools::HostWindow;

intptr_t host (AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) { return opcode == hostGetVersion ? 2400 : 0; }

constexpr int bypassIndex = 3;
constexpr unsigned long magenta = 0xff00ff;

/** The product's editor open in a host window of its own. */
struct OpenEditor
{
    OpenEditor()
    {
        ERect* rect = nullptr;
        opened = effect != nullptr && window.display != nullptr && dispatch (effEditGetRect, 0, &rect) == 1
                 && dispatch (effEditOpen, 0, (void*) (uintptr_t) window.window) == 1;
    }

    ~OpenEditor()
    {
        if (effect != nullptr)
            dispatch (effClose);
    }

    intptr_t dispatch (int32_t opcode, intptr_t value = 0, void* ptr = nullptr)
    {
        return effect->dispatcher (effect, opcode, 0, value, ptr, 0.0f);
    }

    void idle() { dispatch (effEditIdle); }

    unsigned long pixel (int x, int y) const
    {
        XImage* image = XGetImage (window.display, window.window, x, y, 1, 1, AllPlanes, ZPixmap);
        const unsigned long value = image != nullptr ? XGetPixel (image, 0, 0) & 0xffffff : 0;
        if (image != nullptr)
            XDestroyImage (image);
        return value;
    }

    bool shows (unsigned long colour, int width, int height) const
    {
        for (int y = 5; y < height; y += 20)
            for (int x = 5; x < width; x += 20)
                if (pixel (x, y) == colour)
                    return true;
        return false;
    }

    HostWindow window;
    AEffect* effect = VSTPluginMain (&host);
    bool opened = false;
};

/** Waits until the server has everything `sender` sent, then has the module's loop thread read
    all the server has for the module into Xlib's queue. */
void readDisplayOnTheLoopThread (const HostWindow& sender)
{
    XSync (sender.display, False);
    std::atomic<bool> done { false };
    juce::MessageManager::callAsync ([&done] {
        XSync (juce::XWindowSystem::getInstance()->getDisplay(), False);
        done = true;
    });
    ASSERT_TRUE (waitUntil ([&] { return done.load(); })) << "watchdog: the loop thread never ran";
}

/** A window of one colour over the top-left of the editor, mapped and taken away again. */
void coverAndUncover (const HostWindow& host, int width, int height)
{
    const auto cover = XCreateSimpleWindow (host.display, DefaultRootWindow (host.display), 0, 0, (unsigned) width,
                                            (unsigned) height, 0, 0, magenta);
    XMapRaised (host.display, cover);
    XSync (host.display, False);
    XDestroyWindow (host.display, cover);
}
} // namespace

TEST (WindowEvents, WhatTheLoopThreadReadIsDispatchedByTheNextIdleCall)
{
    TempHome home;
    const Watchdog watchdog ("an editor event was never dispatched");
    // Keeps JUCE, and so its display, up from one case to the next.
    AEffect* keeper = VSTPluginMain (&host);
    ASSERT_NE (keeper, nullptr);

    struct Case
    {
        const char* what;
        std::function<void (OpenEditor&)> act;    // done with the test's own X connection
        std::function<bool (OpenEditor&)> done;   // true once the editor has handled it
        bool doneAtOnce;                          // done when the idle call returns, or later by the loop thread
    };
    const auto bypassed = [] (OpenEditor& e) { return e.effect->getParameter (e.effect, bypassIndex) > 0.5f; };
    const Case cases[] = {
        { "a click on the bypass button",
          [] (OpenEditor& e) { kelmora::tools::test::clickInEditor (e.window, 368, 210); }, bypassed, true },
        // The repaint itself is the loop thread's work after the idle call has handled the exposure.
        { "a covered area",
          [] (OpenEditor& e) { coverAndUncover (e.window, 300, 200); },
          [] (OpenEditor& e) { return ! e.shows (magenta, 300, 200); }, false },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        OpenEditor editor;
        ASSERT_TRUE (editor.opened) << "needs an X server";
        ASSERT_FALSE (bypassed (editor));

        // The editor has drawn once (over the host window's black) before anything happens to it.
        ASSERT_TRUE (waitUntil ([&] { return editor.pixel (200, 100) != 0; }, [&] { editor.idle(); }))
            << "watchdog: the editor never drew";

        c.act (editor);
        readDisplayOnTheLoopThread (editor.window);

        // One idle call, as a host that idles at 10 Hz makes before the next read.
        editor.idle();
        if (c.doneAtOnce)
            EXPECT_TRUE (c.done (editor));
        else
            EXPECT_TRUE (waitUntil ([&] { return c.done (editor); })) << "watchdog: never handled";
    }
    keeper->dispatcher (keeper, effClose, 0, 0, nullptr, 0.0f);
}
} // namespace quietline::test
