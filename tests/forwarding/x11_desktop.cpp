#include "x11_desktop.h"

#include <QFile>
#include <QStandardPaths>
#include <QTest>

// Xlib last: its macros would break Qt's headers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace lanxun::test {
namespace {

constexpr int kWaitMs = 30 * 1000;

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

DisplayPtr OpenDisplay() {
    return DisplayPtr(XOpenDisplay(nullptr));
}

// The window named by `property` on `window`, or 0.
Window WindowProperty(Display* display, Window window, Atom property) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    Window named = 0;
    if (XGetWindowProperty(display, window, property, 0, 1, False, XA_WINDOW, &type, &format,
                           &count, &after, &data) == Success &&
        data && count == 1 && format == 32) {
        named = *reinterpret_cast<unsigned long*>(data);
    }
    if (data) {
        XFree(data);
    }
    return named;
}

int IgnoreXError(Display*, XErrorEvent*) {
    return 0;
}

// A running window manager names a window of its own on the root, and that window names
// itself; a manager that has gone may leave the root's property behind.
bool WindowManagerPresent() {
    DisplayPtr display = OpenDisplay();
    if (!display) {
        return false;
    }
    XErrorHandler previous = XSetErrorHandler(&IgnoreXError);
    const Atom check = XInternAtom(display.get(), "_NET_SUPPORTING_WM_CHECK", False);
    const Window named = WindowProperty(display.get(), DefaultRootWindow(display.get()), check);
    const bool present = named != 0 && WindowProperty(display.get(), named, check) == named;
    XSync(display.get(), False);
    XSetErrorHandler(previous);
    return present;
}

}  // namespace

bool HaveDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY");
}

WindowManager::WindowManager() : connection_(XOpenDisplay(nullptr)) {
    if (WindowManagerPresent()) {
        running_ = true;
        return;
    }
    const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
    if (openbox.isEmpty()) {
        return;
    }
    own_ = std::make_unique<QProcess>();
    own_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    own_->start(openbox, {QStringLiteral("--sm-disable")});
    running_ = QTest::qWaitFor([] { return WindowManagerPresent(); }, kWaitMs);
}

WindowManager::~WindowManager() {
    if (own_) {
        own_->terminate();
        if (!own_->waitForFinished(kWaitMs)) {
            own_->kill();
            own_->waitForFinished(kWaitMs);
        }
    }
    if (connection_) {
        XCloseDisplay(static_cast<Display*>(connection_));
    }
}

RecorderWindow::RecorderWindow(const QString& title, int closeAfter, QPoint at) {
    log_ = dir_.filePath(QStringLiteral("received.txt"));
    QStringList args{log_, title, QStringLiteral("--at"),
                     QStringLiteral("%1,%2").arg(at.x()).arg(at.y())};
    if (closeAfter > 0) {
        args << QStringLiteral("--close-after") << QString::number(closeAfter);
    }
    process_.setProcessChannelMode(QProcess::ForwardedChannels);
    // A real X11 window, whatever platform the caller's own windows use.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    process_.setProcessEnvironment(environment);
    process_.start(QStringLiteral(KEY_RECORDER), args);
    const QString idFile = log_ + QStringLiteral(".id");
    if (QTest::qWaitFor([&] { return QFile::exists(idFile); }, kWaitMs)) {
        QFile file(idFile);
        file.open(QIODevice::ReadOnly);
        handle_ = file.readAll().toULongLong();
    }
}

RecorderWindow::~RecorderWindow() {
    Close();
}

QString RecorderWindow::Received() const {
    QFile file(log_);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

bool RecorderWindow::WaitForReceived(const QString& expected) const {
    // Done once the text is complete, or as soon as it can no longer become `expected`.
    (void)QTest::qWaitFor(
        [&] {
            const QString received = Received();
            return received == expected || !expected.startsWith(received);
        },
        kWaitMs);
    return Received() == expected;
}

bool RecorderWindow::WaitForLength(qsizetype length) const {
    return QTest::qWaitFor([&] { return Received().size() >= length; }, kWaitMs);
}

void RecorderWindow::Close() {
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        WaitForExit();
    }
}

bool RecorderWindow::WaitForExit() {
    (void)QTest::qWaitFor([&] { return process_.state() == QProcess::NotRunning; }, kWaitMs);
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(kWaitMs);
        return false;
    }
    return true;
}

QRect ScreenRect(WindowHandle window) {
    DisplayPtr display = OpenDisplay();
    XWindowAttributes attributes{};
    if (!display || !XGetWindowAttributes(display.get(), window, &attributes)) {
        return {};
    }
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(display.get(), window, DefaultRootWindow(display.get()), 0, 0, &x, &y,
                          &child);
    return QRect(x, y, attributes.width, attributes.height);
}

void MovePointer(const QPoint& globalPos) {
    DisplayPtr display = OpenDisplay();
    XTestFakeMotionEvent(display.get(), -1, globalPos.x(), globalPos.y(), CurrentTime);
    XSync(display.get(), False);
}

void PressLeftButton(bool down) {
    DisplayPtr display = OpenDisplay();
    XTestFakeButtonEvent(display.get(), 1, down, CurrentTime);
    XSync(display.get(), False);
}

std::vector<unsigned> BindEveryUnboundKeyCode() {
    DisplayPtr display = OpenDisplay();
    std::vector<unsigned> bound;
    if (!display) {
        return bound;
    }
    int min = 0;
    int max = 0;
    int perCode = 0;
    XDisplayKeycodes(display.get(), &min, &max);
    KeySym* syms = XGetKeyboardMapping(display.get(), KeyCode(min), max - min + 1, &perCode);
    for (int code = min; syms && code <= max; ++code) {
        bool unbound = true;
        for (int level = 0; level < perCode; ++level) {
            unbound = unbound && syms[(code - min) * perCode + level] == NoSymbol;
        }
        if (unbound) {
            // Characters from the end of the CJK block, which no test types.
            KeySym binding = 0x01000000 + 0x9FA0 - KeySym(bound.size());
            XChangeKeyboardMapping(display.get(), code, 1, &binding, 1);
            bound.push_back(unsigned(code));
        }
    }
    if (syms) {
        XFree(syms);
    }
    XSync(display.get(), False);
    return bound;
}

void UnbindKeyCodes(const std::vector<unsigned>& codes) {
    DisplayPtr display = OpenDisplay();
    for (unsigned code : codes) {
        KeySym none = NoSymbol;
        XChangeKeyboardMapping(display.get(), int(code), 1, &none, 1);
    }
    XSync(display.get(), False);
}

}  // namespace lanxun::test
