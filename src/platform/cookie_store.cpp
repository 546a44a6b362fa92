#include "platform/cookie_store.h"

#include <QUrl>

#include <algorithm>
#include <map>
#include <mutex>
#include <vector>

namespace lanxun {
namespace {

struct Cookie {
    QString path;
    QString name;
    QString value;
    quint64 created = 0;
};

struct Store {
    std::mutex mutex;
    std::map<QString, std::vector<Cookie>> byHost;  // host in lower case
    quint64 nextCreated = 0;
};

Store& TheStore() {
    static Store store;
    return store;
}

// Host and path of a URL; the host is empty when there is none.
void HostAndPath(const QString& url, QString& host, QString& path) {
    const QUrl parsed(url);
    host = parsed.host().toLower();
    path = parsed.path();
    if (path.isEmpty() || !path.startsWith(QLatin1Char('/'))) {
        path = QStringLiteral("/");
    }
}

// The directory a cookie written for `path` belongs to.
QString DefaultPath(const QString& path) {
    const qsizetype last = path.lastIndexOf(QLatin1Char('/'));
    return last <= 0 ? QStringLiteral("/") : path.left(last);
}

bool PathMatches(const QString& requestPath, const QString& cookiePath) {
    if (requestPath == cookiePath) {
        return true;
    }
    if (!requestPath.startsWith(cookiePath)) {
        return false;
    }
    return cookiePath.endsWith(QLatin1Char('/')) ||
           requestPath.at(cookiePath.size()) == QLatin1Char('/');
}

}  // namespace

CookieStore& CookieStore::Instance() {
    static CookieStore instance;
    return instance;
}

QString CookieStore::CookiesFor(const QString& url) const {
    QString host, path;
    HostAndPath(url, host, path);
    if (host.isEmpty()) {
        return {};
    }
    Store& store = TheStore();
    std::vector<Cookie> matching;
    {
        std::lock_guard lock(store.mutex);
        const auto found = store.byHost.find(host);
        if (found == store.byHost.end()) {
            return {};
        }
        for (const Cookie& cookie : found->second) {
            if (PathMatches(path, cookie.path)) {
                matching.push_back(cookie);
            }
        }
    }
    std::stable_sort(matching.begin(), matching.end(), [](const Cookie& a, const Cookie& b) {
        if (a.path.size() != b.path.size()) {
            return a.path.size() > b.path.size();
        }
        return a.created < b.created;
    });
    QStringList pairs;
    for (const Cookie& cookie : matching) {
        pairs << cookie.name + QLatin1Char('=') + cookie.value;
    }
    return pairs.join(QStringLiteral("; "));
}

void CookieStore::SetCookie(const QString& url, const QString& name, const QString& value) {
    QString host, path;
    HostAndPath(url, host, path);
    if (host.isEmpty() || name.isEmpty()) {
        return;
    }
    const QString cookiePath = DefaultPath(path);
    Store& store = TheStore();
    std::lock_guard lock(store.mutex);
    std::vector<Cookie>& cookies = store.byHost[host];
    auto same = std::find_if(cookies.begin(), cookies.end(), [&](const Cookie& cookie) {
        return cookie.name == name && cookie.path == cookiePath;
    });
    if (value.isEmpty()) {
        if (same != cookies.end()) {
            cookies.erase(same);
        }
        return;
    }
    if (same != cookies.end()) {
        same->value = value;  // keeps its place in the order
        return;
    }
    if (static_cast<int>(cookies.size()) >= kMaxCookiesPerHost) {
        cookies.erase(std::min_element(
            cookies.begin(), cookies.end(),
            [](const Cookie& a, const Cookie& b) { return a.created < b.created; }));
    }
    cookies.push_back({cookiePath, name, value, store.nextCreated++});
}

void CookieStore::Clear() {
    Store& store = TheStore();
    std::lock_guard lock(store.mutex);
    store.byHost.clear();
}

}  // namespace lanxun
