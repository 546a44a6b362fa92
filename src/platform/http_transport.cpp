#include "platform/http_transport.h"

#include <curl/curl.h>

#include <QEventLoop>
#include <QTimer>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <utility>

#include "platform/gbk.h"
#include "platform/http_curl_options.h"
#include "platform/http_transfer.h"
#include "platform/on_ui_thread.h"
#include "platform/worker.h"

namespace lanxun {
namespace {

const char kDefaultUserAgent[] = "Mozilla/4.0 (compatible; Win32; WinHttp.WinHttpRequest.5)";

void InitCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool IsGbkCharset(const QByteArray& contentType) {
    const QByteArray lower = contentType.toLower();
    const qsizetype at = lower.indexOf("charset=");
    if (at < 0) {
        return false;
    }
    QByteArray charset = lower.mid(at + 8);
    const qsizetype end = charset.indexOf(';');
    if (end >= 0) {
        charset.truncate(end);
    }
    charset = charset.trimmed();
    if (charset.startsWith('"')) {
        charset = charset.mid(1, charset.size() - 2);
    }
    return charset == "gbk" || charset == "gb2312" || charset == "gb18030" || charset == "cp936" ||
           charset == "x-gbk";
}

// The life of the current request. The owner's thread takes every step but
// one: the thread that runs a transfer moves it from kRunning to kFinished.
//
//   kClosed --Open--> kOpened --Send--> kRunning --(transfer ends)--> kFinished
//   kFinished --(a response is read or waited for)--> kAnswered | kFailed
//   kAnswered | kFailed --Send--> kRunning (the same request again)
//   Open from any state: kOpened, or kClosed when the method or URL is refused.
//   Abort: a running transfer ends; anything but kClosed becomes kFailed.
enum class RequestLife {
    kClosed,    // no usable request: Send refuses
    kOpened,    // method and URL set, headers may follow; nothing sent yet
    kRunning,   // the transfer is under way
    kFinished,  // the transfer ended; its outcome waits to be taken over
    kAnswered,  // a response is there to read
    kFailed,    // the exchange ended without a response; lastError says why
};

}  // namespace

struct HttpTransport::Impl {
    CURL* easy = nullptr;
    CURLM* multi = nullptr;
    char errorBuffer[CURL_ERROR_SIZE] = {};

    RequestSpec request;
    bool async = false;
    TransportSettings settings;

    Outcome response;  // valid in kAnswered
    QString lastError;

    // Guards `life` and `pending` while a transfer thread may touch them.
    std::mutex mutex;
    std::condition_variable finished;
    RequestLife life = RequestLife::kClosed;
    Outcome pending;  // the transfer's outcome, from kFinished until taken over

    // The running transfer, when it runs on a thread of its own (an asynchronous
    // request, or one sent from the UI thread).
    std::unique_ptr<FunctionWorker> transfer;
    std::unique_ptr<TransferState> state;
    std::unique_ptr<CurlHeaderList> headerList;
    QEventLoop* waiter = nullptr;
    std::atomic<bool> abortRequested{false};

    Impl() {
        InitCurlOnce();
        easy = curl_easy_init();
        multi = curl_multi_init();
        settings.userAgent = QString::fromLatin1(kDefaultUserAgent);
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

    RequestLife Life() {
        std::lock_guard lock(mutex);
        return life;
    }

    // Only while no transfer thread runs.
    void SetLife(RequestLife next) {
        std::lock_guard lock(mutex);
        life = next;
    }

    bool Fail(const QString& message) {
        lastError = message;
        return false;
    }

    // Ends a running transfer and forgets its outcome; the request itself stays
    // as it was opened, unanswered.
    void Cancel() {
        const RequestLife now = Life();
        if (now != RequestLife::kRunning && now != RequestLife::kFinished && !transfer) {
            return;
        }
        // Its stop ends the transfer in flight (see Start) and waits for it.
        transfer.reset();
        pending = Outcome();
        abortRequested = false;
        SetLife(RequestLife::kOpened);
    }

    // Takes over a finished transfer's outcome. False while it is still running.
    bool Collect() {
        const RequestLife now = Life();
        if (now == RequestLife::kRunning) {
            return false;
        }
        if (now != RequestLife::kFinished) {
            return true;
        }
        transfer.reset();  // its transfer is over: this only waits for the thread to end
        response = std::move(pending);
        pending = Outcome();
        lastError = response.error;
        SetLife(response.ok ? RequestLife::kAnswered : RequestLife::kFailed);
        return true;
    }

    bool HasResponse() { return Life() == RequestLife::kAnswered; }

    bool ResponseReady() {
        if (!Collect()) {
            return Fail(QStringLiteral("The response has not arrived yet."));
        }
        if (!HasResponse()) {
            return Fail(lastError.isEmpty() ? QStringLiteral("There is no response.") : lastError);
        }
        return true;
    }

    // Forgets the last response, as a new request or an abort does.
    void ForgetResponse(RequestLife next, const QString& error) {
        response = Outcome();
        lastError = error;
        SetLife(next);
    }

    void Publish(Outcome outcome) {
        std::lock_guard lock(mutex);
        pending = std::move(outcome);
        life = RequestLife::kFinished;
        if (waiter != nullptr) {
            QMetaObject::invokeMethod(waiter, "quit", Qt::QueuedConnection);
        }
        finished.notify_all();
    }

    // Waits for the running transfer. On the UI thread the windows keep
    // painting while user input waits until afterwards.
    bool WaitDone(int timeoutMs) {
        std::unique_lock lock(mutex);
        auto ended = [this] { return life != RequestLife::kRunning; };
        if (ended()) {
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
            return ended();
        }
        if (timeoutMs < 0) {
            finished.wait(lock, ended);
        } else {
            finished.wait_for(lock, std::chrono::milliseconds(timeoutMs), ended);
        }
        return ended();
    }

    bool Start() {
        if (Life() == RequestLife::kClosed) {
            return Fail(QStringLiteral("Open must be called before Send."));
        }
        if (easy == nullptr || multi == nullptr) {
            return Fail(QStringLiteral("The HTTP library could not be initialised."));
        }
        Cancel();
        ForgetResponse(RequestLife::kOpened, {});
        // Everything the transfer reads is set up here, on the owner's thread;
        // the thread that runs it touches only curl and `state`.
        state = std::make_unique<TransferState>();
        headerList = std::make_unique<CurlHeaderList>();
        ApplyCurlOptions(easy, request, settings, *headerList, errorBuffer);
        AttachTransferCallbacks(easy, *state);
        state->bodySize = request.hasBody ? request.body.size() : 0;
        SetLife(RequestLife::kRunning);
        abortRequested = false;
        // A copy: the owner may set new time-outs while an asynchronous transfer runs.
        auto task = [this, limits = settings.limits] {
            Outcome outcome;
            {
                // The stop of the worker that runs the transfer ends it; a worker that
                // is stopping already sends nothing.
                RequestOfWorker ofWorker([this] {
                    abortRequested = true;
                    curl_multi_wakeup(multi);
                });
                outcome = ofWorker.Refused() ? Aborted()
                                             : RunTransfer(multi, easy, *state, limits,
                                                           abortRequested, errorBuffer);
            }
            Publish(std::move(outcome));
        };
        if (async || OnUiThread()) {
            transfer = std::make_unique<FunctionWorker>(task);
            transfer->Start();
        } else {
            task();
        }
        return true;
    }

    static Outcome Aborted() {
        Outcome outcome;
        outcome.error = QStringLiteral("The request was aborted.");
        return outcome;
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
        return HasResponse();
    }
};

HttpTransport::HttpTransport() : impl_(std::make_unique<Impl>()) {}

HttpTransport::~HttpTransport() = default;

bool HttpTransport::Open(const QString& method, const QString& url, bool async) {
    impl_->Cancel();
    impl_->ForgetResponse(RequestLife::kClosed, {});
    impl_->request = RequestSpec();
    const QByteArray verb = method.trimmed().toUpper().toLatin1();
    if (verb.isEmpty() || verb.contains(' ')) {
        return impl_->Fail(QStringLiteral("Invalid method \"%1\".").arg(method));
    }
    if (url.isEmpty()) {
        return impl_->Fail(QStringLiteral("The URL is empty."));
    }
    impl_->request.method = verb;
    impl_->request.url = EscapeUrl(url);
    impl_->async = async;
    impl_->SetLife(RequestLife::kOpened);
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
    auto& headers = impl_->request.headers;
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
    impl_->request.body.clear();
    impl_->request.hasBody = false;
    return impl_->SendPrepared();
}

bool HttpTransport::Send(const QString& body) {
    const bool gbk = IsGbkCharset(impl_->request.Header("Content-Type"));
    return Send(gbk ? ToGbk(body) : body.toUtf8());
}

bool HttpTransport::Send(const QByteArray& body) {
    impl_->request.body = body;
    impl_->request.hasBody = true;
    return impl_->SendPrepared();
}

void HttpTransport::SetTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs) {
    impl_->settings.limits = {resolveMs, connectMs, sendMs, receiveMs};
}

HttpTransport::Timeouts HttpTransport::GetTimeouts() const {
    const PhaseLimits& limits = impl_->settings.limits;
    return {limits.resolveMs, limits.connectMs, limits.sendMs, limits.receiveMs};
}

bool HttpTransport::WaitForResponse(int timeoutMs) {
    const RequestLife life = impl_->Life();
    if (life != RequestLife::kRunning && life != RequestLife::kFinished) {
        if (life == RequestLife::kAnswered) {
            return true;
        }
        return impl_->Fail(impl_->lastError.isEmpty() ? QStringLiteral("No request was sent.")
                                                      : impl_->lastError);
    }
    if (!impl_->WaitDone(timeoutMs)) {
        return impl_->Fail(QStringLiteral("The response has not arrived yet."));
    }
    impl_->Collect();
    return impl_->HasResponse();
}

void HttpTransport::Abort() {
    impl_->Cancel();
    impl_->ForgetResponse(
        impl_->Life() == RequestLife::kClosed ? RequestLife::kClosed : RequestLife::kFailed,
        QStringLiteral("The request was aborted."));
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
    impl_->settings.proxySetting = setting;
    impl_->settings.proxyServer = setting == kProxyNamed ? server.trimmed().toUtf8() : QByteArray();
    impl_->settings.proxyBypass = setting == kProxyNamed ? bypass.trimmed().toUtf8() : QByteArray();
    return true;
}

bool HttpTransport::SetCredentials(const QString& user, const QString& password,
                                   CredentialsFor target) {
    if (target == kForProxy) {
        impl_->settings.proxyUser = user.toUtf8();
        impl_->settings.proxyPassword = password.toUtf8();
        return true;
    }
    if (target != kForServer) {
        return impl_->Fail(QStringLiteral("Unknown credentials target %1.").arg(int(target)));
    }
    impl_->settings.serverUser = user.toUtf8();
    impl_->settings.serverPassword = password.toUtf8();
    impl_->settings.hasServerCredentials = !user.isEmpty() || !password.isEmpty();
    return true;
}

bool HttpTransport::SetClientCertificate(const QString& path) {
    impl_->settings.clientCertificate = path.toLocal8Bit();
    return true;
}

bool HttpTransport::SetAutoLogonPolicy(int policy) {
    if (policy < kAutoLogonAlways || policy > kAutoLogonNever) {
        return impl_->Fail(QStringLiteral("Unknown auto-logon policy %1.").arg(policy));
    }
    impl_->settings.autoLogonPolicy = policy;
    return true;
}

QVariant HttpTransport::Option(int index) {
    switch (index) {
        case kOptionUserAgent:
            return impl_->settings.userAgent;
        case kOptionUrl:
            return QString::fromLatin1(impl_->request.url);
        case kOptionSslErrorIgnoreFlags:
            return impl_->settings.sslIgnoreFlags;
        case kOptionEnableRedirects:
            return impl_->settings.followRedirects;
        case kOptionMaxAutomaticRedirects:
            return impl_->settings.maxRedirects;
        default:
            impl_->Fail(QStringLiteral("Option %1 is not supported.").arg(index));
            return {};
    }
}

bool HttpTransport::SetOption(int index, const QVariant& value) {
    bool ok = true;
    switch (index) {
        case kOptionUserAgent:
            impl_->settings.userAgent = value.toString();
            return true;
        case kOptionSslErrorIgnoreFlags: {
            const int flags = value.toInt(&ok);
            if (!ok) {
                break;
            }
            impl_->settings.sslIgnoreFlags = flags;
            return true;
        }
        case kOptionEnableRedirects:
            if (!value.canConvert<bool>()) {
                break;
            }
            impl_->settings.followRedirects = value.toBool();
            return true;
        case kOptionMaxAutomaticRedirects: {
            const int count = value.toInt(&ok);
            if (!ok || count < 0) {
                break;
            }
            impl_->settings.maxRedirects = count;
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
