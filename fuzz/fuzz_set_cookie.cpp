// The "Set-Cookie" scan of a response's header lines, and the cookie texts a
// caller hands the object's own jar. Input: the header block, a zero byte, a
// cookie text, a zero byte, a cookie name, a zero byte, a URL for the
// process-wide store.

#include <QUrl>

#include "api/http_request.h"
#include "fuzz_check.h"
#include "platform/cookie_store.h"
#include "platform/gbk.h"

using namespace lanxun;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QList<QByteArray> parts = fuzz::Parts(fuzz::Bytes(data, size), 4);
    const QByteArray headers = fuzz::HeaderBlock(parts[0]);

    for (const QByteArray& cookie : ScanSetCookies(headers)) {
        // One line's cookie, its attributes left off.
        FUZZ_CHECK(!cookie.contains('\n'));
        FUZZ_CHECK(headers.contains(cookie));
    }

    HttpRequest request;
    request.SetCookieMode(1);
    const QString text = FromGbk(parts[1]);
    const QString name = FromGbk(parts[2]);
    request.SetCookies(text);
    request.Cookie(name);
    request.Cookie(name, true);
    request.MergeCookies(text + QStringLiteral("; ") + name);
    request.Cookies();
    request.RemoveCookies(name);
    request.RemoveCookies(text);
    // The jar keeps its frame whatever it was given.
    FUZZ_CHECK(request.CookieJar().startsWith(QLatin1String("; ")));

    // The store gives back what it was given for the same URL.
    const QString url = FromGbk(parts[3]);
    CookieStore& store = CookieStore::Instance();
    store.SetCookie(url, name, text);
    const QString back = store.CookiesFor(url);
    if (!QUrl(url).host().isEmpty() && !name.isEmpty() && !text.isEmpty()) {
        FUZZ_CHECK(back.contains(name + u'=' + text));
    }
    store.Clear();
    return 0;
}
