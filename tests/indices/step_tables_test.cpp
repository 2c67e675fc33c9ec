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
#include "tests/indices/reference_kernels.h"
#include "tests/support/sanitized_build.h"
#include "tests/support/scratch_folder.h"

namespace kova::test_support {
namespace {

using FiveTables = std::array<std::vector<float>, 5>;

// The five tables of each of `problems` (one to four, alike but for their groupings) from one
// ComputeStepTables with `build`, with blocks of `speciesPerBlock` species (0: the size the
// program chooses for as many groupings).
std::vector<FiveTables> StepTablesOf(const std::vector<const IndexProblem*>& problems,
                                     std::size_t speciesPerBlock = 0,
                                     KernelBuild build = KernelBuild::Fastest) {
  const IndexProblem& problem = *problems.front();
  const auto species = static_cast<std::size_t>(problem.speciesCount);
  const auto sites = static_cast<std::size_t>(problem.siteCount);
  const auto groups = static_cast<std::size_t>(problem.groupCount);
  std::vector<float> occupied(std::max<std::size_t>(species, 1));
  CountSpeciesOccupiedSites(problem.abundances.data(), species, sites, occupied.data());

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

  if (speciesPerBlock == 0) speciesPerBlock = SpeciesPerBlock(species, groups, problems.size());
  const auto storage = StepTablesStorage::TryObtain(speciesPerBlock, groups, problems.size());
  EXPECT_NE(storage, nullptr);
  std::vector<FiveTables> tables(kMostGroupingsPerPass);
  float* pointers[kMostGroupingsPerPass][5];
  for (std::size_t g = 0; g < kMostGroupingsPerPass; ++g) {
    for (std::size_t type = 0; type < 5; ++type) {
      tables[g][type].assign(species * groups, 123.0f);
      pointers[g][type] = tables[g][type].data();
    }
  }
  ComputeStepTables(arguments, storage->Work(), pointers, build);
  tables.resize(problems.size());
  return tables;
}

FiveTables StepTablesOf(const IndexProblem& problem, std::size_t speciesPerBlock = 0,
                        KernelBuild build = KernelBuild::Fastest) {
  return StepTablesOf({&problem}, speciesPerBlock, build).front();
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

// The two largest shapes only in the optimised build: unoptimised they take most of a
// sanitizer's time, and they reach no code that the smaller ones miss.
bool Checked(const Shape& shape) {
  return !kSanitizedBuild || shape.speciesCount * shape.siteCount <= 100000;
}

struct Build {
  KernelBuild build;
  const char* name;
};
const Build kBuilds[] = {{KernelBuild::Baseline, "baseline"}, {KernelBuild::Fastest, "best build"}};

TEST(StepTables, EqualTheKernelsOnGeneratedTablesOnBothBuilds) {
  for (const auto& [build, name] : kBuilds) {
    for (const Shape& shape : kShapes) {
      if (!Checked(shape)) continue;
      for (std::uint32_t seed = 1; seed <= 2; ++seed) {
        IndexProblem problem = RandomProblem(seed, shape.speciesCount, shape.siteCount,
                                             shape.groupCount, shape.leaveLastGroupEmpty);
        const std::string where =
            std::string(name) + ", shape " + std::to_string(shape.speciesCount) + "x" +
            std::to_string(shape.siteCount) + "x" + std::to_string(shape.groupCount) + ", seed " +
            std::to_string(seed);
        ExpectKernelTables(problem, StepTablesOf(problem, 0, build), where);
        AddSpecialValues(problem, seed);
        ExpectKernelTables(problem, StepTablesOf(problem, 0, build), where + ", special values");
      }
    }
  }
}

// The block size decides only which species are computed together, never a value.
TEST(StepTables, EveryBlockSizeGivesTheSameTables) {
  IndexProblem problem = RandomProblem(7, 203, 61, 5, true);
  AddSpecialValues(problem, 7);
  for (const auto& [build, name] : kBuilds) {
    const FiveTables whole = StepTablesOf(problem, 203, build);
    ExpectKernelTables(problem, whole, std::string(name) + ", one block");
    for (const std::size_t speciesPerBlock : {1, 2, 15, 16, 17, 64, 202, 500}) {
      const FiveTables blocked = StepTablesOf(problem, speciesPerBlock, build);
      for (std::size_t type = 0; type < 5; ++type) {
        EXPECT_TRUE(SameBits(blocked[type], whole[type]))
            << speciesPerBlock << " species per block, type " << type + 1;
      }
    }
  }
}

// Two and four groupings computed in the same passes give each the tables it gets alone.
TEST(StepTables, GroupingsTogetherGiveEachItsOwnTables) {
  for (const auto& [build, name] : kBuilds) {
    for (const Shape& shape : kShapes) {
      if (!Checked(shape)) continue;
      std::vector<IndexProblem> problems(
          kMostGroupingsPerPass, RandomProblem(3, shape.speciesCount, shape.siteCount,
                                               shape.groupCount, shape.leaveLastGroupEmpty));
      AddSpecialValues(problems[0], 3);
      std::mt19937 engine(4);
      for (std::size_t g = 1; g < problems.size(); ++g) {
        problems[g].abundances = problems[0].abundances;
        problems[g].presences = problems[0].presences;
        problems[g].siteGroups = problems[g - 1].siteGroups;
        std::shuffle(problems[g].siteGroups.begin(), problems[g].siteGroups.end(), engine);
      }
      const std::string where =
          std::string(name) + ", shape " + std::to_string(shape.speciesCount) + "x" +
          std::to_string(shape.siteCount) + "x" + std::to_string(shape.groupCount);
      for (const std::size_t count : {std::size_t{2}, std::size_t{4}}) {
        std::vector<const IndexProblem*> together;
        for (std::size_t g = 0; g < count; ++g)
          together.push_back(&problems[g]);
        const std::vector<FiveTables> tables = StepTablesOf(together, 0, build);
        // Blocks that split the species, with every grouping in each.
        const std::vector<FiveTables> blocked = StepTablesOf(together, 7, build);
        for (std::size_t g = 0; g < count; ++g) {
          const std::string which =
              where + ", grouping " + std::to_string(g + 1) + " of " + std::to_string(count);
          ExpectKernelTables(problems[g], tables[g], which);
          for (std::size_t type = 0; type < 5; ++type) {
            EXPECT_TRUE(SameBits(blocked[g][type], tables[g][type])) << which << ", blocks of 7";
          }
        }
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
      for (const auto& [build, name] : kBuilds) {
        const FiveTables tables = StepTablesOf(problem, 0, build);
        for (std::int32_t indexType = 1; indexType <= 5; ++indexType) {
          EXPECT_TRUE(SameBits(tables[static_cast<std::size_t>(indexType - 1)],
                               RunKernel(problem, KernelFor(indexType), indexType, build)))
              << example << ", grouping " << grouping << ", type " << indexType << ", " << name;
        }
      }
      // The next grouping: the same group sizes over other sites.
      std::shuffle(problem.siteGroups.begin(), problem.siteGroups.end(), engine);
    }
  }
}

// Present where the abundance is greater than 0: not at a negative value, a zero or a NaN.
TEST(StepTables, OccupiedSitesOfTheSpeciesCountPositiveAbundancesOverAllSites) {
  const float nan = DefaultNaN();
  const IndexProblem problem =
      MakeProblem({{1, 0, 2, 0}, {0, -0.0f, nan, 0}, {-1, 5, 5, 5}}, {1, 2, 2, 1}, 2);
  std::vector<float> occupied(3, 99.0f);
  CountSpeciesOccupiedSites(problem.abundances.data(), 3, 4, occupied.data());
  EXPECT_EQ(occupied, (std::vector<float>{2.0f, 0.0f, 3.0f}));
}

// All species in one block while their work storage for the groupings of a pass stays within
// 2 MB; otherwise blocks of whole vector widths that fit it, never fewer than sixteen species.
TEST(StepTables, BlocksBoundTheWorkStorage) {
  struct Case {
    std::size_t species, groups, groupings, expected;
  };
  const Case cases[] = {
      {0, 3, 2, 1},              // no species: a block of one, never used
      {10, 3, 2, 10},            //
      {1000, 8, 2, 1000},        //
      {3000, 6, 2, 3000},        // 504 bytes a species for two groupings: 1.5 MB
      {50000, 6, 2, 4160},       //
      {50000, 6, 4, 2080},       // 1008 bytes a species for four
      {50000, 6, 1, 8320},       //
      {1000000, 20, 2, 1280},    // 1624 bytes a species
      {100000, 1000000, 1, 16},  // a single species needs more than the bound
      {5, 1000000, 4, 5},        // but a block never holds more than all the species
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SpeciesPerBlock(c.species, c.groups, c.groupings), c.expected)
        << c.species << "x" << c.groups << ", " << c.groupings << " groupings";
  }
}

// Four groupings a pass while their block still holds all the species or 512 of them within
// the bound, then two, then one.
TEST(StepTables, GroupingsPerPassKeepTheBlocksLong) {
  struct Case {
    std::size_t species, groups, expected;
  };
  const Case cases[] = {
      {0, 3, 4},       {1000, 8, 4}, {50000, 6, 4}, {10000, 20, 4}, {10000, 40, 2},
      {10000, 100, 1}, {300, 30, 4}, {300, 100, 1}, {5, 100000, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GroupingsPerPass(c.species, c.groups), c.expected) << c.species << "x" << c.groups;
  }
}

}  // namespace
}  // namespace kova::test_support
