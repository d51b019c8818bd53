// Real input, sent through XTest from a connection of the test's own, reaches the built module's
// editor when the host idles it at its own pace, with the editor's tooltip window alive. What a
// host that idles at 10 Hz sees between two idle calls is reproduced without time: once the
// server has taken the input, the test waits until nothing is left unread on the module's X
// socket, as the module's loop thread reads it with its pointer queries; only then does it make
// one idle call. Needs an X server with XTest; the pointer is the server's, so the cases run alone.
#include "formats/module/BuiltModule.h"
#include "formats/module/EditorInput.h"
#include "support/Concurrency.h"
#include "support/TempHome.h"
#include "tools/aaxhost/HostWindow.h"
#include "tools/vsthost/EditorWindow.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/extensions/Xfixes.h>
#include <X11/extensions/record.h>
#include <X11/extensions/shmproto.h>
#include <X11/keysym.h>
#include <sys/ioctl.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace kelmora::tools::test
{
namespace
{
using quietline::test::waitUntil;

constexpr int bypassIndex = 3;
constexpr int editorWidth = 406, editorHeight = 242;

/** The sockets open in this process: descriptor and the socket's inode. */
std::map<int, std::string> openSockets()
{
    std::map<int, std::string> sockets;
    for (const auto& entry : std::filesystem::directory_iterator ("/proc/self/fd"))
    {
        std::error_code error;
        const auto target = std::filesystem::read_symlink (entry.path(), error).string();
        if (! error && target.rfind ("socket:", 0) == 0)
            sockets[std::stoi (entry.path().filename().string())] = target;
    }
    return sockets;
}

/** The height of the topmost pop-up window (one the window manager would not frame, as
    JUCE's menus are) on the screen; 0 when none is shown. */
int popupHeight (Display* display)
{
    ::Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    XQueryTree (display, DefaultRootWindow (display), &root, &parent, &children, &count);
    int height = 0;
    for (unsigned i = 0; i < count; ++i)
    {
        XWindowAttributes a {};
        if (XGetWindowAttributes (display, children[i], &a) && a.map_state == IsViewable && a.override_redirect)
            height = a.height;
    }
    if (children != nullptr)
        XFree (children);
    return height;
}

/** The windows that any client has put an image into since this was made, as the server saw the
    requests (through the RECORD extension): a paint that reached the server, also into a window
    that is not viewable and so shows nothing of it. */
class ImagesPut
{
public:
    ImagesPut() : control (XOpenDisplay (nullptr)), data (XOpenDisplay (nullptr))
    {
        int shm = 0, event = 0, error = 0;
        if (control == nullptr || data == nullptr || ! XQueryExtension (control, "MIT-SHM", &shm, &event, &error))
            return;
        XRecordRange* ranges[] = { XRecordAllocRange(), XRecordAllocRange() };
        ranges[0]->core_requests.first = ranges[0]->core_requests.last = X_PutImage;
        ranges[1]->ext_requests.ext_major.first = ranges[1]->ext_requests.ext_major.last = (unsigned char) shm;
        ranges[1]->ext_requests.ext_minor.first = ranges[1]->ext_requests.ext_minor.last = X_ShmPutImage;
        XRecordClientSpec clients = XRecordAllClients;
        context = XRecordCreateContext (control, 0, &clients, 1, ranges, 2);
        for (auto* range : ranges)
            XFree (range);
        XSync (control, False);
        recording = context != 0 && XRecordEnableContextAsync (data, context, &ImagesPut::intercepted, (XPointer) this);
    }

    ~ImagesPut()
    {
        if (context != 0)
        {
            XRecordDisableContext (control, context);
            XRecordFreeContext (control, context);
            XSync (control, False);
        }
        for (auto* d : { data, control })
            if (d != nullptr)
                XCloseDisplay (d);
    }

    bool into (unsigned long window)
    {
        XRecordProcessReplies (data);
        return windows.count (window) > 0;
    }

    bool recording = false;

private:
    static void intercepted (XPointer self, XRecordInterceptData* d)
    {
        // Both requests name their drawable in the second word.
        if (d->category == XRecordFromClient && d->data_len >= 2)
        {
            CARD32 drawable = 0;
            std::memcpy (&drawable, d->data + 4, sizeof (drawable));
            reinterpret_cast<ImagesPut*> (self)->windows.insert (drawable);
        }
        XRecordFreeData (d);
    }

    Display* control;
    Display* data;
    XRecordContext context = 0;
    std::set<unsigned long> windows;
};

class PointerInput : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE (input.display, nullptr) << "needs an X server with the XTest extension";
        ASSERT_NE (host.display, nullptr);
        ASSERT_NE (effect, nullptr);
    }

    /** Asks for the editor and opens it in the host window. The module connects to the display
        when the editor is first asked for: its connection is the one socket that appears then. */
    void openEditor (unsigned long window = 0)
    {
        const auto before = openSockets();
        ERect* rect = nullptr;
        ASSERT_EQ (effect->dispatch (effEditGetRect, 0, 0, &rect), 1);
        std::string opened;
        for (const auto& [fd, socket] : openSockets())
            if (before.count (fd) == 0 || before.at (fd) != socket)
            {
                opened += " " + std::to_string (fd);
                moduleDisplay = fd;
            }
        ASSERT_EQ (opened, " " + std::to_string (moduleDisplay)) << "not one new socket";
        ASSERT_EQ (effect->dispatch (effEditOpen, 0, 0, (void*) (uintptr_t) (window != 0 ? window : host.window)), 1);
    }

    /** The next idle call (of this instance's editor, or of `idled`) of a host that idles at 10 Hz: by then the module's loop thread has
        read whatever the server sent it for the test's requests so far into Xlib's queue, and
        the socket is quiet. Nothing else reads it meanwhile, so the wait ends only if that
        thread polls the display (the tooltip window's pointer queries). False when it never
        did (the watchdog ran out). */
    bool idleAtHostPace (HostedEffect* idled = nullptr)
    {
        input.flush();
        XSync (host.display, False);
        const bool read = waitUntil ([this] {
            int unread = 0;
            return ::ioctl (moduleDisplay, FIONREAD, &unread) == 0 && unread == 0;
        });
        (idled != nullptr ? *idled : *effect).dispatch (effEditIdle);
        return read;
    }

    bool bypassed() { return effect->getParameter (bypassIndex) > 0.5f; }

    /** What a press on the pad and a drag to the right left, as the editor saw them at the
        host's pace. */
    struct PadDrag
    {
        size_t heardBefore = 0;   // the host's requests before the press
        bool bypassBefore = false;
        float dragged = 0.0f;     // the frequency the drag reached
    };
    void pressAndDragOnPad (PadDrag& drag)
    {
        input.moveTo (150, 110);
        ASSERT_TRUE (idleAtHostPace());
        drag = { effect->requests().size(), bypassed(), 0.0f };
        input.press();
        input.moveTo (190, 110);
        ASSERT_TRUE (idleAtHostPace());
        drag.dragged = effect->getParameter (0);
    }

    /** Where the server has the pointer, on the root window. */
    std::pair<int, int> pointer() const
    {
        ::Window root = 0, child = 0;
        int x = 0, y = 0, wx = 0, wy = 0;
        unsigned state = 0;
        XQueryPointer (input.display, DefaultRootWindow (input.display), &root, &child, &x, &y, &wx, &wy, &state);
        return { x, y };
    }

    /** Whether the cursor the server shows now has a pixel that can be seen. */
    bool cursorShows() const
    {
        auto* image = XFixesGetCursorImage (input.display);
        if (image == nullptr)
            return false;
        bool seen = false;
        for (int i = 0; i < image->width * image->height; ++i)
            seen = seen || (image->pixels[i] & 0xff000000) != 0;
        XFree (image);
        return seen;
    }

    /** The gestures on one parameter the host has heard since its request number `from`. */
    std::string gesturesHeard (int index, size_t from) const
    {
        std::string heard;
        const auto log = effect->requests();
        for (size_t i = from; i < log.size(); ++i)
            if ((log[i].opcode == hostBeginEdit || log[i].opcode == hostEndEdit) && log[i].index == index)
                heard += log[i].opcode == hostBeginEdit ? "begin " : "end ";
        return heard;
    }

    quietline::test::TempHome home;
    const quietline::test::Watchdog watchdog { "an input or a repaint never reached the editor", quietline::test::deadlockLimit };
    // The test's own connections before the module's.
    UserInput input;
    HostWindow host;
    std::unique_ptr<VstPluginModule> module = loadModule();
    std::unique_ptr<HostedEffect> effect = module != nullptr ? makeInstance (*module, 96000.0) : nullptr;
    int moduleDisplay = -1;
};
} // namespace

TEST_F (PointerInput, EveryClickOnBypassReachesTheProcessor)
{
    openEditor();
    // Parked on the button (x 341 to 395, y 190 to 230 of the editor).
    input.moveTo (368, 210);
    ASSERT_TRUE (idleAtHostPace()) << "watchdog: the module's loop thread never read its display";

    int reached = 0;
    for (int click = 0; click < 8; ++click)
    {
        const bool before = bypassed();
        input.click();
        ASSERT_TRUE (idleAtHostPace()) << "watchdog: click " << click;
        reached += bypassed() != before ? 1 : 0;
    }
    EXPECT_EQ (reached, 8);
}

// The host closes the editor while the button is held on the pad (x 16 to 382, y 38 to 180 of
// the editor), in a drag across that moves the frequency alone, and the button is released
// outside: each gesture the drag began (frequency and slope) ends after its begin, as the host
// hears them; in the editor opened next a move across the pad drags nothing, and the first
// click does its work. On undo (x 3 to 27, y 3 to 25) it brings back the values from before the
// drag; on bypass it toggles it.
TEST_F (PointerInput, AnEditorClosedInAPadDragEndsItAndTheNextEditorTakesTheFirstClick)
{
    struct Row { const char* what; int x, y; bool undoes; };
    const Row rows[] = { { "undo", 15, 14, true }, { "bypass", 368, 210, false } };

    openEditor();
    for (const auto& row : rows)
    {
        SCOPED_TRACE (row.what);
        input.moveTo (150, 110);
        ASSERT_TRUE (idleAtHostPace());
        const float frequencyBefore = effect->getParameter (0), slopeBefore = effect->getParameter (1);
        const bool bypassBefore = bypassed();
        const size_t heardBefore = effect->requests().size();
        input.press();
        for (const int x : { 170, 190 })
        {
            input.moveTo (x, 110);
            ASSERT_TRUE (idleAtHostPace());
        }
        ASSERT_GT (effect->getParameter (0), frequencyBefore) << "the drag never reached the pad";
        effect->dispatch (effEditClose);

        EXPECT_EQ (gesturesHeard (0, heardBefore), "begin end ");
        EXPECT_EQ (gesturesHeard (1, heardBefore), "begin end ");

        // Released away from every window of the module, then the editor opens again.
        input.moveTo (900, 700);
        input.release();
        input.flush();
        ERect* rect = nullptr;
        ASSERT_EQ (effect->dispatch (effEditGetRect, 0, 0, &rect), 1);
        ASSERT_EQ (effect->dispatch (effEditOpen, 0, 0, (void*) (uintptr_t) host.window), 1);
        const float frequencyAfter = effect->getParameter (0);
        for (const int x : { 150, 190 })
        {
            input.moveTo (x, 110);
            ASSERT_TRUE (idleAtHostPace());
        }
        EXPECT_EQ (effect->getParameter (0), frequencyAfter) << "the pointer moved across the pad with no button held";
        input.moveTo (row.x, row.y);
        ASSERT_TRUE (idleAtHostPace());
        input.click();
        ASSERT_TRUE (idleAtHostPace());

        if (row.undoes)
        {
            EXPECT_EQ (effect->getParameter (0), frequencyBefore) << "one undo brings the frequency back";
            EXPECT_EQ (effect->getParameter (1), slopeBefore);
        }
        else
        {
            EXPECT_NE (bypassed(), bypassBefore) << "the first click on bypass toggles it";
        }
    }
}

// The host hides its window while the button is held on the pad, and the button goes up
// outside: the drag ends, both gestures with it, whether the host idles the hidden editor or
// only the one shown again. In the window shown again a move across the pad drags nothing, and
// the first click on bypass toggles it.
TEST_F (PointerInput, AnEditorHiddenInAPadDragEndsItAndTheFirstClickAfterIsAClick)
{
    openEditor();
    for (const bool idledWhileHidden : { true, false })
    {
        SCOPED_TRACE (idledWhileHidden ? "idled while hidden" : "idled once shown again");
        PadDrag drag;
        ASSERT_NO_FATAL_FAILURE (pressAndDragOnPad (drag));
        const auto [heardBefore, bypassBefore, dragged] = drag;

        // Hidden before the pointer leaves: the release reaches none of the module's windows.
        XUnmapWindow (host.display, host.window);
        XSync (host.display, False);
        input.moveTo (900, 700);
        input.release();
        if (idledWhileHidden)
        {
            ASSERT_TRUE (idleAtHostPace());
            EXPECT_EQ (gesturesHeard (0, heardBefore), "begin end ") << "the drag ended while hidden";
        }
        XMapWindow (host.display, host.window);
        XSync (host.display, False);

        // Back at the press point: a drag that went on would move the frequency back.
        input.moveTo (150, 110);
        ASSERT_TRUE (idleAtHostPace());
        EXPECT_EQ (effect->getParameter (0), dragged) << "the pointer moved across the pad with no button held";
        EXPECT_EQ (gesturesHeard (0, heardBefore), "begin end ");
        EXPECT_EQ (gesturesHeard (1, heardBefore), "begin end ");

        input.moveTo (368, 210);
        ASSERT_TRUE (idleAtHostPace());
        input.click();
        ASSERT_TRUE (idleAtHostPace());
        EXPECT_NE (bypassed(), bypassBefore) << "the first click on bypass toggles it";
    }
}

// The host hides its window while the button is held on the pad and shows it again, idling it
// only once shown. Released while hidden, wherever the pointer is when the window comes back, the
// drag has ended by the first idle after the show, both gestures with it; the pointer's return
// drags nothing and the first click on bypass toggles it. Held through the show, the drag goes on
// and ends at its release.
TEST_F (PointerInput, AnEditorShownAgainEndsAtItsFirstIdleADragReleasedWhileHidden)
{
    struct Row { const char* what; int x, y; bool releasedWhileHidden; };
    const Row rows[] = { { "released away", 900, 700, true },
                         { "released where the pad was", 150, 110, true },
                         { "held through the show", 170, 110, false } };

    openEditor();
    for (const auto& row : rows)
    {
        SCOPED_TRACE (row.what);
        PadDrag drag;
        ASSERT_NO_FATAL_FAILURE (pressAndDragOnPad (drag));
        const auto [heardBefore, bypassBefore, dragged] = drag;

        XUnmapWindow (host.display, host.window);
        XSync (host.display, False);
        input.moveTo (row.x, row.y);
        if (row.releasedWhileHidden)
            input.release();
        input.flush();
        XMapWindow (host.display, host.window);
        XSync (host.display, False);
        ASSERT_TRUE (idleAtHostPace());

        if (! row.releasedWhileHidden)
        {
            EXPECT_EQ (gesturesHeard (0, heardBefore), "begin ") << "a drag still held goes on";
            input.moveTo (210, 110);
            ASSERT_TRUE (idleAtHostPace());
            EXPECT_GT (effect->getParameter (0), dragged) << "the drag went on";
            input.release();
            ASSERT_TRUE (idleAtHostPace());
            EXPECT_EQ (gesturesHeard (0, heardBefore), "begin end ");
            continue;
        }

        EXPECT_EQ (gesturesHeard (0, heardBefore), "begin end ") << "the drag ended at the first idle";
        EXPECT_EQ (gesturesHeard (1, heardBefore), "begin end ");
        for (const int x : { 150, 210 })
        {
            input.moveTo (x, 110);
            ASSERT_TRUE (idleAtHostPace());
        }
        EXPECT_EQ (effect->getParameter (0), dragged) << "the pointer moved across the pad with no button held";

        input.moveTo (368, 210);
        ASSERT_TRUE (idleAtHostPace());
        input.click();
        ASSERT_TRUE (idleAtHostPace());
        EXPECT_NE (bypassed(), bypassBefore) << "the first click on bypass toggles it";
        EXPECT_EQ (gesturesHeard (0, heardBefore), "begin end ");
    }
}

// A drag on a value box in velocity mode (the default) hides the pointer. The host hides the
// window under the drag and the button goes up elsewhere: the drag ends, and the pointer stays
// where it was released, whether the host idles the hidden editor or only the one shown again;
// over the box once more, the pointer shows.
TEST_F (PointerInput, AVelocityDragCutByAHiddenEditorLeavesThePointerWhereItWasReleased)
{
    openEditor();
    for (const bool idledWhileHidden : { true, false })
    {
        SCOPED_TRACE (idledWhileHidden ? "idled while hidden" : "idled once shown again");
        // The frequency box: x 125 to 187, y 207 to 231 of the editor.
        input.moveTo (156, 219);
        ASSERT_TRUE (idleAtHostPace());
        const size_t heardBefore = effect->requests().size();
        const float before = effect->getParameter (0);
        input.press();
        for (const int y : { 200, 180 })
        {
            input.moveTo (156, y);
            ASSERT_TRUE (idleAtHostPace());
        }
        ASSERT_NE (effect->getParameter (0), before) << "the drag never reached the box";

        XUnmapWindow (host.display, host.window);
        XSync (host.display, False);
        input.moveTo (900, 700);
        input.release();
        if (idledWhileHidden)
        {
            ASSERT_TRUE (idleAtHostPace());
        }
        XMapWindow (host.display, host.window);
        XSync (host.display, False);
        ASSERT_TRUE (idleAtHostPace());

        EXPECT_EQ (gesturesHeard (0, heardBefore), "begin end ");
        EXPECT_EQ (pointer(), std::make_pair (900, 700)) << "the pointer moved at the end of the drag";

        input.moveTo (156, 219);
        ASSERT_TRUE (idleAtHostPace());
        EXPECT_TRUE (cursorShows()) << "the pointer stayed hidden over the box";
    }
}

// The host destroys its window while the button is held on the pad and goes on idling before it
// closes the editor, the button going up before the next idle call or after some. The press ends
// at the next idle call, both gestures once, and nothing the module asks of the server fails:
// its connection is synchronous, so an error comes back within the call that caused it. JUCE's
// paint of what the gesture's end changed (the undo button) is left aside: it knows nothing of
// the window's end.
TEST_F (PointerInput, AHostWindowDestroyedUnderAPressEndsItWithNoXError)
{
    static std::atomic<int> errors { 0 };
    static int shm = -1;
    int event = 0, error = 0;
    ASSERT_TRUE (XQueryExtension (host.display, "MIT-SHM", &shm, &event, &error)) << "needs MIT-SHM";
    const XErrorHandler counting = [] (::Display*, XErrorEvent* e) {
        const bool paint = e->request_code == X_PutImage || (e->request_code == shm && e->minor_code == X_ShmPutImage);
        errors += paint ? 0 : 1;
        return 0;
    };

    for (const bool releasedFirst : { true, false })
    {
        SCOPED_TRACE (releasedFirst ? "released before the next idle" : "released after it");
        const ::Window frame = XCreateSimpleWindow (host.display, host.window, 0, 0, 500, 300, 0, 0, 0);
        XMapWindow (host.display, frame);
        XSync (host.display, False);
        if (moduleDisplay < 0)
        {
            _Xdebug = 1;
            openEditor (frame);
            _Xdebug = 0;
        }
        else
        {
            ERect* rect = nullptr;
            ASSERT_EQ (effect->dispatch (effEditGetRect, 0, 0, &rect), 1);
            ASSERT_EQ (effect->dispatch (effEditOpen, 0, 0, (void*) (uintptr_t) frame), 1);
        }
        input.moveTo (150, 110);
        ASSERT_TRUE (idleAtHostPace());
        const size_t heardBefore = effect->requests().size();
        input.press();
        ASSERT_TRUE (idleAtHostPace());
        ASSERT_EQ (gesturesHeard (0, heardBefore), "begin ") << "the press never reached the pad";

        // JUCE installs its handler when the module connects: this one goes over it.
        const XErrorHandler previous = XSetErrorHandler (counting);
        errors = 0;
        XDestroyWindow (host.display, frame);
        XSync (host.display, False);
        input.moveTo (900, 700);
        if (releasedFirst)
            input.release();
        ASSERT_TRUE (idleAtHostPace());
        EXPECT_EQ (gesturesHeard (0, heardBefore), "begin end ");
        EXPECT_EQ (gesturesHeard (1, heardBefore), "begin end ");
        if (! releasedFirst)
            input.release();
        for (int idle = 0; idle < 2; ++idle)
            ASSERT_TRUE (idleAtHostPace());
        EXPECT_EQ (gesturesHeard (0, heardBefore), "begin end ");
        EXPECT_EQ (gesturesHeard (1, heardBefore), "begin end ");
        EXPECT_EQ (errors.load(), 0) << "X errors while the host idled";
        EXPECT_EQ (XSetErrorHandler (previous), counting) << "another error handler took over";

        effect->dispatch (effEditClose);
        EXPECT_EQ (gesturesHeard (0, heardBefore), "begin end ");
    }
}

// Another editor closing leaves a drag in this one as it is: the drag goes on and ends at the
// release, with its gestures and the host's idle calls on this editor's instance alone.
TEST_F (PointerInput, ADragGoesOnWhileTheHostClosesAnotherEditor)
{
    HostWindow otherHost;
    ASSERT_NE (otherHost.display, nullptr);
    XMoveWindow (otherHost.display, otherHost.window, 600, 0);
    XSync (otherHost.display, False);
    const auto dragged = makeInstance (*module, 96000.0);
    ASSERT_NE (dragged, nullptr);
    openEditor();
    ERect* rect = nullptr;
    ASSERT_EQ (dragged->dispatch (effEditGetRect, 0, 0, &rect), 1);
    ASSERT_EQ (dragged->dispatch (effEditOpen, 0, 0, (void*) (uintptr_t) otherHost.window), 1);

    input.moveTo (750, 110);
    ASSERT_TRUE (idleAtHostPace (dragged.get()));
    input.press();
    input.moveTo (770, 110);
    ASSERT_TRUE (idleAtHostPace (dragged.get()));
    const float frequencyThen = dragged->getParameter (0);
    effect->dispatch (effEditClose);
    input.moveTo (790, 110);
    ASSERT_TRUE (idleAtHostPace (dragged.get()));
    EXPECT_GT (dragged->getParameter (0), frequencyThen) << "the drag went on";
    input.release();
    ASSERT_TRUE (idleAtHostPace (dragged.get()));

    int begun = 0, ended = 0;
    for (const auto& r : dragged->requests())
    {
        begun += r.opcode == hostBeginEdit ? 1 : 0;
        ended += r.opcode == hostEndEdit ? 1 : 0;
    }
    EXPECT_EQ (begun, 2);
    EXPECT_EQ (ended, 2);
}

TEST_F (PointerInput, APresetNameTypedKeyByKeyArrivesWhole)
{
    const std::string name = "Quiet Room 7";
    openEditor();

    // A right click on the preset box (x 66 to 202, y 3 to 25) opens its menu. The editor adds
    // the user-preset items at its first refresh (its own 50 ms timer): a menu of one item, or
    // none seen yet, is closed and asked for again. With no preset modified, the first item
    // that can be chosen is "Save As New Global User-Preset...".
    input.moveTo (130, 14);
    const auto menuListsUserPresets = [&] {
        input.click (3);
        if (idleAtHostPace() && popupHeight (host.display) > 100)
            return true;
        input.key (XK_Escape);
        idleAtHostPace();
        return false;
    };
    ASSERT_TRUE (waitUntil (menuListsUserPresets, [] {})) << "watchdog: the menu never listed the user-preset items";
    for (const auto key : { XK_Down, XK_Return })
    {
        input.key (key);
        ASSERT_TRUE (idleAtHostPace());
    }

    // One click on the dialog's name field (x 173 to 353, y 83 to 103) gives it the keys, though
    // the preset box had the keyboard focus when the menu took the display's focus.
    input.moveTo (263, 93);
    input.click();
    ASSERT_TRUE (idleAtHostPace());
    for (const char c : name)
    {
        input.key ((unsigned char) c);
        ASSERT_TRUE (idleAtHostPace()) << "watchdog: at " << c;
    }
    input.key (XK_Return);
    ASSERT_TRUE (idleAtHostPace());

    std::vector<std::string> names;
    for (int32_t i = 0; i < effect->numPrograms(); ++i)
        names.push_back (effect->programNameIndexed (i));
    EXPECT_THAT (names, ::testing::Contains (name));
}

TEST_F (PointerInput, TheFirstFrameIsDrawnWithoutPointerMotion)
{
    // The host window is mapped only after the editor has opened in it and painted there,
    // unseen, so that only the exposure the mapping brings can show it; the pointer is away.
    XUnmapWindow (host.display, host.window);
    XSetWindowBackground (host.display, host.window, 0xff00ff);
    input.moveTo (900, 700);
    input.flush();
    XSync (host.display, False);
    {
        ImagesPut imagesPut;
        ASSERT_TRUE (imagesPut.recording) << "needs the RECORD and MIT-SHM extensions";
        openEditor();
        ASSERT_TRUE (idleAtHostPace());
        const auto editor = editorWindowIn (host);
        ASSERT_TRUE (waitUntil ([&] { return imagesPut.into (editor); })) << "watchdog: the editor never painted";
    }
    XMapWindow (host.display, host.window);
    ASSERT_TRUE (idleAtHostPace());

    // The repaint is the loop thread's work once the idle call has handled the exposure.
    EXPECT_TRUE (waitUntil ([&] { return showsTheEditor (captureWindow (host.display, host.window, editorWidth, editorHeight), editorWidth); }))
        << "watchdog: the editor never drew";
}
} // namespace kelmora::tools::test
