// Time of one call of each index kernel, and of the five calls of one randomization step,
// on the AVX2 and the baseline builds: `make bench`, or build/bench/kernels_bench.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "indices/abundance_index.h"
#include "indices/abundance_presence_index.h"
#include "indices/kernel_cores.h"
#include "indices/presence_index.h"

namespace kova {
namespace {

struct TableSize {
  std::int32_t speciesCount;
  std::int32_t siteCount;
  std::int32_t groupCount;
};

struct Problem {
  TableSize size;
  std::vector<std::int32_t> siteGroups;
  std::vector<std::int32_t> groupSizes;
  std::vector<float> abundances;
  std::vector<float> presences;
  std::vector<float> indexTable;
};

// About a fifth of the entries non-zero, small integer abundances; the groups are dealt out
// in turn and then shuffled, all from fixed seeds.
Problem MakeProblem(const TableSize& size) {
  Problem problem;
  problem.size = size;
  std::mt19937 engine(20240611);
  for (std::int32_t site = 0; site < size.siteCount; ++site) {
    problem.siteGroups.push_back(site % size.groupCount + 1);
  }
  std::shuffle(problem.siteGroups.begin(), problem.siteGroups.end(), engine);
  problem.groupSizes.assign(static_cast<std::size_t>(size.groupCount), 0);
  for (const std::int32_t group : problem.siteGroups)
    ++problem.groupSizes[group - 1];

  std::uniform_int_distribution<int> presence(0, 4);
  std::uniform_int_distribution<int> abundance(1, 9);
  const std::size_t entries =
      static_cast<std::size_t>(size.speciesCount) * static_cast<std::size_t>(size.siteCount);
  for (std::size_t entry = 0; entry < entries; ++entry) {
    const float value = presence(engine) == 0 ? static_cast<float>(abundance(engine)) : 0.0f;
    problem.abundances.push_back(value);
    problem.presences.push_back(value > 0.0f ? 1.0f : 0.0f);
  }
  problem.indexTable.assign(
      static_cast<std::size_t>(size.speciesCount) * static_cast<std::size_t>(size.groupCount),
      0.0f);
  return problem;
}

Problem& ProblemOfSize(const TableSize& size) {
  static std::map<std::tuple<std::int32_t, std::int32_t, std::int32_t>, Problem> problems;
  const auto key = std::make_tuple(size.speciesCount, size.siteCount, size.groupCount);
  auto found = problems.find(key);
  if (found == problems.end()) found = problems.emplace(key, MakeProblem(size)).first;
  return found->second;
}

bool RunAbundancePresence(Problem& problem, KernelBuild build) {
  return AbundancePresenceIndex(problem.size.speciesCount, problem.size.siteCount,
                                problem.size.groupCount, problem.abundances[0],
                                problem.siteGroups[0], problem.groupSizes[0], problem.presences[0],
                                problem.indexTable[0], build);
}

bool RunAbundance(Problem& problem, std::int32_t indexType, KernelBuild build) {
  return AbundanceIndex(problem.size.speciesCount, problem.size.siteCount, problem.size.groupCount,
                        problem.siteGroups[0], problem.groupSizes[0], problem.abundances[0],
                        problem.indexTable[0], indexType, build);
}

bool RunPresence(Problem& problem, std::int32_t indexType, KernelBuild build) {
  return PresenceIndex(problem.size.speciesCount, problem.size.siteCount, problem.size.groupCount,
                       problem.siteGroups[0], problem.groupSizes[0], problem.presences[0],
                       problem.indexTable[0], indexType, build);
}

enum class Workload {
  AbundancePresence,
  AbundanceType2,
  AbundanceType3,
  Presence4,
  Presence5,
  All
};

// False when a kernel could not obtain its work storage.
bool RunWorkload(Problem& problem, Workload workload, KernelBuild build) {
  switch (workload) {
    case Workload::AbundancePresence:
      return RunAbundancePresence(problem, build);
    case Workload::AbundanceType2:
      return RunAbundance(problem, 2, build);
    case Workload::AbundanceType3:
      return RunAbundance(problem, 3, build);
    case Workload::Presence4:
      return RunPresence(problem, 4, build);
    case Workload::Presence5:
      return RunPresence(problem, 5, build);
    case Workload::All:
      return RunAbundancePresence(problem, build) && RunAbundance(problem, 2, build) &&
             RunAbundance(problem, 3, build) && RunPresence(problem, 4, build) &&
             RunPresence(problem, 5, build);
  }
  return false;
}

void TimeWorkload(benchmark::State& state, Workload workload, TableSize size, bool baseline) {
  Problem& problem = ProblemOfSize(size);
  const KernelBuild build = baseline ? KernelBuild::Baseline : KernelBuild::Fastest;
  state.SetLabel(&CoresFor(build) == &Avx2Cores() ? "avx2" : "baseline");
  for (auto _ : state) {
    if (!RunWorkload(problem, workload, build)) {
      state.SkipWithError("the kernels' work storage could not be obtained");
      break;
    }
    benchmark::DoNotOptimize(problem.indexTable.data());
    benchmark::ClobberMemory();
  }
}

[[maybe_unused]] const bool kRegistered = [] {
  const std::vector<std::pair<Workload, std::string>> workloads = {
      {Workload::AbundancePresence, "AbundancePresenceIndex"},
      {Workload::AbundanceType2, "AbundanceIndex2"},
      {Workload::AbundanceType3, "AbundanceIndex3"},
      {Workload::Presence4, "PresenceIndex4"},
      {Workload::Presence5, "PresenceIndex5"},
      {Workload::All, "AllFive"},
  };
  const std::vector<TableSize> sizes = {{1000, 1000, 8}, {200, 500, 6}, {5000, 2000, 10}};
  for (const TableSize& size : sizes) {
    const std::string shape = std::to_string(size.speciesCount) + "x" +
                              std::to_string(size.siteCount) + "x" +
                              std::to_string(size.groupCount);
    for (const auto& [workload, name] : workloads) {
      for (const bool baseline : {false, true}) {
        const std::string path = baseline ? "baseline" : "avx2";
        benchmark::RegisterBenchmark((name + "/" + path + "/" + shape).c_str(), TimeWorkload,
                                     workload, size, baseline)
            ->Unit(benchmark::kMillisecond);
      }
    }
  }
  return true;
}();

}  // namespace
}  // namespace kova
