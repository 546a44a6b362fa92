#pragma once

// A tiny blocking HTTP client on raw sockets (and OpenSSL for the segment
// host), so the sim is checked byte for byte without the client's own HTTP layer.

#include <string>

namespace simtest {

struct RawResponse {
    std::string bytes;  // everything received until the peer closed
    int status = 0;     // 0 when nothing parsable came back
    std::string headers;
    std::string body;
};

// Sends `request` as it is to 127.0.0.1:port and reads until the peer closes
// (or 10 s pass). Requests should carry "Connection: close".
RawResponse Exchange(int port, const std::string& request);
// The same over TLS, verifying the server against `caPem` (a PEM certificate).
RawResponse ExchangeTls(int port, const std::string& request, const std::string& caPem,
                        std::string* verifyError = nullptr);
// "GET <target> HTTP/1.1" with Host and "Connection: close", plus `extraHeaders` lines.
std::string GetRequest(const std::string& target, const std::string& extraHeaders = {});

}  // namespace simtest
