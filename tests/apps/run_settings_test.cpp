// The settings a program reads from its environment at start: each variable's accepted
// values, and everything else leaving the choice to the analysis.
#include "apps/run_settings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace kova {
namespace {

AnalysisSettings SettingsOf(const std::map<std::string, std::string>& environment) {
  return RunSettingsFrom([&environment](const char* name) -> const char* {
    const auto found = environment.find(name);
    return found == environment.end() ? nullptr : found->second.c_str();
  });
}

TEST(RunSettings, EachVariableTakesItsValuesAndIgnoresTheRest) {
  struct Case {
    std::map<std::string, std::string> environment;
    int threads;
    KernelBuild build;
    std::size_t groupingsPerPass;
  };
  const Case cases[] = {
      {{}, 0, KernelBuild::Fastest, 0},
      {{{"KOVA_THREADS", "3"}}, 3, KernelBuild::Fastest, 0},
      {{{"KOVA_THREADS", " 4"}}, 4, KernelBuild::Fastest, 0},
      {{{"KOVA_THREADS", ""}}, 0, KernelBuild::Fastest, 0},
      {{{"KOVA_THREADS", "0"}}, 0, KernelBuild::Fastest, 0},
      {{{"KOVA_THREADS", "-2"}}, 0, KernelBuild::Fastest, 0},
      {{{"KOVA_THREADS", "two"}}, 0, KernelBuild::Fastest, 0},
      {{{"KOVA_THREADS", "4x"}}, 0, KernelBuild::Fastest, 0},
      {{{"KOVA_KERNELS", "baseline"}}, 0, KernelBuild::Baseline, 0},
      {{{"KOVA_KERNELS", "Baseline"}}, 0, KernelBuild::Fastest, 0},
      {{{"KOVA_KERNELS", "avx2"}}, 0, KernelBuild::Fastest, 0},
      {{{"KOVA_GROUPINGS_PER_PASS", "1"}}, 0, KernelBuild::Fastest, 1},
      {{{"KOVA_GROUPINGS_PER_PASS", "2"}}, 0, KernelBuild::Fastest, 2},
      {{{"KOVA_GROUPINGS_PER_PASS", "4"}}, 0, KernelBuild::Fastest, 4},
      {{{"KOVA_GROUPINGS_PER_PASS", "3"}}, 0, KernelBuild::Fastest, 0},
      {{{"KOVA_GROUPINGS_PER_PASS", "8"}}, 0, KernelBuild::Fastest, 0},
      {{{"KOVA_THREADS", "2"}, {"KOVA_KERNELS", "baseline"}, {"KOVA_GROUPINGS_PER_PASS", "4"}},
       2,
       KernelBuild::Baseline,
       4},
  };
  for (const Case& c : cases) {
    const AnalysisSettings settings = SettingsOf(c.environment);
    std::string where;
    for (const auto& [name, value] : c.environment)
      where += name + "=\"" + value + "\" ";
    EXPECT_EQ(settings.threads, c.threads) << where;
    EXPECT_EQ(settings.kernelBuild, c.build) << where;
    EXPECT_EQ(settings.groupingsPerPass, c.groupingsPerPass) << where;
  }
}

}  // namespace
}  // namespace kova
