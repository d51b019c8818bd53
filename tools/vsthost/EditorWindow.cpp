#include "tools/vsthost/EditorWindow.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xcomposite.h>
#include <png.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

namespace kelmora::tools
{
namespace
{
::Display* asDisplay (void* d) { return static_cast<::Display*> (d); }

int ignoreXErrors (::Display*, XErrorEvent*) { return 0; }
} // namespace

std::unique_ptr<EditorWindow> EditorWindow::open (HostedEffect& effect, std::string& error)
{
    if ((effect.record().flags & effFlagsHasEditor) == 0)
    {
        error = "the plug-in has no editor";
        return nullptr;
    }

    ERect* rect = nullptr;
    if (effect.dispatch (effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr)
    {
        error = "the plug-in gives no editor size";
        return nullptr;
    }
    const int w = rect->right - rect->left, h = rect->bottom - rect->top;
    if (w <= 0 || h <= 0)
    {
        error = "the plug-in gives an empty editor size";
        return nullptr;
    }

    XSetErrorHandler (ignoreXErrors);
    ::Display* display = XOpenDisplay (nullptr);
    if (display == nullptr)
    {
        error = "no X server (set DISPLAY, or run under xvfb-run)";
        return nullptr;
    }

    const ::Window window = XCreateSimpleWindow (display, DefaultRootWindow (display), 0, 0, (unsigned) w, (unsigned) h,
                                                 0, 0, BlackPixel (display, DefaultScreen (display)));
    XStoreName (display, window, effect.effectName().c_str());
    // Kept off screen as well, so a capture shows the editor even where other windows cover it.
    int event = 0, errorBase = 0;
    if (XCompositeQueryExtension (display, &event, &errorBase))
        XCompositeRedirectWindow (display, window, CompositeRedirectAutomatic);
    XMapWindow (display, window);
    XSync (display, False);

    std::unique_ptr<EditorWindow> result (new EditorWindow (effect, display, window, w, h));
    if (effect.dispatch (effEditOpen, 0, 0, reinterpret_cast<void*> (window)) == 0)
    {
        error = "the plug-in refused to open its editor";
        return nullptr;
    }
    return result;
}

EditorWindow::EditorWindow (HostedEffect& e, void* d, unsigned long win, int width, int height)
    : effect (e), display (d), window (win), w (width), h (height)
{
}

EditorWindow::~EditorWindow()
{
    effect.dispatch (effEditClose);
    XDestroyWindow (asDisplay (display), window);
    XCloseDisplay (asDisplay (display));
}

void EditorWindow::idle()
{
    effect.dispatch (effEditIdle);
    XSync (asDisplay (display), False);
}

std::vector<uint32_t> captureWindow (void* display, unsigned long window, int w, int h)
{
    std::vector<uint32_t> pixels ((size_t) (w * h), 0);
    XSync (asDisplay (display), False);
    XImage* image = XGetImage (asDisplay (display), window, 0, 0, (unsigned) w, (unsigned) h, AllPlanes, ZPixmap);
    if (image == nullptr)
        return pixels;

    // Masks rather than a fixed layout: the server's visual decides where each channel sits.
    const auto channel = [] (unsigned long pixel, unsigned long mask) -> uint32_t {
        if (mask == 0)
            return 0;
        int shift = 0;
        for (; ((mask >> shift) & 1) == 0; ++shift) {}
        const unsigned long max = mask >> shift;
        return (uint32_t) (((pixel & mask) >> shift) * 255 / max);
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            const unsigned long p = XGetPixel (image, x, y);
            pixels[(size_t) (y * w + x)] = channel (p, image->red_mask) << 16 | channel (p, image->green_mask) << 8
                                           | channel (p, image->blue_mask);
        }
    XDestroyImage (image);
    return pixels;
}

std::vector<uint32_t> EditorWindow::capture()
{
    return captureWindow (display, window, w, h);
}

std::vector<uint32_t> EditorWindow::captureSettled (int maxMilliseconds)
{
    constexpr int roundMs = 20, roundsBetweenCaptures = 5;
    std::vector<uint32_t> last;
    for (int elapsed = 0; elapsed < maxMilliseconds; elapsed += roundMs * roundsBetweenCaptures)
    {
        for (int i = 0; i < roundsBetweenCaptures; ++i)
        {
            idle();
            std::this_thread::sleep_for (std::chrono::milliseconds (roundMs));
        }
        auto now = capture();
        // A window of one colour has not been painted yet.
        const bool painted = std::find_if (now.begin(), now.end(), [&] (uint32_t p) { return p != now[0]; }) != now.end();
        if (painted && now == last)
            break;
        last = std::move (now);
    }
    return last;
}

namespace
{
// Kept apart from anything with a destructor: libpng reports errors by longjmp.
bool encodeRgbPng (std::FILE* file, const uint32_t* pixels, int w, int h, png_byte* row)
{
    png_structp png = png_create_write_struct (PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct (png) : nullptr;
    bool ok = false;

    if (info != nullptr && setjmp (png_jmpbuf (png)) == 0)
    {
        png_init_io (png, file);
        png_set_IHDR (png, info, (png_uint_32) w, (png_uint_32) h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                      PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info (png, info);
        for (int y = 0; y < h; ++y)
        {
            for (int x = 0; x < w; ++x)
            {
                const uint32_t p = pixels[(size_t) (y * w + x)];
                row[(size_t) x * 3] = (png_byte) (p >> 16);
                row[(size_t) x * 3 + 1] = (png_byte) (p >> 8);
                row[(size_t) x * 3 + 2] = (png_byte) p;
            }
            png_write_row (png, row);
        }
        png_write_end (png, nullptr);
        ok = true;
    }

    png_destroy_write_struct (&png, info != nullptr ? &info : nullptr);
    return ok;
}
} // namespace

bool EditorWindow::writePng (const std::vector<uint32_t>& pixels, const std::string& path, std::string& error) const
{
    if (pixels.size() != (size_t) (w * h))
    {
        error = "the picture does not match the window";
        return false;
    }

    std::FILE* file = std::fopen (path.c_str(), "wb");
    if (file == nullptr)
    {
        error = "cannot write " + path;
        return false;
    }

    std::vector<png_byte> row ((size_t) w * 3);
    bool ok = encodeRgbPng (file, pixels.data(), w, h, row.data());
    ok = std::fclose (file) == 0 && ok;
    if (! ok)
        error = "cannot write " + path;
    return ok;
}
} // namespace kelmora::tools
