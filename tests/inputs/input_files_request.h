// A run's files and answers as the options give them, for the tests that read them.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "inputs/checked_inputs.h"

namespace kova::test_support {

inline InputFiles Request(std::string table, TableForm form, std::string groups, std::int32_t seed,
                          std::int32_t count) {
  InputFiles request;
  request.tableFile = std::move(table);
  request.tableForm = form;
  request.groupsFile = std::move(groups);
  request.randomSeed = seed;
  request.randomizationCount = count;
  return request;
}

}  // namespace kova::test_support
