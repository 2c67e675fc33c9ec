// Randomization steps per second through the worker threads: the steps of a run (shuffles on
// the calling thread, tables and summaries on the workers, summaries taken in step order, no
// output) with 1 thread, 2 threads and every online processor, each with 1, 2 and 4 groupings
// a pass, on three table sizes and a sparse microbial count table. Reported per step, with
// the work storage of all threads.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "bench/bench_tables.h"
#include "inputs/analysis_data.h"
#include "randomization/step_workers.h"

namespace kova {
namespace {

struct TableShape {
  const char* name;
  std::int32_t species, sites, groups;
  int occupied;  // percent of non-zero entries
};

AnalysisData& TableFor(const TableShape& shape) {
  static AnalysisData data;
  static std::string loaded;
  if (loaded != shape.name) {
    if (shape.occupied == 0) {
      bench::LoadExample(data, shape.name);
    } else {
      bench::GenerateTable(data, shape.species, shape.sites, shape.groups, shape.occupied);
    }
    loaded = shape.name;
  }
  return data;
}

// range(0): threads, 0 for every online processor; range(1): groupings a pass (1, 2 or 4).
void BM_StepsThroughWorkers(benchmark::State& state, TableShape shape, std::int64_t steps) {
  AnalysisData& data = TableFor(shape);
  AnalysisSettings settings;
  settings.threads = static_cast<int>(state.range(0));
  settings.groupingsPerPass = static_cast<std::size_t>(state.range(1));
  const int threads = StepThreadCount(settings.threads, data.speciesCount, data.siteCount);
  float checksum = 0.0f;
  std::size_t storage = 0;
  std::chrono::duration<double, std::milli> elapsed{0};
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    data.randomSeed = 1;
    const StepConstants constants(data, settings);
    StepWorkers workers(data, constants, steps, threads);
    for (std::int64_t step = 1; step <= steps; ++step)
      checksum += workers.Summaries(step)[0].stepSum;
    storage = workers.WorkStorageBytes();
    elapsed += std::chrono::steady_clock::now() - start;
  }
  benchmark::DoNotOptimize(checksum);
  state.counters["ms_per_step"] = elapsed.count() / static_cast<double>(state.iterations() * steps);
  state.counters["threads"] = threads;
  state.counters["groupings"] = static_cast<double>(settings.groupingsPerPass);
  state.counters["work_MB"] = static_cast<double>(storage) / (1 << 20);
  state.SetLabel(std::to_string(data.speciesCount) + "x" + std::to_string(data.siteCount) + "x" +
                 std::to_string(data.groupCount));
}

const TableShape kSyn1000 = {"syn_s1000_n1000_g8", 1000, 1000, 8, 0};
const TableShape kLarge = {"generated 5000x2000x10", 5000, 2000, 10, 20};
const TableShape kMicrobial = {"generated 50000x2000x6, 90% zeros", 50000, 2000, 6, 10};
const TableShape kHuge = {"generated 10000x10000x20", 10000, 10000, 20, 20};

// Every thread count with every number of groupings a pass.
void ThreadsAndGroupings(benchmark::internal::Benchmark* benchmark) {
  for (const int threads : {1, 2, 0}) {
    for (const int groupings : {1, 2, 4})
      benchmark->Args({threads, groupings});
  }
  benchmark->UseRealTime()->Unit(benchmark::kMillisecond);
}

BENCHMARK_CAPTURE(BM_StepsThroughWorkers, syn_s1000_n1000_g8, kSyn1000, 200)
    ->Apply(ThreadsAndGroupings);
BENCHMARK_CAPTURE(BM_StepsThroughWorkers, generated_5000x2000x10, kLarge, 40)
    ->Apply(ThreadsAndGroupings);
BENCHMARK_CAPTURE(BM_StepsThroughWorkers, sparse_50000x2000x6, kMicrobial, 16)
    ->Apply(ThreadsAndGroupings)
    ->Iterations(2);
BENCHMARK_CAPTURE(BM_StepsThroughWorkers, generated_10000x10000x20, kHuge, 8)
    ->Apply(ThreadsAndGroupings)
    ->Iterations(1);

}  // namespace
}  // namespace kova
