// Times whole runs of two commands, start to exit, interleaved so that both see the same
// machine, and prints the median of each and their ratio.
//   cli_process_timer RUNS COMMAND_A... [-- COMMAND_B...]
// Output of the commands goes to /dev/null. Prints "a_ms=… b_ms=… ratio=… a_status=…", or
// only "a_ms=… a_status=…" for a single command.

#include "ProcessTiming.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

// Milliseconds from fork to the child's exit; `status` gets its exit status.
double timeRun(char **command, int &status)
{
    const long long start = monotonicNanoseconds();
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execv(command[0], command);
        _exit(127);
    }
    int raw = 0;
    waitpid(child, &raw, 0);
    const long long end = monotonicNanoseconds();
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return double(end - start) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    int split = 2;
    while (split < argc && std::strcmp(argv[split], "--") != 0)
        ++split;
    if (argc < 3 || split <= 2 || split == argc - 1) {
        std::fprintf(stderr, "uso: %s EXECUÇÕES COMANDO_A... [-- COMANDO_B...]\n", argv[0]);
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    char **a = argv + 2;
    if (split == argc) {
        std::vector<double> times;
        int status = 0;
        timeRun(a, status);
        for (int i = 0; i < runs; ++i)
            times.push_back(timeRun(a, status));
        std::printf("a_ms=%.3f a_status=%d\n", median(times), status);
        return 0;
    }
    argv[split] = nullptr;
    char **b = argv + split + 1;

    std::vector<double> timesA, timesB;
    int statusA = 0, statusB = 0;
    timeRun(a, statusA); // warm the page cache for both
    timeRun(b, statusB);
    for (int i = 0; i < runs; ++i) {
        timesA.push_back(timeRun(a, statusA));
        timesB.push_back(timeRun(b, statusB));
    }
    const double medianA = median(timesA);
    const double medianB = median(timesB);
    std::printf("a_ms=%.3f b_ms=%.3f ratio=%.3f a_status=%d b_status=%d\n", medianA, medianB,
                medianA / medianB, statusA, statusB);
    return 0;
}
