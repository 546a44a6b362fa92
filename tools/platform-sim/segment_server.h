#pragma once

// The HTTPS listener of the segment host, on cpp-httplib's SSLServer. It hands
// every request to the sim as an IncomingRequest and sends back its reply.

#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "http_listener.h"
#include "tls_identity.h"

namespace httplib {
class SSLServer;
}

namespace platformsim {

class SegmentServer {
public:
    SegmentServer(HttpListener::Handler handler, std::shared_ptr<StopSignal> stop);
    ~SegmentServer();
    SegmentServer(const SegmentServer&) = delete;
    SegmentServer& operator=(const SegmentServer&) = delete;

    bool Bind(const TlsIdentity& identity, const std::string& host, int port, std::string& error);
    int Port() const { return port_; }
    void Start();
    void Join();

private:
    HttpListener::Handler handler_;
    std::shared_ptr<StopSignal> stop_;
    std::unique_ptr<httplib::SSLServer> server_;
    std::thread thread_;
    int port_ = 0;
};

}  // namespace platformsim
