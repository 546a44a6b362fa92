#include "platform/downloader.h"

#include <curl/curl.h>

#include <QFile>
#include <QFileInfo>
#include <QPointer>

#include <atomic>
#include <mutex>

#include "platform/hand_over.h"
#include "platform/service_slot.h"
#include "platform/worker.h"

namespace lanxun {

namespace {

void InitCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// One attempt's view of the transfer, touched by curl's callbacks only.
struct Attempt {
    QFile* file = nullptr;
    QByteArray pending;
    int chunkBytes = 0;
    bool writeFailed = false;
    std::atomic<qint64>* received = nullptr;
    std::function<void(qint64)> sizeSeen;
    Worker* worker = nullptr;

    bool Flush() {
        if (!pending.isEmpty() && file->write(pending) != pending.size()) {
            writeFailed = true;
            return false;
        }
        pending.clear();
        return true;
    }
};

size_t WriteBody(char* data, size_t size, size_t count, void* userData) {
    auto* attempt = static_cast<Attempt*>(userData);
    const size_t bytes = size * count;
    attempt->pending.append(data, static_cast<qsizetype>(bytes));
    *attempt->received += static_cast<qint64>(bytes);
    if (attempt->pending.size() >= attempt->chunkBytes && !attempt->Flush()) {
        return 0;  // a full disk ends the attempt
    }
    return bytes;
}

int Progress(void* userData, curl_off_t total, curl_off_t, curl_off_t, curl_off_t) {
    auto* attempt = static_cast<Attempt*>(userData);
    if (total > 0 && attempt->sizeSeen) {
        attempt->sizeSeen(static_cast<qint64>(total));
    }
    return attempt->worker->StopRequested() ? 1 : 0;
}

class CurlDownload final : public Download, private Worker {
public:
    CurlDownload(const QString& url, const QString& file, const DownloadSettings& settings,
                 DownloadReports reports)
        : url_(url.toUtf8()), file_(file), settings_(settings), reports_(std::move(reports)) {
        Worker::Start();
    }
    ~CurlDownload() override {
        Stop();
        QFile::remove(PartialDownloadPath(file_));
    }

    qint64 ReceivedBytes() const override { return received_.load(); }

private:
    void Run() override {
        InitCurlOnce();
        for (int attempt = 1; attempt <= settings_.attempts && !StopRequested(); ++attempt) {
            if (attempt > 1 && !Pause(settings_.retryPauseMs)) {
                return;
            }
            if (TryOnce()) {
                Report([this] {
                    if (reports_.completed) {
                        reports_.completed();
                    }
                });
                return;
            }
        }
        if (!StopRequested()) {
            Report([this] {
                if (reports_.failed) {
                    reports_.failed();
                }
            });
        }
    }

    // One attempt from the first byte; true when the whole file is in place.
    bool TryOnce() {
        const QString partial = PartialDownloadPath(file_);
        QFile out(partial);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return false;
        }
        received_ = 0;
        Attempt attempt;
        attempt.file = &out;
        attempt.chunkBytes = settings_.writeChunkBytes;
        attempt.received = &received_;
        attempt.worker = this;
        attempt.sizeSeen = [this](qint64 total) {
            if (sizeReported_.exchange(true)) {
                return;
            }
            Report([this, total] {
                if (reports_.sizeKnown) {
                    reports_.sizeKnown(total);
                }
            });
        };

        CURL* easy = curl_easy_init();
        if (!easy) {
            return false;
        }
        curl_easy_setopt(easy, CURLOPT_URL, url_.constData());
        curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 5L);
        curl_easy_setopt(easy, CURLOPT_FAILONERROR, 1L);
        curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, static_cast<long>(settings_.bufferBytes));
        curl_easy_setopt(
            easy, CURLOPT_CONNECTTIMEOUT_MS,
            static_cast<long>(settings_.resolveTimeoutMs + settings_.connectTimeoutMs));
        // Slower than one byte a second for the stall time counts as stalled.
        curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME,
                         static_cast<long>((settings_.stallTimeoutMs + 999) / 1000));
        curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &WriteBody);
        curl_easy_setopt(easy, CURLOPT_WRITEDATA, &attempt);
        curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &Progress);
        curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &attempt);
        curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
        const CURLcode result = curl_easy_perform(easy);
        curl_off_t expected = -1;
        curl_easy_getinfo(easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &expected);
        curl_easy_cleanup(easy);

        const bool flushed = attempt.Flush() && out.flush();
        out.close();
        // A connection closed early is an error to curl when the length was
        // announced; without a length only a clean end counts.
        const bool whole = result == CURLE_OK && flushed && !attempt.writeFailed &&
                           (expected < 0 || expected == out.size());
        if (!whole || StopRequested()) {
            QFile::remove(partial);
            return false;
        }
        QFile::remove(file_);
        return QFile::rename(partial, file_);
    }

    // Runs `report` on the UI thread, unless this download is gone by then.
    void Report(std::function<void()> report) {
        QPointer<QObject> self(this);
        PostingHandOver handOver;
        QMetaObject::invokeMethod(
            this,
            [self, report = std::move(report)] {
                TakeHandOver();
                if (self) {
                    report();
                }
            },
            Qt::QueuedConnection);
    }

    const QByteArray url_;
    const QString file_;
    const DownloadSettings settings_;
    const DownloadReports reports_;
    std::atomic<qint64> received_{0};
    std::atomic<bool> sizeReported_{false};
};

class CurlDownloads final : public DownloadService {
public:
    std::unique_ptr<Download> Start(const QString& url, const QString& file,
                                    const DownloadSettings& settings,
                                    DownloadReports reports) override {
        return std::make_unique<CurlDownload>(url, file, settings, std::move(reports));
    }
};

constinit ServiceSlot<DownloadService, CurlDownloads> slot;

}  // namespace

DownloadService& Downloads() {
    return slot.Get();
}

void InstallDownloads(DownloadService* service) {
    slot.Install(service);
}

QString PartialDownloadPath(const QString& file) {
    const QFileInfo info(file);
    return info.path() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".part");
}

}  // namespace lanxun
