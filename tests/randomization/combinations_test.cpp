// Combinations of groups and bootstrap intervals: the combinations listed as R's combn lists
// them; the strongest IndVal.g and r.g of every species equal indicspecies' multipatt on
// R's data (the same combination, the statistic to 1e-10); the bootstrap intervals are those
// of a plain count over the same resamples, whatever the number of threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "inputs/checked_inputs.h"
#include "randomization/association_steps.h"
#include "randomization/bootstrap.h"
#include "randomization/combinations.h"
#include "randomization/exact_values.h"
#include "randomization/step_computation.h"
#include "tests/inputs/input_files_request.h"
#include "tests/support/scratch_folder.h"

namespace kova {
namespace {

using test_support::Request;

TEST(Combinations, AreListedByOrderThenAsCombnListsThem) {
  const CombinationList list = ListCombinations(4, 3);
  std::vector<std::string> names;
  for (std::size_t c = 0; c < list.Size(); ++c) {
    names.push_back(CombinationName(list.sets[c], {"a", "b", "c", "d"}));
    if (list.parent[c] >= 0) {
      // A combination is its parent and one group more.
      EXPECT_EQ(
          list.sets[static_cast<std::size_t>(list.parent[c])] | (GroupSet{1} << list.added[c]),
          list.sets[c]);
    }
  }
  EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "c", "d", "a+b", "a+c", "a+d", "b+c", "b+d",
                                             "c+d", "a+b+c", "a+b+d", "a+c+d", "b+c+d"}));
  EXPECT_EQ(CombinationName(0b101, {}), "1+3");
  EXPECT_EQ(CombinationCount(4, 4), 15U);
  EXPECT_GT(CombinationCount(40, 40), kMostCombinations);
  EXPECT_EQ(ListCombinations(40, 40).Size(), 0U);
  EXPECT_EQ(ListCombinations(40, 2).Size(), 40U + 780U);
}

AnalysisData ReadExample(const std::string& example) {
  const auto folder = test_support::SourceFolder() / "examples" / example;
  const InputFiles request = Request((folder / "community.csv").string(), TableForm::Csv,
                                     (folder / "groups.csv").string(), 12345, 2);
  AnalysisData data;
  const auto fault = ReadCheckedInputs(request, data);
  EXPECT_FALSE(fault) << fault->found;
  return data;
}

std::vector<std::int32_t> SizesOf(const AnalysisData& data) {
  std::vector<std::int32_t> sizes(static_cast<std::size_t>(data.groupCount));
  for (std::int32_t k = 0; k < data.siteCount; ++k)
    ++sizes[static_cast<std::size_t>(data.siteGroups.Data()[k] - 1)];
  return sizes;
}

// Species name -> the combination and the statistic of a multipatt result.
std::map<std::string, std::pair<std::string, double>> ReadMultipatt(const std::string& file) {
  std::ifstream in(test_support::SourceFolder() / "tests/peers" / file);
  std::map<std::string, std::pair<std::string, double>> result;
  std::string line;
  std::getline(in, line);
  const auto unquoted = [](const std::string& field) { return field.substr(1, field.size() - 2); };
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string name, groups, statistic;
    std::getline(fields, name, ',');
    std::getline(fields, groups, ',');
    std::getline(fields, statistic, ',');
    result[unquoted(name)] = {unquoted(groups), std::stod(statistic)};
  }
  return result;
}

TEST(Combinations, StrongestAssociationsEqualMultipatts) {
  const struct {
    const char* example;
    const char* file;
    bool correlation;
  } cases[] = {
      {"dune_management", "dune_management_multipatt_indval_g.csv", false},
      {"dune_management", "dune_management_multipatt_r_g.csv", true},
      {"wetland_kmeans3", "wetland_kmeans3_multipatt_indval_g.csv", false},
      {"wetland_kmeans3", "wetland_kmeans3_multipatt_r_g.csv", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const AnalysisData data = ReadExample(c.example);
    const std::vector<std::int32_t> sizes = SizesOf(data);
    const ExactSums sums = SumOverSites(data, data.siteGroups.Data(), sizes);
    const int groups = data.groupCount;
    const CombinationList list = ListCombinations(groups, c.correlation ? groups - 1 : groups);
    const auto peer = ReadMultipatt(c.file);
    const auto species = static_cast<std::size_t>(data.speciesCount);
    std::vector<double> scratch(4 * list.Size());
    for (std::size_t i = 0; i < species; ++i) {
      std::vector<double> totals, occupied, squares;
      for (std::size_t j = 0; j < static_cast<std::size_t>(groups); ++j) {
        totals.push_back(sums.totals[j * species + i]);
        occupied.push_back(sums.occupied[j * species + i]);
        squares.push_back(sums.squares[j * species + i]);
      }
      const SpeciesGroupSums of{totals.data(), occupied.data(), squares.data(), sizes.data(),
                                groups};
      const Association strongest = c.correlation
                                        ? StrongestCorrelation(list, of, scratch.data())
                                        : StrongestIndicatorValue(list, of, scratch.data());
      const auto& [combination, statistic] = peer.at(data.speciesNames[i]);
      EXPECT_EQ(CombinationName(list.sets[static_cast<std::size_t>(strongest.combination)],
                                data.groupLabels),
                combination)
          << data.speciesNames[i];
      EXPECT_NEAR(strongest.value, statistic, 1e-10) << data.speciesNames[i];
    }
  }
}

TEST(Bootstrap, IntervalsAreThoseOfTheResamplesWhateverTheThreads) {
  const AnalysisData data = ReadExample("dune_management");
  const std::int32_t* groups = data.siteGroups.Data();
  const std::vector<std::int32_t> sizes = SizesOf(data);
  const auto species = static_cast<std::size_t>(data.speciesCount);
  const CombinationList list = ListCombinations(data.groupCount, data.groupCount);
  std::vector<BootstrapTarget> targets(species);
  for (std::size_t i = 0; i < species; ++i)
    targets[i] = {static_cast<std::int32_t>(i % 4 + 1), static_cast<int>(i % list.Size())};
  BootstrapPlan plan{199, 0.9, 12345, 1, &list};
  const auto single = BootstrapIntervals(data, groups, targets, plan);
  ASSERT_EQ(single.size(), species);
  for (const int threads : {2, 3}) {
    plan.threads = threads;
    const auto other = BootstrapIntervals(data, groups, targets, plan);
    ASSERT_EQ(other.size(), species);
    EXPECT_EQ(std::memcmp(other.data(), single.data(), species * sizeof(SpeciesIntervals)), 0)
        << threads << " threads";
  }

  // Each resample keeps every site in its group; APCF's value at the species' group, counted
  // here site by site.
  for (std::int64_t b = 0; b < plan.resamples; ++b) {
    const auto sites = ResampledSites(groups, data.siteCount, data.groupCount, plan.seed, b);
    for (std::size_t k = 0; k < sites.size(); ++k)
      ASSERT_EQ(groups[sites[k]], groups[k]);
  }
  for (std::size_t i = 0; i < species; ++i) {
    std::vector<double> values;
    for (std::int64_t b = 0; b < plan.resamples; ++b) {
      const auto sites = ResampledSites(groups, data.siteCount, data.groupCount, plan.seed, b);
      std::vector<double> total(4), present(4);
      for (std::size_t k = 0; k < sites.size(); ++k) {
        const double x =
            data.abundanceMatrix.Data()[static_cast<std::size_t>(sites[k]) * species + i];
        total[static_cast<std::size_t>(groups[k] - 1)] += x;
        present[static_cast<std::size_t>(groups[k] - 1)] += x > 0 ? 1 : 0;
      }
      double meanSum = 0;
      for (std::size_t j = 0; j < 4; ++j)
        meanSum += total[j] / sizes[j];
      const auto g = static_cast<std::size_t>(targets[i].group - 1);
      const double value = total[g] / sizes[g] / meanSum * (present[g] / sizes[g]);
      if (!std::isnan(value)) values.push_back(value);
    }
    std::sort(values.begin(), values.end());
    // R's quantile type 7 at 5 % and 95 %.
    const auto quantile = [&values](double share) {
      const double at = share * static_cast<double>(values.size() - 1);
      const auto below = static_cast<std::size_t>(at);
      const double above = values[std::min(below + 1, values.size() - 1)];
      return values[below] + (at - static_cast<double>(below)) * (above - values[below]);
    };
    EXPECT_NEAR(single[i].apcf.value.low, quantile(0.05), 1e-14) << "species " << i + 1;
    EXPECT_NEAR(single[i].apcf.value.high, quantile(0.95), 1e-14) << "species " << i + 1;
  }
}

// The steps find each species' strongest values for a block of species at once, from the
// sums their passes add while they read the table (for whole numbers and quarters, the
// passes' own single-precision totals; for bryceveg's tenths, sums in double precision), for up to
// four groupings a pass, with either build of the passes and for each kind of request; they must be
// the values, to the bit, that the observed grouping's species-by-species search reports, or the
// observed step would not count as reaching itself.
TEST(Combinations, EveryStepFindsTheValuesOfTheSpeciesBySpeciesSearch) {
  struct Example {
    const char* name;
    float scale;  // every abundance times this
    ExtraSums passSums;
  };
  const Example examples[] = {{"dune_management", 1.0f, ExtraSums::SingleSquares},
                              {"dune_management", 0.25f, ExtraSums::SingleSquares},
                              {"syn_s200_n500_g6", 1.0f, ExtraSums::SingleSquares},
                              {"bryceveg_elev5", 1.0f, ExtraSums::DoubleTotalsAndSquares}};
  struct Asked {
    bool combinations;
    bool correlation;
    std::int32_t maxOrder;
  };
  const Asked requests[] = {{true, true, 0}, {true, true, 2}, {true, false, 0}, {false, true, 0}};
  for (const auto& [example, scale, passSums] : examples) {
    AnalysisData data = ReadExample(example);
    for (std::int64_t at = 0; at < data.abundanceMatrix.Size(); ++at)
      data.abundanceMatrix.Data()[at] *= scale;
    std::vector<std::vector<std::int32_t>> groups;
    groups.emplace_back(data.siteGroups.Data(), data.siteGroups.Data() + data.siteCount);
    for (int rotation = 0; rotation < 2; ++rotation) {
      groups.push_back(groups.back());
      std::rotate(groups.back().begin(), groups.back().begin() + 3, groups.back().end());
    }
    std::vector<std::int32_t> sizes(static_cast<std::size_t>(data.groupCount));
    for (const std::int32_t group : groups[0])
      ++sizes[static_cast<std::size_t>(group - 1)];
    for (const Asked& asked : requests) {
      for (const KernelBuild build : {KernelBuild::Fastest, KernelBuild::Baseline}) {
        SCOPED_TRACE(testing::Message()
                     << example << " x " << scale << ", IndVal " << asked.combinations << ", r.g "
                     << asked.correlation << ", order " << asked.maxOrder);
        AssociationRequest request;
        request.combinations = asked.combinations;
        request.correlation = asked.correlation;
        request.maxOrder = asked.maxOrder;
        const AssociationSteps steps(data, request);
        if (asked.correlation) {
          EXPECT_EQ(steps.PassSums(), passSums);
        }
        AnalysisSettings settings;
        settings.kernelBuild = build;
        settings.groupingsPerPass = 4;
        const StepConstants constants(data, settings, &steps);
        const std::unique_ptr<StepWork> work = StepWork::TryObtain(constants);
        ASSERT_NE(work, nullptr);

        constexpr std::size_t kGroupings = 3;
        std::vector<std::vector<double>> maxima(kGroupings,
                                                std::vector<double>(steps.ValuesPerStep()));
        Grouping groupings[kGroupings];
        double* maximaOf[kGroupings];
        for (std::size_t g = 0; g < kGroupings; ++g) {
          groupings[g] = {groups[g].data(), sizes.data()};
          maximaOf[g] = maxima[g].data();
        }
        StepSummaries summaries[kGroupings];
        ASSERT_TRUE(ComputeSteps(constants, groupings, kGroupings, *work, summaries, nullptr,
                                 nullptr, maximaOf));

        std::vector<Association> indicator, correlation;
        for (std::size_t g = 0; g < kGroupings; ++g) {
          steps.Strongest(groups[g].data(), indicator, correlation);
          std::vector<double> expected;
          for (const Association& association : indicator)
            expected.push_back(association.value);
          for (const Association& association : correlation)
            expected.push_back(association.value);
          ASSERT_EQ(maxima[g].size(), expected.size());
          for (std::size_t at = 0; at < expected.size(); ++at) {
            EXPECT_EQ(std::bit_cast<std::uint64_t>(maxima[g][at]),
                      std::bit_cast<std::uint64_t>(expected[at]))
                << "grouping " << g << ", value " << at;
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace kova
