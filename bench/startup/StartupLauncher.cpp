// Starts a probe program N times and reports the time to its first paint and its peak resident
// memory: minimum and median of each.
//   startup_launcher RUNS PROGRAM [ARGUMENT]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

long long monotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "uso: %s EXECUÇÕES PROGRAMA [ARGUMENTO]\n", argv[0]);
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    std::vector<double> paintMs;
    std::vector<double> peakMiB;
    for (int run = 0; run < runs; ++run) {
        int pipeFds[2];
        if (pipe(pipeFds) != 0)
            return 1;
        const std::string t0 = std::to_string(monotonicNanoseconds());
        const pid_t child = fork();
        if (child == 0) {
            dup2(pipeFds[1], STDOUT_FILENO);
            close(pipeFds[0]);
            setenv("STARTUP_PROBE_T0", t0.c_str(), 1);
            execl(argv[2], argv[2], argc == 4 ? argv[3] : nullptr, static_cast<char *>(nullptr));
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
        wait4(child, &status, 0, &usage);
        const auto at = output.find("first_paint_us ");
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || at == std::string::npos) {
            std::fprintf(stderr, "%s falhou na execução %d\n", argv[2], run + 1);
            return 1;
        }
        paintMs.push_back(std::atof(output.c_str() + at + 15) / 1000.0);
        peakMiB.push_back(double(usage.ru_maxrss) / 1024.0);
    }
    std::printf("%s%s%s first_paint_ms min %.1f median %.1f peak_rss_mib min %.1f median %.1f\n",
                argv[2], argc == 4 ? " " : "", argc == 4 ? argv[3] : "",
                *std::min_element(paintMs.begin(), paintMs.end()), median(paintMs),
                *std::min_element(peakMiB.begin(), peakMiB.end()), median(peakMiB));
    return 0;
}
