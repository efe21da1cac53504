// Times quessar-cli's roll server (dados with expressions on standard input):
//   cli_roll_server_timer QUESSAR_CLI
// (a) one process answers 10000 lines written at once: milliseconds from start to exit,
//     median of 9 runs;
// (b) round trips: a line is written, then its answer read in full, 1000 times through one
//     process; the median in microseconds.
// Prints "batch_ms=… round_trip_us=… answers=…".

#include "ProcessTiming.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Server
{
    pid_t pid = -1;
    int input = -1;  // we write expressions here
    int output = -1; // and read answers here
};

Server start(const char *cli)
{
    int toChild[2];
    int fromChild[2];
    if (pipe(toChild) != 0 || pipe(fromChild) != 0)
        return {};
    Server server;
    server.pid = fork();
    if (server.pid == 0) {
        dup2(toChild[0], STDIN_FILENO);
        dup2(fromChild[1], STDOUT_FILENO);
        close(toChild[1]);
        close(fromChild[0]);
        execl(cli, cli, "dados", "-s", "1", static_cast<char *>(nullptr));
        _exit(127);
    }
    close(toChild[0]);
    close(fromChild[1]);
    server.input = toChild[1];
    server.output = fromChild[0];
    return server;
}

bool writeAll(int fd, const std::string &text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n <= 0)
            return false;
        done += std::size_t(n);
    }
    return true;
}

// Reads until `lines` line ends have arrived; false at end of input.
bool readLines(int fd, long lines, long &seen)
{
    char block[65536];
    seen = 0;
    while (seen < lines) {
        const ssize_t n = read(fd, block, sizeof block);
        if (n <= 0)
            return false;
        for (ssize_t i = 0; i < n; ++i)
            seen += block[i] == '\n';
    }
    return true;
}

void finish(Server &server)
{
    close(server.input);
    char block[4096];
    while (read(server.output, block, sizeof block) > 0) {
    }
    close(server.output);
    waitpid(server.pid, nullptr, 0);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "uso: %s QUESSAR_CLI\n", argv[0]);
        return 2;
    }
    signal(SIGPIPE, SIG_IGN);
    const char *expressions[] = {"4d6kh3", "10d10>=8f1", "{1d20+5, 1d20+5}kh1 # ataque",
                                 "2d6!!+1d6/2", "1d20cs>=19"};
    std::string batch;
    for (int i = 0; i < 10'000; ++i)
        batch += std::string(expressions[i % 5]) + '\n';

    std::vector<double> batches;
    long answers = 0;
    for (int run = 0; run < 10; ++run) {
        const long long begin = monotonicNanoseconds();
        Server server = start(argv[1]);
        // Written from a thread of its own while the answers are read, or both pipes fill.
        std::thread writer([&server, &batch] {
            writeAll(server.input, batch);
            close(server.input);
        });
        readLines(server.output, 10'000, answers);
        writer.join();
        close(server.output);
        waitpid(server.pid, nullptr, 0);
        if (run > 0) // the first run warms the page cache
            batches.push_back(double(monotonicNanoseconds() - begin) / 1e6);
    }

    Server server = start(argv[1]);
    std::vector<double> trips;
    for (int i = 0; i < 1'001; ++i) {
        const long long begin = monotonicNanoseconds();
        long seen = 0;
        if (!writeAll(server.input, std::string(expressions[i % 5]) + '\n')
            || !readLines(server.output, 1, seen))
            return 1;
        if (i > 0)
            trips.push_back(double(monotonicNanoseconds() - begin) / 1e3);
    }
    finish(server);
    std::printf("batch_ms=%.3f round_trip_us=%.1f answers=%ld\n", median(batches),
                median(trips), answers);
    return answers == 10'000 ? 0 : 1;
}
