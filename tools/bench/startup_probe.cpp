// Starts a program and measures the time until its window named NAME is
// mapped on the X display, and the program's peak resident memory by then.
//
//   startup_probe NAME PROGRAM [ARG...]
//
// Prints "<milliseconds> <peak kB>" and stops the program.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <set>
#include <string>
#include <sys/select.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double Now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

std::string WindowName(Display* display, Window window) {
    XTextProperty property{};
    std::string name;
    const Atom utf8Name = XInternAtom(display, "_NET_WM_NAME", False);
    if ((XGetTextProperty(display, window, &property, utf8Name) ||
         XGetWMName(display, window, &property)) &&
        property.value) {
        name.assign(reinterpret_cast<char*>(property.value), property.nitems);
        XFree(property.value);
    }
    return name;
}

// VmHWM: the highest resident set size of the process so far.
long PeakKilobytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s NAME PROGRAM [ARG...]\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const double start = Now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    const int fd = ConnectionNumber(display);
    double shown = -1;
    std::string stopped; // why the program will show no window
    std::set<Window> mapped;
    while (shown < 0 && stopped.empty() && Now() - start < 30000) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            // A window counts once it is mapped and has the name; the name may
            // come just after the mapping.
            Window window = 0;
            if (event.type == CreateNotify) {
                XSelectInput(display, event.xcreatewindow.window, PropertyChangeMask);
            } else if (event.type == MapNotify) {
                window = event.xmap.window;
                mapped.insert(window);
            } else if (event.type == PropertyNotify && mapped.count(event.xproperty.window)) {
                window = event.xproperty.window;
            }
            if (window && WindowName(display, window) == argv[1]) {
                shown = Now() - start;
                break;
            }
            if (window && WindowName(display, window) == "Application Error") {
                stopped = "the program stopped with an \"Application Error\" box";
                break;
            }
        }
        int status = 0;
        if (shown < 0 && stopped.empty() && waitpid(child, &status, WNOHANG) == child) {
            stopped = "the program ended before its window appeared";
            break;
        }
        if (shown >= 0 || !stopped.empty())
            break;
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(fd, &fds);
        timeval wait{0, 20000};
        select(fd + 1, &fds, nullptr, nullptr, &wait);
    }
    const long peak = PeakKilobytes(child);
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    XCloseDisplay(display);
    if (shown < 0) {
        std::fprintf(stderr, "no window named %s appeared: %s\n", argv[1],
                     stopped.empty() ? "none within 30 s" : stopped.c_str());
        return 1;
    }
    std::printf("%.1f %ld\n", shown, peak);
    return 0;
}
