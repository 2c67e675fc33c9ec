// The whole kova-cli on a table at the size microbial community work reaches: 10,000 species
// at 10,000 sites in 20 groups (400 MB of abundances), 99 randomization steps, with every
// online processor. Reports the wall time and the peak memory of the process, and, from a
// run of two steps, the time the steps themselves take. The data file (about 250 MB) is
// generated once into the build folder and kept for later runs.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

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

RunResult RunCli(const fs::path& folder, int randomizations) {
  const fs::path answers = folder / "answers.txt";
  std::ofstream(answers) << "data.txt\n1\n" << randomizations << "\ngroups.txt\n";
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
    ::execl(KOVA_CLI_PROGRAM, KOVA_CLI_PROGRAM, static_cast<char*>(nullptr));
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

int main() {
  const fs::path folder = KOVA_LARGE_RUN_DIR;
  std::printf("Generating %s/data.txt if missing ...\n", folder.c_str());
  std::fflush(stdout);
  GenerateInputs(folder);
  const char* threads = std::getenv("KOVA_THREADS");
  std::printf("kova-cli, %d species x %d sites x %d groups, KOVA_THREADS=%s\n", kSpecies, kSites,
              kGroups, threads != nullptr ? threads : "(unset: every online processor)");
  const RunResult two = RunCli(folder, 2);
  const RunResult full = RunCli(folder, 99);
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
