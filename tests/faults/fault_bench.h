#pragma once

#include <QString>
#include <QTemporaryDir>

#include <string>

#include "api/server_lines.h"
#include "support/sim_lines.h"
#include "support/sim_test.h"

namespace lanxun::test {

// What every fault row works with: the local platform (started once for the program, the
// client's lines pointed at it), a fresh temporary folder, and room for what the row's
// action gave back.
class FaultBench : public SimTest {
public:
    platformsim::PlatformSim& sim() { return *sim_; }
    QString Dir() const { return dir_.path(); }

    QString reply;
    std::string expected;
    bool result = false;

protected:
    void SetUp() override {
        SimTest::SetUp();
        SetLines(SimLines(*sim_));
    }

private:
    QTemporaryDir dir_;
};

// A reply sent byte for byte as given, then the connection closed.
inline platformsim::ScriptedReply RawReply(std::string bytes) {
    platformsim::ScriptedReply reply;
    reply.raw = std::move(bytes);
    return reply;
}

}  // namespace lanxun::test
