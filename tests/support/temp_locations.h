#pragma once

#include <QDir>
#include <QTemporaryDir>

#include "platform/file_locations.h"

namespace lanxun::test {

// Puts the drive "C:\" and the run directory into fresh temporary folders for
// the life of the object.
class TempLocations : public FileLocations {
public:
    TempLocations() {
        QDir(temp_.path()).mkpath("drive");
        QDir(temp_.path()).mkpath("run");
        previous_ = InstallFileLocations(this);
    }
    ~TempLocations() override { InstallFileLocations(previous_); }
    TempLocations(const TempLocations&) = delete;
    TempLocations& operator=(const TempLocations&) = delete;

    QString DriveRoot() const override { return temp_.path() + "/drive"; }
    QString RunDirectory() const override { return temp_.path() + "/run"; }

private:
    QTemporaryDir temp_;
    const FileLocations* previous_ = nullptr;
};

}  // namespace lanxun::test
