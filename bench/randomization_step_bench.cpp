// Time of one randomization step on one thread: the shuffle, the recount, all five index
// tables and their summaries, no output. On the bundled data sets and generated tables, with
// the step computed the way a run computes it (fused passes, blocks of species) and, for
// comparison, with the five kernel calls one after the other.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>

#include "driver/analysis_data.h"
#include "driver/input_files.h"
#include "driver/site_shuffle.h"
#include "driver/step_computation.h"
#include "indices/abundance_index.h"
#include "indices/abundance_presence_index.h"
#include "indices/presence_index.h"
#include "textio/open_unit.h"

namespace kova {
namespace {

void LoadExample(AnalysisData& data, const std::string& example) {
  const std::string folder = std::string(KOVA_EXAMPLES_DIR) + "/" + example + "/";
  OpenUnit(kInputUnit, folder + "data.txt", OpenStatus::Old);
  ReadDataFile(data);
  OpenUnit(kInputUnit, folder + "groups.txt", OpenStatus::Old);
  ReadGroupFile(data);
  DerivePresence(data);
}

// Small counts at a share `occupied` (in percent) of the entries, zeros elsewhere; the
// groups dealt out to the sites in turn.
void GenerateTable(AnalysisData& data, std::int32_t species, std::int32_t sites,
                   std::int32_t groups, int occupied) {
  data.speciesCount = species;
  data.siteCount = sites;
  data.groupCount = groups;
  AllocateArrays(data);
  std::mt19937 random(static_cast<std::uint32_t>(species + sites));
  std::uniform_int_distribution<int> percent(0, 99);
  std::uniform_int_distribution<int> count(1, 5);
  for (std::int64_t entry = 0; entry < data.abundanceMatrix.Size(); ++entry) {
    if (percent(random) < occupied)
      data.abundanceMatrix.Data()[entry] = static_cast<float>(count(random));
  }
  for (std::int64_t site = 1; site <= data.siteCount; ++site) {
    data.siteGroups(site) = static_cast<std::int32_t>((site - 1) % data.groupCount + 1);
  }
  DerivePresence(data);
}

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

void TimeFusedSteps(benchmark::State& state, AnalysisData& data) {
  ChooseBuild(state);
  data.randomSeed = 1;
  const StepConstants constants(data);
  const auto work = StepWork::TryObtain(constants);
  StepSummaries summaries;
  float checksum = 0.0f;
  for (auto _ : state) {
    NextGrouping(data);
    ComputeStep(constants, data.siteGroups.Data(), data.groupSizes.Data(), *work, summaries);
    checksum += summaries[4].stepSum;
  }
  benchmark::DoNotOptimize(checksum);
  ::unsetenv("KOVA_KERNELS");
  state.counters["block"] = static_cast<double>(constants.SpeciesPerBlock());
  state.counters["work_KB"] = static_cast<double>(work->Bytes()) / 1024.0;
  state.SetLabel(Label(data, state, "fused"));
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
  data = AnalysisData{};
  LoadExample(data, example);
  return data;
}

AnalysisData& Generated(std::int32_t species, std::int32_t sites, std::int32_t groups,
                        int occupied) {
  static AnalysisData data;
  if (data.speciesCount != species || data.siteCount != sites || data.groupCount != groups) {
    data = AnalysisData{};
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

BENCHMARK_CAPTURE(BM_Step, dune_management, "dune_management")
    ->Arg(0)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Step, mite_shrub, "mite_shrub")->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Step, bci_habitat, "bci_habitat")->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Step, bryceveg_elev5, "bryceveg_elev5")->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Step, syn_s200_n500_g6, "syn_s200_n500_g6")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Step, syn_s1000_n1000_g8, "syn_s1000_n1000_g8")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_KernelStep, syn_s1000_n1000_g8, "syn_s1000_n1000_g8")
    ->Arg(0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepLarge)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KernelStepLarge)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepSparseMicrobial)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kova
