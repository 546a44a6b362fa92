#include "account/self_update.h"

#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QTimer>
#include <QWidget>
#include <cmath>

#include "account/startup.h"
#include "api/endpoints.h"
#include "api/http_request.h"
#include "api/platform_call.h"
#include "platform/clock.h"
#include "platform/downloader.h"
#include "platform/file_locations.h"
#include "platform/handler_scope.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "platform/zip_extract.h"

namespace lanxun {

namespace {

constexpr int kPauseBeforeWindowMs = 1000;
constexpr int kPauseAfterUnpackingMs = 2000;
constexpr int kProgressIntervalMs = 1000;
constexpr int kProgressSteps = 10;
constexpr int kDeleteRounds = 10;

const QString kUnpacking = QStringLiteral("文件正在解压中，请稍后...");
const QString kUpdateFailed = QStringLiteral("自动更新失败，请前往官网重新下载");

QString InRunDirectory(const QString& fileName) {
    return Locations().RunDirectory() + u'/' + fileName;
}

QString ExecutablePath() {
    return InRunDirectory(OwnExecutableName());
}

QString OldExecutablePath() {
    return InRunDirectory(OwnExecutableName() + QStringLiteral(".gx"));
}

// Puts the old executable back when the new one is not in place, so the
// program can still be started.
void RestoreOldExecutable() {
    if (!QFile::exists(ExecutablePath())) {
        QFile::rename(OldExecutablePath(), ExecutablePath());
    }
}

}  // namespace

std::optional<QString> OfferedVersion(const QString& reply) {
    if (!reply.contains(QStringLiteral("版本号"))) {
        return std::nullopt;
    }
    const QString marker = QStringLiteral("版本号:");
    const qsizetype last = reply.lastIndexOf(marker);
    if (last < 0) {
        return QString();
    }
    return reply.mid(last + marker.size());
}

bool UpdateOffered(const QString& reply) {
    const std::optional<QString> offered = OfferedVersion(reply);
    return offered && *offered != QLatin1String(kClientVersion);
}

QString UpdateArchivePath() {
    return InRunDirectory(QStringLiteral("用户端.zip"));
}

bool RunVersionCheck(HttpRequest& request, const QString& updateHost, QWidget* loginWindow,
                     const std::function<void()>& openUpdateWindow) {
    if (!UpdateOffered(FetchReply(request, VersionFileUrl(updateHost)))) {
        return false;
    }
    for (QTimer* timer : loginWindow->findChildren<QTimer*>()) {
        timer->stop();
    }
    // The running file can be renamed; the new one then takes its name.
    if (!QFile::rename(ExecutablePath(), OldExecutablePath())) {
        MessageBoxes().Information(loginWindow, kUpdateFailed);
        return true;
    }
    QFile::remove(InRunDirectory(QStringLiteral("ky.zip")));
    PumpDelay(kPauseBeforeWindowMs);
    openUpdateWindow();
    return true;
}

SelfUpdateController::SelfUpdateController(const Widgets& widgets, const QString& updateHost)
    : widgets_(widgets), updateHost_(updateHost) {
    QObject::connect(widgets_.progressTimer, &QTimer::timeout, widgets_.window,
                     [this] { ShowProgress(); });
}

SelfUpdateController::~SelfUpdateController() {
    download_.reset();
    if (!newExecutableInPlace_) {
        RestoreOldExecutable();
    }
}

void SelfUpdateController::Start() {
    // Only a whole archive ever has this name, so this is one an earlier run downloaded and
    // did not get to unpack. It goes before the download starts: a download that completed
    // at once would otherwise be taken for it and deleted.
    if (QFile::exists(UpdateArchivePath())) {
        widgets_.status->setText(kUnpacking);
        Unpack();
    }

    DownloadReports reports;
    reports.sizeKnown = [this](qint64 total) { OnSizeKnown(total); };
    reports.completed = [this] { OnCompleted(); };
    reports.failed = [this] { OnFailed(); };
    download_ = Downloads().Start(UpdateArchiveUrl(updateHost_), UpdateArchivePath(),
                                  DownloadSettings{}, std::move(reports));
    widgets_.progressTimer->start(kProgressIntervalMs);
}

void SelfUpdateController::ShowProgress() {
    int position = 0;
    if (totalBytes_ > 0 && download_) {
        const double done = static_cast<double>(download_->ReceivedBytes()) / totalBytes_;
        position = static_cast<int>(std::lround(std::clamp(done, 0.0, 1.0) * kProgressSteps));
    }
    widgets_.progress->setValue(position);
    if (widgets_.progress->value() < kProgressSteps) {
        widgets_.progress->setValue(widgets_.progress->value() + 1);
        widgets_.status->setText(kUnpacking);
    }
}

void SelfUpdateController::OnSizeKnown(qint64 totalBytes) {
    // The archive is written under a hidden name until it is whole, so there is
    // nothing more to hide.
    totalBytes_ = totalBytes;
}

void SelfUpdateController::OnCompleted() {
    // The window may be closed during the pause; it goes once this returns.
    HandlerScope running(widgets_.window);
    widgets_.status->setText(kUnpacking);
    if (!Unpack()) {
        GiveUp();
        return;
    }
    widgets_.status->setText(QStringLiteral("更新完成"));
    PumpDelay(kPauseAfterUnpackingMs);
    if (running.WindowClosing()) {
        return;
    }
    for (int round = 0; round < kDeleteRounds; ++round) {
        QFile::remove(OldExecutablePath());
    }
    if (!QProcess::startDetached(ExecutablePath(), {}, Locations().RunDirectory())) {
        MessageBoxes().Information(widgets_.window, QStringLiteral("已更新完毕从新打开本程序"));
    }
    // Our own process, by itself: looked up by name, the executable's name now
    // belongs to the copy just started.
    EndOwnProcess();
}

void SelfUpdateController::OnFailed() {
    GiveUp();
}

bool SelfUpdateController::Unpack() {
    const ExtractResult result =
        ExtractZip(UpdateArchivePath(), Locations().RunDirectory(), OwnExecutableName());
    QFile::remove(UpdateArchivePath());
    if (result == ExtractResult::Done) {
        newExecutableInPlace_ = true;
    }
    return result == ExtractResult::Done;
}

void SelfUpdateController::GiveUp() {
    widgets_.progressTimer->stop();
    if (!newExecutableInPlace_) {
        RestoreOldExecutable();
    }
    widgets_.status->setText(kUpdateFailed);
}

}  // namespace lanxun
