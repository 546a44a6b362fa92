#include "platform/http_transport.h"

#include <curl/curl.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <sys/socket.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "platform/gbk.h"

namespace lanxun {
namespace {

using Clock = std::chrono::steady_clock;

constexpr qsizetype kMaxBodyBytes = qsizetype(256) << 20;
constexpr int kPollSliceMs = 50;
const char kDefaultUserAgent[] = "Mozilla/4.0 (compatible; Win32; WinHttp.WinHttpRequest.5)";

void InitCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool OnUiThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

long long MsSince(Clock::time_point then, Clock::time_point now) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(now - then).count();
}

// The text before the first `separator`, or all of it.
QByteArray Before(const QByteArray& text, char separator) {
    const qsizetype at = text.indexOf(separator);
    return at < 0 ? text : text.left(at);
}

bool IsGbkCharset(const QByteArray& contentType) {
    const QByteArray lower = contentType.toLower();
    const qsizetype at = lower.indexOf("charset=");
    if (at < 0) {
        return false;
    }
    QByteArray charset = lower.mid(at + 8).trimmed();
    charset = Before(charset, ';').trimmed();
    if (charset.startsWith('"')) {
        charset = charset.mid(1, charset.size() - 2);
    }
    return charset == "gbk" || charset == "gb2312" || charset == "gb18030" || charset == "cp936" ||
           charset == "x-gbk";
}

// What one transfer produced; filled on the thread that runs it.
struct Outcome {
    bool ok = false;
    long status = 0;
    QByteArray statusText;
    QByteArray headers;  // "Name: value\r\n" lines of the final response
    QByteArray body;
    QString error;
};

// Progress of one transfer, seen by curl's callbacks and the loop that drives
// it, all on the same thread.
struct TransferState {
    Outcome outcome;
    Clock::time_point start;
    std::optional<Clock::time_point> resolvedAt;   // a socket is being opened
    std::optional<Clock::time_point> connectedAt;  // the request is about to go out
    std::optional<Clock::time_point> sendProgressAt;
    std::optional<Clock::time_point> sentAt;
    std::optional<Clock::time_point> receivedAt;  // last header or body bytes
    curl_off_t uploaded = 0;
    curl_off_t bodySize = 0;
    bool tooLarge = false;
};

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
    auto* state = static_cast<TransferState*>(user);
    const size_t length = size * count;
    state->receivedAt = Clock::now();
    QByteArray line(data, static_cast<qsizetype>(length));
    while (line.endsWith('\n') || line.endsWith('\r')) {
        line.chop(1);
    }
    if (line.startsWith("HTTP/")) {
        // A new response (an interim 100, a proxy's CONNECT answer or a
        // redirect step): only the last one counts.
        state->outcome.headers.clear();
        state->outcome.body.clear();
        const qsizetype first = line.indexOf(' ');
        const qsizetype second = first < 0 ? -1 : line.indexOf(' ', first + 1);
        state->outcome.statusText = second < 0 ? QByteArray() : line.mid(second + 1).trimmed();
    } else if (!line.isEmpty()) {
        state->outcome.headers += line + "\r\n";
    }
    return length;
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto* state = static_cast<TransferState*>(user);
    const size_t length = size * count;
    state->receivedAt = Clock::now();
    if (state->outcome.body.size() + static_cast<qsizetype>(length) > kMaxBodyBytes) {
        state->tooLarge = true;
        return CURL_WRITEFUNC_ERROR;
    }
    state->outcome.body.append(data, static_cast<qsizetype>(length));
    return length;
}

curl_socket_t OnOpenSocket(void* user, curlsocktype, struct curl_sockaddr* address) {
    auto* state = static_cast<TransferState*>(user);
    if (!state->resolvedAt) {
        state->resolvedAt = Clock::now();
    }
    return socket(address->family, address->socktype, address->protocol);
}

int OnConnected(void* user, char*, char*, int, int) {
    auto* state = static_cast<TransferState*>(user);
    state->connectedAt = Clock::now();
    state->receivedAt.reset();
    state->sentAt.reset();
    state->sendProgressAt.reset();
    return CURL_PREREQFUNC_OK;
}

struct HeaderList {
    curl_slist* list = nullptr;
    ~HeaderList() { curl_slist_free_all(list); }
    void Add(const QByteArray& line) { list = curl_slist_append(list, line.constData()); }
};

}  // namespace

struct HttpTransport::Impl {
    CURL* easy = nullptr;
    CURLM* multi = nullptr;
    char errorBuffer[CURL_ERROR_SIZE] = {};

    // Request.
    bool opened = false;
    QByteArray method;
    QByteArray url;
    bool async = false;
    std::vector<std::pair<QByteArray, QByteArray>> headers;
    QByteArray body;
    bool hasBody = false;

    // Settings that outlive a request.
    int resolveMs = 0, connectMs = 60000, sendMs = 30000, receiveMs = 30000;
    QString userAgent = QString::fromLatin1(kDefaultUserAgent);
    int sslIgnoreFlags = 0;
    bool followRedirects = true;
    int maxRedirects = 10;
    ProxySetting proxySetting = kProxyDefault;
    QByteArray proxyServer, proxyBypass, proxyUser, proxyPassword;
    QByteArray serverUser, serverPassword;
    bool hasServerCredentials = false;
    QByteArray clientCertificate;
    int autoLogonPolicy = kAutoLogonIntranet;

    // Response.
    bool hasResponse = false;
    Outcome response;
    QString lastError;

    // The running transfer.
    std::thread worker;
    std::mutex mutex;
    std::condition_variable finished;
    bool running = false;
    bool done = false;
    Outcome pending;
    std::unique_ptr<TransferState> state;
    std::unique_ptr<HeaderList> headerList;
    QEventLoop* waiter = nullptr;
    std::atomic<bool> abortRequested{false};

    Impl() {
        InitCurlOnce();
        easy = curl_easy_init();
        multi = curl_multi_init();
    }

    ~Impl() {
        Cancel();
        if (multi != nullptr) {
            curl_multi_cleanup(multi);
        }
        if (easy != nullptr) {
            curl_easy_cleanup(easy);
        }
    }

    bool Fail(const QString& message) {
        lastError = message;
        return false;
    }

    // Ends a running transfer and forgets its outcome.
    void Cancel() {
        if (!running && !worker.joinable()) {
            return;
        }
        abortRequested = true;
        curl_multi_wakeup(multi);
        if (worker.joinable()) {
            worker.join();
        }
        running = false;
        done = false;
        pending = Outcome();
        abortRequested = false;
    }

    // Takes over a finished transfer's outcome. False while it is still running.
    bool Collect() {
        {
            std::lock_guard lock(mutex);
            if (running && !done) {
                return false;
            }
            if (!running) {
                return true;
            }
        }
        if (worker.joinable()) {
            worker.join();
        }
        running = false;
        done = false;
        response = std::move(pending);
        pending = Outcome();
        hasResponse = response.ok;
        lastError = response.error;
        return true;
    }

    bool ResponseReady() {
        if (!Collect()) {
            return Fail(QStringLiteral("The response has not arrived yet."));
        }
        if (!hasResponse) {
            return Fail(lastError.isEmpty() ? QStringLiteral("There is no response.") : lastError);
        }
        return true;
    }

    QByteArray RequestHeader(const QByteArray& name) const {
        for (const auto& [key, value] : headers) {
            if (key.compare(name, Qt::CaseInsensitive) == 0) {
                return value;
            }
        }
        return {};
    }

    bool HasRequestHeader(const char* name) const {
        for (const auto& header : headers) {
            if (header.first.compare(name, Qt::CaseInsensitive) == 0) {
                return true;
            }
        }
        return false;
    }

    void Prepare(TransferState& state, HeaderList& headerList) {
        curl_easy_reset(easy);  // keeps the live connection
        curl_easy_setopt(easy, CURLOPT_URL, url.constData());
        curl_easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L);
        curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorBuffer);
        errorBuffer[0] = '\0';

        curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, followRedirects ? 1L : 0L);
        curl_easy_setopt(easy, CURLOPT_MAXREDIRS, static_cast<long>(maxRedirects));

        // curl's own limit covers name resolution and connecting together; the
        // loop in Run() holds each phase to its own limit on top of that.
        if (resolveMs > 0 && connectMs > 0) {
            curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS,
                             static_cast<long>(resolveMs) + static_cast<long>(connectMs));
        }

        curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, OnHeader);
        curl_easy_setopt(easy, CURLOPT_HEADERDATA, &state);
        curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, OnBody);
        curl_easy_setopt(easy, CURLOPT_WRITEDATA, &state);
        curl_easy_setopt(easy, CURLOPT_OPENSOCKETFUNCTION, OnOpenSocket);
        curl_easy_setopt(easy, CURLOPT_OPENSOCKETDATA, &state);
        curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, OnConnected);
        curl_easy_setopt(easy, CURLOPT_PREREQDATA, &state);

        if (method == "GET" && !hasBody) {
            curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
        } else if (method == "HEAD" && !hasBody) {
            curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
        } else {
            curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE,
                             static_cast<curl_off_t>(body.size()));
            curl_easy_setopt(easy, CURLOPT_POSTFIELDS, body.constData());
            if (method != "POST") {
                curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, method.constData());
            }
        }
        state.bodySize = hasBody ? body.size() : 0;

        for (const auto& [name, value] : headers) {
            headerList.Add(name + ": " + value);
        }
        if (!HasRequestHeader("Expect")) {
            headerList.Add("Expect:");  // no 100-continue round trip for larger bodies
        }
        if (!HasRequestHeader("Content-Type") && hasBody) {
            headerList.Add("Content-Type:");  // curl would add a form type of its own
        }
        curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headerList.list);
        if (!userAgent.isEmpty()) {
            curl_easy_setopt(easy, CURLOPT_USERAGENT, userAgent.toUtf8().constData());
        }

        const bool ignoreCa =
            (sslIgnoreFlags & (kIgnoreUnknownCa | kIgnoreWrongUsage | kIgnoreInvalidDate)) != 0;
        curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, ignoreCa ? 0L : 1L);
        curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST,
                         (sslIgnoreFlags & kIgnoreInvalidCommonName) != 0 ? 0L : 2L);
        if (!clientCertificate.isEmpty()) {
            curl_easy_setopt(easy, CURLOPT_SSLCERT, clientCertificate.constData());
            curl_easy_setopt(easy, CURLOPT_SSLKEY, clientCertificate.constData());
        }

        // Only a named proxy is used; the default setting means direct, so the
        // environment never redirects the program's requests.
        if (proxySetting == kProxyNamed && !proxyServer.isEmpty()) {
            curl_easy_setopt(easy, CURLOPT_PROXY, proxyServer.constData());
            if (!proxyBypass.isEmpty()) {
                curl_easy_setopt(easy, CURLOPT_NOPROXY, proxyBypass.constData());
            }
            if (!proxyUser.isEmpty() || !proxyPassword.isEmpty()) {
                // Basic, sent with the first request (curl's default for proxies).
                curl_easy_setopt(easy, CURLOPT_PROXYUSERNAME, proxyUser.constData());
                curl_easy_setopt(easy, CURLOPT_PROXYPASSWORD, proxyPassword.constData());
            }
        } else {
            curl_easy_setopt(easy, CURLOPT_PROXY, "");
        }

        if (hasServerCredentials) {
            // Answer the server's challenge only; credentials never go out unasked.
            curl_easy_setopt(easy, CURLOPT_USERNAME, serverUser.constData());
            curl_easy_setopt(easy, CURLOPT_PASSWORD, serverPassword.constData());
            curl_easy_setopt(easy, CURLOPT_HTTPAUTH, CURLAUTH_ANY);
        } else if (AutoLogonAllowed()) {
            // The logged-on user's Kerberos ticket, when a server asks for it.
            curl_easy_setopt(easy, CURLOPT_USERPWD, ":");
            curl_easy_setopt(easy, CURLOPT_HTTPAUTH, CURLAUTH_NEGOTIATE | CURLAUTH_NTLM);
        }
    }

    bool AutoLogonAllowed() const {
        if (autoLogonPolicy == kAutoLogonAlways) {
            return true;
        }
        if (autoLogonPolicy != kAutoLogonIntranet) {
            return false;
        }
        // An intranet host is a single-label name ("http://fileserver/").
        QByteArray host = url.mid(url.indexOf("://") + 3);
        host = Before(Before(host, '/'), ':');
        return !host.isEmpty() && !host.contains('.');
    }

    // Holds each phase to its own time-out. Returns a description when one ran out.
    //
    // curl has one limit for resolving and connecting together and none for a
    // server that accepts and then stays silent, so the transfer runs on a
    // private multi handle whose loop wakes at least every kPollSliceMs and
    // checks the phase it is in:
    //   resolve  from the start until curl opens a socket (the name is known);
    //   connect  from then until the request is about to go out (TCP and TLS);
    //   send     while the body has not gone out: no progress for that long;
    //   receive  once the request is out: no byte of the reply for that long,
    //            counted again from every header line and body chunk.
    // CURLOPT_CONNECTTIMEOUT_MS (resolve + connect) stays as curl's own backstop.
    QString CheckTimeouts(TransferState& state) const {
        const Clock::time_point now = Clock::now();
        if (state.receivedAt) {
            // Receive: no byte of the reply for `receiveMs` (a silent or stalled server).
            if (receiveMs > 0 && MsSince(*state.receivedAt, now) > receiveMs) {
                return QStringLiteral("The server stopped answering (receive time-out of %1 ms).")
                    .arg(receiveMs);
            }
            return {};
        }
        if (state.connectedAt) {
            curl_off_t uploaded = 0;
            curl_easy_getinfo(easy, CURLINFO_SIZE_UPLOAD_T, &uploaded);
            if (uploaded < state.bodySize) {
                // Send: the body does not move on for `sendMs`.
                if (!state.sendProgressAt || uploaded != state.uploaded) {
                    state.sendProgressAt = now;
                    state.uploaded = uploaded;
                }
                if (sendMs > 0 && MsSince(*state.sendProgressAt, now) > sendMs) {
                    return QStringLiteral("The request could not be sent (send time-out of %1 ms).")
                        .arg(sendMs);
                }
                return {};
            }
            // Receive: the request is out and the first byte of the reply is awaited.
            if (!state.sentAt) {
                state.sentAt = now;
            }
            if (receiveMs > 0 && MsSince(*state.sentAt, now) > receiveMs) {
                return QStringLiteral("The server did not answer (receive time-out of %1 ms).")
                    .arg(receiveMs);
            }
            return {};
        }
        if (state.resolvedAt) {
            if (connectMs > 0 && MsSince(*state.resolvedAt, now) > connectMs) {
                return QStringLiteral(
                           "The server could not be reached (connect time-out of %1 ms).")
                    .arg(connectMs);
            }
            return {};
        }
        if (resolveMs > 0 && MsSince(state.start, now) > resolveMs) {
            return QStringLiteral(
                       "The host name could not be resolved (resolve time-out of %1 ms).")
                .arg(resolveMs);
        }
        return {};
    }

    // Runs the prepared transfer to its end, on whichever thread calls it.
    Outcome Run(TransferState& state) {
        state.start = Clock::now();
        curl_multi_add_handle(multi, easy);
        CURLcode result = CURLE_OK;
        QString failure;
        for (;;) {
            int stillRunning = 0;
            const CURLMcode code = curl_multi_perform(multi, &stillRunning);
            if (code != CURLM_OK) {
                failure = QString::fromUtf8(curl_multi_strerror(code));
                break;
            }
            if (stillRunning == 0) {
                int queued = 0;
                while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
                    if (message->msg == CURLMSG_DONE) {
                        result = message->data.result;
                    }
                }
                break;
            }
            if (abortRequested) {
                failure = QStringLiteral("The request was aborted.");
                break;
            }
            failure = CheckTimeouts(state);
            if (!failure.isEmpty()) {
                break;
            }
            curl_multi_poll(multi, nullptr, 0, kPollSliceMs, nullptr);
        }
        curl_multi_remove_handle(multi, easy);

        Outcome outcome = std::move(state.outcome);
        if (failure.isEmpty() && result != CURLE_OK) {
            failure = state.tooLarge
                          ? QStringLiteral("The reply is larger than %1 bytes.").arg(kMaxBodyBytes)
                          : QString::fromUtf8(errorBuffer[0] != '\0' ? errorBuffer
                                                                     : curl_easy_strerror(result));
        }
        if (!failure.isEmpty()) {
            Outcome failed;
            failed.error = failure;
            return failed;
        }
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &outcome.status);
        outcome.ok = true;
        return outcome;
    }

    void Publish(Outcome outcome) {
        std::lock_guard lock(mutex);
        pending = std::move(outcome);
        done = true;
        if (waiter != nullptr) {
            QMetaObject::invokeMethod(waiter, "quit", Qt::QueuedConnection);
        }
        finished.notify_all();
    }

    // Waits for the running transfer. On the UI thread the windows keep
    // painting while user input waits until afterwards.
    bool WaitDone(int timeoutMs) {
        std::unique_lock lock(mutex);
        if (done || !running) {
            return true;
        }
        if (OnUiThread()) {
            QEventLoop loop;
            waiter = &loop;
            lock.unlock();
            QTimer timer;
            if (timeoutMs >= 0) {
                timer.setSingleShot(true);
                QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
                timer.start(timeoutMs);
            }
            loop.exec(QEventLoop::ExcludeUserInputEvents);
            lock.lock();
            waiter = nullptr;
            return done;
        }
        if (timeoutMs < 0) {
            finished.wait(lock, [this] { return done; });
        } else {
            finished.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return done; });
        }
        return done;
    }

    bool Start() {
        if (!opened) {
            return Fail(QStringLiteral("Open must be called before Send."));
        }
        if (easy == nullptr || multi == nullptr) {
            return Fail(QStringLiteral("The HTTP library could not be initialised."));
        }
        Cancel();
        hasResponse = false;
        response = Outcome();
        lastError.clear();
        // Everything the transfer reads is set up here, on the owner's thread;
        // the thread that runs it touches only curl and `state`.
        state = std::make_unique<TransferState>();
        headerList = std::make_unique<HeaderList>();
        Prepare(*state, *headerList);
        running = true;
        done = false;
        auto task = [this] { Publish(Run(*state)); };
        if (async || OnUiThread()) {
            worker = std::thread(task);
        } else {
            task();
        }
        return true;
    }

    bool SendPrepared() {
        if (!Start()) {
            return false;
        }
        if (async) {
            return true;
        }
        WaitDone(-1);
        Collect();
        return hasResponse;
    }
};

HttpTransport::HttpTransport() : impl_(std::make_unique<Impl>()) {}

HttpTransport::~HttpTransport() = default;

bool HttpTransport::Open(const QString& method, const QString& url, bool async) {
    impl_->Cancel();
    impl_->opened = false;
    impl_->hasResponse = false;
    impl_->response = Outcome();
    impl_->headers.clear();
    impl_->body.clear();
    impl_->hasBody = false;
    impl_->lastError.clear();
    const QByteArray verb = method.trimmed().toUpper().toLatin1();
    if (verb.isEmpty() || verb.contains(' ')) {
        return impl_->Fail(QStringLiteral("Invalid method \"%1\".").arg(method));
    }
    if (url.isEmpty()) {
        return impl_->Fail(QStringLiteral("The URL is empty."));
    }
    impl_->method = verb;
    impl_->url = EscapeUrl(url);
    impl_->async = async;
    impl_->opened = true;
    return true;
}

bool HttpTransport::SetRequestHeader(const QString& name, const QString& value) {
    const QByteArray key = ToGbk(name).trimmed();
    if (key.isEmpty() || key.contains(':') || key.contains('\r') || key.contains('\n')) {
        return impl_->Fail(QStringLiteral("Invalid header name \"%1\".").arg(name));
    }
    QByteArray bytes = ToGbk(value);
    // A line break would start a header the caller never set.
    bytes.replace('\r', ' ').replace('\n', ' ');
    auto& headers = impl_->headers;
    for (auto it = headers.begin(); it != headers.end(); ++it) {
        if (it->first.compare(key, Qt::CaseInsensitive) == 0) {
            headers.erase(it);
            break;
        }
    }
    if (!bytes.isEmpty()) {
        headers.emplace_back(key, bytes);
    }
    return true;
}

bool HttpTransport::Send() {
    impl_->body.clear();
    impl_->hasBody = false;
    return impl_->SendPrepared();
}

bool HttpTransport::Send(const QString& body) {
    const bool gbk = IsGbkCharset(impl_->RequestHeader("Content-Type"));
    return Send(gbk ? ToGbk(body) : body.toUtf8());
}

bool HttpTransport::Send(const QByteArray& body) {
    impl_->body = body;
    impl_->hasBody = true;
    return impl_->SendPrepared();
}

void HttpTransport::SetTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs) {
    impl_->resolveMs = resolveMs;
    impl_->connectMs = connectMs;
    impl_->sendMs = sendMs;
    impl_->receiveMs = receiveMs;
}

HttpTransport::Timeouts HttpTransport::GetTimeouts() const {
    return {impl_->resolveMs, impl_->connectMs, impl_->sendMs, impl_->receiveMs};
}

bool HttpTransport::WaitForResponse(int timeoutMs) {
    if (!impl_->running) {
        if (impl_->hasResponse) {
            return true;
        }
        return impl_->Fail(impl_->lastError.isEmpty() ? QStringLiteral("No request was sent.")
                                                      : impl_->lastError);
    }
    if (!impl_->WaitDone(timeoutMs)) {
        return impl_->Fail(QStringLiteral("The response has not arrived yet."));
    }
    impl_->Collect();
    return impl_->hasResponse;
}

void HttpTransport::Abort() {
    impl_->Cancel();
    impl_->hasResponse = false;
    impl_->response = Outcome();
    impl_->lastError = QStringLiteral("The request was aborted.");
}

QByteArray HttpTransport::ResponseBody() {
    return impl_->ResponseReady() ? impl_->response.body : QByteArray();
}

QString HttpTransport::ResponseText() {
    if (!impl_->ResponseReady()) {
        return {};
    }
    const QByteArray contentType = ToGbk(ResponseHeader(QStringLiteral("Content-Type")));
    const QByteArray& body = impl_->response.body;
    return IsGbkCharset(contentType) ? FromGbk(body) : QString::fromUtf8(body);
}

QString HttpTransport::AllResponseHeaders() {
    return impl_->ResponseReady() ? FromGbk(impl_->response.headers) : QString();
}

QString HttpTransport::ResponseHeader(const QString& name) {
    if (!impl_->ResponseReady()) {
        return {};
    }
    const QByteArray key = ToGbk(name);
    for (const QByteArray& line : impl_->response.headers.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().compare(key, Qt::CaseInsensitive) == 0) {
            return FromGbk(line.mid(colon + 1).trimmed());
        }
    }
    impl_->Fail(QStringLiteral("The response has no header \"%1\".").arg(name));
    return {};
}

int HttpTransport::Status() {
    return impl_->ResponseReady() ? static_cast<int>(impl_->response.status) : 0;
}

QString HttpTransport::StatusText() {
    return impl_->ResponseReady() ? FromGbk(impl_->response.statusText) : QString();
}

bool HttpTransport::SetProxy(ProxySetting setting, const QString& server, const QString& bypass) {
    if (setting == kProxyNamed && server.trimmed().isEmpty()) {
        return impl_->Fail(QStringLiteral("A named proxy needs an address."));
    }
    impl_->proxySetting = setting;
    impl_->proxyServer = setting == kProxyNamed ? server.trimmed().toUtf8() : QByteArray();
    impl_->proxyBypass = setting == kProxyNamed ? bypass.trimmed().toUtf8() : QByteArray();
    return true;
}

bool HttpTransport::SetCredentials(const QString& user, const QString& password,
                                   CredentialsFor target) {
    if (target == kForProxy) {
        impl_->proxyUser = user.toUtf8();
        impl_->proxyPassword = password.toUtf8();
        return true;
    }
    if (target != kForServer) {
        return impl_->Fail(QStringLiteral("Unknown credentials target %1.").arg(int(target)));
    }
    impl_->serverUser = user.toUtf8();
    impl_->serverPassword = password.toUtf8();
    impl_->hasServerCredentials = !user.isEmpty() || !password.isEmpty();
    return true;
}

bool HttpTransport::SetClientCertificate(const QString& path) {
    impl_->clientCertificate = path.toLocal8Bit();
    return true;
}

bool HttpTransport::SetAutoLogonPolicy(int policy) {
    if (policy < kAutoLogonAlways || policy > kAutoLogonNever) {
        return impl_->Fail(QStringLiteral("Unknown auto-logon policy %1.").arg(policy));
    }
    impl_->autoLogonPolicy = policy;
    return true;
}

QVariant HttpTransport::Option(int index) {
    switch (index) {
        case kOptionUserAgent:
            return impl_->userAgent;
        case kOptionUrl:
            return QString::fromLatin1(impl_->url);
        case kOptionSslErrorIgnoreFlags:
            return impl_->sslIgnoreFlags;
        case kOptionEnableRedirects:
            return impl_->followRedirects;
        case kOptionMaxAutomaticRedirects:
            return impl_->maxRedirects;
        default:
            impl_->Fail(QStringLiteral("Option %1 is not supported.").arg(index));
            return {};
    }
}

bool HttpTransport::SetOption(int index, const QVariant& value) {
    bool ok = true;
    switch (index) {
        case kOptionUserAgent:
            impl_->userAgent = value.toString();
            return true;
        case kOptionSslErrorIgnoreFlags: {
            const int flags = value.toInt(&ok);
            if (!ok) {
                break;
            }
            impl_->sslIgnoreFlags = flags;
            return true;
        }
        case kOptionEnableRedirects:
            if (!value.canConvert<bool>()) {
                break;
            }
            impl_->followRedirects = value.toBool();
            return true;
        case kOptionMaxAutomaticRedirects: {
            const int count = value.toInt(&ok);
            if (!ok || count < 0) {
                break;
            }
            impl_->maxRedirects = count;
            return true;
        }
        default:
            return impl_->Fail(QStringLiteral("Option %1 cannot be written.").arg(index));
    }
    return impl_->Fail(QStringLiteral("Invalid value for option %1.").arg(index));
}

QString HttpTransport::LastError() const {
    return impl_->lastError;
}

QByteArray HttpTransport::EscapeUrl(const QString& url) {
    static const char hex[] = "0123456789ABCDEF";
    const QByteArray utf8 = url.toUtf8();
    QByteArray out;
    out.reserve(utf8.size() + 16);
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 || byte <= 0x20 || byte == 0x7F || c == '#') {
            out += '%';
            out += hex[byte >> 4];
            out += hex[byte & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace lanxun
