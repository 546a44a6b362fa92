#include "platform/file_locations.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include "platform/service_slot.h"

namespace lanxun {

namespace {

constinit ServiceSlot<const FileLocations, SystemFileLocations> slot;

bool HasDriveLetter(const QString& path) {
    return path.size() >= 2 && path[1] == u':' && path[0].unicode() < 128 && path[0].isLetter();
}

}  // namespace

QString SystemFileLocations::DriveRoot() const {
    // A drive always exists, so the folder standing for it is made on first use.
    static const QString root = [] {
        const QString path =
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/lanxun";
        QDir().mkpath(path);
        return path;
    }();
    return root;
}

QString SystemFileLocations::RunDirectory() const {
    return QCoreApplication::applicationDirPath();
}

const FileLocations& Locations() {
    return slot.Get();
}

const FileLocations* InstallFileLocations(const FileLocations* locations) {
    return slot.Install(locations);
}

QString LocalPath(const QString& clientPath) {
    QString path = clientPath;
    path.replace(u'\\', u'/');
    const FileLocations& locations = Locations();
    if (HasDriveLetter(path)) {
        const QChar drive = path[0].toUpper();
        QString rest = path.mid(2);
        if (!rest.isEmpty() && !rest.startsWith(u'/')) {
            rest.prepend(u'/');
        }
        const QString base =
            drive == u'C' ? locations.DriveRoot() : locations.DriveRoot() + u'/' + drive;
        return base + rest;
    }
    if (path.startsWith(u'/')) {
        return locations.DriveRoot() + path;
    }
    if (path.isEmpty()) {
        return locations.RunDirectory();
    }
    return locations.RunDirectory() + u'/' + path;
}

}  // namespace lanxun
