#pragma once

// One libcurl transfer driven to its end on a private multi handle, each phase
// held to its own time-out. Used by HttpTransport only.

#include <curl/curl.h>

#include <QByteArray>
#include <QString>

#include <atomic>
#include <optional>

namespace lanxun {

// Ticks of the installed clock (milliseconds), so that a test on a fast clock sees the
// time-outs end that much sooner.
using TransferTicks = qint64;

// What one transfer produced; filled on the thread that runs it.
struct Outcome {
    bool ok = false;
    long status = 0;
    QByteArray statusText;
    QByteArray headers;  // "Name: value\r\n" lines of the final response
    QByteArray body;
    QString error;
};

// Milliseconds; 0 or less is no limit.
struct PhaseLimits {
    int resolveMs = 0;
    int connectMs = 60000;
    int sendMs = 30000;
    int receiveMs = 30000;
};

// Progress of one transfer, seen by curl's callbacks and the loop that drives
// it, all on the same thread.
struct TransferState {
    Outcome outcome;
    TransferTicks start = 0;
    std::optional<TransferTicks> resolvedAt;   // a socket is being opened
    std::optional<TransferTicks> connectedAt;  // the request is about to go out
    std::optional<TransferTicks> sendProgressAt;
    std::optional<TransferTicks> sentAt;
    std::optional<TransferTicks> receivedAt;  // last header or body bytes
    curl_off_t uploaded = 0;
    curl_off_t bodySize = 0;
    bool tooLarge = false;
};

// Points curl's header, body, socket and pre-request callbacks at `state`.
void AttachTransferCallbacks(CURL* easy, TransferState& state);

// Runs the prepared `easy` to its end on `multi`, on whichever thread calls it.
// `abortRequested` ends it early; `errorBuffer` is the handle's CURLOPT_ERRORBUFFER.
Outcome RunTransfer(CURLM* multi, CURL* easy, TransferState& state, const PhaseLimits& limits,
                    const std::atomic<bool>& abortRequested, const char* errorBuffer);

}  // namespace lanxun
