// Times quessar-cli's roll server (dados with expressions on standard input):
//   cli_roll_server_timer QUESSAR_CLI [RECORD]
// (a) one process answers 10000 lines written at once: milliseconds from start to exit,
//     median of 9 runs;
// (b) round trips: a line is written, then its answer read in full, 1000 times through one
//     process; the median in microseconds.
// Prints "batch_ms=… round_trip_us=… answers=…". With RECORD (a path on tmpfs, say), the
// same again with every roll appended to that record (`--registro RECORD`, started afresh
// for each run), the runs with and without it interleaved, and the ratios:
// "… recorded_batch_ms=… recorded_round_trip_us=… batch_ratio=…".

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

Server start(const char *cli, const char *record)
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
        if (record)
            execl(cli, cli, "dados", "-s", "1", "--registro", record, static_cast<char *>(nullptr));
        else
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

// Milliseconds to answer `batch` through one new process (lines is how many it holds).
double timeBatch(const char *cli, const char *record, const std::string &batch, long &answers)
{
    if (record)
        unlink(record);
    const long long begin = monotonicNanoseconds();
    Server server = start(cli, record);
    // Written from a thread of its own while the answers are read, or both pipes fill.
    std::thread writer([&server, &batch] {
        writeAll(server.input, batch);
        close(server.input);
    });
    readLines(server.output, 10'000, answers);
    writer.join();
    close(server.output);
    waitpid(server.pid, nullptr, 0);
    return double(monotonicNanoseconds() - begin) / 1e6;
}

// The median round trip of one line, in microseconds; a negative number when one failed.
double timeRoundTrips(const char *cli, const char *record, const char *const *expressions)
{
    if (record)
        unlink(record);
    Server server = start(cli, record);
    std::vector<double> trips;
    for (int i = 0; i < 1'001; ++i) {
        const long long begin = monotonicNanoseconds();
        long seen = 0;
        if (!writeAll(server.input, std::string(expressions[i % 5]) + '\n')
            || !readLines(server.output, 1, seen))
            return -1;
        if (i > 0)
            trips.push_back(double(monotonicNanoseconds() - begin) / 1e3);
    }
    finish(server);
    return median(trips);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "uso: %s QUESSAR_CLI [REGISTRO]\n", argv[0]);
        return 2;
    }
    const char *cli = argv[1];
    const char *record = argc == 3 ? argv[2] : nullptr;
    signal(SIGPIPE, SIG_IGN);
    const char *expressions[] = {"4d6kh3", "10d10>=8f1", "{1d20+5, 1d20+5}kh1 # ataque",
                                 "2d6!!+1d6/2", "1d20cs>=19"};
    std::string batch;
    for (int i = 0; i < 10'000; ++i)
        batch += std::string(expressions[i % 5]) + '\n';

    std::vector<double> batches, recordedBatches;
    long answers = 0, recordedAnswers = 10'000;
    for (int run = 0; run < 10; ++run) {
        const double plain = timeBatch(cli, nullptr, batch, answers);
        const double recorded = record ? timeBatch(cli, record, batch, recordedAnswers) : 0;
        if (run > 0) { // the first run warms the page cache
            batches.push_back(plain);
            recordedBatches.push_back(recorded);
        }
    }
    const double trip = timeRoundTrips(cli, nullptr, expressions);
    if (trip < 0)
        return 1;
    std::printf("batch_ms=%.3f round_trip_us=%.1f answers=%ld", median(batches), trip, answers);
    if (record) {
        const double recordedTrip = timeRoundTrips(cli, record, expressions);
        unlink(record);
        if (recordedTrip < 0)
            return 1;
        std::printf(" recorded_batch_ms=%.3f recorded_round_trip_us=%.1f batch_ratio=%.2f",
                    median(recordedBatches), recordedTrip,
                    median(recordedBatches) / median(batches));
    }
    std::printf("\n");
    return answers == 10'000 && recordedAnswers == 10'000 ? 0 : 1;
}
