// A platform call through HttpRequest next to a bare libcurl GET on one reused
// easy handle, both against the same local platform on loopback, in one run.
// Prints the ratio HttpRequest / bare.

#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "api/http_request.h"
#include "platform_sim.h"

namespace {

platformsim::PlatformSim* sim = nullptr;
std::string url;

size_t Collect(char* data, size_t size, size_t count, void* user) {
    static_cast<std::string*>(user)->append(data, size * count);
    return size * count;
}

void BM_HttpRequestGet(benchmark::State& state) {
    lanxun::HttpRequest request;
    const QString target = QString::fromStdString(url);
    for (auto _ : state) {
        request.SetTimeouts(15000, 15000, 15000, 15000);
        request.Open(QStringLiteral("GET"), target);
        request.Send();
        const QString reply = request.ResponseBodyText();
        if (reply.isEmpty()) {
            state.SkipWithError("empty reply");
            break;
        }
        benchmark::DoNotOptimize(reply);
    }
    sim->ClearRequests();
}

void BM_BareCurlGet(benchmark::State& state) {
    CURL* easy = curl_easy_init();
    std::string body;
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(easy, CURLOPT_USERAGENT,
                     "Mozilla/5.0 (compatible; MSIE 10.0; Windows NT 6.2)");
    for (auto _ : state) {
        body.clear();
        if (curl_easy_perform(easy) != CURLE_OK || body.empty()) {
            state.SkipWithError("transfer failed");
            break;
        }
        benchmark::DoNotOptimize(body);
    }
    curl_easy_cleanup(easy);
    sim->ClearRequests();
}

// Keeps every round's time per request, by benchmark.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            times_[run.run_name.function_name].push_back(run.GetAdjustedRealTime());
            times_[run.run_name.function_name + "/cpu"].push_back(run.GetAdjustedCPUTime());
        }
        ConsoleReporter::ReportRuns(runs);
    }
    double Median(const std::string& name) {
        std::vector<double> times = times_[name];
        if (times.empty()) {
            return 0;
        }
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    }

private:
    std::map<std::string, std::vector<double>> times_;
};

}  // namespace

int main(int argc, char** argv) {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    platformsim::PlatformSim platform;
    if (!platform.Start()) {
        std::fprintf(stderr, "local platform: %s\n", platform.StartError().c_str());
        return 1;
    }
    sim = &platform;
    platformsim::ScriptedReply reply;
    reply.body = "1|13800138000";
    platform.Script("yh_qh", reply);
    url = "http://" + platform.Address(platformsim::Line::Number) +
          "/yh_qh/username=demo&password=demo&id=1000";

    // Short rounds of the two, alternating, so that both see the same load
    // of a shared machine; the ratio compares the medians of the rounds.
    constexpr int kRounds = 7;
    for (int round = 0; round < kRounds; ++round) {
        benchmark::RegisterBenchmark("BM_BareCurlGet", BM_BareCurlGet)
            ->UseRealTime()
            ->Iterations(1000);
        benchmark::RegisterBenchmark("BM_HttpRequestGet", BM_HttpRequestGet)
            ->UseRealTime()
            ->Iterations(1000);
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double bare = reporter.Median("BM_BareCurlGet");
    const double ours = reporter.Median("BM_HttpRequestGet");
    const double bareCpu = reporter.Median("BM_BareCurlGet/cpu");
    const double oursCpu = reporter.Median("BM_HttpRequestGet/cpu");
    if (bare > 0 && ours > 0 && bareCpu > 0) {
        std::printf(
            "\nHttpRequest / bare libcurl GET, median of %d rounds: real time %.3f, "
            "CPU time of the client thread %.3f (goal <= 1.2)\n",
            kRounds, ours / bare, oursCpu / bareCpu);
    }
    benchmark::Shutdown();
    return 0;
}
