// The index tables computed the plain way: one species at a time, each step exactly as the
// kernels' rules describe it, in scalar code. The kernels must agree with it bit for bit.
#pragma once

#include <cstdint>
#include <vector>

#include "tests/indices/index_problem.h"

namespace kova::test_support {

std::vector<float> ReferenceIndexTable(const IndexProblem& problem, Kernel kernel,
                                       std::int32_t indexType);

}  // namespace kova::test_support
