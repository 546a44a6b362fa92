#include "platform/zip_extract.h"

#include <sys/stat.h>
#include <unzip.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <algorithm>
#include <vector>

#include "platform/gbk.h"

namespace lanxun {

namespace {

constexpr unsigned kUtf8NamesFlag = 0x0800;
constexpr unsigned kMadeOnUnix = 3;
constexpr qsizetype kCopyBufferBytes = 64 * 1024;

struct Entry {
    QString name;  // relative, "/"-separated, checked
    bool directory = false;
    mode_t mode = 0;  // from the archive, 0 when it holds none
};

QString DecodeName(const QByteArray& raw, unsigned flags) {
    if (flags & kUtf8NamesFlag) {
        return QString::fromUtf8(raw);
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString asUtf8 = utf8(raw);
    return utf8.hasError() ? FromGbk(raw) : asUtf8;
}

// The entry's name made relative to the folder, or empty when it would leave it.
QString SafeRelativeName(QString name) {
    name.replace(u'\\', u'/');
    if (name.isEmpty() || name.startsWith(u'/') || (name.size() >= 2 && name[1] == u':') ||
        name.contains(QChar(0))) {
        return {};
    }
    for (const QString& part : name.split(u'/', Qt::SkipEmptyParts)) {
        if (part == QLatin1String("..")) {
            return {};
        }
    }
    const QString clean = QDir::cleanPath(name);
    if (clean.isEmpty() || clean == QLatin1String(".") || clean.startsWith(QLatin1String("../"))) {
        return {};
    }
    return clean;
}

class Archive {
public:
    explicit Archive(const QString& path) : zip_(unzOpen64(QFile::encodeName(path).constData())) {}
    ~Archive() {
        if (zip_) {
            unzClose(zip_);
        }
    }
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    bool IsOpen() const { return zip_ != nullptr; }
    unzFile handle() const { return zip_; }

private:
    unzFile zip_;
};

// Reads the whole directory; false when an entry is unsafe.
ExtractResult ListEntries(unzFile zip, std::vector<Entry>& entries) {
    int status = unzGoToFirstFile(zip);
    while (status == UNZ_OK) {
        unz_file_info64 info{};
        char rawName[4096];
        if (unzGetCurrentFileInfo64(zip, &info, rawName, sizeof rawName, nullptr, 0, nullptr, 0) !=
            UNZ_OK) {
            return ExtractResult::NotAnArchive;
        }
        Entry entry;
        const QByteArray raw(rawName, static_cast<qsizetype>(
                                          std::min<uLong>(info.size_filename, sizeof rawName - 1)));
        entry.name = SafeRelativeName(DecodeName(raw, info.flag));
        if (entry.name.isEmpty()) {
            return ExtractResult::UnsafeEntry;
        }
        if ((info.version >> 8) == kMadeOnUnix) {
            entry.mode = static_cast<mode_t>(info.external_fa >> 16);
            if (S_ISLNK(entry.mode)) {
                return ExtractResult::UnsafeEntry;  // a link could point anywhere
            }
        }
        entry.directory = raw.endsWith('/') || raw.endsWith('\\') || S_ISDIR(entry.mode);
        entries.push_back(entry);
        status = unzGoToNextFile(zip);
    }
    return status == UNZ_END_OF_LIST_OF_FILE ? ExtractResult::Done : ExtractResult::NotAnArchive;
}

mode_t FileMode(const Entry& entry, bool executable) {
    mode_t mode = entry.mode ? (entry.mode & 0777) : 0644;
    if (executable) {
        mode |= S_IXUSR | ((mode & S_IRGRP) ? S_IXGRP : 0) | ((mode & S_IROTH) ? S_IXOTH : 0);
    }
    return mode | S_IRUSR | S_IWUSR;
}

// Unpacks the current entry to `path`; minizip checks the CRC at the close.
ExtractResult UnpackCurrent(unzFile zip, const QString& path, mode_t mode) {
    if (unzOpenCurrentFile(zip) != UNZ_OK) {
        return ExtractResult::Damaged;
    }
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        unzCloseCurrentFile(zip);
        return ExtractResult::WriteFailed;
    }
    QByteArray buffer(kCopyBufferBytes, Qt::Uninitialized);
    int read = 0;
    while ((read = unzReadCurrentFile(zip, buffer.data(), static_cast<unsigned>(buffer.size()))) >
           0) {
        if (out.write(buffer.constData(), read) != read) {
            unzCloseCurrentFile(zip);
            return ExtractResult::WriteFailed;
        }
    }
    const int closed = unzCloseCurrentFile(zip);
    if (read < 0 || closed != UNZ_OK) {
        return ExtractResult::Damaged;
    }
    if (!out.flush() || ::fchmod(out.handle(), mode) != 0) {
        return ExtractResult::WriteFailed;
    }
    return ExtractResult::Done;
}

bool MoveIntoPlace(const QString& from, const QString& folder, const QString& name) {
    const QString to = folder + u'/' + name;
    if (!QDir().mkpath(QFileInfo(to).path())) {
        return false;
    }
    // A folder inside that is a link elsewhere must not carry the file out.
    const QString home = QFileInfo(folder).canonicalFilePath() + u'/';
    if (!(QFileInfo(QFileInfo(to).path()).canonicalFilePath() + u'/').startsWith(home)) {
        return false;
    }
    // rename(2) replaces an existing file in one step.
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

}  // namespace

ExtractResult ExtractZip(const QString& archive, const QString& folder,
                         const QString& requiredEntry) {
    Archive zip(archive);
    if (!zip.IsOpen()) {
        return ExtractResult::NotAnArchive;
    }
    std::vector<Entry> entries;
    if (const ExtractResult listed = ListEntries(zip.handle(), entries);
        listed != ExtractResult::Done) {
        return listed;
    }
    const auto required = std::find_if(entries.begin(), entries.end(), [&](const Entry& entry) {
        return !entry.directory && entry.name == requiredEntry;
    });
    if (required == entries.end()) {
        return ExtractResult::MissingEntry;
    }

    // Staged inside the folder, so that moving into place is a rename on one file system.
    QTemporaryDir staging(folder + QStringLiteral("/.unpacking-XXXXXX"));
    if (!staging.isValid()) {
        return ExtractResult::WriteFailed;
    }
    int index = 0;
    for (int status = unzGoToFirstFile(zip.handle()); status == UNZ_OK;
         status = unzGoToNextFile(zip.handle()), ++index) {
        const Entry& entry = entries[static_cast<size_t>(index)];
        const QString staged = staging.path() + u'/' + entry.name;
        if (entry.directory) {
            if (!QDir().mkpath(staged)) {
                return ExtractResult::WriteFailed;
            }
            continue;
        }
        if (!QDir().mkpath(QFileInfo(staged).path())) {
            return ExtractResult::WriteFailed;
        }
        const ExtractResult unpacked =
            UnpackCurrent(zip.handle(), staged, FileMode(entry, entry.name == requiredEntry));
        if (unpacked != ExtractResult::Done) {
            return unpacked;
        }
    }

    // The required entry last: until it is in place the old one stays.
    std::vector<const Entry*> order;
    for (const Entry& entry : entries) {
        if (!entry.directory && entry.name != requiredEntry) {
            order.push_back(&entry);
        }
    }
    order.push_back(&*required);
    for (const Entry* entry : order) {
        if (!MoveIntoPlace(staging.path() + u'/' + entry->name, folder, entry->name)) {
            return ExtractResult::WriteFailed;
        }
    }
    for (const Entry& entry : entries) {
        if (entry.directory) {
            QDir().mkpath(folder + u'/' + entry.name);
        }
    }
    return ExtractResult::Done;
}

}  // namespace lanxun
