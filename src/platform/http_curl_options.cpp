#include "platform/http_curl_options.h"

namespace lanxun {
namespace {

// The text before the first `separator`, or all of it.
QByteArray Before(const QByteArray& text, char separator) {
    const qsizetype at = text.indexOf(separator);
    return at < 0 ? text : text.left(at);
}

bool AutoLogonAllowed(const QByteArray& url, int policy) {
    if (policy == HttpTransport::kAutoLogonAlways) {
        return true;
    }
    if (policy != HttpTransport::kAutoLogonIntranet) {
        return false;
    }
    // An intranet host is a single-label name ("http://fileserver/").
    QByteArray host = url.mid(url.indexOf("://") + 3);
    host = Before(Before(host, '/'), ':');
    return !host.isEmpty() && !host.contains('.');
}

void ApplyMethodAndBody(CURL* easy, const RequestSpec& request) {
    if (request.method == "GET" && !request.hasBody) {
        curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    } else if (request.method == "HEAD" && !request.hasBody) {
        curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
    } else {
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(request.body.size()));
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, request.body.constData());
        if (request.method != "POST") {
            curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, request.method.constData());
        }
    }
}

void ApplyHeaders(CURL* easy, const RequestSpec& request, const TransportSettings& settings,
                  CurlHeaderList& headerList) {
    for (const auto& [name, value] : request.headers) {
        headerList.Add(name + ": " + value);
    }
    if (!request.HasHeader("Expect")) {
        headerList.Add("Expect:");  // no 100-continue round trip for larger bodies
    }
    if (!request.HasHeader("Content-Type") && request.hasBody) {
        headerList.Add("Content-Type:");  // curl would add a form type of its own
    }
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headerList.List());
    if (!settings.userAgent.isEmpty()) {
        curl_easy_setopt(easy, CURLOPT_USERAGENT, settings.userAgent.toUtf8().constData());
    }
}

void ApplyCertificates(CURL* easy, const TransportSettings& settings) {
    const int flags = settings.sslIgnoreFlags;
    const bool ignoreCa =
        (flags & (HttpTransport::kIgnoreUnknownCa | HttpTransport::kIgnoreWrongUsage |
                  HttpTransport::kIgnoreInvalidDate)) != 0;
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, ignoreCa ? 0L : 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST,
                     (flags & HttpTransport::kIgnoreInvalidCommonName) != 0 ? 0L : 2L);
    if (!settings.clientCertificate.isEmpty()) {
        curl_easy_setopt(easy, CURLOPT_SSLCERT, settings.clientCertificate.constData());
        curl_easy_setopt(easy, CURLOPT_SSLKEY, settings.clientCertificate.constData());
    }
}

void ApplyProxy(CURL* easy, const TransportSettings& settings) {
    // Only a named proxy is used; the default setting means direct, so the
    // environment never redirects the program's requests.
    if (settings.proxySetting == HttpTransport::kProxyNamed && !settings.proxyServer.isEmpty()) {
        curl_easy_setopt(easy, CURLOPT_PROXY, settings.proxyServer.constData());
        if (!settings.proxyBypass.isEmpty()) {
            curl_easy_setopt(easy, CURLOPT_NOPROXY, settings.proxyBypass.constData());
        }
        if (!settings.proxyUser.isEmpty() || !settings.proxyPassword.isEmpty()) {
            // Basic, sent with the first request (curl's default for proxies).
            curl_easy_setopt(easy, CURLOPT_PROXYUSERNAME, settings.proxyUser.constData());
            curl_easy_setopt(easy, CURLOPT_PROXYPASSWORD, settings.proxyPassword.constData());
        }
    } else {
        curl_easy_setopt(easy, CURLOPT_PROXY, "");
    }
}

void ApplyServerAuthentication(CURL* easy, const RequestSpec& request,
                               const TransportSettings& settings) {
    if (settings.hasServerCredentials) {
        // Answer the server's challenge only; credentials never go out unasked.
        curl_easy_setopt(easy, CURLOPT_USERNAME, settings.serverUser.constData());
        curl_easy_setopt(easy, CURLOPT_PASSWORD, settings.serverPassword.constData());
        curl_easy_setopt(easy, CURLOPT_HTTPAUTH, CURLAUTH_ANY);
    } else if (AutoLogonAllowed(request.url, settings.autoLogonPolicy)) {
        // The logged-on user's Kerberos ticket, when a server asks for it.
        curl_easy_setopt(easy, CURLOPT_USERPWD, ":");
        curl_easy_setopt(easy, CURLOPT_HTTPAUTH, CURLAUTH_NEGOTIATE | CURLAUTH_NTLM);
    }
}

}  // namespace

QByteArray RequestSpec::Header(const QByteArray& name) const {
    for (const auto& [key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0) {
            return value;
        }
    }
    return {};
}

bool RequestSpec::HasHeader(const QByteArray& name) const {
    for (const auto& header : headers) {
        if (header.first.compare(name, Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

void ApplyCurlOptions(CURL* easy, const RequestSpec& request, const TransportSettings& settings,
                      CurlHeaderList& headerList, char* errorBuffer) {
    curl_easy_reset(easy);  // keeps the live connection
    curl_easy_setopt(easy, CURLOPT_URL, request.url.constData());
    curl_easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorBuffer);
    errorBuffer[0] = '\0';

    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, settings.followRedirects ? 1L : 0L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, static_cast<long>(settings.maxRedirects));

    // curl's own limit covers name resolution and connecting together; the
    // transfer loop holds each phase to its own limit on top of that.
    const PhaseLimits& limits = settings.limits;
    if (limits.resolveMs > 0 && limits.connectMs > 0) {
        curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS,
                         static_cast<long>(limits.resolveMs) + static_cast<long>(limits.connectMs));
    }

    ApplyMethodAndBody(easy, request);
    ApplyHeaders(easy, request, settings, headerList);
    ApplyCertificates(easy, settings);
    ApplyProxy(easy, settings);
    ApplyServerAuthentication(easy, request, settings);
}

}  // namespace lanxun
