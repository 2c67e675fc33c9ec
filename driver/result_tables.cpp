#include "driver/result_tables.h"

#include <charconv>
#include <cmath>
#include <vector>

#include "driver/p_values.h"

namespace kova {
namespace {

// The tables are built by appending in place: a table of many species is many thousands of
// fields.
template <typename Real>
void AppendReal(std::string& text, Real value) {
  if (std::isnan(value)) {
    text += "NaN";
  } else if (std::isinf(value)) {
    text += value > 0 ? "Inf" : "-Inf";
  } else {
    char digits[64];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, result.ptr);
  }
}

// A separating comma, then the value.
template <typename Real>
void AppendField(std::string& text, Real value) {
  text += ',';
  AppendReal(text, value);
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

// A separating comma, then the name, or nothing when it is not known, which R reads as NA.
void AppendName(std::string& text, const std::vector<std::string>& names, std::size_t index) {
  text += ',';
  if (index < names.size()) text += Quoted(names[index]);
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
  std::string text;
  AppendReal(text, value);
  return text;
}

std::string ShortestText(double value) {
  std::string text;
  AppendReal(text, value);
  return text;
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
    text += std::to_string(i + 1);
    AppendName(text, outcome.speciesNames, i);
    for (int type = 0; type < kIndexTypeCount; ++type) {
      const SpeciesIndicator& indicator = species.indicators[type][i];
      const bool grouped = indicator.group != 0;
      text += ',';
      if (grouped) text += std::to_string(indicator.group);
      if (labelled) {
        if (grouped) {
          AppendName(text, outcome.groupLabels, static_cast<std::size_t>(indicator.group - 1));
        } else {
          text += ',';
        }
      }
      AppendField(text, indicator.maximum);
      if (type == 0 && grouped) {
        AppendField(text, species.apcfShare[i]);
        AppendField(text, species.apcfFrequency[i]);
      } else if (type == 0) {
        text += ",,";
      }
      AppendField(text, pValues[type].p[i]);
      AppendField(text, pValues[type].holm[i]);
      AppendField(text, pValues[type].benjaminiHochberg[i]);
    }
    text += '\n';
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
