#include "inputs/seed_check.h"

#include <algorithm>
#include <string>

#include "indices/uniform_random.h"
#include "textio/console.h"

namespace kova {
namespace {

std::int32_t NextSeed(std::int32_t seed) {
  UniformRandom(seed);
  return seed;
}

// What a repeating seed does to the run, in the words of a fault or a warning.
std::string RepeatDescription(const AnalysisData& data, std::int64_t repeatingDraw) {
  const std::int64_t needed = DrawsNeeded(data.siteCount, data.randomizationCount);
  const std::string within = needed <= kLongestSeedCheck
                                 ? "within the " + std::to_string(needed) + " draws the run makes"
                                 : "within the first " + std::to_string(kLongestSeedCheck) +
                                       " of the " + std::to_string(needed) + " draws the run makes";
  return "random numbers that repeat from draw " + std::to_string(repeatingDraw) + " on, " + within;
}

}  // namespace

std::int64_t DrawsNeeded(std::int32_t siteCount, std::int32_t randomizationCount) {
  if (siteCount <= 0 || randomizationCount <= 1) return 0;
  return std::int64_t{siteCount} * (std::int64_t{randomizationCount} - 1);
}

std::int64_t DrawsToCheck(std::int32_t siteCount, std::int32_t randomizationCount) {
  return std::min(DrawsNeeded(siteCount, randomizationCount), kLongestSeedCheck);
}

// Brent's cycle finding on the new seeds x1, x2, ... (the starting seed itself is not a
// draw). The hare meets the tortoise once the tortoise, at x(2^k), stands on the cycle and
// 2^k reaches the cycle's length; that happens before the hare passes three times the draw
// of the first repeat, so a search that goes no further misses no repeat within `draws`.
std::int64_t FirstRepeatingDraw(std::int32_t seed, std::int64_t draws) {
  if (draws < 2) return 0;
  const std::int32_t first = NextSeed(seed);
  std::int32_t tortoise = first;
  std::int32_t hare = NextSeed(first);
  std::int64_t hareSteps = 1;
  std::int64_t power = 1;
  std::int64_t cycle = 1;
  while (tortoise != hare) {
    if (hareSteps > 3 * draws) return 0;
    if (power == cycle) {
      tortoise = hare;
      power *= 2;
      cycle = 0;
    }
    hare = NextSeed(hare);
    ++hareSteps;
    ++cycle;
  }
  // The length of the path before the cycle: a hare `cycle` draws ahead meets the tortoise
  // where the cycle begins.
  tortoise = first;
  hare = first;
  for (std::int64_t step = 0; step < cycle; ++step)
    hare = NextSeed(hare);
  std::int64_t tail = 0;
  while (tortoise != hare) {
    tortoise = NextSeed(tortoise);
    hare = NextSeed(hare);
    ++tail;
  }
  const std::int64_t repeatingDraw = tail + cycle + 1;
  return repeatingDraw <= draws ? repeatingDraw : 0;
}

std::optional<InputFault> SeedFault(const AnalysisData& data) {
  const std::int64_t draw =
      FirstRepeatingDraw(data.randomSeed, DrawsToCheck(data.siteCount, data.randomizationCount));
  if (draw == 0) return std::nullopt;
  return InputFault{"--seed " + std::to_string(data.randomSeed), RepeatDescription(data, draw),
                    "a seed whose random numbers do not repeat within the run: any odd seed for "
                    "runs of up to 931166 draws (sites times randomizations less one), 12345 for "
                    "any run"};
}

void WarnOfSeedThatRepeats(const AnalysisData& data) {
  const std::int64_t draw =
      FirstRepeatingDraw(data.randomSeed, DrawsToCheck(data.siteCount, data.randomizationCount));
  if (draw == 0) return;
  WriteErrorText("Warning: the random seed " + std::to_string(data.randomSeed) + " gives " +
                 RepeatDescription(data, draw) +
                 ", so the shuffles repeat too; a seed such as 12345 does not repeat\n");
}

}  // namespace kova
