// Reading data files in free format, and editing reals for output.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "textio/free_format_input.h"
#include "textio/output_editing.h"
#include "textio/units.h"

namespace {

constexpr int kValuesPerRow = 1000;
constexpr std::size_t kFileBytes = 50u << 20;

enum class ValueShape { Counts, Decimals };

struct DataFile {
  std::string path;
  std::int64_t bytes = 0;
  std::int64_t rows = 0;
};

// About 50 MB of rows of 1000 values: counts, mostly zero, as in species tables, or
// decimals with four digits after the point.
DataFile MakeDataFile(ValueShape shape) {
  const char* name =
      shape == ValueShape::Counts ? "kova-bench-counts.txt" : "kova-bench-decimals.txt";
  DataFile file;
  file.path = (std::filesystem::temp_directory_path() / name).string();
  std::mt19937 random(42);
  std::uniform_int_distribution<int> count(0, 28);
  std::uniform_real_distribution<double> decimal(0.0, 100.0);
  std::string contents;
  contents.reserve(kFileBytes + 20000);
  char value[32];
  while (contents.size() < kFileBytes) {
    for (int column = 0; column < kValuesPerRow; ++column) {
      if (shape == ValueShape::Counts) {
        const int drawn = count(random);
        std::snprintf(value, sizeof value, "%d ", drawn < 23 ? 0 : drawn - 22);
      } else {
        std::snprintf(value, sizeof value, "%.4f ", decimal(random));
      }
      contents += value;
    }
    contents.back() = '\n';
    ++file.rows;
  }
  std::ofstream(file.path, std::ios::binary) << contents;
  file.bytes = static_cast<std::int64_t>(contents.size());
  return file;
}

void ReadDataFile(benchmark::State& state, ValueShape shape) {
  const DataFile file = MakeDataFile(shape);
  std::vector<float> row(kValuesPerRow);
  for (auto _ : state) {
    kova::OpenUnit(1, file.path, kova::OpenStatus::Old);
    for (std::int64_t rowIndex = 0; rowIndex < file.rows; ++rowIndex) {
      kova::ReadFreeFormat(1, {kova::RealItems(row.data(), kValuesPerRow)});
      benchmark::DoNotOptimize(row.data());
    }
    kova::CloseUnit(1);
  }
  state.SetBytesProcessed(state.iterations() * file.bytes);
  state.SetItemsProcessed(state.iterations() * file.rows * kValuesPerRow);
  std::filesystem::remove(file.path);
}

void BM_ReadFreeFormat_Counts50MB(benchmark::State& state) {
  ReadDataFile(state, ValueShape::Counts);
}
void BM_ReadFreeFormat_Decimals50MB(benchmark::State& state) {
  ReadDataFile(state, ValueShape::Decimals);
}
BENCHMARK(BM_ReadFreeFormat_Counts50MB)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReadFreeFormat_Decimals50MB)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Values like the ones the report prints: sums of tens to thousands, and index values.
std::vector<float> ReportValues(float lowest, float highest) {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> value(lowest, highest);
  std::vector<float> values(1 << 16);
  std::generate(values.begin(), values.end(), [&] { return value(random); });
  return values;
}

void BM_EditFreeFormatReal(benchmark::State& state) {
  const std::vector<float> values = ReportValues(-1000.0f, 10000.0f);
  std::string record;
  for (auto _ : state) {
    record.clear();
    for (const float value : values)
      kova::AppendFreeFormatReal(record, value);
    benchmark::DoNotOptimize(record.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size()));
}
BENCHMARK(BM_EditFreeFormatReal);

void BM_EditRealF8Point4(benchmark::State& state) {
  const std::vector<float> values = ReportValues(-1.0f, 1.0f);
  std::string record;
  for (auto _ : state) {
    record.clear();
    for (const float value : values)
      kova::AppendRealF(record, value, 8, 4);
    benchmark::DoNotOptimize(record.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size()));
}
BENCHMARK(BM_EditRealF8Point4);

}  // namespace
