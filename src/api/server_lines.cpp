#include "api/server_lines.h"

#include "lanxun/build_config.h"

namespace lanxun {

namespace {

ServerLines& Current() {
    static ServerLines lines;
    return lines;
}

}  // namespace

QString HostWithoutPort(const QString& host) {
    if (host.startsWith(u'[')) {
        const qsizetype end = host.indexOf(u']');
        return end < 0 ? host : host.left(end + 1);
    }
    const qsizetype colon = host.indexOf(u':');
    if (colon < 0 || host.indexOf(u':', colon + 1) >= 0) {
        return host;  // no port, or a bare IPv6 address
    }
    return host.left(colon);
}

ServerLines ServerLines::FromHost(const QString& host) {
    const QString base = HostWithoutPort(host) + u':';
    ServerLines lines;
    lines.accountLine = base + "82";
    lines.projectLine = base + "83";
    lines.dockingLine = base + "85";
    lines.numberLine = base + "81";
    lines.disposalLine = base + "107";
    lines.pollLine = base + "38123";
    lines.recordLine = base + "130";
    lines.sendLine = base + "1780";
    lines.withdrawLine = base + "38123";
    lines.rechargeLine = base + "16899";
    return lines;
}

ServerLines ServerLines::FromBuild() {
    return FromHost(QString::fromUtf8(build::kPlatformHost));
}

const ServerLines& Lines() {
    return Current();
}

void SetLines(const ServerLines& lines) {
    Current() = lines;
}

}  // namespace lanxun
