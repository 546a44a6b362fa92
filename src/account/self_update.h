#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QProgressBar;
class QTimer;
class QWidget;

namespace lanxun {

class Download;
class HttpRequest;

// The version the version file offers: the text after its last "版本号:", taken
// unchanged (empty when it has "版本号" but no "版本号:"); nothing when the
// reply has no "版本号" at all.
std::optional<QString> OfferedVersion(const QString& reply);

// True when the reply offers a version that differs in any way from kClientVersion.
bool UpdateOffered(const QString& reply);

// The start-up's version check, on the request the start-up goes on to use.
// When an update is offered the login window is left for good (its timers stop:
// the leftover timer would delete the old executable that a failed update puts
// back), the running executable is moved aside (exeName + ".gx" in the run
// directory), "ky.zip" there deleted, and after a second `openUpdateWindow` is
// called; it returns when the update window is gone. A rename that fails is told
// to the user and ends the update path. True when the check took over the
// start-up (the login window is not to be shown): an update ran or failed.
bool RunVersionCheck(HttpRequest& request, const QString& updateHost, QWidget* loginWindow,
                     const std::function<void()>& openUpdateWindow);

// The update window "用户端更新" given its widgets: it downloads the archive into
// the run directory, shows the progress on 时钟1's tick, unpacks the archive,
// starts the new executable and ends this process.
//
// Everything happens in the folder of the running executable, so a program
// started from another folder updates itself, not that folder. A download that
// fails, or an archive that is damaged, unsafe or lacks the executable, puts the
// old executable back under its name and says so; so does closing the window
// before the new executable is in place.
class SelfUpdateController {
public:
    struct Widgets {
        QWidget* window = nullptr;
        QProgressBar* progress = nullptr;  // 进度条1
        QLabel* status = nullptr;          // 透明标签3
        QTimer* progressTimer = nullptr;   // 时钟1
    };

    SelfUpdateController(const Widgets& widgets, const QString& updateHost);
    ~SelfUpdateController();

    // The window's created event: the download starts, and an archive left
    // whole by an earlier run is unpacked at once.
    void Start();

    // One tick of 时钟1.
    void ShowProgress();

private:
    void OnSizeKnown(qint64 totalBytes);
    void OnCompleted();
    void OnFailed();
    bool Unpack();
    void GiveUp();

    Widgets widgets_;
    QString updateHost_;
    std::unique_ptr<Download> download_;
    qint64 totalBytes_ = 0;
    bool newExecutableInPlace_ = false;
};

// The run directory's "用户端.zip", where the update archive is kept.
QString UpdateArchivePath();

}  // namespace lanxun
