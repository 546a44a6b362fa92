#include <gtest/gtest.h>

#include "api/server_lines.h"

namespace lanxun {
namespace {

TEST(ServerLinesTest, TenLinesOnTheFixedPorts) {
    const ServerLines lines = ServerLines::FromHost("10.0.0.5");
    const QString expected[] = {"10.0.0.5:82",    "10.0.0.5:83",    "10.0.0.5:85",  "10.0.0.5:81",
                                "10.0.0.5:107",   "10.0.0.5:38123", "10.0.0.5:130", "10.0.0.5:1780",
                                "10.0.0.5:38123", "10.0.0.5:16899"};
    const QString actual[] = {lines.accountLine, lines.projectLine,  lines.dockingLine,
                              lines.numberLine,  lines.disposalLine, lines.pollLine,
                              lines.recordLine,  lines.sendLine,     lines.withdrawLine,
                              lines.rechargeLine};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(actual[i], expected[i]) << i;
    }
    EXPECT_EQ(ServerLines::FromHost("example.com:8080").accountLine, "example.com:82");
    EXPECT_EQ(ServerLines::FromHost("[::1]:9").sendLine, "[::1]:1780");
}

TEST(ServerLinesTest, HostWithoutPort) {
    const struct {
        const char* host;
        const char* expected;
    } cases[] = {
        {"example.com", "example.com"},
        {"example.com:8080", "example.com"},
        {"10.0.0.5:82", "10.0.0.5"},
        {"[::1]:82", "[::1]"},  // the brackets stay, the port goes
        {"[::1]", "[::1]"},
        {"::1", "::1"},  // a bare IPv6 address has no port to drop
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HostWithoutPort(QString::fromUtf8(c.host)), QString::fromUtf8(c.expected))
            << c.host;
    }
}

}  // namespace
}  // namespace lanxun
