// Time of one randomization step (the shuffle, the recount, all five index tables and their
// summaries; no output) on the bundled data sets and a generated large table.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>

#include "driver/analysis_data.h"
#include "driver/input_files.h"
#include "driver/randomization_step.h"
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

// 5000 species, 2000 sites, 10 groups; about a fifth of the entries are small counts.
void GenerateLargeTable(AnalysisData& data) {
  data.speciesCount = 5000;
  data.siteCount = 2000;
  data.groupCount = 10;
  AllocateArrays(data);
  std::mt19937 random(5000);
  std::uniform_int_distribution<int> count(0, 24);
  for (std::int64_t entry = 0; entry < data.abundanceMatrix.Size(); ++entry) {
    const int drawn = count(random);
    data.abundanceMatrix.Data()[entry] = drawn < 20 ? 0.0f : static_cast<float>(drawn - 19);
  }
  for (std::int64_t site = 1; site <= data.siteCount; ++site) {
    data.siteGroups(site) = static_cast<std::int32_t>((site - 1) % data.groupCount + 1);
  }
  DerivePresence(data);
}

void TimeSteps(benchmark::State& state, AnalysisData& data) {
  const bool baseline = state.range(0) != 0;
  if (baseline) {
    ::setenv("KOVA_KERNELS", "baseline", 1);
  } else {
    ::unsetenv("KOVA_KERNELS");
  }
  data.randomSeed = 1;
  ZeroedArray<float> speciesMaximum(ArrayEntries(data.speciesCount));
  float checksum = 0.0f;
  std::int32_t step = 2;  // every timed step shuffles
  for (auto _ : state) {
    RunRandomizationStep(
        data, step++, speciesMaximum.Data(),
        [&](std::int32_t, const StepSummary& summary) { checksum += summary.stepSum; });
  }
  benchmark::DoNotOptimize(checksum);
  ::unsetenv("KOVA_KERNELS");
  state.SetLabel(std::to_string(data.speciesCount) + "x" + std::to_string(data.siteCount) + "x" +
                 std::to_string(data.groupCount) + (baseline ? " baseline" : " chosen kernels"));
}

void BM_StepOnExample(benchmark::State& state, const char* example) {
  static AnalysisData data;
  data = AnalysisData{};
  LoadExample(data, example);
  TimeSteps(state, data);
}

void BM_StepOnGeneratedLargeTable(benchmark::State& state) {
  static AnalysisData data;
  data = AnalysisData{};
  GenerateLargeTable(data);
  TimeSteps(state, data);
}

BENCHMARK_CAPTURE(BM_StepOnExample, dune_management, "dune_management")
    ->Arg(0)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_StepOnExample, mite_shrub, "mite_shrub")
    ->Arg(0)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_StepOnExample, bci_habitat, "bci_habitat")
    ->Arg(0)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_StepOnExample, bryceveg_elev5, "bryceveg_elev5")
    ->Arg(0)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_StepOnExample, syn_s200_n500_g6, "syn_s200_n500_g6")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StepOnExample, syn_s1000_n1000_g8, "syn_s1000_n1000_g8")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepOnGeneratedLargeTable)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kova
