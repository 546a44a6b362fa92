#include "platform_sim.h"

#include <netdb.h>
#include <signal.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>

#include "builtin_replies.h"
#include "funds_model.h"
#include "http_listener.h"
#include "project_catalogue.h"
#include "segment_server.h"
#include "sim_accounts.h"
#include "sim_dockings.h"
#include "sim_numbers.h"
#include "sim_text.h"
#include "tls_identity.h"

namespace platformsim {

namespace {

constexpr size_t kMaxRelayBytes = 64u << 20;
constexpr int kRelayTimeoutMs = 120000;

const std::vector<Line> kPlainLines = {
    Line::Account, Line::Project, Line::Docking,  Line::Number,   Line::Disposal, Line::Poll,
    Line::Record,  Line::Send,    Line::Withdraw, Line::Recharge, Line::Update,   Line::Proxy,
};

// Which line an endpoint belongs to; names the line of a request on a shared port.
const std::map<std::string, Line> kEndpointLines = {
    {"sign", Line::Account},         {"xg_mm", Line::Account},
    {"xg_aq", Line::Account},        {"xg_zl", Line::Account},
    {"ZC", Line::Account},           {"liebiao_xm", Line::Project},
    {"xiangmu_ysc", Line::Project},  {"xiangmu_shouchan", Line::Project},
    {"xiangmu_qxsc", Line::Project}, {"sq_dx", Line::Project},
    {"yh_zs_lb", Line::Docking},     {"yh_zs_gk_lb", Line::Docking},
    {"yh_zs_jr", Line::Docking},     {"yh_zs_fhzt", Line::Docking},
    {"yh_zs_sc", Line::Docking},     {"yh_gx", Line::Docking},
    {"yh_qh", Line::Number},         {"yh_sf", Line::Disposal},
    {"yh_lh", Line::Disposal},       {"yh_qm", Line::Poll},
    {"cz_tj", Line::Poll},           {"yh_mx", Line::Record},
    {"yh_mx_s", Line::Record},       {"tj_mx", Line::Record},
    {"tj_mx_s", Line::Record},       {"tx_mx", Line::Record},
    {"cz_mx", Line::Record},         {"fdx_tj", Line::Send},
    {"tj", Line::Withdraw},          {"sc", Line::Recharge},
    {"cx", Line::Recharge},
};

int PortOf(const Ports& ports, Line line) {
    switch (line) {
        case Line::Account:
            return ports.account;
        case Line::Project:
            return ports.project;
        case Line::Docking:
            return ports.docking;
        case Line::Number:
            return ports.number;
        case Line::Disposal:
            return ports.disposal;
        case Line::Poll:
            return ports.poll;
        case Line::Record:
            return ports.record;
        case Line::Send:
            return ports.send;
        case Line::Withdraw:
            return ports.withdraw;
        case Line::Recharge:
            return ports.recharge;
        case Line::Update:
            return ports.update;
        case Line::Segment:
            return ports.segment;
        case Line::Proxy:
            return ports.proxy;
    }
    return 0;
}

// The path of an origin-form target: everything before the query.
std::string PathOf(const std::string& target) {
    return target.substr(0, target.find('?'));
}

// The endpoint word: the first path segment, "/sign/username=..." gives "sign".
std::string EndpointWord(const std::string& target) {
    if (target.empty() || target[0] != '/') {
        return {};
    }
    return target.substr(1, target.find_first_of("/?", 1) - 1);
}

bool IsAbsoluteTarget(const std::string& target) {
    return target.rfind("http://", 0) == 0 || target.rfind("https://", 0) == 0;
}

OutgoingReply TextReply(int status, const std::string& body) {
    OutgoingReply reply;
    reply.status = status;
    reply.body = body;
    reply.headers.emplace_back("Content-Type", "text/plain; charset=utf-8");
    return reply;
}

struct ScriptState {
    std::vector<ScriptedReply> replies;
    size_t next = 0;
};

}  // namespace

std::string LineName(Line line) {
    switch (line) {
        case Line::Account:
            return "accountLine";
        case Line::Project:
            return "projectLine";
        case Line::Docking:
            return "dockingLine";
        case Line::Number:
            return "numberLine";
        case Line::Disposal:
            return "disposalLine";
        case Line::Poll:
            return "pollLine";
        case Line::Record:
            return "recordLine";
        case Line::Send:
            return "sendLine";
        case Line::Withdraw:
            return "withdrawLine";
        case Line::Recharge:
            return "rechargeLine";
        case Line::Update:
            return "update";
        case Line::Segment:
            return "segment";
        case Line::Proxy:
            return "proxy";
    }
    return "unknown";
}

std::optional<Line> EndpointLine(const std::string& word) {
    auto found = kEndpointLines.find(word);
    if (found == kEndpointLines.end()) {
        return std::nullopt;
    }
    return found->second;
}

struct PlatformSim::Impl {
    std::string host;
    TlsIdentity identity;
    std::string defaultZip;

    mutable std::mutex mutex;  // guards everything below
    mutable std::condition_variable recorded;
    std::vector<RecordedRequest> log;
    std::map<std::string, ScriptState> scripts;
    std::vector<Account> accounts;
    DockingBook dockings;
    std::string proxyAuthorization;  // "Basic ..." or empty for an open proxy
    std::map<Line, int> ports;
    std::string startError;
    FundsModel funds;  // locks on its own

    // Owned by the control thread (Start/Stop), not by the mutex.
    std::shared_ptr<StopSignal> stop;
    std::vector<std::unique_ptr<HttpListener>> listeners;
    std::unique_ptr<SegmentServer> segment;

    ProjectCatalogue projects;  // guarded by its own lock
    NumberModel numbers;        // guarded by its own lock

    void Record(Line line, const IncomingRequest& in) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            log.push_back({LineName(line), in.method, in.target, in.headerText, in.body});
        }
        recorded.notify_all();
    }

    bool TakeScript(const std::string& target, ScriptedReply& reply) {
        std::lock_guard<std::mutex> lock(mutex);
        for (const std::string& key : {target, PathOf(target), EndpointWord(target)}) {
            auto found = scripts.find(key);
            if (found != scripts.end() && !found->second.replies.empty()) {
                ScriptState& script = found->second;
                reply = script.replies[std::min(script.next, script.replies.size() - 1)];
                ++script.next;
                return true;
            }
        }
        return false;
    }

    // The reply to an unscripted request on `line`.
    ScriptedReply BuiltIn(Line line, const IncomingRequest& in) {
        ScriptedReply reply;
        std::string path = PathOf(in.target);
        if (line == Line::Account && EndpointWord(in.target) == "sign") {
            std::lock_guard<std::mutex> lock(mutex);
            reply.body = SignReply(accounts, in.target);
        } else if (line == Line::Account && IsAccountChangeEndpoint(EndpointWord(in.target))) {
            std::lock_guard<std::mutex> lock(mutex);
            reply.body = AccountChangeReply(accounts, EndpointWord(in.target), in.target);
        } else if (line == Line::Docking && DockingBook::Handles(EndpointWord(in.target))) {
            std::lock_guard<std::mutex> lock(mutex);
            reply.body = dockings.Reply(accounts, EndpointWord(in.target), in.target);
        } else if (line == Line::Project) {
            std::vector<Account> known;
            {
                std::lock_guard<std::mutex> lock(mutex);
                known = accounts;
            }
            projects.Reply(known, in.target, reply.body);
        } else if (line == Line::Update && path == "/yh.txt") {
            reply.body = Gbk("版本号:6.6");
        } else if (line == Line::Update && path == "/ky.zip") {
            reply.body = defaultZip;
            reply.headers.emplace_back("Content-Type", "application/zip");
        } else if (line == Line::Segment && path == "/cc/json/mobile_tel_segment.htm") {
            std::string query =
                in.target.size() > path.size() ? in.target.substr(path.size() + 1) : std::string();
            reply.body = SegmentReply(PercentDecode(QueryValue(query, "tel")));
            reply.headers.emplace_back("Content-Type", "text/javascript; charset=gbk");
        } else if (NumberModel::Handles(EndpointWord(in.target)) &&
                   EndpointLine(EndpointWord(in.target)) == line) {
            std::vector<Account> known;
            {
                std::lock_guard<std::mutex> lock(mutex);
                known = accounts;
            }
            reply.body = numbers.Reply(known, projects, EndpointWord(in.target), in.target);
            reply.delayMs = static_cast<int>(numbers.ReplyDelay().count());
        } else if (std::optional<std::string> money = MoneyReply(line, in)) {
            reply.body = *money;
        }
        // Anything else: an empty 200, which the client takes as a failed reply.
        return reply;
    }

    // The money endpoints' replies, from the funds model; nothing for other requests.
    std::optional<std::string> MoneyReply(Line line, const IncomingRequest& in) {
        const std::string word = EndpointWord(in.target);
        if (EndpointLine(word) != line) {
            return std::nullopt;
        }
        std::vector<Account> known;
        {
            std::lock_guard<std::mutex> lock(mutex);
            known = accounts;
        }
        return funds.Answer(word, in.target, known);
    }

    OutgoingReply Deliver(const ScriptedReply& scripted) {
        OutgoingReply reply;
        if (scripted.delayMs > 0 && !stop->SleepFor(std::chrono::milliseconds(scripted.delayMs))) {
            reply.closeWithoutReply = true;  // the sim is stopping
            return reply;
        }
        reply.status = scripted.status;
        reply.headers = scripted.headers;
        reply.body = scripted.body;
        reply.closeWithoutReply = scripted.closeWithoutReply;
        reply.raw = scripted.raw;
        reply.trickleGapMs = scripted.trickleGapMs;
        reply.tricklePieceBytes = scripted.tricklePieceBytes;
        return reply;
    }

    OutgoingReply Answer(Line line, const IncomingRequest& in) {
        ScriptedReply scripted;
        if (!TakeScript(in.target, scripted)) {
            scripted = BuiltIn(line, in);
        }
        return Deliver(scripted);
    }

    // A listener serving `lines` (several when they share a port).
    OutgoingReply HandlePlain(const std::vector<Line>& lines, const IncomingRequest& in) {
        bool proxies = std::find(lines.begin(), lines.end(), Line::Proxy) != lines.end();
        if (proxies && (IsAbsoluteTarget(in.target) || in.method == "CONNECT")) {
            Record(Line::Proxy, in);
            return HandleProxy(in);
        }
        Line line = lines.front() == Line::Proxy && lines.size() > 1 ? lines[1] : lines.front();
        std::optional<Line> endpoint = EndpointLine(EndpointWord(in.target));
        if (endpoint && std::find(lines.begin(), lines.end(), *endpoint) != lines.end()) {
            line = *endpoint;
        }
        Record(line, in);
        if (line == Line::Proxy) {
            return TextReply(400, "the proxy takes absolute targets only\n");
        }
        return Answer(line, in);
    }

    OutgoingReply HandleProxy(const IncomingRequest& in) {
        std::string expected;
        {
            std::lock_guard<std::mutex> lock(mutex);
            expected = proxyAuthorization;
        }
        if (!expected.empty()) {
            std::string given = in.Header("Proxy-Authorization");
            bool schemeMatches = given.size() > 6 && strncasecmp(given.c_str(), "Basic ", 6) == 0;
            if (!schemeMatches || given.substr(6) != expected.substr(6)) {
                OutgoingReply reply = TextReply(407, "proxy authentication required\n");
                reply.headers.emplace_back("Proxy-Authenticate", "Basic realm=\"sim\"");
                return reply;
            }
        }
        if (in.method == "CONNECT" || in.target.rfind("http://", 0) != 0) {
            return TextReply(501, "the proxy forwards plain http only\n");
        }
        std::string rest = in.target.substr(7);
        size_t slash = rest.find('/');
        std::string authority = rest.substr(0, slash);
        std::string path = slash == std::string::npos ? "/" : rest.substr(slash);
        std::string targetHost = authority;
        std::string targetPort = "80";
        if (!authority.empty() && authority[0] == '[') {
            size_t close = authority.find(']');
            targetHost =
                authority.substr(1, close == std::string::npos ? std::string::npos : close - 1);
            if (close != std::string::npos && close + 1 < authority.size() &&
                authority[close + 1] == ':') {
                targetPort = authority.substr(close + 2);
            }
        } else if (size_t colon = authority.rfind(':'); colon != std::string::npos) {
            targetHost = authority.substr(0, colon);
            targetPort = authority.substr(colon + 1);
        }
        if (targetHost == "localhost") {
            targetHost = "127.0.0.1";
        }
        if (targetHost.rfind("127.", 0) != 0 && targetHost != "::1") {
            return TextReply(403, "the proxy forwards to loopback hosts only\n");
        }
        return Forward(in, targetHost, targetPort, path);
    }

    OutgoingReply Forward(const IncomingRequest& in, const std::string& targetHost,
                          const std::string& targetPort, const std::string& path) {
        addrinfo hints{};
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
        addrinfo* found = nullptr;
        if (getaddrinfo(targetHost.c_str(), targetPort.c_str(), &hints, &found) != 0) {
            return TextReply(502, "bad proxy target\n");
        }
        int fd = socket(found->ai_family, found->ai_socktype | SOCK_CLOEXEC, found->ai_protocol);
        bool connected = fd >= 0 && connect(fd, found->ai_addr, found->ai_addrlen) == 0;
        freeaddrinfo(found);
        if (!connected) {
            if (fd >= 0) {
                close(fd);
            }
            return TextReply(502, "the proxy target does not answer\n");
        }
        std::string request = in.method + " " + path + " " + in.version + "\r\n";
        for (const auto& [name, value] : in.headers) {
            bool hopByHop = strcasecmp(name.c_str(), "Proxy-Authorization") == 0 ||
                            strcasecmp(name.c_str(), "Proxy-Connection") == 0 ||
                            strcasecmp(name.c_str(), "Connection") == 0 ||
                            strcasecmp(name.c_str(), "Keep-Alive") == 0 ||
                            strcasecmp(name.c_str(), "Transfer-Encoding") == 0 ||
                            strcasecmp(name.c_str(), "Content-Length") == 0 ||
                            strcasecmp(name.c_str(), "Expect") == 0;
            if (!hopByHop) {
                request += name + ": " + value + "\r\n";
            }
        }
        if (!in.body.empty() || !in.Header("Content-Length").empty()) {
            request += "Content-Length: " + std::to_string(in.body.size()) + "\r\n";
        }
        request += "Connection: close\r\n\r\n" + in.body;
        std::string response;
        if (WriteAll(fd, request, *stop)) {
            while (response.size() < kMaxRelayBytes &&
                   ReadSome(fd, response, *stop, kRelayTimeoutMs)) {
            }
        }
        close(fd);
        OutgoingReply reply;
        if (response.empty()) {
            reply.closeWithoutReply = true;  // as the target did
        } else {
            reply.raw = std::move(response);
        }
        return reply;
    }
};

PlatformSim::PlatformSim(std::string host) : impl_(std::make_unique<Impl>()) {
    impl_->host = std::move(host);
    impl_->accounts = {DemoAccount(), MerchantAccount()};
    impl_->defaultZip = BuildZip({{"lanxun", "#!/bin/sh\necho lanxun 6.7\n"}});
}

PlatformSim::~PlatformSim() {
    Stop();
}

bool PlatformSim::Start(const Ports& ports) {
    Stop();
    // A client that hangs up while the sim writes must not end the process.
    struct sigaction current {};
    if (sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
        signal(SIGPIPE, SIG_IGN);
    }
    Impl& d = *impl_;
    d.stop = std::make_shared<StopSignal>();
    std::map<Line, int> bound;
    std::string error;

    // Group the plain lines by port; a zero port is a listener of its own.
    std::vector<std::vector<Line>> groups;
    std::map<int, size_t> groupOfPort;
    for (Line line : kPlainLines) {
        int port = PortOf(ports, line);
        if (port != 0 && groupOfPort.count(port) != 0) {
            groups[groupOfPort[port]].push_back(line);
            continue;
        }
        if (port != 0) {
            groupOfPort[port] = groups.size();
        }
        groups.push_back({line});
    }
    bool ok = true;
    for (const std::vector<Line>& lines : groups) {
        auto listener = std::make_unique<HttpListener>(
            [this, lines](const IncomingRequest& in) { return impl_->HandlePlain(lines, in); },
            d.stop);
        if (!listener->Bind(d.host, PortOf(ports, lines.front()), error)) {
            error = LineName(lines.front()) + ": " + error;
            ok = false;
            break;
        }
        for (Line line : lines) {
            bound[line] = listener->Port();
        }
        d.listeners.push_back(std::move(listener));
    }
    if (ok) {
        d.segment = std::make_unique<SegmentServer>(
            [this](const IncomingRequest& in) {
                impl_->Record(Line::Segment, in);
                return impl_->Answer(Line::Segment, in);
            },
            d.stop);
        if (d.segment->Bind(d.identity, d.host, ports.segment, error)) {
            bound[Line::Segment] = d.segment->Port();
        } else {
            error = "segment: " + error;
            ok = false;
        }
    }
    {
        std::lock_guard<std::mutex> lock(d.mutex);
        d.startError = ok ? std::string() : error;
        d.ports = ok ? bound : std::map<Line, int>();
    }
    if (!ok) {
        Stop();
        std::lock_guard<std::mutex> lock(d.mutex);
        d.startError = error;
        return false;
    }
    for (auto& listener : d.listeners) {
        listener->Start();
    }
    d.segment->Start();
    return true;
}

void PlatformSim::Stop() {
    Impl& d = *impl_;
    if (d.stop) {
        d.stop->Raise();
    }
    for (auto& listener : d.listeners) {
        listener->Join();
    }
    d.listeners.clear();
    if (d.segment) {
        d.segment->Join();
        d.segment.reset();
    }
    d.stop.reset();
    std::lock_guard<std::mutex> lock(d.mutex);
    d.ports.clear();
}

int PlatformSim::Port(Line line) const {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    auto found = impl_->ports.find(line);
    return found == impl_->ports.end() ? 0 : found->second;
}

std::string PlatformSim::Address(Line line) const {
    return impl_->host + ":" + std::to_string(Port(line));
}

std::string PlatformSim::Host() const {
    return impl_->host;
}

std::string PlatformSim::StartError() const {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    return impl_->startError;
}

std::string PlatformSim::SegmentCertificatePem() const {
    return impl_->identity.CertificatePem();
}

void PlatformSim::Script(const std::string& key, ScriptedReply reply) {
    ScriptSequence(key, {std::move(reply)});
}

void PlatformSim::ScriptSequence(const std::string& key, std::vector<ScriptedReply> replies) {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->scripts[key] = {std::move(replies), 0};
}

void PlatformSim::ClearScripts() {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->scripts.clear();
}

void PlatformSim::AddAccount(const Account& account) {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    // A later account of the same name replaces the earlier one.
    auto& accounts = impl_->accounts;
    accounts.erase(std::remove_if(accounts.begin(), accounts.end(),
                                  [&](const Account& a) { return a.userName == account.userName; }),
                   accounts.end());
    accounts.push_back(account);
}

std::vector<Account> PlatformSim::Accounts() const {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    return impl_->accounts;
}

void PlatformSim::SetProxyCredentials(const std::string& user, const std::string& password) {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->proxyAuthorization =
        user.empty() && password.empty() ? std::string() : "Basic " + Base64(user + ":" + password);
}

ProjectCatalogue& PlatformSim::Projects() {
    return impl_->projects;
}

FundsModel& PlatformSim::Funds() {
    return impl_->funds;
}

NumberModel& PlatformSim::Numbers() {
    return impl_->numbers;
}

std::vector<RecordedRequest> PlatformSim::Requests() const {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    return impl_->log;
}

bool PlatformSim::WaitForRequests(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> lock(impl_->mutex);
    return impl_->recorded.wait_for(lock, timeout, [&] { return impl_->log.size() >= count; });
}

void PlatformSim::ClearRequests() {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->log.clear();
}

}  // namespace platformsim
