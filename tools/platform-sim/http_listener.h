#pragma once

// A small plain-HTTP/1.1 listener on raw sockets. It exists beside cpp-httplib
// because the sim must see what httplib hides: the request target byte for
// byte, the header lines in arrival order, and a way to drop a connection
// without sending anything.

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "stop_signal.h"

namespace platformsim {

struct IncomingRequest {
    std::string method;
    std::string target;                                        // as received
    std::string version;                                       // "HTTP/1.1"
    std::vector<std::pair<std::string, std::string>> headers;  // arrival order
    std::string headerText;  // "Name: value\r\n" per header, as received
    std::string body;        // de-chunked
    bool keepAlive = true;

    // First value of a header, compared without regard to letter case; empty when absent.
    std::string Header(const std::string& name) const;
};

struct OutgoingReply {
    int status = 200;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    bool closeWithoutReply = false;
    // When set, these bytes are a complete response sent as they are; the
    // connection is closed afterwards (the proxy relays this way).
    std::string raw;
    // When above 0: the body goes out one byte at a time, each after this pause.
    int trickleGapMs = 0;
    int tricklePieceBytes = 1;
};

class HttpListener {
public:
    using Handler = std::function<OutgoingReply(const IncomingRequest&)>;

    HttpListener(Handler handler, std::shared_ptr<StopSignal> stop);
    ~HttpListener();
    HttpListener(const HttpListener&) = delete;
    HttpListener& operator=(const HttpListener&) = delete;

    // Binds and listens; 0 asks for an ephemeral port. On failure `error` says why.
    bool Bind(const std::string& host, int port, std::string& error);
    int Port() const { return port_; }
    void Start();
    // Expects the stop signal to be raised already; closes the listening
    // socket and waits until every connection has ended.
    void Join();

private:
    void AcceptLoop();
    void Serve(int fd);
    // False when the connection or the sim ended first.
    bool WriteReply(int fd, const IncomingRequest& request, const OutgoingReply& reply);

    Handler handler_;
    std::shared_ptr<StopSignal> stop_;
    int listenFd_ = -1;
    int port_ = 0;
    std::thread acceptThread_;
    std::mutex mutex_;
    std::condition_variable connectionsChanged_;
    int connections_ = 0;
};

// Reads from `fd` until the stop signal, the time-out or the peer's close; false on any of them.
bool ReadSome(int fd, std::string& buffer, const StopSignal& stop, int timeoutMs);
bool WriteAll(int fd, const std::string& bytes, const StopSignal& stop);
std::string ReasonPhrase(int status);

}  // namespace platformsim
