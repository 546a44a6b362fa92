#pragma once

#include <QString>

namespace lanxun {

// Where the client's Windows-style paths live on this system. The client writes
// its table store under "C:\"; here that drive is a per-user data folder, and the
// run directory is the folder of the executable. Tests install a temporary folder.
class FileLocations {
public:
    virtual ~FileLocations() = default;

    // The local folder that stands for the drive "C:\".
    virtual QString DriveRoot() const = 0;
    // The folder the client runs from (the executable's folder).
    virtual QString RunDirectory() const = 0;
};

// The real locations: DriveRoot is QStandardPaths::GenericDataLocation + "/lanxun"
// (for example ~/.local/share/lanxun, made on first use), RunDirectory the executable's
// folder.
class SystemFileLocations : public FileLocations {
public:
    QString DriveRoot() const override;
    QString RunDirectory() const override;
};

// The process-wide locations (the system ones unless a test installed others).
const FileLocations& Locations();

// Installs `locations` (not owned; nullptr restores the system ones) and returns
// the previously installed object, or nullptr when the system ones were in use.
const FileLocations* InstallFileLocations(const FileLocations* locations);

// Maps a client path to a local one: "\" becomes "/"; "C:" (any letter case) and a
// path rooted at "\" go under DriveRoot; another drive "D:" goes under
// DriveRoot + "/D"; a relative path is taken relative to RunDirectory. So no
// client path reaches outside those two folders by its drive or root alone.
QString LocalPath(const QString& clientPath);

}  // namespace lanxun
