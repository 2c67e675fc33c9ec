// Time of randomization steps on one thread: the shuffle, the recount, all five index tables
// and their summaries, no output. On the bundled data sets and generated tables, with the
// steps computed the way a run computes them (fused passes, two consecutive steps sharing
// each pass; the time reported is per step), one step per pass, and, for comparison, the
// five kernel calls one after the other.
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

void ChooseBuild(benchmark::State& state) {
  if (state.range(0) != 0) {
    ::setenv("KOVA_KERNELS", "baseline", 1);
  } else {
    ::unsetenv("KOVA_KERNELS");
  }
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

// range(1): the steps computed in the same passes (1 or 2). Each iteration runs that many
// steps; Time is per iteration, ms_per_step per step.
void TimeFusedSteps(benchmark::State& state, AnalysisData& data) {
  ChooseBuild(state);
  data.randomSeed = 1;
  const auto together = static_cast<std::size_t>(state.range(1));
  const StepConstants constants(data);
  const auto work = StepWork::TryObtain(constants);
  std::vector<std::int32_t> firstGroups(static_cast<std::size_t>(data.siteCount) + 1);
  std::vector<std::int32_t> firstSizes(static_cast<std::size_t>(data.groupCount) + 1);
  StepSummaries summaries[kGroupingsPerPass];
  float checksum = 0.0f;
  std::chrono::duration<double, std::milli> elapsed{0};
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    NextGrouping(data);
    Grouping groupings[kGroupingsPerPass] = {{data.siteGroups.Data(), data.groupSizes.Data()}};
    if (together == 2) {
      std::copy_n(data.siteGroups.Data(), data.siteCount, firstGroups.data());
      std::copy_n(data.groupSizes.Data(), data.groupCount, firstSizes.data());
      groupings[0] = {firstGroups.data(), firstSizes.data()};
      NextGrouping(data);
      groupings[1] = {data.siteGroups.Data(), data.groupSizes.Data()};
    }
    ComputeSteps(constants, groupings, together, *work, summaries);
    checksum += summaries[0][4].stepSum;
    elapsed += std::chrono::steady_clock::now() - start;
  }
  benchmark::DoNotOptimize(checksum);
  ::unsetenv("KOVA_KERNELS");
  state.counters["ms_per_step"] =
      elapsed.count() / static_cast<double>(state.iterations() * static_cast<int64_t>(together));
  state.counters["work_KB"] = static_cast<double>(work->Bytes()) / 1024.0;
  state.SetLabel(Label(data, state, together == 2 ? "fused, two steps a pass" : "fused"));
}

void TimeKernelSteps(benchmark::State& state, AnalysisData& data) {
  ChooseBuild(state);
  data.randomSeed = 1;
  ZeroedArray<float> speciesMaximum(ArrayEntries(data.speciesCount));
  float checksum = 0.0f;
  for (auto _ : state) {
    NextGrouping(data);
    AbundancePresenceIndex(data.speciesCount, data.siteCount, data.groupCount,
                           data.abundanceMatrix.First(), data.siteGroups.First(),
                           data.groupSizes.First(), data.presenceMatrix.First(),
                           data.indexTable.First());
    checksum += SummarizeIndexTable(data.indexTable.Data(), data.speciesCount, data.groupCount,
                                    speciesMaximum.Data())
                    .stepSum;
    for (const std::int32_t indexType : {2, 3}) {
      AbundanceIndex(data.speciesCount, data.siteCount, data.groupCount, data.siteGroups.First(),
                     data.groupSizes.First(), data.abundanceMatrix.First(), data.indexTable.First(),
                     indexType);
      checksum += SummarizeIndexTable(data.indexTable.Data(), data.speciesCount, data.groupCount,
                                      speciesMaximum.Data())
                      .stepSum;
    }
    for (const std::int32_t indexType : {4, 5}) {
      PresenceIndex(data.speciesCount, data.siteCount, data.groupCount, data.siteGroups.First(),
                    data.groupSizes.First(), data.presenceMatrix.First(), data.indexTable.First(),
                    indexType);
      checksum += SummarizeIndexTable(data.indexTable.Data(), data.speciesCount, data.groupCount,
                                      speciesMaximum.Data())
                      .stepSum;
    }
  }
  benchmark::DoNotOptimize(checksum);
  ::unsetenv("KOVA_KERNELS");
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

// Arguments: {build (0 AVX2 where the processor has it, 1 baseline), steps per pass}.
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
    ->Args({0, 2})
    ->Args({0, 1})
    ->Args({1, 2})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_KernelStep, syn_s1000_n1000_g8, "syn_s1000_n1000_g8")
    ->Arg(0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepLarge)->Args({0, 2})->Args({0, 1})->Args({1, 2})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KernelStepLarge)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepSparseMicrobial)->Args({0, 2})->Args({0, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KernelStepSparseMicrobial)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kova
