#pragma once

// The local platform: serves the client's ten server lines, the HTTPS segment
// lookup and the update host on loopback, records every request exactly as it
// arrived, and can be scripted per test.

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platformsim {

class ProjectCatalogue;
class FundsModel;
class NumberModel;

enum class Line {
    Account,
    Project,
    Docking,
    Number,
    Disposal,
    Poll,
    Record,
    Send,
    Withdraw,
    Recharge,
    Update,   // plain HTTP: /yh.txt, /ky.zip
    Segment,  // HTTPS: /cc/json/mobile_tel_segment.htm?tel=...
    Proxy,    // forward proxy: absolute targets, forwarded to loopback hosts only
};

// The lowerCamel line name used in the request log ("accountLine", ..., "update", "segment",
// "proxy").
std::string LineName(Line line);

// The line the platform serves an endpoint word on ("yh_qm" -> Poll); nothing for
// a word it does not know. It names the line of a request on a port that lines
// share, and a test holds the client's catalogue against it.
std::optional<Line> EndpointLine(const std::string& word);

// Port of every listener. 0 asks for an ephemeral port. Lines that are given the
// same non-zero port share one listener (the client's poll and withdraw lines do).
struct Ports {
    int account = 0, project = 0, docking = 0, number = 0, disposal = 0, poll = 0, record = 0,
        send = 0, withdraw = 0, recharge = 0, update = 0, segment = 0;
    int proxy = 0;  // last, so that the aggregate initialisers above stay valid

    static Ports Ephemeral() { return {}; }
    // The client's own ports, for the demo.
    static Ports Client() {
        return {82, 83, 85, 81, 107, 38123, 130, 1780, 38123, 16899, 8088, 8443};
    }
};

struct RecordedRequest {
    std::string line;     // LineName of the listener that received it
    std::string method;   // "GET", "POST", ...
    std::string target;   // the request target exactly as received, still escaped
    std::string headers;  // every request header as "Name: value\r\n" lines, in arrival order
                          // (the segment host's come from httplib, sorted by name)
    std::string body;
};

// One scripted answer. Body bytes go out unchanged (GBK, zero bytes included).
struct ScriptedReply {
    int status = 200;
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers = {};  // e.g. {"Location", "/x"}
    int delayMs = 0;                 // wait before answering (a stop of the sim ends the wait)
    bool closeWithoutReply = false;  // close the connection without sending anything
    // When not empty: these bytes are sent as the whole response (status line,
    // headers, body: malformed ones too), then the connection is closed.
    std::string raw = {};
    // When above 0: the status line and headers go out at once, then the body
    // one byte at a time, each byte after this pause (a slow or stalling server).
    int trickleGapMs = 0;
    // How many body bytes each trickled piece holds (a download in pieces).
    int tricklePieceBytes = 1;
};

struct Account {
    std::string userName;  // GBK
    std::string password;  // GBK
    // The eleven "|" fields of the sign reply, GBK.
    std::string balance, withdrawable, field2, field3, securityQuestion, contactQq, legalName,
        alipayAccount, announcement, serviceQq, kind;
    std::string securityAnswer;  // GBK; asked by the password and data changes
};

class PlatformSim {
public:
    explicit PlatformSim(std::string host = "127.0.0.1");
    ~PlatformSim();
    PlatformSim(const PlatformSim&) = delete;
    PlatformSim& operator=(const PlatformSim&) = delete;

    // Starts every listener; false when a port cannot be bound.
    bool Start(const Ports& ports = Ports::Ephemeral());
    void Stop();

    int Port(Line line) const;
    // host + ":" + port, the form of the client's line texts.
    std::string Address(Line line) const;

    // Scripting. `key` is the endpoint word (the first path segment: "sign",
    // "yh_qh", ...) or, for the update and segment hosts and for raw tests, a
    // whole path ("/yh.txt"). A script wins over the built-in behaviour.
    void Script(const std::string& key, ScriptedReply reply);
    // One reply per request in turn; the last one repeats.
    void ScriptSequence(const std::string& key, std::vector<ScriptedReply> replies);
    void ClearScripts();

    // Accounts answered by the built-in `sign`. The demo, merchant accounts are
    // present from construction (see DemoAccount()).
    void AddAccount(const Account& account);
    static Account DemoAccount();
    static Account MerchantAccount();
    // The accounts as they stand now (registrations and changes included).
    std::vector<Account> Accounts() const;

    // The forward proxy asks for these Basic credentials (407 otherwise). Until
    // they are set, or after they are set empty, it forwards without asking.
    void SetProxyCredentials(const std::string& user, const std::string& password);

    // Why the last Start() failed, naming the port; empty after a good start.
    std::string StartError() const;
    std::string Host() const;
    // The segment host's self-signed certificate (PEM), made at construction.
    std::string SegmentCertificatePem() const;

    // The province (GBK) the segment host gives for a number; empty when the
    // number is not an 11-digit mobile number (the reply then has no province).
    static std::string SegmentProvince(const std::string& number);
    // A zip archive of stored entries {name, content}; the default /ky.zip
    // holds one entry "lanxun".
    static std::string BuildZip(const std::vector<std::pair<std::string, std::string>>& entries);

    // The projects, favourites and applications behind the project line's endpoints.
    ProjectCatalogue& Projects();

    // The accounts' money and records behind yh_gx, the record lists, recharges and withdrawals.
    FundsModel& Funds();

    // The numbers behind yh_qh, yh_qm, yh_sf, yh_lh and fdx_tj, and their test plans.
    NumberModel& Numbers();

    std::vector<RecordedRequest> Requests() const;
    // Waits up to `timeout` until at least `count` requests were recorded.
    bool WaitForRequests(size_t count, std::chrono::milliseconds timeout) const;
    void ClearRequests();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace platformsim
