// Costs of the reply grammar, the value encoding and the pattern matcher at the
// sizes the client meets. Each group carries a plain-Qt baseline measured in the
// same run, so the figures read as ratios.

#include <benchmark/benchmark.h>

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include "api/pattern_matcher.h"
#include "api/protocol.h"
#include "api/replies.h"
#include "platform/gbk.h"

namespace {

using namespace lanxun;

// A liebiao_xm reply of `count` projects, spaces in names as the platform sends them.
QString ProjectListReply(int count) {
    QString reply;
    for (int i = 0; i < count; ++i) {
        reply += QStringLiteral("%1#c-微信 注册项目%1(发送号码:10690#10691)#c-1.50#c-x#c-%2#c+")
                     .arg(1000 + i)
                     .arg(i % 2);
    }
    return reply;
}

const QString& ListReply2000() {
    static const QString reply = ProjectListReply(2000);
    return reply;
}

void BM_SplitText_Fields(benchmark::State& state) {
    const QString reply = QStringLiteral("100.50|20.00|x|y|问题|12345|张三|pay@x|公告|800|普通");
    for (auto _ : state) {
        benchmark::DoNotOptimize(SplitText(reply, u"|"));
    }
}
BENCHMARK(BM_SplitText_Fields);

void BM_QStringSplit_Fields(benchmark::State& state) {
    const QString reply = QStringLiteral("100.50|20.00|x|y|问题|12345|张三|pay@x|公告|800|普通");
    for (auto _ : state) {
        benchmark::DoNotOptimize(reply.split(u'|'));
    }
}
BENCHMARK(BM_QStringSplit_Fields);

void BM_SplitText_Records2000(benchmark::State& state) {
    const QString& reply = ListReply2000();
    for (auto _ : state) {
        benchmark::DoNotOptimize(SplitText(reply, u"#c+"));
    }
    state.SetBytesProcessed(state.iterations() * reply.size() * 2);
}
BENCHMARK(BM_SplitText_Records2000);

void BM_ReadListReply2000(benchmark::State& state) {
    const QString& reply = ListReply2000();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadListReply(reply, 5));
    }
    state.SetItemsProcessed(state.iterations() * 2000);
}
BENCHMARK(BM_ReadListReply2000);

// Baseline: split into records, then each record into fields, with QString::split.
void BM_QStringSplitTwice2000(benchmark::State& state) {
    const QString& reply = ListReply2000();
    for (auto _ : state) {
        QList<QStringList> records;
        for (const QString& record : reply.split(QStringLiteral("#c+"), Qt::SkipEmptyParts)) {
            QStringList fields = record.split(QStringLiteral("#c-"));
            if (fields.size() >= 5) {
                records.append(std::move(fields));
            }
        }
        benchmark::DoNotOptimize(records);
    }
    state.SetItemsProcessed(state.iterations() * 2000);
}
BENCHMARK(BM_QStringSplitTwice2000);

void BM_ReadProjectList2000(benchmark::State& state) {
    const QString& reply = ListReply2000();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadProjectList(reply));
    }
    state.SetItemsProcessed(state.iterations() * 2000);
}
BENCHMARK(BM_ReadProjectList2000);

void BM_PercentEncodeUtf8(benchmark::State& state) {
    const QString text = QStringLiteral("您的验证码是【123456】，5分钟内有效。\r\nabc");
    for (auto _ : state) {
        benchmark::DoNotOptimize(PercentEncodeUtf8(text));
    }
}
BENCHMARK(BM_PercentEncodeUtf8);

// Baseline: Qt's own escaping, which leaves letters and digits as they are.
void BM_QByteArrayToPercentEncoding(benchmark::State& state) {
    const QString text = QStringLiteral("您的验证码是【123456】，5分钟内有效。\r\nabc");
    for (auto _ : state) {
        benchmark::DoNotOptimize(QString::fromLatin1(text.toUtf8().toPercentEncoding()));
    }
}
BENCHMARK(BM_QByteArrayToPercentEncoding);

struct PatternCase {
    const char* pattern;
    const char16_t* subject;
};

const PatternCase kPatterns[] = {
    {"[0-9][0-9]{0,}", u"【腾讯科技】您的验证码是482913，5分钟内有效，请勿泄露给他人。"},
    {"province:'(.*?)',",
     u"__GetZoneResult_ = {\r\n    mts:'1380013',\r\n    province:'广东',\r\n    "
     u"catName:'中国移动',\r\n    telString:'13800138000'\r\n}"},
    {"(.*?)]", u"[1000]微信注册 - {价格}：1.5"},
};

void BM_PatternMatcher(benchmark::State& state) {
    const PatternCase& c = kPatterns[state.range(0)];
    const QString pattern = QString::fromLatin1(c.pattern);
    const QString subject = QString::fromUtf16(c.subject);
    for (auto _ : state) {
        // As the client uses it: a fresh Execute per text, then the first result.
        PatternMatcher matcher;
        matcher.Execute(pattern, subject);
        benchmark::DoNotOptimize(state.range(0) == 0 ? matcher.MatchText(1)
                                                     : matcher.SubMatchText(1, 1));
    }
}
BENCHMARK(BM_PatternMatcher)->DenseRange(0, 2);

// Baseline: one QRegularExpression built and matched once, no match list kept.
void BM_QRegularExpressionFirstMatch(benchmark::State& state) {
    const PatternCase& c = kPatterns[state.range(0)];
    const QString pattern = QString::fromLatin1(c.pattern);
    const QString subject = QString::fromUtf16(c.subject);
    for (auto _ : state) {
        const QRegularExpression expression(pattern, QRegularExpression::CaseInsensitiveOption |
                                                         QRegularExpression::MultilineOption);
        const QRegularExpressionMatch match = expression.match(subject);
        benchmark::DoNotOptimize(match.captured(state.range(0) == 0 ? 0 : 1));
    }
}
BENCHMARK(BM_QRegularExpressionFirstMatch)->DenseRange(0, 2);

// A header block of `lines` Set-Cookie lines with a Chinese name each, walked
// line by line as the cookie scan walks it; the plain byte search is the
// baseline, so a search that rescans from the start shows as a growing ratio.
QByteArray HeaderBlock(int lines) {
    QByteArray text;
    for (int i = 0; i < lines; ++i) {
        text += "Set-Cookie: \xB3\xC9=1\r\n";
    }
    return text;
}

void BM_GbkIndexOfLineWalk(benchmark::State& state) {
    const QByteArray text = HeaderBlock(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        int found = 0;
        for (qsizetype p = GbkIndexOf(text, "\r\n"); p >= 0; p = GbkIndexOf(text, "\r\n", p + 2)) {
            ++found;
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_GbkIndexOfLineWalk)->Arg(1000)->Arg(80000);

void BM_QByteArrayIndexOfLineWalk(benchmark::State& state) {
    const QByteArray text = HeaderBlock(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        int found = 0;
        for (qsizetype p = text.indexOf("\r\n"); p >= 0; p = text.indexOf("\r\n", p + 2)) {
            ++found;
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_QByteArrayIndexOfLineWalk)->Arg(1000)->Arg(80000);

}  // namespace

BENCHMARK_MAIN();
