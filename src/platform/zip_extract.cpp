#include "platform/zip_extract.h"

#include <sys/stat.h>
#include <unistd.h>
#include <unzip.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
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

// What lstat(2) finds at `path`, without following a link.
enum class Found { Nothing, Folder, Link, Other };

Found Look(const QString& path) {
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0) {
        return Found::Nothing;
    }
    if (S_ISLNK(info.st_mode)) {
        return Found::Link;
    }
    return S_ISDIR(info.st_mode) ? Found::Folder : Found::Other;
}

// Checks, and with `make` creates, each folder of `relative` under `root` one component at a
// time: a component that is a link already there could lead anywhere, so it is refused, as is
// one that is a file. The folders made are added to `made`, outermost first.
ExtractResult Folders(const QString& root, const QString& relative, bool make, QStringList* made) {
    QString path = root;
    for (const QString& part : relative.split(u'/', Qt::SkipEmptyParts)) {
        path += u'/' + part;
        switch (Look(path)) {
            case Found::Folder:
                continue;
            case Found::Link:
                return ExtractResult::UnsafeEntry;
            case Found::Other:
                return ExtractResult::WriteFailed;
            case Found::Nothing:
                if (!make) {
                    return ExtractResult::Done;  // the rest does not exist yet either
                }
                if (::mkdir(QFile::encodeName(path).constData(), 0755) != 0) {
                    return ExtractResult::WriteFailed;
                }
                made->append(path);
                continue;
        }
    }
    return ExtractResult::Done;
}

QString ParentOf(const QString& name) {
    const qsizetype slash = name.lastIndexOf(u'/');
    return slash < 0 ? QString() : name.left(slash);
}

bool Rename(const QString& from, const QString& to) {
    // rename(2) replaces an existing file in one step and never follows a link at `to`.
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// Moves staged files into the folder, keeping what each replaced, so that a move that fails
// part-way can put everything back as it was.
class Installer {
public:
    Installer(const QString& folder, const QString& staged, const QString& replaced)
        : folder_(folder), staged_(staged), replaced_(replaced) {}

    ExtractResult MoveFile(const QString& name) {
        if (const ExtractResult made = Folders(folder_, ParentOf(name), true, &made_);
            made != ExtractResult::Done) {
            return made;
        }
        const QString target = folder_ + u'/' + name;
        Moved moved{target, QString()};
        switch (Look(target)) {
            case Found::Nothing:
                break;
            case Found::Folder:
                return ExtractResult::WriteFailed;  // a file never replaces a folder
            case Found::Link:
            case Found::Other:
                moved.replaced = replaced_ + u'/' + QString::number(moved_.size());
                if (!Rename(target, moved.replaced)) {
                    return ExtractResult::WriteFailed;
                }
                break;
        }
        if (!Rename(staged_ + u'/' + name, target)) {
            if (!moved.replaced.isEmpty()) {
                Rename(moved.replaced, target);
            }
            return ExtractResult::WriteFailed;
        }
        moved_.push_back(moved);
        return ExtractResult::Done;
    }

    ExtractResult MakeFolder(const QString& name) { return Folders(folder_, name, true, &made_); }

    // Every file moved goes back to what it replaced, newest first, and the folders made
    // are removed.
    void RollBack() {
        for (auto moved = moved_.rbegin(); moved != moved_.rend(); ++moved) {
            if (moved->replaced.isEmpty()) {
                ::unlink(QFile::encodeName(moved->target).constData());
            } else {
                Rename(moved->replaced, moved->target);
            }
        }
        moved_.clear();
        for (auto folder = made_.crbegin(); folder != made_.crend(); ++folder) {
            ::rmdir(QFile::encodeName(*folder).constData());
        }
        made_.clear();
    }

private:
    struct Moved {
        QString target;
        QString replaced;  // where the file it replaced is kept; empty when there was none
    };

    QString folder_;
    QString staged_;
    QString replaced_;
    std::vector<Moved> moved_;
    QStringList made_;
};

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
    const QString unpacked = staging.path() + QStringLiteral("/new");
    const QString replaced = staging.path() + QStringLiteral("/old");
    if (!QDir().mkdir(unpacked) || !QDir().mkdir(replaced)) {
        return ExtractResult::WriteFailed;
    }
    int index = 0;
    for (int status = unzGoToFirstFile(zip.handle()); status == UNZ_OK;
         status = unzGoToNextFile(zip.handle()), ++index) {
        const Entry& entry = entries[static_cast<size_t>(index)];
        const QString staged = unpacked + u'/' + entry.name;
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

    // Nothing is moved while any folder on the way is a link or a file.
    for (const Entry& entry : entries) {
        const QString folders = entry.directory ? entry.name : ParentOf(entry.name);
        if (const ExtractResult checked = Folders(folder, folders, false, nullptr);
            checked != ExtractResult::Done) {
            return checked;
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
    Installer installer(folder, unpacked, replaced);
    for (const Entry& entry : entries) {
        if (entry.directory) {
            if (const ExtractResult made = installer.MakeFolder(entry.name);
                made != ExtractResult::Done) {
                installer.RollBack();
                return made;
            }
        }
    }
    for (const Entry* entry : order) {
        if (const ExtractResult moved = installer.MoveFile(entry->name);
            moved != ExtractResult::Done) {
            installer.RollBack();
            return moved;
        }
    }
    return ExtractResult::Done;
}

}  // namespace lanxun
