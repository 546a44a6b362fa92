#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "api/http_request.h"
#include "platform/cookie_store.h"
#include "platform/gbk.h"
#include "platform_sim.h"
#include "support/sim_reply.h"
#include "support/sim_test.h"

namespace lanxun {
namespace {

using platformsim::Line;
using platformsim::PlatformSim;
using platformsim::ScriptedReply;
using ::testing::HasSubstr;
using ::testing::Not;

using Headers = std::vector<std::pair<std::string, std::string>>;

using test::Reply;

class HttpRequestCookiesTest : public test::SimTest {
protected:
    void SetUp() override { SimTest::SetUp(); }
    static void Get(HttpRequest& request, const char* path, bool keepOnClear = true) {
        request.SetTimeouts(5000, 5000, 5000, 5000);
        request.Open(QStringLiteral("GET"), Url(path));
        request.Send(std::nullopt, keepOnClear);
    }
    // The "Cookie" header of the i-th recorded request, "-" when it had none.
    static std::string CookieHeaderOf(size_t i) {
        const auto requests = sim_->Requests();
        if (i >= requests.size()) {
            return "<no request>";
        }
        const std::string& headers = requests[i].headers;
        const size_t at = headers.find("Cookie: ");
        if (at == std::string::npos) {
            return "-";
        }
        return headers.substr(at + 8, headers.find("\r\n", at) - at - 8);
    }
};

TEST_F(HttpRequestCookiesTest, JarTakesOverResponseCookies) {
    struct Case {
        const char* jar;        // before, as given to Cookies()
        const char* setCookie;  // the response's Set-Cookie value
        bool keepOnClear;
        const char* after;  // the jar afterwards
        bool changed;
    } const cases[] = {
        {"", "a=1; path=/", true, "; a=1; ", true},
        {"a=1", "a=2", true, "; a=2; ", true},
        {"a=2", "a=deleted", true, "; a=2; ", false},
        {"a=2", "a=deleted", false, "; ", true},
        {"a=2", "a=DELETED; expires=Thu, 01 Jan 1970 00:00:00 GMT", false, "; ", true},
        {"a=2", "a=", true, "; a=2; ", false},
        {"a=2", "a=", false, "; a=; ", true},
        {"a=2; b=3", "b=x", true, "; a=2; b=x; ", true},
        {"ab=1", "a=2", true, "; ab=1; a=2; ", true},
        {"", "a=Deleted", false, "; ", false},  // nothing to delete
        {"", "no-equals-sign", false, "; ", false},
        {"", "   c=1", true, "; c=1; ", true},
        {"", "名=值", true, "; 名=值; ", true},
    };
    for (const Case& c : cases) {
        // Header bytes are GBK on the wire.
        const std::string setCookie = ToGbk(QString::fromUtf8(c.setCookie)).toStdString();
        sim_->Script("/c", Reply(200, "", {{"Set-Cookie", setCookie}}));
        HttpRequest request;
        request.SetCookieMode(1);
        request.Cookies(QString::fromUtf8(c.jar));
        Get(request, "/c", c.keepOnClear);
        EXPECT_EQ(request.CookieJar(), QString::fromUtf8(c.after)) << c.jar << " + " << c.setCookie;
        EXPECT_EQ(request.CookieJarLength(), GbkByteLength(request.CookieJar()));
        EXPECT_EQ(request.CookiesChanged(), c.changed) << c.jar << " + " << c.setCookie;
    }
}

TEST_F(HttpRequestCookiesTest, JarSequenceOnOneObject) {
    HttpRequest request;
    request.SetCookieMode(1);
    sim_->ScriptSequence(
        "/seq",
        {Reply(200, "", {{"Set-Cookie", "a=1; path=/"}}), Reply(200, "", {{"Set-Cookie", "a=2"}}),
         Reply(200, "", {{"Set-Cookie", "a=deleted"}}), Reply(200, "", {{"Set-Cookie", "a="}}),
         Reply(200, "", {{"Set-Cookie", "a=deleted"}})});
    Get(request, "/seq");
    EXPECT_EQ(request.CookieJar(), QStringLiteral("; a=1; "));
    EXPECT_EQ(request.Cookies(), QStringLiteral("a=1"));
    Get(request, "/seq");
    EXPECT_EQ(request.Cookies(), QStringLiteral("a=2"));
    Get(request, "/seq", true);  // a=deleted, kept
    EXPECT_EQ(request.Cookies(), QStringLiteral("a=2"));
    Get(request, "/seq", true);  // a= with an empty value, kept
    EXPECT_EQ(request.Cookies(), QStringLiteral("a=2"));
    Get(request, "/seq", false);  // a=deleted, applied
    EXPECT_EQ(request.CookieJar(), QStringLiteral("; "));
    EXPECT_EQ(request.Cookies(), QString());
    // Each request carried the jar as it stood before it.
    EXPECT_EQ(CookieHeaderOf(0), "-");
    EXPECT_EQ(CookieHeaderOf(1), "a=1");
    EXPECT_EQ(CookieHeaderOf(2), "a=2");
    EXPECT_EQ(CookieHeaderOf(4), "a=2");
}

TEST(HttpRequestJar, CookiesReplacement) {
    struct Case {
        const char* replacement;
        const char* jar;
    } const cases[] = {
        {"x=1", "; x=1; "},
        {"x=1;", "; x=1; "},
        {"; x=1; ", "; x=1; "},
        {"x=1; y=2", "; x=1; y=2; "},
        {"", "; "},
        // A trailing blank stands in for the blank after ";".
        {"x=1 ", "; x=1 ;"},
    };
    for (const Case& c : cases) {
        HttpRequest request;
        request.SetCookieMode(1);
        EXPECT_EQ(request.Cookies(QString::fromUtf8(c.replacement)),
                  QString::fromUtf8(c.replacement));
        EXPECT_EQ(request.CookieJar(), QString::fromUtf8(c.jar)) << c.replacement;
        EXPECT_EQ(request.CookieJarLength(), static_cast<int>(qstrlen(c.jar)));
    }
    // Only in mode 1.
    HttpRequest plain;
    EXPECT_EQ(plain.Cookies(QStringLiteral("x=1")), QString());
    EXPECT_EQ(plain.CookieJar(), QStringLiteral("; "));
}

TEST(HttpRequestJar, CookieByName) {
    HttpRequest request;
    request.SetCookieMode(1);
    request.Cookies(QStringLiteral("a=1; ab=2; 名=值; e="));
    struct Case {
        const char* name;
        bool withName;
        const char* value;
    } const cases[] = {
        {"a", false, "1"},   {"a", true, "a=1"}, {"ab", false, "2"},
        {"名", false, "值"}, {"e", false, ""},   {"e", true, "e="},
        {"b", false, ""},    {"A", false, ""},   {"", false, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(request.Cookie(QString::fromUtf8(c.name), c.withName), QString::fromUtf8(c.value))
            << c.name << c.withName;
    }
}

TEST(HttpRequestJar, MergeAndRemove) {
    struct Case {
        bool merge;
        const char* text;
        bool changed;
        const char* jar;
    } const cases[] = {
        {true, "b=3; c=4", true, "; a=1; b=3; c=4; "},
        {true, "  c=4;;d", true, "; a=1; b=2; c=4; "},
        {true, "nothing", false, "; a=1; b=2; "},
        {true, "", false, "; a=1; b=2; "},
        {true, "a=deleted", true, "; a=deleted; b=2; "},  // no markers here
        {false, "a", true, "; b=2; "},
        {false, "a=anything; b", true, "; "},
        {false, "zz", false, "; a=1; b=2; "},
        {false, "", false, "; a=1; b=2; "},
    };
    for (const Case& c : cases) {
        HttpRequest request;
        request.SetCookieMode(1);
        request.Cookies(QStringLiteral("a=1; b=2"));
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(c.merge ? request.MergeCookies(text) : request.RemoveCookies(text), c.changed)
            << c.text;
        EXPECT_EQ(request.CookieJar(), QString::fromUtf8(c.jar)) << c.text;
        EXPECT_EQ(request.CookieJarLength(), GbkByteLength(request.CookieJar()));
        EXPECT_FALSE(request.CookiesChanged());
    }
    HttpRequest plain;
    EXPECT_FALSE(plain.MergeCookies(QStringLiteral("a=1")));
}

TEST_F(HttpRequestCookiesTest, CookieHeaderPerMode) {
    sim_->Script("/h", Reply(200, "ok"));
    // Mode 0: the header goes out as given.
    HttpRequest plain;
    plain.Open(QStringLiteral("GET"), Url("/h"));
    plain.SetRequestHeader(QStringLiteral("Cookie"), QStringLiteral("q=1"));
    plain.Send();
    EXPECT_EQ(CookieHeaderOf(0), "q=1");

    // Mode 1: a "cookie" header goes into the jar, and the jar is the header.
    HttpRequest jar;
    jar.SetCookieMode(1);
    jar.Cookies(QStringLiteral("x=1; y=2"));
    jar.Open(QStringLiteral("GET"), Url("/h"));
    jar.SetRequestHeader(QStringLiteral("COOKIE"), QStringLiteral("z=3; x=9"));
    jar.Send();
    EXPECT_EQ(CookieHeaderOf(1), "x=9; y=2; z=3");

    // Mode 2: into the store for the current URL, and from there to the header.
    HttpRequest store;
    store.SetCookieMode(2);
    store.Open(QStringLiteral("GET"), Url("/h"));
    store.SetRequestHeader(QStringLiteral("cookie"), QStringLiteral("s=1; t=2"));
    store.Send();
    EXPECT_EQ(CookieHeaderOf(2), "s=1; t=2");
}

TEST_F(HttpRequestCookiesTest, RedirectStepsSeeAndSendCookies) {
    for (int mode : {1, 2}) {
        sim_->ClearRequests();
        CookieStore::Instance().Clear();
        sim_->Script("/s1", Reply(302, "", {{"Set-Cookie", "s=1; path=/"}, {"Location", "/s2"}}));
        sim_->Script("/s2", Reply(302, "", {{"Set-Cookie", "t=2"}, {"Location", "/s3"}}));
        sim_->Script("/s3", Reply(200, "end"));
        HttpRequest request;
        request.SetCookieMode(mode);
        EXPECT_FALSE(request.ComponentRedirects());
        Get(request, "/s1");
        EXPECT_EQ(request.ResponseBodyText(), QStringLiteral("end")) << mode;
        ASSERT_EQ(sim_->Requests().size(), 3u) << mode;
        EXPECT_EQ(CookieHeaderOf(0), "-") << mode;
        EXPECT_EQ(CookieHeaderOf(1), "s=1") << mode;
        EXPECT_EQ(CookieHeaderOf(2), "s=1; t=2") << mode;
    }
}

TEST_F(HttpRequestCookiesTest, TwentyOneStepChainWithCookiesOn) {
    for (int i = 1; i <= 21; ++i) {
        sim_->Script("/r" + std::to_string(i),
                     Reply(302, "", {{"Location", "/r" + std::to_string(i + 1)}}));
    }
    sim_->Script("/r22", Reply(200, "end"));
    HttpRequest request;
    request.SetCookieMode(1);
    Get(request, "/r1");
    EXPECT_EQ(sim_->Requests().size(), 21u);
    EXPECT_EQ(request.Status(), 302);
    EXPECT_EQ(request.RedirectCount(), 0);
}

TEST(HttpRequestModes, CookieModeAndRedirectOptions) {
    struct Case {
        int mode;
        bool followFirst;
        int modeAfter;
        bool componentRedirects;
    } const cases[] = {
        {1, true, 1, false}, {2, true, 2, false}, {0, true, 0, true},
        {7, true, 0, true},  {-1, true, 0, true}, {1, false, 1, false},
    };
    for (const Case& c : cases) {
        HttpRequest request;
        request.SetFollowRedirects(c.followFirst);
        request.SetCookieMode(c.mode);
        EXPECT_EQ(request.CookieMode(), c.modeAfter) << c.mode;
        EXPECT_EQ(request.ComponentRedirects(), c.componentRedirects) << c.mode;
        EXPECT_EQ(request.Option(HttpTransport::kOptionEnableRedirects).toBool(),
                  c.mode == 1 || c.mode == 2 ? false : c.componentRedirects)
            << c.mode;
    }
    // With cookies on, turning following on leaves the component's redirects off.
    HttpRequest request;
    request.SetCookieMode(1);
    request.SetFollowRedirects(true);
    EXPECT_FALSE(request.ComponentRedirects());
    request.Option(HttpTransport::kOptionEnableRedirects, true);
    EXPECT_TRUE(request.FollowRedirects());
    EXPECT_FALSE(request.ComponentRedirects());
    EXPECT_FALSE(request.Option(HttpTransport::kOptionEnableRedirects).toBool());
}

TEST_F(HttpRequestCookiesTest, ResponseCookies) {
    sim_->Script("/rc", Reply(200, "",
                              {{"Set-Cookie", "a=1; path=/"},
                               {"Set-Cookie", "b=deleted"},
                               {"set-cookie", "C=3"},
                               {"X-Set-Cookie", "x=9"},
                               {"Set-Cookie", ToGbk(QStringLiteral("名=值")).toStdString()}}));
    HttpRequest request;
    Get(request, "/rc");
    EXPECT_EQ(request.ResponseCookies(), QStringLiteral("a=1; C=3; 名=值"));
    EXPECT_EQ(request.ResponseCookie(QStringLiteral("A")), QStringLiteral("1"));
    EXPECT_EQ(request.ResponseCookie(QStringLiteral("c")), QStringLiteral("3"));
    EXPECT_EQ(request.ResponseCookie(QStringLiteral("b")), QStringLiteral("deleted"));
    EXPECT_EQ(request.ResponseCookie(QStringLiteral("名")), QStringLiteral("值"));
    EXPECT_EQ(request.ResponseCookie(QStringLiteral("x")), QString());
    EXPECT_EQ(request.ResponseCookie(QStringLiteral("zz")), QString());

    sim_->Script("/rc", Reply(200, ""));
    Get(request, "/rc");
    EXPECT_EQ(request.ResponseCookies(), QString());
}

TEST_F(HttpRequestCookiesTest, ManyCookies) {
    Headers headers;
    for (int i = 0; i < 2000; ++i) {
        headers.emplace_back("Set-Cookie", "k" + std::to_string(i) + "=v" + std::to_string(i));
    }
    sim_->Script("/many", Reply(200, "", headers));
    HttpRequest request;
    request.SetCookieMode(1);
    Get(request, "/many");
    EXPECT_EQ(request.Cookie(QStringLiteral("k1999")), QStringLiteral("v1999"));
    EXPECT_EQ(request.Cookies().count(QStringLiteral("; ")), 1999);
}

TEST_F(HttpRequestCookiesTest, ScanOfAFullHeaderBlockTakesEveryCookie) {
    // As many short cookies as curl takes in one response (300 KiB of headers),
    // none with attributes: the search for a ";" ends with each line.
    Headers headers;
    for (int i = 0; i < 17000; ++i) {
        headers.emplace_back("Set-Cookie", "a=");
    }
    sim_->Script("/full", Reply(200, "", headers));
    HttpRequest request;
    Get(request, "/full");
    ASSERT_EQ(request.Status(), 200) << request.LastError().toStdString();
    EXPECT_EQ(request.ResponseCookies().size(), 17000 * 4 - 2);
}

TEST_F(HttpRequestCookiesTest, StoreIsSharedBetweenThreads) {
    sim_->Script("/shop/login", Reply(200, "", {{"Set-Cookie", "session=abc; path=/"}}));
    sim_->Script("/shop/cart", Reply(200, "cart"));
    sim_->Script("/elsewhere", Reply(200, "x"));
    std::thread writer([] {
        HttpRequest request;
        request.SetCookieMode(2);
        Get(request, "/shop/login");
    });
    writer.join();
    std::thread reader([] {
        HttpRequest request;
        request.SetCookieMode(2);
        Get(request, "/shop/cart");
        Get(request, "/elsewhere");
    });
    reader.join();
    EXPECT_EQ(CookieHeaderOf(0), "-");
    EXPECT_EQ(CookieHeaderOf(1), "session=abc");
    EXPECT_EQ(CookieHeaderOf(2), "-");  // another directory of the host

    // A deletion marker clears the stored cookie.
    sim_->Script("/shop/logout", Reply(200, "", {{"Set-Cookie", "session=deleted"}}));
    HttpRequest request;
    request.SetCookieMode(2);
    Get(request, "/shop/logout", false);
    EXPECT_EQ(CookieStore::Instance().CookiesFor(Url("/shop/cart")), QString());
}

TEST_F(HttpRequestCookiesTest, ChangedCookiesRenewTheComponent) {
    sim_->Script("/set", Reply(200, "", {{"Set-Cookie", "a=1"}}));
    HttpRequest request;
    request.SetCookieMode(1);
    request.SetTimeouts(1234, 2345, 3456, 4567);
    request.Open(QStringLiteral("GET"), Url("/set"));
    request.Send();
    const auto first = request.Component();
    EXPECT_TRUE(request.CookiesChanged());
    request.Open(QStringLiteral("GET"), Url("/set"));
    EXPECT_NE(request.Component(), first);
    EXPECT_FALSE(request.CookiesChanged());
    EXPECT_FALSE(request.Option(HttpTransport::kOptionEnableRedirects).toBool());
    EXPECT_EQ(request.Option(HttpTransport::kOptionSslErrorIgnoreFlags).toInt(), 0x3300);
    const auto timeouts = request.Component()->GetTimeouts();
    EXPECT_EQ(timeouts.resolveMs, 1234);
    EXPECT_EQ(timeouts.receiveMs, 4567);
    // Unchanged cookies keep the component.
    sim_->Script("/set", Reply(200, ""));
    request.Send();
    const auto second = request.Component();
    request.Open(QStringLiteral("GET"), Url("/set"));
    EXPECT_EQ(request.Component(), second);
}

TEST_F(HttpRequestCookiesTest, ProxyCredentialsGoOutOnlyAfterSetProxyWithAUser) {
    sim_->Script("/p", Reply(200, "proxied", {{"Set-Cookie", "p=1"}}));
    sim_->SetProxyCredentials("pu", "pp");
    const QString proxy = QString::fromStdString(sim_->Address(Line::Proxy));
    HttpRequest request;
    request.SetProxy(proxy);
    EXPECT_FALSE(request.ProxyCredentialsPending());
    Get(request, "/p");
    EXPECT_EQ(request.Status(), 407);

    request.SetProxy(proxy, QStringLiteral("pu"), QStringLiteral("pp"));
    EXPECT_TRUE(request.ProxyCredentialsPending());
    EXPECT_EQ(request.ProxyAddress(), proxy);
    Get(request, "/p");
    EXPECT_EQ(request.Status(), 200);
    EXPECT_FALSE(request.ProxyCredentialsPending());
    EXPECT_EQ(request.ResponseBodyText(), QStringLiteral("proxied"));

    // Without a user the stored credentials stay, and a renewed component gets them again.
    request.SetProxy(proxy);
    EXPECT_EQ(request.ProxyUser(), QStringLiteral("pu"));
    request.SetCookieMode(1);
    Get(request, "/p");  // sets p=1: the next Open renews the component
    Get(request, "/p");
    EXPECT_EQ(request.Status(), 200);

    std::vector<std::string> proxyAuth;
    for (const auto& r : sim_->Requests()) {
        if (r.line == "proxy") {
            proxyAuth.push_back(r.headers.find("Proxy-Authorization: Basic cHU6cHA=") !=
                                        std::string::npos
                                    ? "auth"
                                    : "none");
        }
    }
    EXPECT_EQ(proxyAuth, (std::vector<std::string>{"none", "auth", "auth", "auth"}));

    // An empty address is direct.
    sim_->ClearRequests();
    request.SetProxy(QString());
    Get(request, "/p");
    ASSERT_EQ(sim_->Requests().size(), 1u);
    EXPECT_EQ(sim_->Requests()[0].line, "accountLine");
}

TEST_F(HttpRequestCookiesTest, Retries) {
    struct Case {
        const char* name;
        std::vector<ScriptedReply> replies;
        int attempts;
        bool result;
        size_t requests;
    } const cases[] = {
        {"504 four times, then 200",
         {Reply(504, ""), Reply(504, ""), Reply(504, ""), Reply(504, ""), Reply(200, "ok")},
         5,
         true,
         5},
        {"404 stops at once", {Reply(404, "")}, 5, false, 1},
        {"407 every time", {Reply(407, "")}, 5, false, 5},
        {"504 beyond the attempts", {Reply(504, "")}, 3, false, 3},
        {"no attempts", {Reply(200, "")}, 0, false, 0},
        {"301 counts as success", {Reply(301, "")}, 5, true, 1},
        {"500 stops and fails", {Reply(500, "")}, 5, false, 1},
    };
    for (const Case& c : cases) {
        sim_->ClearRequests();
        sim_->ScriptSequence("/retry", c.replies);
        HttpRequest request;
        request.SetTimeouts(5000, 5000, 5000, 5000);
        EXPECT_EQ(request.Get(Url("/retry"), {}, {}, {}, c.attempts), c.result) << c.name;
        EXPECT_EQ(sim_->Requests().size(), c.requests) << c.name;
    }
}

TEST_F(HttpRequestCookiesTest, PostHelpersSendBodyHeadersAndCookies) {
    sim_->ScriptSequence("/post", {Reply(504, ""), Reply(200, "done")});
    HttpRequest request;
    EXPECT_TRUE(request.Post(Url("/post"), QStringLiteral("a=1&b=2"), QStringLiteral("c=3"),
                             QStringLiteral("X-One: 1\r\nX-Two:   2")));
    const auto requests = sim_->Requests();
    ASSERT_EQ(requests.size(), 2u);
    for (const auto& r : requests) {
        EXPECT_EQ(r.method, "POST");
        EXPECT_EQ(r.body, "a=1&b=2");
        EXPECT_THAT(r.headers, HasSubstr("X-One: 1\r\n"));
        EXPECT_THAT(r.headers, HasSubstr("X-Two: 2\r\n"));
        EXPECT_THAT(r.headers, HasSubstr("Cookie: c=3\r\n"));
        EXPECT_THAT(r.headers, HasSubstr("Content-Type: application/x-www-form-urlencoded"));
    }
    sim_->ClearRequests();
    sim_->Script("/bytes", Reply(200, "ok"));
    EXPECT_TRUE(request.PostBytes(Url("/bytes"), QByteArray("\x00\xFF", 2)));
    ASSERT_EQ(sim_->Requests().size(), 1u);
    EXPECT_EQ(sim_->Requests()[0].body, std::string("\x00\xFF", 2));
}

TEST_F(HttpRequestCookiesTest, HeaderBlocksAndShortcuts) {
    sim_->Script("/hdr", Reply(200, "ok"));
    HttpRequest request;
    request.Open(QStringLiteral("GET"), Url("/hdr"));
    request.SetRequestHeaders(
        QStringLiteral("X-A: 1\r\nX-B:\u3000 2\r\n:empty name\r\nno colon line\r\nX-C: 3"));
    request.SetRequestHeaders(QString());
    request.SuppressRequestHeader(QStringLiteral("User-Agent"));
    request.SetReferer();
    request.SetOrigin(QStringLiteral("http://origin.example"));
    request.SetAccept();
    request.SetAcceptLanguage();
    request.SetAjaxHeader();
    request.SetClientAddress(QStringLiteral("10.1.2.3"));
    EXPECT_TRUE(request.UserAgentSet());
    request.Send();
    const std::string headers = sim_->Requests().at(0).headers;
    for (const std::string& line : {
             std::string("X-A: 1"),
             std::string("X-B: 2"),
             std::string("User-Agent: -"),
             "Referer: " + Url("/hdr").toStdString(),
             std::string("Origin: http://origin.example"),
             std::string("Accept: */*"),
             std::string("Accept-Language: zh-cn"),
             std::string("x-requested-with: XMLHttpRequest"),
             std::string("X-Forwarded-For: 10.1.2.3"),
             std::string("CLIENT_IP: 10.1.2.3"),
             std::string("VIA: 10.1.2.3"),
             std::string("REMOTE_ADDR: 10.1.2.3"),
         }) {
        EXPECT_THAT(headers, HasSubstr(line + "\r\n"));
    }
    // The line without ":" swallows the next name; neither goes out.
    EXPECT_THAT(headers, Not(HasSubstr("X-C")));
    EXPECT_THAT(headers, Not(HasSubstr("MSIE")));

    sim_->ClearRequests();
    request.Open(QStringLiteral("POST"), Url("/hdr"));
    request.SetUserAgent();
    request.SetContentType(QStringLiteral("text/plain"));
    EXPECT_TRUE(request.ContentTypeSet());
    request.Send(QStringLiteral("x"));
    const std::string second = sim_->Requests().at(0).headers;
    EXPECT_THAT(second,
                HasSubstr("User-Agent: Mozilla/5.0 (compatible; MSIE 10.0; Windows NT 6.2)"));
    EXPECT_THAT(second, HasSubstr("Content-Type: text/plain\r\n"));
    EXPECT_THAT(second, Not(HasSubstr("x-www-form-urlencoded")));
}

}  // namespace
}  // namespace lanxun
