#include "apps/run_settings.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace kova {
namespace {

// A whole number from 1 up (blanks before it are fine, nothing after it); 0 for anything else.
long PositiveNumber(const char* text) {
  if (text == nullptr || *text == '\0') return 0;
  char* end = nullptr;
  const long number = std::strtol(text, &end, 10);
  if (*end != '\0' || number < 1) return 0;
  return number;
}

}  // namespace

AnalysisSettings RunSettingsFrom(const EnvironmentVariable& variable) {
  AnalysisSettings settings;
  const long threads = PositiveNumber(variable("KOVA_THREADS"));
  settings.threads = static_cast<int>(std::min<long>(threads, std::numeric_limits<int>::max()));
  const char* kernels = variable("KOVA_KERNELS");
  if (kernels != nullptr && std::strcmp(kernels, "baseline") == 0) {
    settings.kernelBuild = KernelBuild::Baseline;
  }
  const long groupings = PositiveNumber(variable("KOVA_GROUPINGS_PER_PASS"));
  if (groupings == 1 || groupings == 2 || groupings == 4) {
    settings.groupingsPerPass = static_cast<std::size_t>(groupings);
  }
  return settings;
}

AnalysisSettings ReadRunSettings() {
  return RunSettingsFrom([](const char* name) -> const char* { return std::getenv(name); });
}

}  // namespace kova
