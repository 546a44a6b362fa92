#pragma once

#include <QString>

namespace lanxun {

// One server line: the platform host and a port, as the text "host:port".
// A request URL is "http://" + line + path.
using ApiLine = QString;

// The ten server lines. All are on the platform host; the ports are fixed.
// pollLine and withdrawLine share a port but are separate entries.
struct ServerLines {
    ApiLine accountLine;   // 82: sign, registration, account maintenance
    ApiLine projectLine;   // 83: project lists, search, favourites, applications
    ApiLine dockingLine;   // 85: exclusive docking, balance refresh
    ApiLine numberLine;    // 81: obtaining numbers
    ApiLine disposalLine;  // 107: releasing and black-listing numbers
    ApiLine pollLine;      // 38123: polling for SMS, recharge submission
    ApiLine recordLine;    // 130: record lists
    ApiLine sendLine;      // 1780: sending an SMS
    ApiLine withdrawLine;  // 38123: withdrawal
    ApiLine rechargeLine;  // 16899: QR-code recharge and recharge query

    // The lines of `host` on the fixed ports. A ":port" that the host value
    // carries is dropped, since every line brings its own.
    static ServerLines FromHost(const QString& host);
    // The lines of the build's platform host.
    static ServerLines FromBuild();

    bool operator==(const ServerLines&) const = default;
};

// A host value without the ":port" it may carry ("host:82" -> "host"). An IPv6
// literal keeps its brackets ("[::1]:82" -> "[::1]"); a bare IPv6 address, which
// has no room for a port, stays whole.
QString HostWithoutPort(const QString& host);

// The process-wide lines: set once at start-up (tests set them to the local
// platform's addresses) and only read afterwards.
const ServerLines& Lines();
void SetLines(const ServerLines& lines);

}  // namespace lanxun
