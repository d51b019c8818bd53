// Who touches an X display: only an editor. The product through its VST entry in this process,
// where JUCE's X11 singleton can be seen, and the built module in a host process that only
// processes audio while its X server goes away.
#include "support/Concurrency.h"
#include "support/TempHome.h"
#include "platform/vst/VstInterface.h"

#include <gtest/gtest.h>

// After gtest: Xlib's macros would break its names.
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include <juce_gui_basics/juce_gui_basics.h>

#include <atomic>
#include <csignal>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <utility>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern "C" AEffect* VSTPluginMain (audioMasterCallback host);
extern char** environ;

namespace quietline::test
{
namespace
{
intptr_t host (AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) { return opcode == hostGetVersion ? 2400 : 0; }

void setDisplay (const char* display)
{
    if (display != nullptr)
        ::setenv ("DISPLAY", display, 1);
    else
        ::unsetenv ("DISPLAY");
}

/** A child process started from PATH with each (descriptor, number) pair as that number; killed
    when the object goes unless it was waited for. */
struct Child
{
    Child (std::vector<std::string> args, std::vector<std::pair<int, int>> descriptors)
    {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init (&actions);
        for (auto [from, to] : descriptors)
            posix_spawn_file_actions_adddup2 (&actions, from, to);

        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back (a.data());
        argv.push_back (nullptr);

        if (posix_spawnp (&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            pid = -1;
        posix_spawn_file_actions_destroy (&actions);
    }

    ~Child()
    {
        if (pid > 0)
        {
            ::kill (pid, SIGKILL);
            exitStatus();
        }
    }

    /** Waits for the end; the exit status, or -1 when it did not exit by itself. */
    int exitStatus()
    {
        int status = 0;
        const bool exited = ::waitpid (std::exchange (pid, -1), &status, 0) > 0 && WIFEXITED (status);
        return exited ? WEXITSTATUS (status) : -1;
    }

    pid_t pid = -1;
};

/** Where Xlib first looks for display ":0" (the abstract socket name on Linux), which is where
    JUCE goes when DISPLAY is unset. */
struct DisplayZeroAddress
{
    DisplayZeroAddress()
    {
        static constexpr char name[] = "\0/tmp/.X11-unix/X0";
        address.sun_family = AF_UNIX;
        std::memcpy (address.sun_path, name, sizeof (name) - 1);
        size = (socklen_t) (offsetof (sockaddr_un, sun_path) + sizeof (name) - 1);
    }

    sockaddr_un address {};
    socklen_t size = 0;
};

/** Listens at display ":0" and counts the knocks of this process alone: other programs on the
    machine (tests run beside this one without a display among them) may knock there too. Each
    caller is turned away at once. It listens only where no real server holds that name: a real
    one would answer, and the test's other checks see that. */
struct DisplayZeroListener
{
    DisplayZeroListener()
    {
        const DisplayZeroAddress at;
        fd = ::socket (AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0 || ::bind (fd, (const sockaddr*) &at.address, at.size) != 0 || ::listen (fd, 8) != 0)
        {
            if (fd >= 0)
                ::close (std::exchange (fd, -1));
            return;
        }

        acceptor = std::thread ([this] {
            for (int caller; (caller = ::accept (fd, nullptr, nullptr)) >= 0;)
            {
                ucred peer {};
                socklen_t size = sizeof (peer);
                if (::getsockopt (caller, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.pid == ::getpid())
                    ++knocks;
                ++callers;
                ::close (caller);
            }
        });
    }

    ~DisplayZeroListener()
    {
        if (fd < 0)
            return;
        ::shutdown (fd, SHUT_RDWR);
        acceptor.join();
        ::close (fd);
    }

    int fd = -1;
    std::atomic<int> knocks { 0 };   // from this process
    std::atomic<int> callers { 0 };  // from anyone
    std::thread acceptor;
};

/** Another process knocks at display ":0" once and is gone; true when it got through. */
bool knockFromAnotherProcess()
{
    const pid_t child = ::fork();
    if (child == 0)
    {
        const DisplayZeroAddress at;
        const int fd = ::socket (AF_UNIX, SOCK_STREAM, 0);
        ::_exit (fd >= 0 && ::connect (fd, (const sockaddr*) &at.address, at.size) == 0 ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid (child, &status, 0) == child && WIFEXITED (status) && WEXITSTATUS (status) == 0;
}

/** A display number of its own, far from ":0" (a test elsewhere with no DISPLAY falls back to
    ":0" in JUCE and would die with this server), with no server on it now. */
std::string freeDisplayNumber()
{
    for (int attempt = 0; attempt < 600; ++attempt)
    {
        const auto candidate = std::to_string (300 + (::getpid() + attempt * 37) % 600);
        if (::access (("/tmp/.X" + candidate + "-lock").c_str(), F_OK) != 0)
            return candidate;
    }
    return {};
}

/** Xvfb on the given display number, returned once it takes connections (it writes the number
    to descriptor 3 then); null when it could not start there (a number taken meanwhile). */
std::unique_ptr<Child> startXvfb (const std::string& number)
{
    int pipe[2];
    if (::pipe2 (pipe, O_CLOEXEC) != 0)
        return nullptr;
    auto server = std::make_unique<Child> (std::vector<std::string> { "Xvfb", ":" + number, "-displayfd", "3", "-nolisten", "tcp" },
                                           std::vector<std::pair<int, int>> { { pipe[1], 3 } });
    ::close (pipe[1]);
    std::string written;
    for (char c; ::read (pipe[0], &c, 1) == 1 && c != '\n';)
        written += c;
    ::close (pipe[0]);
    return server->pid > 0 && written == number ? std::move (server) : nullptr;
}
} // namespace

TEST (DisplayConnection, NothingButAnEditorTriesADisplayAndWithoutOneTheEditorFailsCleanly)
{
    TempHome home;
    const DisplayZeroListener displayZero;

    // Another program's knock is not this module's.
    if (displayZero.fd >= 0)
    {
        ASSERT_TRUE (knockFromAnotherProcess());
        ASSERT_TRUE (waitUntil ([&] { return displayZero.callers.load() > 0; }))
            << "watchdog: the other process's knock was never taken";
    }

    // Unset and empty: no attempt at all (JUCE would try ":0"); named but unserved: tried only
    // for the editor, and nothing of the failed attempt is kept.
    for (const char* display : { (const char*) nullptr, "", ":9875" })
    {
        SCOPED_TRACE (display != nullptr ? display : "unset");
        setDisplay (display);
        AEffect* e = VSTPluginMain (&host);
        ASSERT_NE (e, nullptr);
        const auto dispatch = [e] (int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr, float opt = 0.0f) {
            const auto result = e->dispatcher (e, opcode, index, value, ptr, opt);
            // Every call that took the message-thread role has handed it back when it returns.
            EXPECT_FALSE (juce::MessageManager::existsAndIsCurrentThread()) << "after opcode " << opcode;
            return result;
        };
        EXPECT_FALSE (juce::MessageManager::existsAndIsCurrentThread()) << "after the creation that started JUCE";

        dispatch (effOpen);
        dispatch (effSetSampleRate, 0, 0, nullptr, 96000.0f);
        dispatch (effSetBlockSize, 0, 256);
        dispatch (effMainsChanged, 0, 1);
        std::vector<float> left (256, 0.5f), right (256, 0.5f);
        float* io[] = { left.data(), right.data() };
        e->processReplacing (e, io, io, 256);
        void* chunk = nullptr;
        const auto size = dispatch (effGetChunk, 0, 0, &chunk);
        EXPECT_EQ (dispatch (effSetChunk, 0, size, chunk), 1);

        // Whatever the calls above posted has run on the module's message thread.
        std::atomic<bool> delivered { false };
        juce::MessageManager::callAsync ([&delivered] { delivered = true; });
        ASSERT_TRUE (waitUntil ([&] { return delivered.load(); })) << "watchdog: no message arrived";
        EXPECT_EQ (juce::XWindowSystem::getInstanceWithoutCreating(), nullptr);

        ERect* rect = nullptr;
        EXPECT_EQ (std::make_pair (dispatch (effEditGetRect, 0, 0, &rect), dispatch (effEditOpen)), std::make_pair (intptr_t (0), intptr_t (0)));
        dispatch (effEditIdle);
        EXPECT_EQ (juce::XWindowSystem::getInstanceWithoutCreating(), nullptr);
        EXPECT_EQ (displayZero.knocks.load(), 0) << "display \":0\" was tried";
        EXPECT_EQ (e->dispatcher (e, effClose, 0, 0, nullptr, 0.0f), 1);
    }
}

TEST (DisplayConnection, AnEditorAskedForBeforeItsXServerStartsOpensOnceTheServerIsUp)
{
    TempHome home;
    const Watchdog watchdog ("the X server or the editor is stuck");
    const auto number = freeDisplayNumber();
    ASSERT_FALSE (number.empty());
    setDisplay ((":" + number).c_str());

    // A second instance keeps JUCE, and so its X11 state, alive throughout.
    AEffect* keeper = VSTPluginMain (&host);
    AEffect* e = VSTPluginMain (&host);
    ASSERT_TRUE (keeper != nullptr && e != nullptr);
    ERect* rect = nullptr;
    EXPECT_EQ (e->dispatcher (e, effEditGetRect, 0, 0, &rect, 0.0f), 0) << "no server yet";

    auto server = startXvfb (number);
    ASSERT_NE (server, nullptr);
    EXPECT_EQ (e->dispatcher (e, effEditGetRect, 0, 0, &rect, 0.0f), 1) << "the server is up now";
    ASSERT_NE (rect, nullptr);
    EXPECT_EQ (std::make_pair (rect->right - rect->left, rect->bottom - rect->top), std::make_pair (406, 242));
    for (AEffect* each : { e, keeper })
        each->dispatcher (each, effClose, 0, 0, nullptr, 0.0f);
}

TEST (DisplayConnection, AHostThatOnlyProcessesAudioOutlivesItsXServer)
{
    TempHome home;
    const Watchdog watchdog ("the X server or the host process is stuck");
    ::signal (SIGPIPE, SIG_IGN);

    std::string display;
    std::unique_ptr<Child> server;
    for (int attempt = 0; attempt < 50 && server == nullptr; ++attempt)
        if (const auto number = freeDisplayNumber(); ! number.empty())
            if ((server = startXvfb (number)) != nullptr)
                display = ":" + number;
    ASSERT_NE (server, nullptr) << "Xvfb gave no display";
    setDisplay (display.c_str());

    int toHost[2], fromHost[2];
    ASSERT_TRUE (::pipe2 (toHost, O_CLOEXEC) == 0 && ::pipe2 (fromHost, O_CLOEXEC) == 0);

    Child audioHost ({ QUIETLINE_AUDIO_ONLY_HOST, QUIETLINE_MODULE_PATH }, { { toHost[0], 0 }, { fromHost[1], 1 } });
    ASSERT_GT (audioHost.pid, 0);
    ::close (toHost[0]);
    ::close (fromHost[1]);
    char ready = 0;
    ASSERT_EQ (::read (fromHost[0], &ready, 1), 1);

    ::kill (server->pid, SIGTERM);
    EXPECT_EQ (server->exitStatus(), 0) << "the server is gone";
    EXPECT_EQ (::write (toHost[1], "g", 1), 1);
    EXPECT_EQ (audioHost.exitStatus(), 0) << "processed, saved and restored, and an editor failed cleanly";
    for (int fd : { toHost[1], fromHost[0] })
        ::close (fd);
}
} // namespace quietline::test
