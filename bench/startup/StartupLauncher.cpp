// Starts probe programs in interleaved rounds (each round runs every program once, in an order
// that rotates from round to round) and reports, per program, the time to its first paint and
// its peak resident memory, and the processor time it used up to that paint: minimum and median
// of each.
//   startup_launcher RUNS PROGRAM [ARGUMENTS...] [-- PROGRAM [ARGUMENTS...]]...
// Other work on the machine skews start-up times, so the launcher first waits for a quiet
// machine (at most STARTUP_QUIET_WAIT seconds, 60 unless set) and, before each round, gives it
// up to two seconds more to quieten again. It reports how many rounds began on a quiet machine.

#include "ProcessTiming.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Idle and total jiffies of all processors together, from /proc/stat.
struct CpuTimes
{
    unsigned long long idle = 0;
    unsigned long long total = 0;
};

CpuTimes readCpuTimes()
{
    std::ifstream stat("/proc/stat");
    std::string label;
    stat >> label;
    CpuTimes times;
    unsigned long long value = 0;
    for (int field = 0; field < 10 && stat >> value; ++field) {
        times.total += value;
        if (field == 3 || field == 4) // idle, iowait
            times.idle += value;
    }
    return times;
}

// Waits until the processors have been at least 85 % idle over a tenth of a second, or until
// `limitSeconds` have passed. Returns whether the machine was quiet.
bool waitForQuiet(double limitSeconds)
{
    const long long deadline = monotonicNanoseconds() + static_cast<long long>(limitSeconds * 1e9);
    do {
        const CpuTimes before = readCpuTimes();
        usleep(100'000);
        const CpuTimes after = readCpuTimes();
        if (after.total == before.total)
            return true; // no /proc/stat to read: nothing to wait for
        if (double(after.idle - before.idle) / double(after.total - before.total) >= 0.85)
            return true;
    } while (monotonicNanoseconds() < deadline);
    return false;
}

struct Probe
{
    std::vector<char *> argv; // null-terminated
    std::string name;
    std::vector<double> paintMs;
    std::vector<double> cpuMs;
    std::vector<double> peakMiB;
};

// Runs the probe once; false if it failed or printed no first paint.
bool runOnce(Probe &probe)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return false;
    const std::string t0 = std::to_string(monotonicNanoseconds());
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        setenv("STARTUP_PROBE_T0", t0.c_str(), 1);
        execv(probe.argv[0], probe.argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    std::string output;
    char buffer[256];
    ssize_t got = 0;
    while ((got = read(pipeFds[0], buffer, sizeof buffer)) > 0)
        output.append(buffer, std::size_t(got));
    close(pipeFds[0]);
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child)
        return false;
    const auto at = output.find("first_paint_us ");
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || at == std::string::npos)
        return false;
    probe.paintMs.push_back(std::atof(output.c_str() + at + 15) / 1000.0);
    const auto cpu = output.find("cpu_us ", at);
    probe.cpuMs.push_back(cpu == std::string::npos ? 0.0
                                                   : std::atof(output.c_str() + cpu + 7) / 1000.0);
    probe.peakMiB.push_back(double(usage.ru_maxrss) / 1024.0);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    std::vector<Probe> probes;
    for (int i = 2; i < argc; ++i) {
        if (std::string(argv[i]) == "--")
            continue;
        Probe probe;
        for (; i < argc && std::string(argv[i]) != "--"; ++i) {
            probe.argv.push_back(argv[i]);
            if (!probe.name.empty())
                probe.name += ' ';
            probe.name += argv[i];
        }
        probe.argv.push_back(nullptr);
        probes.push_back(std::move(probe));
    }
    if (argc < 3 || probes.empty()) {
        std::fprintf(stderr, "uso: %s EXECUÇÕES PROGRAMA [ARGUMENTOS...] [-- PROGRAMA ...]...\n",
                     argv[0]);
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    const char *wait = std::getenv("STARTUP_QUIET_WAIT");
    waitForQuiet(wait ? std::atof(wait) : 60.0);

    int quietRounds = 0;
    for (int round = 0; round < runs; ++round) {
        quietRounds += waitForQuiet(2.0);
        for (std::size_t k = 0; k < probes.size(); ++k) {
            Probe &probe = probes[(round + k) % probes.size()];
            if (!runOnce(probe)) {
                std::fprintf(stderr, "%s falhou na rodada %d\n", probe.name.c_str(), round + 1);
                return 1;
            }
        }
    }
    std::printf("rounds %d quiet_rounds %d\n", runs, quietRounds);
    const auto minimum = [](const std::vector<double> &values) {
        return *std::min_element(values.begin(), values.end());
    };
    for (const Probe &probe : probes)
        std::printf("%s first_paint_ms min %.2f median %.2f cpu_ms min %.2f median %.2f "
                    "peak_rss_mib min %.2f median %.2f\n",
                    probe.name.c_str(), minimum(probe.paintMs), median(probe.paintMs),
                    minimum(probe.cpuMs), median(probe.cpuMs), minimum(probe.peakMiB),
                    median(probe.peakMiB));
    return 0;
}
