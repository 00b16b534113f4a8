// Times one start of a program under an X server, as a user sees it: from fork until its first
// top-level window is mapped and painted, that is until the window shows more than one colour
// (run the server with a black root, "-br", so that an unpainted window shows only black). The
// program is then ended. Prints "first_paint_ms <number>"; exits 1 after 20 s without one.
//
//   first_paint PROGRAM [ARGUMENTS...]
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kMinimumSide = 100; // smaller windows are splash or helper windows
constexpr double kGiveUpMs = 20000;

double Milliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// A window that goes away while it is looked at is no error of ours.
int IgnoreError(Display*, XErrorEvent*) {
    return 0;
}

bool ShowsMoreThanOneColour(Display* display, Window window) {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable)
        return false;
    XImage* image = XGetImage(display, window, 0, 0, unsigned(attributes.width),
                              unsigned(attributes.height), AllPlanes, ZPixmap);
    if (!image)
        return false;
    bool more = false;
    if (image->bits_per_pixel == 32) {
        // The usual case, scanned directly: the whole window is read every millisecond or so.
        const auto* row = reinterpret_cast<const std::uint32_t*>(image->data);
        const std::uint32_t first = row[0];
        for (int y = 0; y < image->height && !more; ++y) {
            row = reinterpret_cast<const std::uint32_t*>(image->data + y * image->bytes_per_line);
            for (int x = 0; x < image->width && !more; ++x)
                more = row[x] != first;
        }
    } else {
        const unsigned long first = XGetPixel(image, 0, 0);
        for (int y = 0; y < image->height && !more; ++y)
            for (int x = 0; x < image->width && !more; ++x)
                more = XGetPixel(image, x, y) != first;
    }
    XDestroyImage(image);
    return more;
}

void End(pid_t child) {
    killpg(child, SIGTERM);
    usleep(200000);
    killpg(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: first_paint PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "first_paint: no X display\n");
        return 2;
    }
    XSetErrorHandler(IgnoreError);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const double start = Milliseconds();
    const pid_t child = fork();
    if (child == 0) {
        setpgid(0, 0);
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    setpgid(child, child);
    Window mapped = 0;
    double painted = -1;
    while (painted < 0 && Milliseconds() - start < kGiveUpMs) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (mapped == 0 && event.type == MapNotify && !event.xmap.override_redirect) {
                XWindowAttributes attributes{};
                if (XGetWindowAttributes(display, event.xmap.window, &attributes) &&
                    attributes.width >= kMinimumSide && attributes.height >= kMinimumSide)
                    mapped = event.xmap.window;
            }
        }
        if (mapped != 0 && ShowsMoreThanOneColour(display, mapped))
            painted = Milliseconds() - start;
        else
            usleep(1000);
    }
    End(child);
    if (painted < 0)
        return 1;
    std::printf("first_paint_ms %.1f\n", painted);
    return 0;
}
