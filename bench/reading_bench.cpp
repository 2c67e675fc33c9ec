// Reading a large community through the checked readers of a run started with options, next
// to a plain byte scan of the same file (the physical floor: every byte read and looked at
// once). The table is 20,000 species at 5,000 sites, 90 % zeros and counts elsewhere, as
// R's write.csv writes it (about 210 MB) and as a data file (about 210 MB); both files and
// their groupings are generated once into the build folder.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "inputs/analysis_data.h"
#include "inputs/checked_inputs.h"
#include "inputs/input_files.h"
#include "textio/units.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSpecies = 20000;
constexpr int kSites = 5000;
constexpr int kGroups = 8;

// One abundance in ten is a count, mostly small; the rest are zeros.
class Abundances {
 public:
  int Next() {
    if (present_(random_) >= 10) return 0;
    return 1 + count_(random_);
  }

 private:
  std::mt19937 random_{20000};
  std::uniform_int_distribution<int> present_{0, 99};
  std::geometric_distribution<int> count_{0.25};
};

void AppendNumber(std::string& text, int value) {
  char digits[16];
  const int length = std::snprintf(digits, sizeof digits, "%d", value);
  text.append(digits, static_cast<std::size_t>(length));
}

// The same table both ways: the CSV with a row per site, the data file with a row per
// species. Written under temporary names and renamed, so an interrupted run leaves nothing
// that looks finished.
void GenerateFiles(const fs::path& folder) {
  fs::create_directories(folder);
  if (fs::exists(folder / "groups.txt")) return;
  std::vector<std::uint8_t> table(static_cast<std::size_t>(kSpecies) * kSites);
  Abundances abundances;
  for (std::uint8_t& entry : table)
    entry = static_cast<std::uint8_t>(std::min(abundances.Next(), 255));
  const auto at = [&table](int species, int site) {
    return table[static_cast<std::size_t>(site) * kSpecies + static_cast<std::size_t>(species)];
  };
  std::string text;
  {
    std::ofstream csv(folder / "community.tmp", std::ios::binary);
    text = "\"\"";
    for (int species = 1; species <= kSpecies; ++species)
      text += ",\"sp" + std::to_string(species) + "\"";
    csv << text << "\n";
    for (int site = 0; site < kSites; ++site) {
      text = "\"s" + std::to_string(site + 1) + "\"";
      for (int species = 0; species < kSpecies; ++species) {
        text += ',';
        AppendNumber(text, at(species, site));
      }
      csv << text << "\n";
    }
  }
  {
    std::ofstream data(folder / "data.tmp", std::ios::binary);
    data << "generated: 20000 species x 5000 sites, 90 % zeros\n"
         << kSpecies << " " << kSites << " " << kGroups << "\n";
    for (int species = 0; species < kSpecies; ++species) {
      text.clear();
      for (int site = 0; site < kSites; ++site) {
        AppendNumber(text, at(species, site));
        text += site + 1 < kSites ? ' ' : '\n';
      }
      data << text;
    }
  }
  {
    std::ofstream groups(folder / "groups.csv", std::ios::binary);
    groups << "\"site\",\"group\"\n";
    for (int site = 0; site < kSites; ++site)
      groups << "\"s" << site + 1 << "\",\"g" << site % kGroups + 1 << "\"\n";
  }
  fs::rename(folder / "community.tmp", folder / "community.csv");
  fs::rename(folder / "data.tmp", folder / "data.txt");
  std::ofstream groups(folder / "groups.txt", std::ios::binary);
  for (int site = 0; site < kSites; ++site)
    groups << site % kGroups + 1 << "\n";
}

const fs::path& Folder() {
  static const fs::path folder = [] {
    GenerateFiles(KOVA_READING_DIR);
    return fs::path(KOVA_READING_DIR);
  }();
  return folder;
}

std::int64_t FileBytes(const std::string& name) {
  return static_cast<std::int64_t>(fs::file_size(Folder() / name));
}

// Every byte read in blocks of 1 MiB and looked at once: line feeds and separators counted.
void ByteScan(benchmark::State& state, const std::string& name, char separator) {
  const std::string path = (Folder() / name).string();
  std::vector<char> block(std::size_t{1} << 20);
  for (auto _ : state) {
    const int descriptor = ::open(path.c_str(), O_RDONLY);
    std::int64_t lines = 0;
    std::int64_t separators = 0;
    for (ssize_t count; (count = ::read(descriptor, block.data(), block.size())) > 0;) {
      for (ssize_t at = 0; at < count; ++at) {
        lines += block[static_cast<std::size_t>(at)] == '\n';
        separators += block[static_cast<std::size_t>(at)] == separator;
      }
    }
    ::close(descriptor);
    benchmark::DoNotOptimize(lines);
    benchmark::DoNotOptimize(separators);
  }
  state.SetBytesProcessed(state.iterations() * FileBytes(name));
}

void ReadChecked(benchmark::State& state, const std::string& table, kova::TableForm form,
                 const std::string& groups) {
  kova::InputFiles request;
  request.tableFile = (Folder() / table).string();
  request.tableForm = form;
  request.groupsFile = (Folder() / groups).string();
  request.randomSeed = 12345;
  request.randomizationCount = 99;
  for (auto _ : state) {
    kova::AnalysisData data;
    if (const auto fault = kova::ReadCheckedInputs(request, data)) {
      state.SkipWithError(fault->found.c_str());
      break;
    }
    benchmark::DoNotOptimize(data.abundanceMatrix.Data());
  }
  state.SetBytesProcessed(state.iterations() * (FileBytes(table) + FileBytes(groups)));
}

void BM_ByteScanOfTheCsv(benchmark::State& state) {
  ByteScan(state, "community.csv", ',');
}
void BM_ReadCheckedCsvCommunity(benchmark::State& state) {
  ReadChecked(state, "community.csv", kova::TableForm::Csv, "groups.csv");
}
void BM_ByteScanOfTheDataFile(benchmark::State& state) {
  ByteScan(state, "data.txt", ' ');
}
void BM_ReadCheckedDataFile(benchmark::State& state) {
  ReadChecked(state, "data.txt", kova::TableForm::DataFile, "groups.txt");
}

// The dialogue's reader on the same data file, for comparison.
void BM_DialogueReadsDataFile(benchmark::State& state) {
  const std::string path = (Folder() / "data.txt").string();
  for (auto _ : state) {
    kova::AnalysisData data;
    kova::OpenUnit(kova::kInputUnit, path, kova::OpenStatus::Old);
    kova::ReadDataFile(data);
    benchmark::DoNotOptimize(data.abundanceMatrix.Data());
  }
  state.SetBytesProcessed(state.iterations() * FileBytes("data.txt"));
}

// Three runs of one read each, every run shown with its throughput: the fastest is the one
// to quote, since other work on the machine only ever slows a run down.
void Configure(benchmark::internal::Benchmark* benchmark) {
  benchmark->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
}

BENCHMARK(BM_ByteScanOfTheCsv)->Apply(Configure);
BENCHMARK(BM_ReadCheckedCsvCommunity)->Apply(Configure);
BENCHMARK(BM_ByteScanOfTheDataFile)->Apply(Configure);
BENCHMARK(BM_ReadCheckedDataFile)->Apply(Configure);
BENCHMARK(BM_DialogueReadsDataFile)->Apply(Configure);

}  // namespace
