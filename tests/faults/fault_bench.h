#pragma once

#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "api/server_lines.h"
#include "support/sim_lines.h"
#include "support/sim_test.h"
#include "support/temp_locations.h"

namespace lanxun::test {

// What every fault row works with: the local platform (started once for the program, the
// client's lines pointed at it) and a fresh temporary folder. What a row keeps between its
// steps is its own.
class FaultBench : public SimTest {
public:
    platformsim::PlatformSim& sim() { return *sim_; }
    QString Dir() const { return dir_.path(); }
    // Runs when the row ends, whatever happened (last registered, first run).
    void AtEnd(std::function<void()> undo) { undo_.push_back(std::move(undo)); }
    // Puts the drive "C:\\" into `folder` for the rest of the row.
    void UseDrive(const QString& folder) {
        drive_ = std::make_unique<DriveAt>(folder, Locations().RunDirectory());
        const FileLocations* previous = InstallFileLocations(drive_.get());
        AtEnd([previous] { InstallFileLocations(previous); });
    }

protected:
    void SetUp() override {
        SimTest::SetUp();
        SetLines(SimLines(*sim_));
    }
    void TearDown() override {
        while (!undo_.empty()) {
            undo_.back()();
            undo_.pop_back();
        }
        SimTest::TearDown();
    }

private:
    class DriveAt : public FileLocations {
    public:
        DriveAt(QString drive, QString run) : drive_(std::move(drive)), run_(std::move(run)) {}
        QString DriveRoot() const override { return drive_; }
        QString RunDirectory() const override { return run_; }

    private:
        QString drive_, run_;
    };

    // The drive "C:\" and the run directory in temporary folders of their own.
    TempLocations locations_;
    QTemporaryDir dir_;
    std::unique_ptr<DriveAt> drive_;
    std::vector<std::function<void()>> undo_;
};

// A reply sent byte for byte as given, then the connection closed.
inline platformsim::ScriptedReply RawReply(std::string bytes) {
    platformsim::ScriptedReply reply;
    reply.raw = std::move(bytes);
    return reply;
}

}  // namespace lanxun::test
