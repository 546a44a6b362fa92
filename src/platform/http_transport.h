#pragma once

// One HTTP exchange at a time over one libcurl easy handle: the request
// component under HttpRequest. The handle (and its connection) is reused from
// one request to the next.
//
// Sending on the thread of the QApplication keeps the windows painting but
// holds back user input until the reply or a time-out (the transfer runs on a
// worker meanwhile); on any other thread a send simply blocks. An asynchronous
// request runs on a worker of its own until WaitForResponse or Abort.
//
// A request sent from a worker ends when that worker is told to stop, and a
// worker that is stopping sends nothing: Send fails at once. The time-outs are
// clock time (see Clock), while their messages name the values as set.

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <memory>

namespace lanxun {

class HttpTransport {
public:
    // The component's option numbers that this transport understands.
    enum OptionIndex {
        kOptionUserAgent = 0,               // text sent when no "User-Agent" header is set
        kOptionUrl = 1,                     // read only: the URL as it goes out
        kOptionSslErrorIgnoreFlags = 4,     // 0x0100 | 0x0200 | 0x1000 | 0x2000
        kOptionEnableRedirects = 6,         // bool, default true
        kOptionMaxAutomaticRedirects = 14,  // default 10
    };
    enum SslErrorIgnoreFlag {
        kIgnoreUnknownCa = 0x0100,
        kIgnoreWrongUsage = 0x0200,
        kIgnoreInvalidCommonName = 0x1000,
        kIgnoreInvalidDate = 0x2000,
    };
    enum ProxySetting { kProxyDefault = 0, kProxyDirect = 1, kProxyNamed = 2 };
    enum CredentialsFor { kForServer = 0, kForProxy = 1 };
    enum AutoLogonPolicy { kAutoLogonAlways = 0, kAutoLogonIntranet = 1, kAutoLogonNever = 2 };

    HttpTransport();
    ~HttpTransport();
    HttpTransport(const HttpTransport&) = delete;
    HttpTransport& operator=(const HttpTransport&) = delete;

    // Ends a request still running and forgets the last response and the
    // request headers.
    bool Open(const QString& method, const QString& url, bool async = false);
    // Replaces a header of the same name (any letter case); an empty value
    // removes it.
    bool SetRequestHeader(const QString& name, const QString& value);
    // A text body goes out as UTF-8, or as GBK when the "Content-Type" header
    // names a GBK charset.
    bool Send();
    bool Send(const QString& body);
    bool Send(const QByteArray& body);

    // Milliseconds; 0 or less waits without limit. See the .cpp for how each
    // one is measured.
    void SetTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs);
    struct Timeouts {
        int resolveMs, connectMs, sendMs, receiveMs;
    };
    Timeouts GetTimeouts() const;

    // Asynchronous requests. A negative time-out waits without limit.
    bool WaitForResponse(int timeoutMs = -1);
    void Abort();

    QByteArray ResponseBody();
    // The body decoded by the charset of "Content-Type" (GBK or UTF-8).
    QString ResponseText();
    // Every header of the final response as "Name: value\r\n" lines, no status line.
    QString AllResponseHeaders();
    // The first header of that name (any letter case).
    QString ResponseHeader(const QString& name);
    int Status();
    QString StatusText();

    // `server` is "host:port"; `bypass` a comma-separated list of hosts.
    bool SetProxy(ProxySetting setting, const QString& server = {}, const QString& bypass = {});
    bool SetCredentials(const QString& user, const QString& password, CredentialsFor target);
    // A PEM file holding the client certificate and its key; empty to send none.
    bool SetClientCertificate(const QString& path);
    bool SetAutoLogonPolicy(int policy);

    QVariant Option(int index);
    bool SetOption(int index, const QVariant& value);

    // What the last failed operation ran into; empty after a success.
    QString LastError() const;

    // The request target escaping used on the way out: every non-ASCII
    // character as percent-escaped UTF-8, blanks, control characters and "#"
    // escaped, everything else (existing "%xx", "&", "=") unchanged.
    static QByteArray EscapeUrl(const QString& url);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace lanxun
