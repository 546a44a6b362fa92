#include "http_listener.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace platformsim {

namespace {

constexpr size_t kMaxHeaderBytes = 1 << 20;
constexpr size_t kMaxBodyBytes = 64u << 20;
constexpr int kIdleTimeoutMs = 10000;  // between requests on a kept-alive connection
constexpr int kReadTimeoutMs = 30000;  // inside one request
constexpr int kWriteTimeoutMs = 30000;
constexpr int kMaxConnections = 32;  // per listener; more wait in the backlog

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

std::string Trim(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) {
        return {};
    }
    size_t end = text.find_last_not_of(" \t");
    return text.substr(begin, end - begin + 1);
}

enum class ReadResult { Ok, Closed, Bad };

class RequestReader {
public:
    RequestReader(int fd, const StopSignal& stop) : fd_(fd), stop_(stop) {}

    ReadResult Read(IncomingRequest& request) {
        size_t end;
        while ((end = buffer_.find("\r\n\r\n")) == std::string::npos) {
            if (buffer_.size() > kMaxHeaderBytes) {
                return ReadResult::Bad;
            }
            if (!ReadSome(fd_, buffer_, stop_, buffer_.empty() ? kIdleTimeoutMs : kReadTimeoutMs)) {
                return ReadResult::Closed;
            }
        }
        std::string head = buffer_.substr(0, end);
        buffer_.erase(0, end + 4);
        if (!ParseHead(head, request)) {
            return ReadResult::Bad;
        }
        return ReadBody(request);
    }

private:
    static bool ParseHead(const std::string& head, IncomingRequest& request) {
        size_t lineEnd = head.find("\r\n");
        std::string requestLine = head.substr(0, lineEnd);
        // The target is everything between the first and the last space, so
        // that even a target with a stray space is recorded as it came.
        size_t first = requestLine.find(' ');
        size_t last = requestLine.rfind(' ');
        if (first == std::string::npos || first == last) {
            return false;
        }
        request.method = requestLine.substr(0, first);
        request.target = requestLine.substr(first + 1, last - first - 1);
        request.version = requestLine.substr(last + 1);
        if (request.method.empty() || request.target.empty() ||
            request.version.rfind("HTTP/", 0) != 0) {
            return false;
        }
        size_t pos = lineEnd == std::string::npos ? head.size() : lineEnd + 2;
        while (pos < head.size()) {
            size_t next = head.find("\r\n", pos);
            if (next == std::string::npos) {
                next = head.size();
            }
            std::string line = head.substr(pos, next - pos);
            pos = next + 2;
            size_t colon = line.find(':');
            if (colon == std::string::npos || colon == 0) {
                return false;
            }
            request.headers.emplace_back(line.substr(0, colon), Trim(line.substr(colon + 1)));
            request.headerText += line + "\r\n";
        }
        std::string connection = Lower(request.Header("Connection"));
        if (request.version == "HTTP/1.0") {
            request.keepAlive = connection.find("keep-alive") != std::string::npos;
        } else {
            request.keepAlive = connection.find("close") == std::string::npos;
        }
        return true;
    }

    ReadResult ReadBody(IncomingRequest& request) {
        bool chunked =
            Lower(request.Header("Transfer-Encoding")).find("chunked") != std::string::npos;
        std::string lengthText = request.Header("Content-Length");
        if (!chunked && lengthText.empty()) {
            return ReadResult::Ok;
        }
        if (EqualsIgnoringCase(request.Header("Expect"), "100-continue") && buffer_.empty()) {
            if (!WriteAll(fd_, "HTTP/1.1 100 Continue\r\n\r\n", stop_)) {
                return ReadResult::Closed;
            }
        }
        if (!chunked) {
            char* endOfNumber = nullptr;
            unsigned long long length = std::strtoull(lengthText.c_str(), &endOfNumber, 10);
            if (*endOfNumber != '\0' || length > kMaxBodyBytes) {
                return ReadResult::Bad;
            }
            if (!Fill(length)) {
                return ReadResult::Closed;
            }
            request.body = buffer_.substr(0, length);
            buffer_.erase(0, length);
            return ReadResult::Ok;
        }
        for (;;) {
            std::string sizeLine;
            if (!ReadLine(sizeLine)) {
                return ReadResult::Closed;
            }
            char* endOfNumber = nullptr;
            unsigned long long size = std::strtoull(sizeLine.c_str(), &endOfNumber, 16);
            if (endOfNumber == sizeLine.c_str() || request.body.size() + size > kMaxBodyBytes) {
                return ReadResult::Bad;
            }
            if (size == 0) {
                std::string trailer;
                do {
                    if (!ReadLine(trailer)) {
                        return ReadResult::Closed;
                    }
                } while (!trailer.empty());
                return ReadResult::Ok;
            }
            if (!Fill(size + 2)) {
                return ReadResult::Closed;
            }
            request.body.append(buffer_, 0, size);
            buffer_.erase(0, size + 2);
        }
    }

    bool Fill(size_t count) {
        while (buffer_.size() < count) {
            if (!ReadSome(fd_, buffer_, stop_, kReadTimeoutMs)) {
                return false;
            }
        }
        return true;
    }

    bool ReadLine(std::string& line) {
        size_t end;
        while ((end = buffer_.find("\r\n")) == std::string::npos) {
            if (buffer_.size() > kMaxHeaderBytes ||
                !ReadSome(fd_, buffer_, stop_, kReadTimeoutMs)) {
                return false;
            }
        }
        line = buffer_.substr(0, end);
        buffer_.erase(0, end + 2);
        return true;
    }

    int fd_;
    const StopSignal& stop_;
    std::string buffer_;
};

std::string FormatReply(const IncomingRequest& request, const OutgoingReply& reply) {
    std::string out =
        "HTTP/1.1 " + std::to_string(reply.status) + " " + ReasonPhrase(reply.status) + "\r\n";
    bool hasContentType = false;
    for (const auto& [name, value] : reply.headers) {
        // The length and the connection are the listener's business.
        if (EqualsIgnoringCase(name, "Content-Length") || EqualsIgnoringCase(name, "Connection")) {
            continue;
        }
        hasContentType = hasContentType || EqualsIgnoringCase(name, "Content-Type");
        out += name + ": " + value + "\r\n";
    }
    if (!hasContentType) {
        out += "Content-Type: text/html; charset=gbk\r\n";
    }
    out += "Content-Length: " + std::to_string(reply.body.size()) + "\r\n";
    out += request.keepAlive ? "Connection: keep-alive\r\n" : "Connection: close\r\n";
    out += "\r\n";
    if (request.method != "HEAD") {
        out += reply.body;
    }
    return out;
}

}  // namespace

std::string IncomingRequest::Header(const std::string& name) const {
    for (const auto& [key, value] : headers) {
        if (EqualsIgnoringCase(key, name)) {
            return value;
        }
    }
    return {};
}

bool ReadSome(int fd, std::string& buffer, const StopSignal& stop, int timeoutMs) {
    pollfd fds[2] = {{fd, POLLIN, 0}, {stop.WakeFd(), POLLIN, 0}};
    for (;;) {
        if (stop.Raised()) {
            return false;
        }
        int ready = poll(fds, 2, timeoutMs);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0 || (fds[1].revents & POLLIN) != 0) {
            return false;
        }
        char chunk[16384];
        ssize_t got = recv(fd, chunk, sizeof chunk, 0);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        buffer.append(chunk, static_cast<size_t>(got));
        return true;
    }
}

bool WriteAll(int fd, const std::string& bytes, const StopSignal& stop) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        pollfd fds[2] = {{fd, POLLOUT, 0}, {stop.WakeFd(), POLLIN, 0}};
        int ready = poll(fds, 2, kWriteTimeoutMs);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0 || (fds[1].revents & POLLIN) != 0) {
            return false;
        }
        ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        sent += static_cast<size_t>(n);
    }
    return true;
}

std::string ReasonPhrase(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 201:
            return "Created";
        case 204:
            return "No Content";
        case 206:
            return "Partial Content";
        case 301:
            return "Moved Permanently";
        case 302:
            return "Found";
        case 303:
            return "See Other";
        case 304:
            return "Not Modified";
        case 307:
            return "Temporary Redirect";
        case 308:
            return "Permanent Redirect";
        case 400:
            return "Bad Request";
        case 401:
            return "Unauthorized";
        case 403:
            return "Forbidden";
        case 404:
            return "Not Found";
        case 405:
            return "Method Not Allowed";
        case 407:
            return "Proxy Authentication Required";
        case 431:
            return "Request Header Fields Too Large";
        case 500:
            return "Internal Server Error";
        case 502:
            return "Bad Gateway";
        case 503:
            return "Service Unavailable";
        case 504:
            return "Gateway Timeout";
        default:
            return "Status";
    }
}

HttpListener::HttpListener(Handler handler, std::shared_ptr<StopSignal> stop)
    : handler_(std::move(handler)), stop_(std::move(stop)) {}

HttpListener::~HttpListener() {
    stop_->Raise();
    Join();
}

bool HttpListener::Bind(const std::string& host, int port, std::string& error) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV | AI_PASSIVE;
    addrinfo* found = nullptr;
    std::string service = std::to_string(port);
    int status = getaddrinfo(host.c_str(), service.c_str(), &hints, &found);
    if (status != 0 || found == nullptr) {
        error = "cannot resolve " + host + ": " + gai_strerror(status);
        return false;
    }
    int fd = socket(found->ai_family, found->ai_socktype | SOCK_CLOEXEC, found->ai_protocol);
    if (fd < 0) {
        error = std::string("cannot create a socket: ") + std::strerror(errno);
        freeaddrinfo(found);
        return false;
    }
    int yes = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (bind(fd, found->ai_addr, found->ai_addrlen) != 0 || listen(fd, 64) != 0) {
        error = "cannot listen on " + host + ":" + service + " (" + std::strerror(errno) + ")";
        if (errno == EACCES && port > 0 && port < 1024) {
            error += "; ports below 1024 need root or the capability CAP_NET_BIND_SERVICE";
        }
        close(fd);
        freeaddrinfo(found);
        return false;
    }
    freeaddrinfo(found);
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = address.ss_family == AF_INET6
                ? ntohs(reinterpret_cast<sockaddr_in6*>(&address)->sin6_port)
                : ntohs(reinterpret_cast<sockaddr_in*>(&address)->sin_port);
    listenFd_ = fd;
    return true;
}

void HttpListener::Start() {
    acceptThread_ = std::thread([this] { AcceptLoop(); });
}

void HttpListener::Join() {
    if (acceptThread_.joinable()) {
        acceptThread_.join();
    }
    std::unique_lock<std::mutex> lock(mutex_);
    connectionsChanged_.wait(lock, [this] { return connections_ == 0; });
    lock.unlock();
    if (listenFd_ >= 0) {
        close(listenFd_);
        listenFd_ = -1;
    }
}

void HttpListener::AcceptLoop() {
    while (!stop_->Raised()) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            connectionsChanged_.wait(
                lock, [this] { return connections_ < kMaxConnections || stop_->Raised(); });
        }
        pollfd fds[2] = {{listenFd_, POLLIN, 0}, {stop_->WakeFd(), POLLIN, 0}};
        int ready = poll(fds, 2, -1);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0 || (fds[1].revents & POLLIN) != 0) {
            break;
        }
        int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        int yes = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ++connections_;
        }
        // Detached, but Join() waits for the count to drop to zero, so no
        // connection outlives the listener.
        std::thread([this, fd] {
            Serve(fd);
            close(fd);
            std::lock_guard<std::mutex> lock(mutex_);
            --connections_;
            connectionsChanged_.notify_all();
        }).detach();
    }
}

bool HttpListener::WriteReply(int fd, const IncomingRequest& request, const OutgoingReply& reply) {
    const std::string out = FormatReply(request, reply);
    if (reply.trickleGapMs <= 0) {
        return WriteAll(fd, out, *stop_);
    }
    const size_t headSize = request.method == "HEAD" ? out.size() : out.size() - reply.body.size();
    if (!WriteAll(fd, out.substr(0, headSize), *stop_)) {
        return false;
    }
    const size_t piece = static_cast<size_t>(std::max(1, reply.tricklePieceBytes));
    for (size_t i = headSize; i < out.size(); i += piece) {
        if (!stop_->SleepFor(std::chrono::milliseconds(reply.trickleGapMs)) ||
            !WriteAll(fd, out.substr(i, piece), *stop_)) {
            return false;
        }
    }
    return true;
}

void HttpListener::Serve(int fd) {
    RequestReader reader(fd, *stop_);
    while (!stop_->Raised()) {
        IncomingRequest request;
        ReadResult result = reader.Read(request);
        if (result == ReadResult::Bad) {
            OutgoingReply bad{400, {}, "bad request", false, {}, 0};
            request.keepAlive = false;
            WriteAll(fd, FormatReply(request, bad), *stop_);
            return;
        }
        if (result == ReadResult::Closed) {
            return;
        }
        OutgoingReply reply = handler_(request);
        if (reply.closeWithoutReply || stop_->Raised()) {
            return;
        }
        if (!reply.raw.empty()) {
            WriteAll(fd, reply.raw, *stop_);
            return;
        }
        if (!WriteReply(fd, request, reply) || !request.keepAlive) {
            return;
        }
    }
}

}  // namespace platformsim
