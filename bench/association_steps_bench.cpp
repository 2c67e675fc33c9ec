// What the associations add to a step: the steps of a run through the workers on the 1000 x
// 1000 x 8 example (its counts, and fractions of them), without associations, with r.g of
// single groups, with IndVal over every combination of groups (255 of them), and with both
// (IndVal over 255 combinations, r.g over 254). Reported per step.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <optional>

#include "bench/bench_tables.h"
#include "inputs/analysis_data.h"
#include "randomization/association_steps.h"
#include "randomization/step_workers.h"

namespace kova {
namespace {

// The example's counts, or (`fractions`) the same table with every abundance times 0.37:
// whole numbers let the steps take the passes' own single-precision sums, other values need
// sums in double precision.
AnalysisData& Example(bool fractions) {
  static AnalysisData tables[2];
  static bool loaded[2] = {false, false};
  AnalysisData& data = tables[fractions ? 1 : 0];
  if (!loaded[fractions ? 1 : 0]) {
    bench::LoadExample(data, "syn_s1000_n1000_g8");
    if (fractions) {
      const std::size_t entries = static_cast<std::size_t>(data.speciesCount) *
                                  static_cast<std::size_t>(data.siteCount);
      for (std::size_t at = 0; at < entries; ++at)
        data.abundanceMatrix.Data()[at] *= 0.37f;
    }
    loaded[fractions ? 1 : 0] = true;
  }
  return data;
}

AssociationRequest Asked(int statistics) {
  AssociationRequest request;
  request.combinations = (statistics & 1) != 0;
  request.correlation = (statistics & 2) != 0;
  return request;
}

// range(0): 0 none, 1 IndVal over every combination, 2 r.g of single groups, 3 both;
// range(1): threads; range(2): 0 the counts, 1 fractions of them.
void BM_StepsWithAssociations(benchmark::State& state) {
  AnalysisData& data = Example(state.range(2) != 0);
  constexpr std::int64_t kSteps = 200;
  AnalysisSettings settings;
  settings.threads = static_cast<int>(state.range(1));
  std::optional<AssociationSteps> associations;
  if (state.range(0) != 0) associations.emplace(data, Asked(static_cast<int>(state.range(0))));
  std::chrono::duration<double, std::milli> elapsed{0};
  double checksum = 0.0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    data.randomSeed = 1;
    const StepConstants constants(data, settings, associations ? &*associations : nullptr);
    StepWorkers workers(data, constants, kSteps, settings.threads, StepDetail::Summaries,
                        kStepPollInterval, associations.has_value());
    for (std::int64_t step = 1; step <= kSteps; ++step) {
      checksum += workers.Summaries(step)[0].stepSum;
      if (associations) checksum += workers.AssociationMaxima(step)[0];
    }
    elapsed += std::chrono::steady_clock::now() - start;
  }
  benchmark::DoNotOptimize(checksum);
  state.counters["ms_per_step"] =
      elapsed.count() / static_cast<double>(state.iterations() * kSteps);
}
BENCHMARK(BM_StepsWithAssociations)
    ->ArgsProduct({{0, 1, 2, 3}, {1, 2}, {0, 1}})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kova
