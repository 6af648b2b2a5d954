// receiver-sim: the simulated GPS receiver on a pseudo-terminal. Prints "PTY <slave path>" as its
// first line on stdout, then serves until SIGTERM or SIGINT, writes the rest of the trace and
// exits 0. Exit 2: bad arguments; 1: the pty, the link or the trace file could not be set up.
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "receiver-sim/CommandLine.h"
#include "receiver-sim/PtyHost.h"
#include "receiver-sim/ReceiverModel.h"
#include "receiver-sim/TraceFile.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void onStopSignal(int) { stopRequested = 1; }

bool makeLink(const std::string& link, const std::string& target, std::string& error) {
    if (::unlink(link.c_str()) != 0 && errno != ENOENT) {
        error = "cannot replace " + link + ": " + std::strerror(errno);
        return false;
    }
    if (::symlink(target.c_str(), link.c_str()) != 0) {
        error = "cannot create link " + link + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    sim::ProgramOptions options;
    std::string error;
    if (!sim::CommandLine::parse(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "receiver-sim: %s\n%s", error.c_str(), sim::CommandLine::usage());
        return 2;
    }
    if (options.help) {
        std::fputs(sim::CommandLine::usage(), stdout);
        return 0;
    }

    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);

    sim::TraceFile trace;
    if (!options.traceFile.empty() && !trace.open(options.traceFile, error)) {
        std::fprintf(stderr, "receiver-sim: %s\n", error.c_str());
        return 1;
    }
    sim::ReceiverModel model(options.model);
    sim::PtyHost host(model);
    if (!host.open(error)) {
        std::fprintf(stderr, "receiver-sim: %s\n", error.c_str());
        return 1;
    }
    if (!options.linkPath.empty() && !makeLink(options.linkPath, host.slavePath(), error)) {
        std::fprintf(stderr, "receiver-sim: %s\n", error.c_str());
        return 1;
    }
    std::printf("PTY %s\n", host.slavePath().c_str());
    std::fflush(stdout);

    host.serve(stopRequested, trace);

    if (!options.linkPath.empty()) ::unlink(options.linkPath.c_str());
    return 0;
}
