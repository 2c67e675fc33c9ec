#include "tests/indices/reference_kernels.h"

#include <cmath>
#include <cstddef>

namespace kova::test_support {
namespace {

// Entry (i, k) of a table with `rows` rows, 0-based.
std::size_t At(std::int32_t i, std::int32_t k, std::int32_t rows) {
  return static_cast<std::size_t>(i) + static_cast<std::size_t>(k) * static_cast<std::size_t>(rows);
}

std::size_t GroupOf(const IndexProblem& problem, std::int32_t site) {
  return static_cast<std::size_t>(problem.siteGroups[static_cast<std::size_t>(site)] - 1);
}

double Size(const IndexProblem& problem, std::int32_t group) {
  return static_cast<double>(problem.groupSizes[static_cast<std::size_t>(group)]);
}

// a x b as the rules write it. When both are NaNs, the first one's NaN is the result (the
// processor's rule for the operands in the order written), stated outright because a compiler
// may exchange the operands of a product and the two NaNs can differ in sign.
double Times(double a, double b) {
  return std::isnan(a) ? a : a * b;
}

// Types 3 and 5 from the stored values V(j) of one species and its weights W(j).
void ContrastRow(const IndexProblem& problem, std::vector<float>& values,
                 const std::vector<float>& weights) {
  float sum = 0.0f;
  for (const float value : values)
    sum += value;
  const float average = static_cast<float>(sum / static_cast<double>(problem.groupCount));
  float largest = 0.0f;
  for (const float value : values) {
    if (value > largest) largest = value;
  }
  for (std::size_t j = 0; j < values.size(); ++j) {
    const double others = (static_cast<double>(problem.groupCount) * average - values[j]) /
                          static_cast<double>(problem.groupCount - 1);
    const double contrast = static_cast<double>(values[j]) - others;
    values[j] = static_cast<float>(Times(contrast / largest, weights[j]));
  }
}

std::vector<float> AbundancePresenceRow(const IndexProblem& problem, std::int32_t i) {
  const std::size_t groups = static_cast<std::size_t>(problem.groupCount);
  std::vector<float> totals(groups, 0.0f);
  std::vector<float> occupied(groups, 0.0f);
  for (std::int32_t k = 0; k < problem.siteCount; ++k) {
    totals[GroupOf(problem, k)] += problem.abundances[At(i, k, problem.speciesCount)];
    occupied[GroupOf(problem, k)] += problem.presences[At(i, k, problem.speciesCount)];
  }
  std::vector<float> row(groups);
  float sum = 0.0f;
  for (std::int32_t j = 0; j < problem.groupCount; ++j) {
    row[j] = static_cast<float>(totals[j] / Size(problem, j));
    sum += row[j];
  }
  for (std::int32_t j = 0; j < problem.groupCount; ++j) {
    if (!(row[j] > 0.0f)) continue;
    const float size = static_cast<float>(problem.groupSizes[j]);
    const float squared = size * size;
    row[j] = static_cast<float>((1.0 / squared) *
                                ((static_cast<double>(totals[j]) * occupied[j]) / sum));
  }
  return row;
}

std::vector<float> AbundanceRow(const IndexProblem& problem, std::int32_t i,
                                std::int32_t indexType) {
  const std::size_t groups = static_cast<std::size_t>(problem.groupCount);
  std::vector<float> row(groups, 0.0f);
  for (std::int32_t k = 0; k < problem.siteCount; ++k) {
    row[GroupOf(problem, k)] += problem.abundances[At(i, k, problem.speciesCount)];
  }
  if (indexType != 2 && indexType != 3) return row;

  // The mean is recomputed at every site, in double precision, as the rule has it.
  std::vector<float> evenness(groups, 0.0f);
  for (std::int32_t k = 0; k < problem.siteCount; ++k) {
    const std::size_t g = GroupOf(problem, k);
    const double mean = row[g] / Size(problem, static_cast<std::int32_t>(g));
    evenness[g] = static_cast<float>(
        evenness[g] + std::fabs(problem.abundances[At(i, k, problem.speciesCount)] - mean));
  }
  for (std::size_t j = 0; j < groups; ++j) {
    evenness[j] = row[j] > 0.0f ? static_cast<float>(1.0 - (evenness[j] * 0.5) / row[j]) : 0.0f;
  }

  if (indexType == 2) {
    float sum = 0.0f;
    for (std::int32_t j = 0; j < problem.groupCount; ++j) {
      sum = static_cast<float>(sum + row[j] / Size(problem, j));
    }
    for (std::int32_t j = 0; j < problem.groupCount; ++j) {
      row[j] = static_cast<float>(Times(row[j] / Size(problem, j), evenness[j]) / sum);
    }
    return row;
  }
  for (std::int32_t j = 0; j < problem.groupCount; ++j) {
    row[j] = static_cast<float>(row[j] / Size(problem, j));
  }
  ContrastRow(problem, row, evenness);
  return row;
}

std::vector<float> PresenceRow(const IndexProblem& problem, std::int32_t i,
                               std::int32_t indexType) {
  std::vector<float> row(static_cast<std::size_t>(problem.groupCount), 0.0f);
  float occupied = 0.0f;
  for (std::int32_t k = 0; k < problem.siteCount; ++k) {
    occupied += problem.presences[At(i, k, problem.speciesCount)];
    row[GroupOf(problem, k)] += problem.presences[At(i, k, problem.speciesCount)];
  }
  if (indexType == 4) {
    for (std::int32_t j = 0; j < problem.groupCount; ++j) {
      const float squared = row[j] * row[j];
      row[j] = static_cast<float>(squared / (Size(problem, j) * occupied));
    }
  } else if (indexType == 5) {
    for (std::int32_t j = 0; j < problem.groupCount; ++j) {
      row[j] = static_cast<float>(row[j] / Size(problem, j));
    }
    ContrastRow(problem, row, row);
  }
  return row;
}

}  // namespace

std::vector<float> ReferenceIndexTable(const IndexProblem& problem, Kernel kernel,
                                       std::int32_t indexType) {
  std::vector<float> table(static_cast<std::size_t>(problem.speciesCount) *
                           static_cast<std::size_t>(problem.groupCount));
  for (std::int32_t i = 0; i < problem.speciesCount; ++i) {
    std::vector<float> row;
    switch (kernel) {
      case Kernel::AbundancePresence:
        row = AbundancePresenceRow(problem, i);
        break;
      case Kernel::Abundance:
        row = AbundanceRow(problem, i, indexType);
        break;
      case Kernel::Presence:
        row = PresenceRow(problem, i, indexType);
        break;
    }
    for (std::int32_t j = 0; j < problem.groupCount; ++j) {
      table[At(i, j, problem.speciesCount)] = row[static_cast<std::size_t>(j)];
    }
  }
  return table;
}

}  // namespace kova::test_support
