// The URL parse, Open's normalisation and the "Location" rules. Input: the
// current URL, a zero byte, then the response's header lines.

#include "api/http_request.h"
#include "fuzz_check.h"
#include "platform/gbk.h"

using namespace lanxun;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QList<QByteArray> parts = fuzz::Parts(fuzz::Bytes(data, size), 2);
    const QString url = FromGbk(parts[0]);
    const QByteArray headers = fuzz::HeaderBlock(parts[1]);

    const QString normal = NormaliseUrl(url);
    FUZZ_CHECK(normal.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
               normal.startsWith(QLatin1String("https://"), Qt::CaseInsensitive));
    FUZZ_CHECK(normal.endsWith(url));

    for (const QString& candidate : {url, normal}) {
        const std::optional<UrlParts> urlParts = ParseUrl(candidate);
        FUZZ_CHECK(urlParts.has_value() == !candidate.isEmpty());
        if (urlParts) {
            FUZZ_CHECK(urlParts->scheme == u"http://" || urlParts->scheme == u"https://");
            FUZZ_CHECK(urlParts->path.startsWith(u'/'));
            FUZZ_CHECK(urlParts->port > 0);
        }
    }

    const QString relative = RedirectLocationIn(headers, normal, false);
    const QString absolute = RedirectLocationIn(headers, normal, true);
    FUZZ_CHECK(relative.isEmpty() == absolute.isEmpty());
    FUZZ_CHECK(!relative.contains(u'\n'));
    // Made absolute against a normalised URL, the next request has a scheme.
    FUZZ_CHECK(absolute.isEmpty() ||
               absolute.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
               absolute.startsWith(QLatin1String("https://"), Qt::CaseInsensitive));
    return 0;
}
