#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace lanxun {

// Tuning of one file download.
struct DownloadSettings {
    int bufferBytes = 4096;       // libcurl's receive buffer
    int attempts = 5;             // tries before the download is given up
    int resolveTimeoutMs = 5000;  // each name look-up
    int connectTimeoutMs = 5000;  // each connection
    int stallTimeoutMs = 10000;   // an attempt that receives nothing this long fails
    int retryPauseMs = 1000;      // clock milliseconds between attempts
    int writeChunkBytes = 10240;  // bytes gathered before they go to the file
};

// What a download tells its owner, always on the UI thread, each at most once.
struct DownloadReports {
    std::function<void(qint64 totalBytes)> sizeKnown;
    std::function<void()> completed;  // the whole file is in place under its name
    std::function<void()> failed;     // every attempt failed; the file does not exist
};

// One file fetched in the background. The file appears under its name only once
// it is whole: until then the bytes go to a hidden file beside it. Destroying the
// download stops it and removes the partial file.
// A QObject so that its reports can be queued to it and dropped once it is gone.
class Download : public QObject {
public:
    virtual ~Download() = default;
    // Bytes of the current attempt received so far; any thread.
    virtual qint64 ReceivedBytes() const = 0;
};

class DownloadService {
public:
    virtual ~DownloadService() = default;
    virtual std::unique_ptr<Download> Start(const QString& url, const QString& file,
                                            const DownloadSettings& settings,
                                            DownloadReports reports) = 0;
};

// The process-wide service (libcurl on a thread of its own); a test installs its
// own (nullptr restores the real one).
DownloadService& Downloads();
void InstallDownloads(DownloadService* service);

// The hidden name a download of `file` is written under until it is whole.
QString PartialDownloadPath(const QString& file);

}  // namespace lanxun
