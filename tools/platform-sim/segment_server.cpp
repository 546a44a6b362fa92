#include "segment_server.h"

#include <httplib.h>
#include <openssl/ssl.h>
#include <strings.h>
#include <sys/socket.h>

#include <chrono>

namespace platformsim {

SegmentServer::SegmentServer(HttpListener::Handler handler, std::shared_ptr<StopSignal> stop)
    : handler_(std::move(handler)), stop_(std::move(stop)) {}

SegmentServer::~SegmentServer() {
    Join();
}

bool SegmentServer::Bind(const TlsIdentity& identity, const std::string& host, int port,
                         std::string& error) {
    if (!identity.Valid()) {
        error = "no certificate for the segment host";
        return false;
    }
    server_ = std::make_unique<httplib::SSLServer>(identity.Certificate(), identity.Key());
    if (!server_->is_valid()) {
        error = "the segment host's TLS set-up failed";
        return false;
    }
    server_->new_task_queue = [] { return new httplib::ThreadPool(4); };
    auto handle = [this](const httplib::Request& req, httplib::Response& res) {
        IncomingRequest in;
        in.method = req.method;
        in.target = req.target;
        in.version = req.version;
        // httplib keeps headers sorted by name, so this line's header order is not the wire's.
        for (const auto& [name, value] : req.headers) {
            in.headers.emplace_back(name, value);
            in.headerText += name + ": " + value + "\r\n";
        }
        in.body = req.body;
        OutgoingReply reply = handler_(in);
        if (!reply.raw.empty() && req.ssl != nullptr && !stop_->Raised()) {
            // A scripted raw response bypasses httplib: written on the TLS
            // session as it is, then the socket is shut as below.
            SSL_write(const_cast<SSL*>(req.ssl), reply.raw.data(),
                      static_cast<int>(reply.raw.size()));
            reply.closeWithoutReply = true;
        }
        if (reply.closeWithoutReply || stop_->Raised()) {
            // httplib cannot drop a connection silently; shutting the socket
            // down makes its own answer fail before any byte leaves.
            if (req.ssl != nullptr) {
                shutdown(SSL_get_fd(req.ssl), SHUT_RDWR);
            }
            return;
        }
        res.status = reply.status;
        std::string contentType = "text/html; charset=gbk";
        for (const auto& [name, value] : reply.headers) {
            if (strcasecmp(name.c_str(), "Content-Type") == 0) {
                contentType = value;
            } else {
                res.headers.emplace(name, value);
            }
        }
        res.set_content(reply.body, contentType.c_str());
    };
    server_->Get(".*", handle);
    server_->Post(".*", handle);
    server_->Put(".*", handle);
    server_->Delete(".*", handle);
    server_->Options(".*", handle);
    server_->Patch(".*", handle);
    bool bound = port == 0 ? (port_ = server_->bind_to_any_port(host)) > 0
                           : server_->bind_to_port(host, port);
    if (!bound) {
        error = "cannot listen on " + host + ":" + std::to_string(port) + " (HTTPS segment host)";
        if (port > 0 && port < 1024) {
            error += "; ports below 1024 need root or the capability CAP_NET_BIND_SERVICE";
        }
        server_.reset();
        return false;
    }
    if (port != 0) {
        port_ = port;
    }
    return true;
}

void SegmentServer::Start() {
    if (server_) {
        thread_ = std::thread([this] { server_->listen_after_bind(); });
        // httplib's stop() does nothing before the loop runs, so wait for it.
        for (int i = 0; i < 5000 && !server_->is_running(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
}

void SegmentServer::Join() {
    if (server_) {
        server_->stop();
    }
    if (thread_.joinable()) {
        thread_.join();
    }
    server_.reset();
}

}  // namespace platformsim
