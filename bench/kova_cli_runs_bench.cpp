// Whole kova-cli runs, timed from outside the process:
//  - the 999-step run of the bundled syn_s1000_n1000_g8 with one thread and with two, three
//    times each, and the speed-up of two threads;
//  - the same run with options, with every file a completed run can add (--species-table,
//    --summary, --plot) and without them, alternately, seven times each with one thread and
//    with two: what keeping the per-species counts and the step sums and writing the files
//    costs;
//  - a table at the size microbial community work reaches: 10,000 species at 10,000 sites in
//    20 groups (400 MB of abundances), 99 steps with every online processor, with the wall
//    time and the peak memory of the process, and, from a run of two steps, the time of the
//    steps themselves. Its data file (about 200 MB) is generated once into the build folder.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kSpecies = 10000;
constexpr int kSites = 10000;
constexpr int kGroups = 20;

// Small counts at one entry in five, zeros elsewhere; the groups dealt out to the sites.
void GenerateInputs(const fs::path& folder) {
  fs::create_directories(folder);
  if (fs::exists(folder / "groups.txt")) return;
  std::mt19937 random(10000);
  std::uniform_int_distribution<int> value(-15, 5);
  {
    std::ofstream data(folder / "data.tmp", std::ios::binary);
    data << "generated: 10000 species x 10000 sites, 20 groups\n"
         << kSpecies << " " << kSites << " " << kGroups << "\n";
    std::string row;
    for (int species = 0; species < kSpecies; ++species) {
      row.clear();
      for (int site = 0; site < kSites; ++site) {
        const int drawn = value(random);
        row += drawn > 0 ? static_cast<char>('0' + drawn) : '0';
        row += site + 1 < kSites ? ' ' : '\n';
      }
      data << row;
    }
  }
  fs::rename(folder / "data.tmp", folder / "data.txt");
  std::ofstream groups(folder / "groups.txt", std::ios::binary);
  for (int site = 0; site < kSites; ++site)
    groups << site % kGroups + 1 << "\n";
}

struct RunResult {
  double seconds = 0;
  long peakKilobytes = 0;
  int status = -1;
};

// Runs kova-cli in `folder` with `arguments` (none: the answers on standard input) and
// KOVA_THREADS set to `threads` (null: unset).
RunResult RunCli(const fs::path& folder, int randomizations, const char* threads,
                 const std::vector<std::string>& arguments = {}) {
  const fs::path answers = folder / "answers.txt";
  std::ofstream(answers) << "data.txt\n1\n" << randomizations << "\ngroups.txt\n";
  std::vector<char*> argv = {const_cast<char*>(KOVA_CLI_PROGRAM)};
  for (const std::string& argument : arguments)
    argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = ::fork();
  if (child == 0) {
    const int in = ::open(answers.c_str(), O_RDONLY);
    const int out = ::open((folder / "console.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int error = ::open((folder / "error.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(in, STDIN_FILENO);
    ::dup2(out, STDOUT_FILENO);
    ::dup2(error, STDERR_FILENO);
    if (::chdir(folder.c_str()) != 0) ::_exit(127);
    if (threads != nullptr) {
      ::setenv("KOVA_THREADS", threads, 1);
    } else {
      ::unsetenv("KOVA_THREADS");
    }
    ::execv(KOVA_CLI_PROGRAM, argv.data());
    ::_exit(127);
  }
  RunResult result;
  int status = 0;
  rusage usage{};
  ::wait4(child, &status, 0, &usage);
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  result.peakKilobytes = usage.ru_maxrss;
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace

void TimeThreadsOnExample() {
  const fs::path folder = fs::path(KOVA_LARGE_RUN_DIR).parent_path() / "bench-syn1000";
  fs::create_directories(folder);
  const fs::path example = fs::path(KOVA_EXAMPLES_DIR) / "syn_s1000_n1000_g8";
  for (const char* file : {"data.txt", "groups.txt"}) {
    fs::copy_file(example / file, folder / file, fs::copy_options::overwrite_existing);
  }
  std::printf("kova-cli, syn_s1000_n1000_g8, 999 steps (seconds, three runs each)\n");
  double fastest[2] = {1e9, 1e9};
  const char* threads[2] = {"1", "2"};
  for (int run = 0; run < 3; ++run) {
    for (int setting = 0; setting < 2; ++setting) {
      const RunResult result = RunCli(folder, 999, threads[setting]);
      std::printf("  KOVA_THREADS=%s: %6.3f s%s\n", threads[setting], result.seconds,
                  result.status == 0 ? "" : " (failed)");
      fastest[setting] = std::min(fastest[setting], result.seconds);
    }
  }
  std::printf("  fastest: %.3f s and %.3f s, two threads %.2fx as fast as one\n", fastest[0],
              fastest[1], fastest[0] / fastest[1]);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void TimeResultFilesOnExample() {
  const fs::path folder = fs::path(KOVA_LARGE_RUN_DIR).parent_path() / "bench-syn1000";
  const std::vector<std::string> plain = {"--data", "data.txt", "--groups", "groups.txt",
                                          "--seed", "12345", "--randomizations", "999"};
  std::vector<std::string> every = plain;
  every.insert(every.end(), {"--species-table", "species.csv", "--summary", "summary.csv",
                             "--plot", "plot.svg"});
  std::printf("kova-cli with options, syn_s1000_n1000_g8, 999 steps, without and with every file "
              "(seconds, seven runs each, alternating)\n");
  for (const char* threads : {"1", "2"}) {
    std::vector<double> times[2];
    for (int run = 0; run < 7; ++run) {
      for (int setting = 0; setting < 2; ++setting) {
        const RunResult result = RunCli(folder, 999, threads, setting == 0 ? plain : every);
        if (result.status != 0) std::printf("  kova-cli failed with %d\n", result.status);
        times[setting].push_back(result.seconds);
      }
    }
    const double fastest[2] = {*std::min_element(times[0].begin(), times[0].end()),
                               *std::min_element(times[1].begin(), times[1].end())};
    const double median[2] = {Median(times[0]), Median(times[1])};
    std::printf("  KOVA_THREADS=%s: fastest %.3f s and %.3f s (%+.1f %%), median %.3f s and "
                "%.3f s (%+.1f %%)\n",
                threads, fastest[0], fastest[1], (fastest[1] / fastest[0] - 1) * 100, median[0],
                median[1], (median[1] / median[0] - 1) * 100);
  }
}

int main() {
  TimeThreadsOnExample();
  TimeResultFilesOnExample();
  if (std::getenv("KOVA_BENCH_EXAMPLE_ONLY") != nullptr) return 0;
  const fs::path folder = KOVA_LARGE_RUN_DIR;
  std::printf("Generating %s/data.txt if missing ...\n", folder.c_str());
  std::fflush(stdout);
  GenerateInputs(folder);
  const char* threads = std::getenv("KOVA_THREADS");
  std::printf("kova-cli, %d species x %d sites x %d groups, KOVA_THREADS=%s\n", kSpecies, kSites,
              kGroups, threads != nullptr ? threads : "(unset: every online processor)");
  const RunResult two = RunCli(folder, 2, threads);
  const RunResult full = RunCli(folder, 99, threads);
  if (two.status != 0 || full.status != 0) {
    std::printf("kova-cli failed: exit codes %d and %d\n", two.status, full.status);
    return 1;
  }
  std::printf("  2 steps : %7.2f s, peak memory %6.0f MB\n", two.seconds,
              static_cast<double>(two.peakKilobytes) / 1024.0);
  std::printf(" 99 steps : %7.2f s, peak memory %6.0f MB\n", full.seconds,
              static_cast<double>(full.peakKilobytes) / 1024.0);
  std::printf(" per step : %7.1f ms (the difference over 97 steps)\n",
              (full.seconds - two.seconds) / 97.0 * 1e3);
  return 0;
}
