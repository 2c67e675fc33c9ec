// The five tables of a step computed together, block by block, against the three kernels
// and the species-by-species reference, bit for bit, on both instruction-set builds.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <fstream>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "indices/step_tables.h"
#include "tests/indices/index_problem.h"
#include "tests/indices/kernels_setting.h"
#include "tests/indices/reference_kernels.h"
#include "tests/support/scratch_folder.h"

namespace kova::test_support {
namespace {

using FiveTables = std::array<std::vector<float>, 5>;

// The five tables of each of `problems` (one or two, alike but for their groupings) from one
// ComputeStepTables, with blocks of `speciesPerBlock` species (0: the size the program
// chooses).
std::vector<FiveTables> StepTablesOf(const std::vector<const IndexProblem*>& problems,
                                     std::size_t speciesPerBlock = 0) {
  const IndexProblem& problem = *problems.front();
  const auto species = static_cast<std::size_t>(problem.speciesCount);
  const auto sites = static_cast<std::size_t>(problem.siteCount);
  const auto groups = static_cast<std::size_t>(problem.groupCount);
  std::vector<float> occupied(std::max<std::size_t>(species, 1));
  CountSpeciesOccupiedSites(problem.presences.data(), species, sites, occupied.data());

  StepTablesArguments arguments;
  arguments.speciesCount = species;
  arguments.siteCount = sites;
  arguments.groupCount = groups;
  arguments.abundanceMatrix = problem.abundances.data();
  arguments.speciesOccupiedSites = occupied.data();
  arguments.groupingCount = problems.size();
  for (std::size_t g = 0; g < problems.size(); ++g) {
    arguments.groupings[g] = {problems[g]->siteGroups.data(), problems[g]->groupSizes.data()};
  }

  if (speciesPerBlock == 0) speciesPerBlock = SpeciesPerBlock(species, groups);
  const auto storage = StepTablesStorage::TryObtain(speciesPerBlock, groups);
  EXPECT_NE(storage, nullptr);
  std::vector<FiveTables> tables(kGroupingsPerPass);
  float* pointers[kGroupingsPerPass][5];
  for (std::size_t g = 0; g < kGroupingsPerPass; ++g) {
    for (std::size_t type = 0; type < 5; ++type) {
      tables[g][type].assign(species * groups, 123.0f);
      pointers[g][type] = tables[g][type].data();
    }
  }
  ComputeStepTables(arguments, storage->Work(), pointers);
  tables.resize(problems.size());
  return tables;
}

FiveTables StepTablesOf(const IndexProblem& problem, std::size_t speciesPerBlock = 0) {
  return StepTablesOf({&problem}, speciesPerBlock).front();
}

// Every table of the step against its kernel and the reference; `where` names the case.
void ExpectKernelTables(const IndexProblem& problem, const FiveTables& tables,
                        const std::string& where) {
  for (std::int32_t indexType = 1; indexType <= 5; ++indexType) {
    const Kernel kernel = KernelFor(indexType);
    const std::vector<float>& table = tables[static_cast<std::size_t>(indexType - 1)];
    EXPECT_TRUE(SameBits(table, RunKernel(problem, kernel, indexType)))
        << where << ", type " << indexType;
    EXPECT_TRUE(SameBits(table, ReferenceIndexTable(problem, kernel, indexType)))
        << where << ", type " << indexType << " against the reference";
  }
}

// Negative abundances, both zeros, both infinities, the default NaN, subnormals and values
// whose sums overflow, in place of about a fifth of the entries; presences follow the rule.
void AddSpecialValues(IndexProblem& problem, std::uint32_t seed) {
  const float specials[] = {-3.5f,
                            -0.0f,
                            DefaultNaN(),
                            std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(),
                            1.0e-45f,
                            -2.0e38f,
                            3.0e38f};
  std::mt19937 engine(seed);
  std::uniform_int_distribution<int> pick(0, 39);
  for (std::size_t entry = 0; entry < problem.abundances.size(); ++entry) {
    const int drawn = pick(engine);
    if (drawn < 8) problem.abundances[entry] = specials[drawn];
    problem.presences[entry] = problem.abundances[entry] > 0.0f ? 1.0f : 0.0f;
  }
}

struct Shape {
  std::int32_t speciesCount;
  std::int32_t siteCount;
  std::int32_t groupCount;
  bool leaveLastGroupEmpty;
};

// Species counts that are not multiples of a block or a vector width, one group, empty
// groups, a single species, tables without species or sites, and tables that span several
// blocks with a short last one.
const Shape kShapes[] = {
    {1, 1, 1, false},     {3, 10, 1, false},    {7, 20, 3, true},   {13, 50, 4, false},
    {37, 64, 5, true},    {101, 200, 8, false}, {250, 33, 6, true}, {1000, 17, 2, false},
    {64, 128, 2, true},   {0, 5, 3, false},     {5, 0, 3, false},   {3000, 300, 7, false},
    {1500, 900, 3, true}, {700, 40, 1, false},
};

const char* const kBuilds[] = {"baseline", nullptr};

TEST(StepTables, EqualTheKernelsOnGeneratedTablesOnBothBuilds) {
  for (const char* build : kBuilds) {
    const KernelsSetting setting(build);
    for (const Shape& shape : kShapes) {
      for (std::uint32_t seed = 1; seed <= 2; ++seed) {
        IndexProblem problem = RandomProblem(seed, shape.speciesCount, shape.siteCount,
                                             shape.groupCount, shape.leaveLastGroupEmpty);
        const std::string where =
            std::string(build ? build : "best build") + ", shape " +
            std::to_string(shape.speciesCount) + "x" + std::to_string(shape.siteCount) + "x" +
            std::to_string(shape.groupCount) + ", seed " + std::to_string(seed);
        ExpectKernelTables(problem, StepTablesOf(problem), where);
        AddSpecialValues(problem, seed);
        ExpectKernelTables(problem, StepTablesOf(problem), where + ", special values");
      }
    }
  }
}

// The block size decides only which species are computed together, never a value.
TEST(StepTables, EveryBlockSizeGivesTheSameTables) {
  IndexProblem problem = RandomProblem(7, 203, 61, 5, true);
  AddSpecialValues(problem, 7);
  for (const char* build : kBuilds) {
    const KernelsSetting setting(build);
    const FiveTables whole = StepTablesOf(problem, 203);
    ExpectKernelTables(problem, whole, "one block");
    for (const std::size_t speciesPerBlock : {1, 2, 15, 16, 17, 64, 202, 500}) {
      const FiveTables blocked = StepTablesOf(problem, speciesPerBlock);
      for (std::size_t type = 0; type < 5; ++type) {
        EXPECT_TRUE(SameBits(blocked[type], whole[type]))
            << speciesPerBlock << " species per block, type " << type + 1;
      }
    }
  }
}

// Two groupings computed in the same passes give each the tables it gets alone.
TEST(StepTables, TwoGroupingsTogetherGiveEachItsOwnTables) {
  for (const char* build : kBuilds) {
    const KernelsSetting setting(build);
    for (const Shape& shape : kShapes) {
      IndexProblem first = RandomProblem(3, shape.speciesCount, shape.siteCount, shape.groupCount,
                                         shape.leaveLastGroupEmpty);
      AddSpecialValues(first, 3);
      IndexProblem second = first;
      std::mt19937 engine(4);
      std::shuffle(second.siteGroups.begin(), second.siteGroups.end(), engine);
      const std::vector<FiveTables> together = StepTablesOf({&first, &second});
      const std::string where = std::string(build ? build : "best build") + ", shape " +
                                std::to_string(shape.speciesCount) + "x" +
                                std::to_string(shape.siteCount) + "x" +
                                std::to_string(shape.groupCount);
      ExpectKernelTables(first, together[0], where + ", first grouping");
      ExpectKernelTables(second, together[1], where + ", second grouping");
      // Blocks that split the species, with both groupings in each.
      const std::vector<FiveTables> blocked = StepTablesOf({&first, &second}, 7);
      for (std::size_t type = 0; type < 5; ++type) {
        EXPECT_TRUE(SameBits(blocked[1][type], together[1][type])) << where << ", blocks of 7";
      }
    }
  }
}

// A bundled data set with the grouping of its group file.
IndexProblem LoadExample(const std::string& example) {
  const auto folder = SourceFolder() / "examples" / example;
  std::ifstream data(folder / "data.txt");
  std::string title;
  std::getline(data, title);
  std::int32_t species = 0, sites = 0, groups = 0;
  data >> species >> sites >> groups;
  std::vector<std::vector<float>> rows(static_cast<std::size_t>(species),
                                       std::vector<float>(static_cast<std::size_t>(sites)));
  for (auto& row : rows) {
    for (float& value : row)
      data >> value;
  }
  std::ifstream groupFile(folder / "groups.txt");
  std::vector<std::int32_t> siteGroups(static_cast<std::size_t>(sites));
  for (std::int32_t& group : siteGroups)
    groupFile >> group;
  EXPECT_TRUE(data && groupFile) << example;
  return MakeProblem(rows, siteGroups, groups);
}

TEST(StepTables, EqualTheKernelsOnTheBundledTablesAndShufflesOfTheirGroupings) {
  const char* const examples[] = {"dune_management", "mite_shrub",       "bci_habitat",
                                  "bryceveg_elev5",  "syn_s200_n500_g6", "syn_s1000_n1000_g8"};
  for (const char* example : examples) {
    IndexProblem problem = LoadExample(example);
    std::mt19937 engine(11);
    for (int grouping = 0; grouping < 3; ++grouping) {
      for (const char* build : kBuilds) {
        const KernelsSetting setting(build);
        const FiveTables tables = StepTablesOf(problem);
        for (std::int32_t indexType = 1; indexType <= 5; ++indexType) {
          EXPECT_TRUE(SameBits(tables[static_cast<std::size_t>(indexType - 1)],
                               RunKernel(problem, KernelFor(indexType), indexType)))
              << example << ", grouping " << grouping << ", type " << indexType << ", "
              << (build ? build : "best build");
        }
      }
      // The next grouping: the same group sizes over other sites.
      std::shuffle(problem.siteGroups.begin(), problem.siteGroups.end(), engine);
    }
  }
}

TEST(StepTables, OccupiedSitesOfTheSpeciesCountPresencesOverAllSites) {
  const IndexProblem problem =
      MakeProblem({{1, 0, 2, 0}, {0, 0, 0, 0}, {-1, 5, 5, 5}}, {1, 2, 2, 1}, 2);
  std::vector<float> occupied(3, 99.0f);
  CountSpeciesOccupiedSites(problem.presences.data(), 3, 4, occupied.data());
  EXPECT_EQ(occupied, (std::vector<float>{2.0f, 0.0f, 3.0f}));
}

// All species in one block while their work storage for two groupings stays within 2 MB;
// otherwise blocks of whole vector widths that fit it, never fewer than sixteen species.
TEST(StepTables, BlocksBoundTheWorkStorage) {
  struct Case {
    std::size_t species, groups, expected;
  };
  const Case cases[] = {
      {0, 3, 1},              // no species: a block of one, never used
      {10, 3, 10},            //
      {1000, 8, 1000},        //
      {3000, 6, 3000},        // 504 bytes a species for two groupings: 1.5 MB
      {50000, 6, 4160},       //
      {1000000, 20, 1280},    // 1624 bytes a species
      {100000, 1000000, 16},  // a single species needs more than the bound
      {5, 1000000, 5},        // but a block never holds more than all the species
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SpeciesPerBlock(c.species, c.groups), c.expected) << c.species << "x" << c.groups;
  }
}

}  // namespace
}  // namespace kova::test_support
