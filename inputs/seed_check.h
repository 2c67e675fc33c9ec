// Whether a seed can randomize a run: the generator's whole state is the seed, so once it
// yields a seed it has yielded before, it repeats the same draws for ever. A seed of 0 never
// moves, 2^30 returns to itself at once and 2^24 within a few draws; every odd seed ends in
// a cycle of 931,166 draws. A run whose draws repeat shuffles the same few ways again and
// again, and its test means nothing.
#pragma once

#include <cstdint>
#include <optional>

#include "inputs/analysis_data.h"
#include "inputs/input_fault.h"

namespace kova {

// The generator's sequence is checked over at most this many draws.
constexpr std::int64_t kLongestSeedCheck = std::int64_t{1} << 20;

// The draws a run makes: one per site in every step after the first.
std::int64_t DrawsNeeded(std::int32_t siteCount, std::int32_t randomizationCount);

// The draws a seed must pass without a repeat: those the run makes, at most 2^20.
std::int64_t DrawsToCheck(std::int32_t siteCount, std::int32_t randomizationCount);

// The first draw, counted from 1, whose new seed a draw before it had already given, when
// the generator starts from `seed`; 0 when there is none within the first `draws` draws.
std::int64_t FirstRepeatingDraw(std::int32_t seed, std::int64_t draws);

// For a run started with options: the fault of a seed whose sequence repeats within the
// draws the run must check.
std::optional<InputFault> SeedFault(const AnalysisData& data);

// For the dialogue: a warning line on the error stream for such a seed; the run goes on.
void WarnOfSeedThatRepeats(const AnalysisData& data);

}  // namespace kova
