// Every record the analysis writes after the dialogue, to the results file (unit 2) or to
// the console (the default unit).
#pragma once

#include <cstdint>
#include <string_view>

namespace kova {

void WriteStepLine(int unit, std::int32_t step);
void WriteEmptyRecord(int unit);
void WriteSumLine(int unit, std::int32_t indexType, float stepSum);
void WriteTopSpeciesLine(int unit, std::int32_t topSpecies, float topContribution);

// The full table of one IndexType: a heading, then each species' values under (10F8.4).
void WriteIndexTable(int unit, std::int32_t indexType, const float* indexTable,
                     std::int32_t speciesCount, std::int32_t groupCount);

void WriteFinalHeading(int unit);

// The bytes one step writes to "RESULTS.TXT" at most, in a run of `stepCount` steps on
// `speciesCount` species: its step line and the records of every IndexType, with the widest
// numbers the run can write.
std::int64_t ResultsStepBytes(std::int32_t stepCount, std::int32_t speciesCount);

// The size "RESULTS.TXT" reaches at most: every step's records, and the full tables of a
// one-step run.
double ResultsFileBytes(std::int32_t stepCount, std::int32_t speciesCount,
                        std::int32_t groupCount);
void WriteFinalRow(int unit, std::string_view typeCode, float observedSum, float sumMean,
                   float zScore);

}  // namespace kova
