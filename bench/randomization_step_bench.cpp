// Time of randomization steps on one thread: the shuffle, the recount, all five index tables
// and their summaries, no output. On the bundled data sets and generated tables, with the
// steps computed the way a run computes them (fused passes, four or two consecutive steps
// sharing each pass; the time reported is per step), one step per pass, and, for comparison,
// the five kernel calls one after the other.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_tables.h"
#include "indices/abundance_index.h"
#include "indices/abundance_presence_index.h"
#include "indices/presence_index.h"
#include "inputs/analysis_data.h"
#include "randomization/site_shuffle.h"
#include "randomization/step_computation.h"

namespace kova {
namespace {

using bench::GenerateTable;
using bench::LoadExample;

KernelBuild BuildOf(const benchmark::State& state) {
  return state.range(0) != 0 ? KernelBuild::Baseline : KernelBuild::Fastest;
}

std::string Label(const AnalysisData& data, const benchmark::State& state, const char* how) {
  return std::to_string(data.speciesCount) + "x" + std::to_string(data.siteCount) + "x" +
         std::to_string(data.groupCount) + (state.range(0) != 0 ? " baseline " : " avx2 ") + how;
}

void NextGrouping(AnalysisData& data) {
  ShuffleSiteGroups(data.siteGroups.Data(), data.siteCount, data.randomSeed);
  RecountGroupSizes(data.siteGroups.Data(), data.siteCount, data.groupSizes.Data(),
                    data.groupCount);
}

// range(1): the steps computed in the same passes (1, 2 or 4). Each iteration runs that many
// steps; Time is per iteration, ms_per_step per step.
void TimeFusedSteps(benchmark::State& state, AnalysisData& data) {
  data.randomSeed = 1;
  const auto together = static_cast<std::size_t>(state.range(1));
  AnalysisSettings settings;
  settings.kernelBuild = BuildOf(state);
  settings.groupingsPerPass = together;
  const StepConstants constants(data, settings);
  const auto work = StepWork::TryObtain(constants);
  // Each grouping but the last is a copy; the last is the run's own.
  std::vector<std::vector<std::int32_t>> groups(
      together, std::vector<std::int32_t>(static_cast<std::size_t>(data.siteCount) + 1));
  std::vector<std::vector<std::int32_t>> sizes(
      together, std::vector<std::int32_t>(static_cast<std::size_t>(data.groupCount) + 1));
  StepSummaries summaries[kMostGroupingsPerPass];
  float checksum = 0.0f;
  std::chrono::duration<double, std::milli> elapsed{0};
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    Grouping groupings[kMostGroupingsPerPass];
    for (std::size_t g = 0; g < together; ++g) {
      NextGrouping(data);
      if (g + 1 == together) {
        groupings[g] = {data.siteGroups.Data(), data.groupSizes.Data()};
        break;
      }
      std::copy_n(data.siteGroups.Data(), data.siteCount, groups[g].data());
      std::copy_n(data.groupSizes.Data(), data.groupCount, sizes[g].data());
      groupings[g] = {groups[g].data(), sizes[g].data()};
    }
    ComputeSteps(constants, groupings, together, *work, summaries);
    checksum += summaries[0][4].stepSum;
    elapsed += std::chrono::steady_clock::now() - start;
  }
  benchmark::DoNotOptimize(checksum);
  state.counters["ms_per_step"] =
      elapsed.count() / static_cast<double>(state.iterations() * static_cast<int64_t>(together));
  state.counters["work_KB"] = static_cast<double>(work->Bytes()) / 1024.0;
  state.SetLabel(Label(data, state,
                       together == 1   ? "fused"
                       : together == 2 ? "fused, two steps a pass"
                                       : "fused, four steps a pass"));
}

void TimeKernelSteps(benchmark::State& state, AnalysisData& data) {
  const KernelBuild build = BuildOf(state);
  data.randomSeed = 1;
  // The kernels of types 1, 4 and 5 read the presences as a table of their own.
  std::vector<float> presences(static_cast<std::size_t>(data.abundanceMatrix.Size()) + 1);
  for (std::int64_t entry = 0; entry < data.abundanceMatrix.Size(); ++entry)
    presences[static_cast<std::size_t>(entry)] =
        data.abundanceMatrix.Data()[entry] > 0.0f ? 1.0f : 0.0f;
  bool computed = true;
  ZeroedArray<float> speciesMaximum(ArrayEntries(data.speciesCount));
  float checksum = 0.0f;
  for (auto _ : state) {
    NextGrouping(data);
    computed &= AbundancePresenceIndex(data.speciesCount, data.siteCount, data.groupCount,
                                       data.abundanceMatrix.First(), data.siteGroups.First(),
                                       data.groupSizes.First(), presences.front(),
                                       data.indexTable.First(), build);
    checksum += SummarizeIndexTable(data.indexTable.Data(), data.speciesCount, data.groupCount,
                                    speciesMaximum.Data())
                    .stepSum;
    for (const std::int32_t indexType : {2, 3}) {
      computed &=
          AbundanceIndex(data.speciesCount, data.siteCount, data.groupCount,
                         data.siteGroups.First(), data.groupSizes.First(),
                         data.abundanceMatrix.First(), data.indexTable.First(), indexType, build);
      checksum += SummarizeIndexTable(data.indexTable.Data(), data.speciesCount, data.groupCount,
                                      speciesMaximum.Data())
                      .stepSum;
    }
    for (const std::int32_t indexType : {4, 5}) {
      computed &= PresenceIndex(data.speciesCount, data.siteCount, data.groupCount,
                                data.siteGroups.First(), data.groupSizes.First(), presences.front(),
                                data.indexTable.First(), indexType, build);
      checksum += SummarizeIndexTable(data.indexTable.Data(), data.speciesCount, data.groupCount,
                                      speciesMaximum.Data())
                      .stepSum;
    }
  }
  benchmark::DoNotOptimize(checksum);
  if (!computed) state.SkipWithError("the kernels' work storage could not be obtained");
  state.SetLabel(Label(data, state, "five kernel calls"));
}

AnalysisData& Example(const char* example) {
  static AnalysisData data;
  LoadExample(data, example);
  return data;
}

AnalysisData& Generated(std::int32_t species, std::int32_t sites, std::int32_t groups,
                        int occupied) {
  static AnalysisData data;
  if (data.speciesCount != species || data.siteCount != sites || data.groupCount != groups) {
    GenerateTable(data, species, sites, groups, occupied);
  }
  return data;
}

void BM_Step(benchmark::State& state, const char* example) {
  TimeFusedSteps(state, Example(example));
}
void BM_KernelStep(benchmark::State& state, const char* example) {
  TimeKernelSteps(state, Example(example));
}
// 5000 species, 2000 sites, 10 groups, a fifth of the entries occupied.
void BM_StepLarge(benchmark::State& state) {
  TimeFusedSteps(state, Generated(5000, 2000, 10, 20));
}
void BM_KernelStepLarge(benchmark::State& state) {
  TimeKernelSteps(state, Generated(5000, 2000, 10, 20));
}
// A microbial count table: 50,000 species, 2,000 sites, 6 groups, 90 % zeros (400 MB).
void BM_StepSparseMicrobial(benchmark::State& state) {
  TimeFusedSteps(state, Generated(50000, 2000, 6, 10));
}
void BM_KernelStepSparseMicrobial(benchmark::State& state) {
  TimeKernelSteps(state, Generated(50000, 2000, 6, 10));
}

// Arguments: {build (0 AVX2 where the processor has it, 1 baseline), steps per pass: 1, 2 or 4}.
BENCHMARK_CAPTURE(BM_Step, dune_management, "dune_management")
    ->Args({0, 2})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Step, mite_shrub, "mite_shrub")->Args({0, 2})->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Step, bci_habitat, "bci_habitat")->Args({0, 2})->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Step, bryceveg_elev5, "bryceveg_elev5")
    ->Args({0, 2})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Step, syn_s200_n500_g6, "syn_s200_n500_g6")
    ->Args({0, 2})
    ->Args({0, 1})
    ->Args({1, 2})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Step, syn_s1000_n1000_g8, "syn_s1000_n1000_g8")
    ->Args({0, 4})
    ->Args({0, 2})
    ->Args({0, 1})
    ->Args({1, 2})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_KernelStep, syn_s1000_n1000_g8, "syn_s1000_n1000_g8")
    ->Arg(0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepLarge)
    ->Args({0, 4})
    ->Args({0, 2})
    ->Args({0, 1})
    ->Args({1, 2})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KernelStepLarge)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepSparseMicrobial)
    ->Args({0, 4})
    ->Args({0, 2})
    ->Args({0, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KernelStepSparseMicrobial)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kova
