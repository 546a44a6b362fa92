// lanxun-platform-sim [--client-ports] [--host 127.0.0.1]
// Serves the local platform until SIGINT or SIGTERM.

#include <signal.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform_sim.h"

namespace {

void PrintUsage() {
    std::fprintf(stderr,
                 "usage: lanxun-platform-sim [--client-ports] [--host 127.0.0.1]\n"
                 "  --client-ports  listen on the client's own ports (82, 83, ...; ports below\n"
                 "                  1024 need root or CAP_NET_BIND_SERVICE); ephemeral otherwise\n"
                 "  --host HOST     address to listen on (default 127.0.0.1)\n");
}

}  // namespace

int main(int argc, char** argv) {
    std::string host = "127.0.0.1";
    bool clientPorts = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--client-ports") {
            clientPorts = true;
        } else if (arg == "--host" && i + 1 < argc) {
            host = argv[++i];
        } else if (arg == "--help" || arg == "-h") {
            PrintUsage();
            return 0;
        } else {
            std::fprintf(stderr, "lanxun-platform-sim: unknown argument %s\n", arg.c_str());
            PrintUsage();
            return 2;
        }
    }

    // Block the stop signals in every thread; the main thread takes them with sigwait.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    platformsim::PlatformSim sim(host);
    if (!sim.Start(clientPorts ? platformsim::Ports::Client() : platformsim::Ports::Ephemeral())) {
        std::fprintf(stderr, "lanxun-platform-sim: %s\n", sim.StartError().c_str());
        return 1;
    }
    using platformsim::Line;
    for (Line line : {Line::Account, Line::Project, Line::Docking, Line::Number, Line::Disposal,
                      Line::Poll, Line::Record, Line::Send, Line::Withdraw, Line::Recharge,
                      Line::Update, Line::Segment, Line::Proxy}) {
        std::printf("%s %s\n", platformsim::LineName(line).c_str(), sim.Address(line).c_str());
    }
    std::printf("ready\n");
    std::fflush(stdout);

    int received = 0;
    sigwait(&stopSignals, &received);
    sim.Stop();
    std::printf("stopped\n");
    return 0;
}
