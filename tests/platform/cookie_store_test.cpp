#include "platform/cookie_store.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace lanxun {
namespace {

class CookieStoreTest : public ::testing::Test {
protected:
    void SetUp() override { CookieStore::Instance().Clear(); }
    void TearDown() override { CookieStore::Instance().Clear(); }
    CookieStore& store = CookieStore::Instance();
};

TEST_F(CookieStoreTest, MatchesByHostAndDirectory) {
    store.SetCookie(QStringLiteral("http://shop.example:81/a/b.php"), QStringLiteral("dir"),
                    QStringLiteral("1"));
    store.SetCookie(QStringLiteral("http://shop.example/index"), QStringLiteral("root"),
                    QStringLiteral("2"));
    struct Case {
        const char* url;
        const char* cookies;
    } const cases[] = {
        {"http://shop.example/a/x.php", "dir=1; root=2"},  // longer path first
        {"http://SHOP.example/a", "dir=1; root=2"},
        {"https://shop.example:8443/a/deeper/y?q=1#f", "dir=1; root=2"},
        {"http://shop.example/ab", "root=2"},
        {"http://shop.example/", "root=2"},
        {"http://other.example/a/x.php", ""},
        {"http://sub.shop.example/a/x.php", ""},
        {"not a url", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(store.CookiesFor(QString::fromUtf8(c.url)), QString::fromUtf8(c.cookies))
            << c.url;
    }
}

TEST_F(CookieStoreTest, ReplaceKeepsOrderAndEmptyRemoves) {
    const QString url = QStringLiteral("http://h.example/p");
    store.SetCookie(url, QStringLiteral("a"), QStringLiteral("1"));
    store.SetCookie(url, QStringLiteral("b"), QStringLiteral("2"));
    store.SetCookie(url, QStringLiteral("a"), QStringLiteral("3"));
    EXPECT_EQ(store.CookiesFor(url), QStringLiteral("a=3; b=2"));
    store.SetCookie(url, QStringLiteral("a"), QString());
    EXPECT_EQ(store.CookiesFor(url), QStringLiteral("b=2"));
    store.SetCookie(url, QString(), QStringLiteral("x"));  // no name: ignored
    store.SetCookie(QString(), QStringLiteral("n"), QStringLiteral("x"));
    EXPECT_EQ(store.CookiesFor(url), QStringLiteral("b=2"));
}

TEST_F(CookieStoreTest, BoundedPerHost) {
    const QString url = QStringLiteral("http://h.example/");
    for (int i = 0; i < CookieStore::kMaxCookiesPerHost + 10; ++i) {
        store.SetCookie(url, QStringLiteral("k%1").arg(i), QStringLiteral("v"));
    }
    const QString all = store.CookiesFor(url);
    EXPECT_EQ(all.count(QStringLiteral("; ")) + 1, CookieStore::kMaxCookiesPerHost);
    EXPECT_FALSE(all.startsWith(QStringLiteral("k0=")));
    EXPECT_TRUE(all.endsWith(QStringLiteral("k%1=v").arg(CookieStore::kMaxCookiesPerHost + 9)));
}

TEST_F(CookieStoreTest, ThreadsWriteAndReadTogether) {
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([this, t] {
            const QString url = QStringLiteral("http://h%1.example/").arg(t);
            for (int i = 0; i < 200; ++i) {
                store.SetCookie(url, QStringLiteral("n%1").arg(i % 10), QString::number(i));
                store.CookiesFor(url);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (int t = 0; t < 4; ++t) {
        const QString cookies = store.CookiesFor(QStringLiteral("http://h%1.example/x").arg(t));
        EXPECT_EQ(cookies.count(QLatin1Char('=')), 10) << cookies.toStdString();
        EXPECT_TRUE(cookies.contains(QStringLiteral("n9=199")));
    }
}

}  // namespace
}  // namespace lanxun
