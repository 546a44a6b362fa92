#include "platform/x11_connection.h"

#include <chrono>
#include <mutex>
#include <unordered_set>
#include <vector>

#include "platform/clock.h"

// Xlib last: its macros (Bool, Status, None...) would break Qt's headers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace lanxun {
namespace {

// Xlib has one error handler per process. Errors on our own connections are expected (a
// target window may vanish at any moment) and only noted; those of other connections go
// to the handler that was there before.
std::mutex ownDisplaysMutex;
std::unordered_set<Display*> ownDisplays;
XErrorHandler previousHandler = nullptr;
thread_local bool errorSeen = false;

int OnXError(Display* display, XErrorEvent* error) {
    {
        std::lock_guard lock(ownDisplaysMutex);
        if (ownDisplays.contains(display)) {
            errorSeen = true;
            return 0;
        }
    }
    return previousHandler ? previousHandler(display, error) : 0;
}

void InstallErrorHandlerOnce() {
    static std::once_flag once;
    std::call_once(once, [] { previousHandler = XSetErrorHandler(&OnXError); });
}

Atom Intern(Display* display, const char* name) {
    return XInternAtom(display, name, False);
}

bool HasProperty(Display* display, Window window, Atom property) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, window, property, 0, 0, False, AnyPropertyType,
                                          &type, &format, &count, &after, &data);
    if (data) {
        XFree(data);
    }
    return status == Success && type != 0;
}

std::vector<Window> Children(Display* display, Window window, Window* parent = nullptr) {
    Window root = 0;
    Window up = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<Window> result;
    if (XQueryTree(display, window, &root, &up, &children, &count)) {
        result.assign(children, children + count);
    }
    if (children) {
        XFree(children);
    }
    if (parent) {
        *parent = up;
    }
    return result;  // bottom of the stacking order first
}

}  // namespace

X11Connection::X11Connection() {
    InstallErrorHandlerOnce();
    display_ = XOpenDisplay(nullptr);
    if (display_) {
        std::lock_guard lock(ownDisplaysMutex);
        ownDisplays.insert(display_);
    }
}

X11Connection::~X11Connection() {
    if (!display_) {
        return;
    }
    XSync(display_, False);
    {
        std::lock_guard lock(ownDisplaysMutex);
        ownDisplays.erase(display_);
    }
    XCloseDisplay(display_);
}

bool X11Connection::SyncWithoutError() {
    XSync(display_, False);
    const bool ok = !errorSeen;
    errorSeen = false;
    return ok;
}

bool X11Connection::IsShown(WindowHandle window) {
    if (!display_ || window == 0) {
        return false;
    }
    SyncWithoutError();
    XWindowAttributes attributes{};
    const bool got = XGetWindowAttributes(display_, window, &attributes) != 0;
    return SyncWithoutError() && got && attributes.map_state == IsViewable;
}

bool X11Connection::HasFocus(WindowHandle window) {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display_, &focus, &revert);
    const Window root = DefaultRootWindow(display_);
    // Walk up from the focused window; some toolkits focus a child of their top level.
    for (int depth = 0; focus != 0 && focus != PointerRoot && focus != root && depth < 64;
         ++depth) {
        if (focus == window) {
            return true;
        }
        Window parent = 0;
        Children(display_, focus, &parent);
        if (!SyncWithoutError()) {
            return false;
        }
        focus = parent;
    }
    return false;
}

bool X11Connection::Activate(WindowHandle window) {
    if (!IsShown(window)) {
        return false;
    }
    if (HasFocus(window)) {
        return true;
    }
    // Ask the window manager, as a pager would (source 2), so that focus-stealing rules
    // let it through; without one, set the focus ourselves.
    const Window root = DefaultRootWindow(display_);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.display = display_;
    event.xclient.window = window;
    event.xclient.message_type = Intern(display_, "_NET_ACTIVE_WINDOW");
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2;
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, root, False, SubstructureNotifyMask | SubstructureRedirectMask, &event);
    XRaiseWindow(display_, window);
    SyncWithoutError();

    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    bool setDirectly = false;
    while (Clock::now() - start < std::chrono::seconds(3)) {
        if (!IsShown(window)) {
            return false;
        }
        if (HasFocus(window)) {
            return true;
        }
        if (!setDirectly && Clock::now() - start > std::chrono::milliseconds(300)) {
            XSetInputFocus(display_, window, RevertToParent, CurrentTime);
            SyncWithoutError();
            setDirectly = true;
        }
        if (!PumpDelay(5)) {
            return false;  // the worker that types is stopping
        }
    }
    return false;
}

WindowHandle X11Connection::ClientWindowAt(const QPoint& globalPos) {
    if (!display_) {
        return 0;
    }
    const Window root = DefaultRootWindow(display_);
    const std::vector<Window> topLevels = Children(display_, root);
    for (auto it = topLevels.rbegin(); it != topLevels.rend(); ++it) {
        XWindowAttributes a{};
        if (!XGetWindowAttributes(display_, *it, &a) || a.map_state != IsViewable ||
            a.c_class != InputOutput) {
            continue;
        }
        const int right = a.x + a.width + 2 * a.border_width;
        const int bottom = a.y + a.height + 2 * a.border_width;
        if (globalPos.x() >= a.x && globalPos.x() < right && globalPos.y() >= a.y &&
            globalPos.y() < bottom) {
            const WindowHandle client = FindClient(*it, 0);
            SyncWithoutError();
            // Without a window manager the top level is the client itself.
            return client ? client : *it;
        }
    }
    SyncWithoutError();
    return 0;
}

// The window manager marks each client window with WM_STATE; the frame holding it
// does not carry the mark.
WindowHandle X11Connection::FindClient(WindowHandle window, int depth) {
    if (HasProperty(display_, window, Intern(display_, "WM_STATE"))) {
        return window;
    }
    if (depth > 8) {
        return 0;
    }
    const std::vector<Window> children = Children(display_, window);
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        if (const WindowHandle client = FindClient(*it, depth + 1)) {
            return client;
        }
    }
    return 0;
}

QString X11Connection::Title(WindowHandle window) {
    if (!display_ || window == 0) {
        return {};
    }
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    QString title;
    if (XGetWindowProperty(display_, window, Intern(display_, "_NET_WM_NAME"), 0, 1024, False,
                           Intern(display_, "UTF8_STRING"), &type, &format, &count, &after,
                           &data) == Success &&
        data && format == 8) {
        title = QString::fromUtf8(reinterpret_cast<const char*>(data), int(count));
    } else {
        XTextProperty name{};
        if (XGetWMName(display_, window, &name) && name.value) {
            if (name.encoding == XA_STRING) {
                title = QString::fromLatin1(reinterpret_cast<const char*>(name.value),
                                            int(name.nitems));
            } else {
                char** list = nullptr;
                int items = 0;
                if (Xutf8TextPropertyToTextList(display_, &name, &list, &items) >= Success &&
                    list) {
                    if (items > 0) {
                        title = QString::fromUtf8(list[0]);
                    }
                    XFreeStringList(list);
                }
            }
            XFree(name.value);
        }
    }
    if (data) {
        XFree(data);
    }
    SyncWithoutError();
    return title;
}

}  // namespace lanxun
