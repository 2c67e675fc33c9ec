#include "driver/result_tables.h"

#include <charconv>
#include <cmath>
#include <vector>

#include "driver/p_values.h"

namespace kova {
namespace {

template <typename Real>
std::string RealText(Real value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Inf" : "-Inf";
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

// A text field in double quotes, a quote inside doubled.
std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

// A name that is not known is left empty, which R reads as NA.
std::string NameField(const std::vector<std::string>& names, std::size_t index) {
  return index < names.size() ? Quoted(names[index]) : std::string();
}

// One IndexType's p-values over the species and their two adjustments.
struct SpeciesPValues {
  std::vector<double> p;
  std::vector<double> holm;
  std::vector<double> benjaminiHochberg;
};

SpeciesPValues PValuesOf(const std::vector<SpeciesIndicator>& indicators, std::int64_t steps) {
  SpeciesPValues values;
  for (const SpeciesIndicator& indicator : indicators)
    values.p.push_back(RandomizationPValue(indicator.stepsAtLeastObserved, steps));
  values.holm = HolmAdjusted(values.p);
  values.benjaminiHochberg = BenjaminiHochbergAdjusted(values.p);
  return values;
}

std::string SpeciesHeader(bool labelled) {
  std::string header = "species,name";
  for (int type = 1; type <= kIndexTypeCount; ++type) {
    const std::string code = TrimmedTypeCode(type);
    header += "," + code + "_group";
    if (labelled) header += "," + code + "_label";
    header += "," + code + "_value";
    if (type == 1) header += "," + code + "_A," + code + "_B";
    header += "," + code + "_p," + code + "_p_holm," + code + "_p_bh";
  }
  return header + "\n";
}

}  // namespace

std::string TrimmedTypeCode(int indexType) {
  std::string code(kTypeCode[static_cast<std::size_t>(indexType - 1)]);
  return code.substr(0, code.find(' '));
}

std::string ShortestText(float value) {
  return RealText(value);
}

std::string ShortestText(double value) {
  return RealText(value);
}

std::string SpeciesTableText(const RunOutcome& outcome) {
  const SpeciesOutcome& species = *outcome.species;
  const bool labelled = !outcome.groupLabels.empty();
  SpeciesPValues pValues[kIndexTypeCount];
  for (int type = 0; type < kIndexTypeCount; ++type)
    pValues[type] = PValuesOf(species.indicators[type], outcome.stepCount);

  std::string text = SpeciesHeader(labelled);
  const std::size_t speciesCount = species.apcfShare.size();
  for (std::size_t i = 0; i < speciesCount; ++i) {
    text += std::to_string(i + 1) + "," + NameField(outcome.speciesNames, i);
    for (int type = 0; type < kIndexTypeCount; ++type) {
      const SpeciesIndicator& indicator = species.indicators[type][i];
      const bool grouped = indicator.group != 0;
      text += "," + (grouped ? std::to_string(indicator.group) : std::string());
      if (labelled) {
        text += "," + (grouped ? NameField(outcome.groupLabels,
                                           static_cast<std::size_t>(indicator.group - 1))
                               : std::string());
      }
      text += "," + ShortestText(indicator.maximum);
      if (type == 0) {
        text += grouped ? "," + ShortestText(species.apcfShare[i]) + "," +
                              ShortestText(species.apcfFrequency[i])
                        : std::string(",,");
      }
      text += "," + ShortestText(pValues[type].p[i]) + "," + ShortestText(pValues[type].holm[i]) +
              "," + ShortestText(pValues[type].benjaminiHochberg[i]);
    }
    text += "\n";
  }
  return text;
}

std::string CommunitySummaryText(const RunOutcome& outcome) {
  std::string text = "index,observed,mean,sd,z,p\n";
  for (int type = 0; type < kIndexTypeCount; ++type) {
    const VariantOutcome& variant = outcome.variants[type];
    text += Quoted(TrimmedTypeCode(type + 1)) + "," + ShortestText(variant.observedSum) + "," +
            ShortestText(variant.sumMean) + "," + ShortestText(variant.sumDeviation) + "," +
            ShortestText(variant.zScore) + "," +
            ShortestText(RandomizationPValue(variant.sumsAtLeastObserved, outcome.stepCount)) +
            "\n";
  }
  return text;
}

}  // namespace kova
