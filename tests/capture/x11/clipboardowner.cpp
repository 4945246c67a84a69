// A clipboard owner for the X11 tests, offering several targets at once and misbehaving on
// request. Prints "ready <window>" once it owns the clipboard and "request <target>" for every
// request; exits when another client takes the clipboard.
//
//   clipboardowner [--stuck] [--stall-data] [--exit-on-data] [--window CLASS] TARGET=FILE...
//
// Answers above 1 MB go in increments, as large answers must.
//
// --stuck        never answers a request
// --stall-data   answers TARGETS, never a data request
// --exit-on-data answers TARGETS, then exits on the first data request without answering
// --window CLASS maps a window with that WM_CLASS (and no _NET_WM_PID) and copies once it is
//                the active window

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

// Whether the window manager has made the window the active one.
bool isActive(Display *display, Window window)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char *data = nullptr;
    const Atom active = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    bool result = false;
    if (XGetWindowProperty(display, DefaultRootWindow(display), active, 0, 1, False, XA_WINDOW,
                           &type, &format, &count, &remaining, &data) == Success &&
        data && count == 1)
        result = *reinterpret_cast<unsigned long *>(data) == window;
    if (data)
        XFree(data);
    return result;
}

bool readFile(const std::string &path, std::string &contents)
{
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file)
        return false;
    // In one read: tens of megabytes a character at a time take seconds in a debug build.
    contents.resize(std::size_t(file.tellg()));
    file.seekg(0);
    return bool(file.read(contents.data(), std::streamsize(contents.size())));
}

// Larger answers do not fit in one request.
constexpr std::size_t incrementalAbove = 1 << 20;
constexpr std::size_t incrementSize = 1 << 16;

// An answer going out in increments: where it goes and how far it has got.
struct Transfer {
    Window requestor;
    Atom property;
    Atom target;
    const std::string *contents;
    std::size_t sent;
};

} // namespace

int main(int argc, char **argv)
{
    bool stuck = false;
    bool stallData = false;
    bool exitOnData = false;
    std::string windowClass;
    std::map<std::string, std::string> files;
    std::vector<std::pair<std::string, const std::string *>> offers;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--stuck") {
            stuck = true;
        } else if (argument == "--stall-data") {
            stallData = true;
        } else if (argument == "--exit-on-data") {
            exitOnData = true;
        } else if (argument == "--window" && i + 1 < argc) {
            windowClass = argv[++i];
        } else if (const auto equals = argument.rfind('='); equals != std::string::npos) {
            // Targets that name one file share its contents.
            const std::string path = argument.substr(equals + 1);
            if (!files.count(path) && !readFile(path, files[path])) {
                std::fprintf(stderr, "cannot read %s\n", argument.c_str());
                return 2;
            }
            offers.emplace_back(argument.substr(0, equals), &files[path]);
        } else {
            std::fprintf(stderr, "unknown argument %s\n", argument.c_str());
            return 2;
        }
    }

    const std::unique_ptr<Display, decltype(&XCloseDisplay)> connection(XOpenDisplay(nullptr),
                                                                        &XCloseDisplay);
    Display *display = connection.get();
    if (!display)
        return 3;
    const Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 10, 10, 300, 200, 0, 0, 0xffffff);
    std::map<Atom, const std::string *> data;
    for (const auto &[target, contents] : offers)
        data[XInternAtom(display, target.c_str(), False)] = contents;
    const Atom clipboard = XInternAtom(display, "CLIPBOARD", False);
    const Atom targets = XInternAtom(display, "TARGETS", False);
    const Atom incremental = XInternAtom(display, "INCR", False);
    std::vector<Transfer> transfers;

    if (!windowClass.empty()) {
        std::string instance = windowClass;
        XClassHint hint{instance.data(), windowClass.data()};
        XSetClassHint(display, window, &hint);
        XStoreName(display, window, windowClass.c_str());
        XMapRaised(display, window);
        // Copy as an application in front does.
        for (int i = 0; i < 300 && !isActive(display, window); ++i)
            usleep(10000);
    }
    XSetSelectionOwner(display, clipboard, window, CurrentTime);
    if (XGetSelectionOwner(display, clipboard) != window)
        return 4;
    std::printf("ready %lu\n", window);
    std::fflush(stdout);

    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == SelectionClear)
            return 0;
        if (event.type == PropertyNotify && event.xproperty.state == PropertyDelete) {
            // The requestor took the last increment: the next one, or the empty end.
            for (auto transfer = transfers.begin(); transfer != transfers.end(); ++transfer) {
                if (transfer->requestor != event.xproperty.window ||
                    transfer->property != event.xproperty.atom)
                    continue;
                const std::size_t size =
                    std::min(incrementSize, transfer->contents->size() - transfer->sent);
                XChangeProperty(display, transfer->requestor, transfer->property, transfer->target,
                                8, PropModeReplace,
                                reinterpret_cast<const unsigned char *>(transfer->contents->data() +
                                                                        transfer->sent),
                                int(size));
                transfer->sent += size;
                if (size == 0)
                    transfers.erase(transfer);
                XFlush(display);
                break;
            }
            continue;
        }
        if (event.type != SelectionRequest)
            continue;
        const XSelectionRequestEvent &request = event.xselectionrequest;
        char *name = XGetAtomName(display, request.target);
        std::printf("request %s\n", name ? name : "?");
        std::fflush(stdout);
        XFree(name);
        if (stuck || (stallData && request.target != targets))
            continue;

        XSelectionEvent notify{};
        notify.type = SelectionNotify;
        notify.display = display;
        notify.requestor = request.requestor;
        notify.selection = request.selection;
        notify.target = request.target;
        notify.time = request.time;
        const Atom property = request.property == None ? request.target : request.property;
        if (request.target == targets) {
            std::vector<long> atoms{long(targets)};
            for (const auto &entry : data)
                atoms.push_back(long(entry.first));
            XChangeProperty(display, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<unsigned char *>(atoms.data()), int(atoms.size()));
            notify.property = property;
        } else if (const auto found = data.find(request.target); found != data.end()) {
            if (exitOnData)
                return 0;
            const std::string &contents = *found->second;
            if (contents.size() > incrementalAbove) {
                XSelectInput(display, request.requestor, PropertyChangeMask);
                const long size = long(contents.size());
                XChangeProperty(display, request.requestor, property, incremental, 32,
                                PropModeReplace, reinterpret_cast<const unsigned char *>(&size), 1);
                transfers.push_back({request.requestor, property, request.target, &contents, 0});
            } else {
                XChangeProperty(
                    display, request.requestor, property, request.target, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char *>(contents.data()), int(contents.size()));
            }
            notify.property = property;
        }
        XSendEvent(display, request.requestor, False, 0, reinterpret_cast<XEvent *>(&notify));
        XFlush(display);
    }
}
