#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

// One run of tessaly-cli, from process start to file written and the process gone.
void RunCli(benchmark::State& state, std::vector<std::string> args) {
    const auto folder = std::filesystem::temp_directory_path() / "tessaly-bench-cli";
    std::filesystem::create_directories(folder);
    args.insert(args.begin(), TESSALY_CLI_PATH);
    args.push_back("--output");
    args.push_back(folder.string());
    std::vector<char*> argv;
    for (auto& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            state.SkipWithError("cannot start tessaly-cli");
            break;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("tessaly-cli failed");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    std::filesystem::remove_all(folder);
}

void BM_CliHtml(benchmark::State& state) {
    RunCli(state, {"--month", "5", "--year", "2026", "--color-weekends"});
}
BENCHMARK(BM_CliHtml)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_CliPdf(benchmark::State& state) {
    RunCli(state, {"--pdf", "--month", "5", "--year", "2026", "--color-weekends"});
}
BENCHMARK(BM_CliPdf)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// A year, one page a month with the weekends shaded, in one file.
void BM_CliPdfTwelveMonths(benchmark::State& state) {
    RunCli(state,
           {"--pdf", "--months", "12", "--month", "1", "--year", "2027", "--color-weekends"});
}
BENCHMARK(BM_CliPdfTwelveMonths)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The same on A4 with week numbers and German names: the title's widths come from the
// installed Helvetica metric twin, which loads the font machinery.
void BM_CliPdfTwelveMonthsA4German(benchmark::State& state) {
    RunCli(state, {"--pdf", "--months", "12", "--month", "1", "--year", "2027", "--color-weekends",
                   "--paper", "a4", "--week-numbers", "--locale", "de_DE.UTF-8"});
}
BENCHMARK(BM_CliPdfTwelveMonthsA4German)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
