#include "platform/http_transfer.h"

#include <sys/socket.h>

#include "platform/clock.h"

namespace lanxun {
namespace {

constexpr qsizetype kMaxBodyBytes = qsizetype(256) << 20;
constexpr int kPollSliceMs = 50;

TransferTicks Now() {
    return CurrentClock().Ticks();
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
    auto* state = static_cast<TransferState*>(user);
    const size_t length = size * count;
    state->receivedAt = Now();
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
    state->receivedAt = Now();
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
        state->resolvedAt = Now();
    }
    return socket(address->family, address->socktype, address->protocol);
}

int OnConnected(void* user, char*, char*, int, int) {
    auto* state = static_cast<TransferState*>(user);
    state->connectedAt = Now();
    state->receivedAt.reset();
    state->sentAt.reset();
    state->sendProgressAt.reset();
    return CURL_PREREQFUNC_OK;
}

// Holds each phase to its own time-out, in ticks of the installed clock. Returns a
// description when one ran out.
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
QString CheckTimeouts(CURL* easy, TransferState& state, const PhaseLimits& limits) {
    const TransferTicks now = Now();
    if (state.receivedAt) {
        // Receive: no byte of the reply for `receiveMs` (a silent or stalled server).
        if (limits.receiveMs > 0 && now - *state.receivedAt > limits.receiveMs) {
            return QStringLiteral("The server stopped answering (receive time-out of %1 ms).")
                .arg(limits.receiveMs);
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
            if (limits.sendMs > 0 && now - *state.sendProgressAt > limits.sendMs) {
                return QStringLiteral("The request could not be sent (send time-out of %1 ms).")
                    .arg(limits.sendMs);
            }
            return {};
        }
        // Receive: the request is out and the first byte of the reply is awaited.
        if (!state.sentAt) {
            state.sentAt = now;
        }
        if (limits.receiveMs > 0 && now - *state.sentAt > limits.receiveMs) {
            return QStringLiteral("The server did not answer (receive time-out of %1 ms).")
                .arg(limits.receiveMs);
        }
        return {};
    }
    if (state.resolvedAt) {
        if (limits.connectMs > 0 && now - *state.resolvedAt > limits.connectMs) {
            return QStringLiteral("The server could not be reached (connect time-out of %1 ms).")
                .arg(limits.connectMs);
        }
        return {};
    }
    if (limits.resolveMs > 0 && now - state.start > limits.resolveMs) {
        return QStringLiteral("The host name could not be resolved (resolve time-out of %1 ms).")
            .arg(limits.resolveMs);
    }
    return {};
}

}  // namespace

void AttachTransferCallbacks(CURL* easy, TransferState& state) {
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, OnHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &state);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &state);
    curl_easy_setopt(easy, CURLOPT_OPENSOCKETFUNCTION, OnOpenSocket);
    curl_easy_setopt(easy, CURLOPT_OPENSOCKETDATA, &state);
    curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, OnConnected);
    curl_easy_setopt(easy, CURLOPT_PREREQDATA, &state);
}

Outcome RunTransfer(CURLM* multi, CURL* easy, TransferState& state, const PhaseLimits& limits,
                    const std::atomic<bool>& abortRequested, const char* errorBuffer) {
    state.start = Now();
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
        failure = CheckTimeouts(easy, state, limits);
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

}  // namespace lanxun
