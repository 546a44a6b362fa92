#pragma once

// The process-wide cookie store of cookie mode 2: one store shared by every
// thread. A cookie is kept for the host and the directory of the URL it was
// written for and is read back for URLs of that host whose path lies inside
// that directory, the way browsers match host-only cookies.

#include <QString>

namespace lanxun {

class CookieStore {
public:
    static CookieStore& Instance();

    // Every cookie that applies to `url` as "a=1; b=2": longer paths first, then
    // in the order they were first written. Empty for a URL without a host.
    QString CookiesFor(const QString& url) const;
    // Writes one cookie for `url`; an empty value removes it. Ignored for a URL
    // without a host or an empty name.
    void SetCookie(const QString& url, const QString& name, const QString& value);
    void Clear();

    // At most this many cookies per host; the oldest give way.
    static constexpr int kMaxCookiesPerHost = 1000;

private:
    CookieStore() = default;
};

}  // namespace lanxun
