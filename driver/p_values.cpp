#include "driver/p_values.h"

#include <algorithm>
#include <numeric>

namespace kova {
namespace {

// The positions of `p` in increasing order of value, equal values in their order (as R's
// order() keeps them).
std::vector<std::size_t> IncreasingOrder(const std::vector<double>& p) {
  std::vector<std::size_t> order(p.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&p](std::size_t a, std::size_t b) { return p[a] < p[b]; });
  return order;
}

}  // namespace

double RandomizationPValue(std::int64_t atLeastObserved, std::int64_t stepCount) {
  return static_cast<double>(atLeastObserved) / static_cast<double>(stepCount);
}

std::vector<double> HolmAdjusted(const std::vector<double>& p) {
  const std::size_t n = p.size();
  if (n <= 1) return p;
  const std::vector<std::size_t> order = IncreasingOrder(p);
  std::vector<double> adjusted(n);
  double largest = 0.0;
  for (std::size_t i = 1; i <= n; ++i) {
    const std::size_t at = order[i - 1];
    largest = std::max(largest, static_cast<double>(n + 1 - i) * p[at]);
    adjusted[at] = std::min(1.0, largest);
  }
  return adjusted;
}

std::vector<double> BenjaminiHochbergAdjusted(const std::vector<double>& p) {
  const std::size_t n = p.size();
  if (n <= 1) return p;
  std::vector<std::size_t> order = IncreasingOrder(p);
  std::vector<double> adjusted(n);
  double smallest = 1.0;
  // From the largest p down; i is the rank in increasing order.
  for (std::size_t i = n; i >= 1; --i) {
    const std::size_t at = order[i - 1];
    smallest = std::min(smallest, static_cast<double>(n) / static_cast<double>(i) * p[at]);
    adjusted[at] = smallest;
  }
  return adjusted;
}

}  // namespace kova
