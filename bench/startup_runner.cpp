// Runs programs in turn, each from fork to its exit, and compares them side by side: the median
// wall time, and the median of every "<key> <number>" line each program printed, then the
// ratio of the first program's median to each other's. Taking turns spreads the load of the
// machine, which others share, over all programs alike. Plain POSIX, so nothing of Qt is
// loaded into the runner itself.
//
//   startup_runner RUNS LABEL_A PROGRAM_A LABEL_B PROGRAM_B [LABEL_C PROGRAM_C ...]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

struct Samples {
    std::vector<std::string> keys; // in the order first printed
    std::map<std::string, std::vector<double>> values;
    int failures = 0;

    void Add(const std::string& key, double value) {
        if (!values.count(key))
            keys.push_back(key);
        values[key].push_back(value);
    }
};

double Seconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

[[noreturn]] void Die(const std::string& what) {
    std::fprintf(stderr, "startup_runner: %s\n", what.c_str());
    std::exit(1);
}

// Runs the program once with its output on a pipe and its errors dropped; returns its output,
// or nothing if it failed.
std::optional<std::string> RunOnce(const char* program, double& wallMs) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        Die("no pipe");
    const double start = Seconds();
    const pid_t child = fork();
    if (child < 0)
        Die("no fork");
    if (child == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDERR_FILENO);
        close(pipeEnds[0]);
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    std::string output;
    char buffer[4096];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) != 0;)
        if (n > 0)
            output.append(buffer, std::size_t(n));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    wallMs = (Seconds() - start) * 1000;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "startup_runner: %s failed (status %d); run it alone to see why\n",
                     program, status);
        return std::nullopt;
    }
    return output;
}

// A failed run is left out of the figures: on a machine shared with others an X server or a
// process now and then fails for reasons of its own. More than one failure in ten is no such
// accident, and ends the comparison.
void Measure(const char* program, Samples& samples, int runs) {
    double wallMs = 0;
    const std::optional<std::string> output = RunOnce(program, wallMs);
    if (!output) {
        if (++samples.failures * 10 > runs)
            Die(std::string(program) + " failed too often");
        return;
    }
    std::istringstream lines(*output);
    samples.Add("wall_ms", wallMs);
    std::string key;
    for (double value; lines >> key >> value;)
        samples.Add(key, value);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// A missing value, a key only one program printed, shows as "-".
void PrintCell(double value, int width, int decimals) {
    if (value < 0)
        std::printf(" %*s", width, "-");
    else
        std::printf(" %*.*f", width, decimals, value);
}

double MedianOf(const Samples& samples, const std::string& key) {
    const auto found = samples.values.find(key);
    return found == samples.values.end() ? -1 : Median(found->second);
}

void PrintRow(const std::string& key, const std::vector<Samples>& samples) {
    std::printf("%-12s", key.c_str());
    std::vector<double> medians;
    for (const Samples& program : samples) {
        medians.push_back(MedianOf(program, key));
        PrintCell(medians.back(), 11, 1);
    }
    for (std::size_t i = 1; i < medians.size(); ++i)
        PrintCell(medians[0] > 0 && medians[i] > 0 ? medians[0] / medians[i] : -1, 11, 3);
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 6 || argc % 2 != 0)
        Die("usage: startup_runner RUNS LABEL_A PROGRAM_A LABEL_B PROGRAM_B [LABEL PROGRAM ...]");
    const int runs = std::atoi(argv[1]);
    std::vector<std::string> labels;
    std::vector<const char*> programs;
    for (int i = 2; i < argc; i += 2) {
        labels.push_back(argv[i]);
        programs.push_back(argv[i + 1]);
    }
    std::vector<Samples> samples(programs.size());
    // One unmeasured run of each first, so all start with their files in the page cache.
    for (const char* program : programs) {
        double ignored;
        RunOnce(program, ignored);
    }
    for (int run = 0; run < runs; ++run)
        for (std::size_t i = 0; i < programs.size(); ++i)
            Measure(programs[i], samples[i], runs);

    std::printf("%-12s", "");
    for (const std::string& label : labels)
        std::printf(" %11s", label.c_str());
    for (std::size_t i = 1; i < labels.size(); ++i)
        std::printf(" %11s", (labels[0] + "/" + labels[i]).c_str());
    std::printf("   (medians of %d runs in turn)\n", runs);
    std::vector<std::string> keys;
    for (const Samples& program : samples)
        for (const std::string& key : program.keys)
            if (std::find(keys.begin(), keys.end(), key) == keys.end())
                keys.push_back(key);
    for (const std::string& key : keys)
        PrintRow(key, samples);
    for (std::size_t i = 0; i < samples.size(); ++i)
        if (samples[i].failures)
            std::printf("(%s: %d failed runs left out)\n", labels[i].c_str(), samples[i].failures);
    return 0;
}
