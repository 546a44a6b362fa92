#include "platform/cookie_store.h"

#include <gtest/gtest.h>

#include <QStringView>

#include <atomic>
#include <thread>
#include <vector>

namespace lanxun {
namespace {

class CookieStoreTest : public ::testing::Test {
protected:
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

// "name=t<digit>-<digits>" pairs joined by "; ", as the contention test writes them.
bool WellFormed(QStringView cookies) {
    for (QStringView piece : cookies.tokenize(u"; ", Qt::SkipEmptyParts)) {
        const qsizetype equals = piece.indexOf(u'=');
        if (equals < 1 || piece.size() < equals + 4 || piece[equals + 1] != u't' ||
            !piece[equals + 2].isDigit() || piece[equals + 3] != u'-') {
            return false;
        }
        for (QChar c : piece.mid(equals + 4)) {
            if (!c.isDigit()) {
                return false;
            }
        }
    }
    return true;
}

TEST_F(CookieStoreTest, ThreadsContendOnOneHost) {
    // Every thread writes, removes and reads the same few names on one host,
    // so the host's list grows, shrinks and moves under the others; each also
    // adds names of its own that must all survive. Values are "t<thread>-<i>",
    // so a torn or foreign text shows in a read.
    constexpr int kThreads = 4;
    constexpr int kRounds = 3000;
    constexpr int kOwnNames = 150;  // kThreads * kOwnNames stays below the per-host bound
    constexpr int kOwnEvery = kRounds / kOwnNames;
    const QString url = QStringLiteral("http://one.example/p");
    std::atomic<int> ready{0};
    std::atomic<int> badReads{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            ++ready;
            while (ready < kThreads) {
                std::this_thread::yield();  // start together, for the most overlap
            }
            for (int i = 0; i < kRounds; ++i) {
                const QString value = QStringLiteral("t%1-%2").arg(t).arg(i);
                const QString shared = QStringLiteral("s%1").arg(i % 4);
                store.SetCookie(url, shared, value);
                if (i % kOwnEvery == 0) {
                    store.SetCookie(url, QStringLiteral("o%1-%2").arg(t).arg(i / kOwnEvery), value);
                }
                if (i % 3 == 0) {
                    store.SetCookie(url, shared, QString());
                }
                if (!WellFormed(store.CookiesFor(url))) {
                    ++badReads;
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(badReads, 0);
    const QString all = store.CookiesFor(url);
    EXPECT_TRUE(WellFormed(all)) << all.toStdString();
    for (int t = 0; t < kThreads; ++t) {
        for (int n = 0; n < kOwnNames; ++n) {
            EXPECT_TRUE(all.contains(QStringLiteral("o%1-%2=").arg(t).arg(n)))
                << "lost write o" << t << "-" << n;
        }
    }
}

}  // namespace
}  // namespace lanxun
