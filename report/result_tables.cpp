#include "report/result_tables.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

#include "randomization/run_statistics.h"

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

// A separating comma, then a value computed in double precision, with the 15 significant
// digits R's write.csv writes: the last bits of a double's rounding do not show, so a value
// that is exactly 0.35 reads 0.35.
void AppendReportedField(std::string& text, double value) {
  text += ',';
  if (!std::isfinite(value)) {
    AppendReal(text, value);
    return;
  }
  char digits[32];
  const int length = std::snprintf(digits, sizeof digits, "%.15g", value);
  text.append(digits, static_cast<std::size_t>(length));
}

// Fields R reads as missing values, as write.csv writes them.
void AppendMissingFields(std::string& text, int count) {
  for (int k = 0; k < count; ++k)
    text += ",NA";
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

// The adjustments run over the species that were tested: an absent species, whose p-value is
// no test, is left out of them, so that it changes no other species' adjusted p-value.
SpeciesPValues PValuesOf(const std::vector<std::int64_t>& counts, const std::vector<bool>& absent,
                         std::int64_t steps) {
  std::vector<double> tested;
  for (std::size_t i = 0; i < counts.size(); ++i) {
    if (!absent[i]) tested.push_back(RandomizationPValue(counts[i], steps));
  }
  const std::vector<double> holm = HolmAdjusted(tested);
  const std::vector<double> benjaminiHochberg = BenjaminiHochbergAdjusted(tested);
  constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
  SpeciesPValues values;
  std::size_t next = 0;
  for (std::size_t i = 0; i < counts.size(); ++i) {
    const bool isTested = !absent[i];
    values.p.push_back(isTested ? tested[next] : kNone);
    values.holm.push_back(isTested ? holm[next] : kNone);
    values.benjaminiHochberg.push_back(isTested ? benjaminiHochberg[next] : kNone);
    next += isTested ? 1 : 0;
  }
  return values;
}

template <typename Counted>
SpeciesPValues PValuesOf(const std::vector<Counted>& counted, const std::vector<bool>& absent,
                         std::int64_t steps) {
  std::vector<std::int64_t> counts;
  for (const Counted& each : counted)
    counts.push_back(each.stepsAtLeastObserved);
  return PValuesOf(counts, absent, steps);
}

void AppendPValues(std::string& text, const SpeciesPValues& values, std::size_t i) {
  AppendField(text, values.p[i]);
  AppendField(text, values.holm[i]);
  AppendField(text, values.benjaminiHochberg[i]);
}

void AppendIntervals(std::string& text, const FactorIntervals& intervals) {
  for (const Interval* interval : {&intervals.value, &intervals.a, &intervals.b}) {
    AppendReportedField(text, interval->low);
    AppendReportedField(text, interval->high);
  }
}

// The columns of the statistics beyond the five variants, as the run was asked for them.
std::string AssociationHeader(const AssociationRequest& asked) {
  const auto intervals = [](const std::string& code) {
    return "," + code + "_value_lo," + code + "_value_hi," + code + "_A_lo," + code + "_A_hi," +
           code + "_B_lo," + code + "_B_hi";
  };
  const bool bootstrap = asked.bootstrapResamples > 0;
  std::string header = bootstrap ? intervals("APCF") : "";
  if (asked.combinations) {
    header += ",IndVal_groups,IndVal_value,IndVal_A,IndVal_B,IndVal_p,IndVal_p_holm,IndVal_p_bh";
    if (bootstrap) header += intervals("IndVal");
  }
  if (asked.correlation) header += ",rg_groups,rg_value,rg_p,rg_p_holm,rg_p_bh";
  return header;
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
  return header;
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

SpeciesPValues SpeciesPValuesOf(const RunOutcome& outcome, int indexType) {
  const SpeciesOutcome& species = *outcome.species;
  return PValuesOf(species.indicators[static_cast<std::size_t>(indexType - 1)], species.absent,
                   outcome.stepCount);
}

std::string SpeciesTableText(const RunOutcome& outcome) {
  const SpeciesOutcome& species = *outcome.species;
  const bool labelled = !outcome.groupLabels.empty();
  const AssociationRequest& asked = outcome.associations;
  SpeciesPValues pValues[kIndexTypeCount];
  for (int type = 0; type < kIndexTypeCount; ++type)
    pValues[type] = PValuesOf(species.indicators[type], species.absent, outcome.stepCount);
  const SpeciesPValues indicatorPValues =
      PValuesOf(species.indicatorValues, species.absent, outcome.stepCount);
  const SpeciesPValues correlationPValues =
      PValuesOf(species.correlations, species.absent, outcome.stepCount);

  const std::string associationHeader = AssociationHeader(asked);
  const auto associationColumns =
      static_cast<int>(std::count(associationHeader.begin(), associationHeader.end(), ','));
  std::string text = SpeciesHeader(labelled) + associationHeader + "\n";
  const std::size_t speciesCount = species.apcfShare.size();
  for (std::size_t i = 0; i < speciesCount; ++i) {
    text += std::to_string(i + 1);
    AppendName(text, outcome.speciesNames, i);
    for (int type = 0; type < kIndexTypeCount; ++type) {
      const SpeciesIndicator& indicator = species.indicators[type][i];
      // An absent species has no group, value or p-value; a species without a group (every
      // value NaN) has its p-value all the same.
      if (species.absent[i]) {
        AppendMissingFields(text, (labelled ? 6 : 5) + (type == 0 ? 2 : 0));
        continue;
      }
      const bool grouped = indicator.group != 0;
      if (grouped) {
        text += ',' + std::to_string(indicator.group);
        if (labelled) {
          AppendName(text, outcome.groupLabels, static_cast<std::size_t>(indicator.group - 1));
        }
        AppendReportedField(text, indicator.value);
        if (type == 0) {
          AppendReportedField(text, species.apcfShare[i]);
          AppendReportedField(text, species.apcfFrequency[i]);
        }
      } else {
        AppendMissingFields(text, (labelled ? 3 : 2) + (type == 0 ? 2 : 0));
      }
      AppendPValues(text, pValues[type], i);
    }
    if (species.absent[i]) {
      AppendMissingFields(text, associationColumns);
    } else {
      const bool bootstrap = asked.bootstrapResamples > 0;
      if (bootstrap) AppendIntervals(text, species.intervals[i].apcf);
      if (asked.combinations) {
        const SpeciesAssociation& association = species.indicatorValues[i];
        text += ',' + Quoted(association.groups);
        AppendReportedField(text, association.value);
        AppendReportedField(text, association.a);
        AppendReportedField(text, association.b);
        AppendPValues(text, indicatorPValues, i);
        if (bootstrap) AppendIntervals(text, species.intervals[i].indicatorValue);
      }
      if (asked.correlation) {
        const SpeciesAssociation& association = species.correlations[i];
        text += ',' + Quoted(association.groups);
        AppendReportedField(text, association.value);
        AppendPValues(text, correlationPValues, i);
      }
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

std::vector<std::string> SpeciesReportLines(const RunOutcome& outcome, double alpha) {
  const SpeciesOutcome& species = *outcome.species;
  const std::vector<SpeciesIndicator>& apcf = species.indicators[0];
  const SpeciesPValues pValues = PValuesOf(apcf, species.absent, outcome.stepCount);
  const std::size_t speciesCount = apcf.size();
  const auto nameOf = [&outcome](std::size_t i) {
    return i < outcome.speciesNames.size() ? outcome.speciesNames[i]
                                           : "species " + std::to_string(i + 1);
  };
  // The listed species of each group, the strongest first; the first species of equal ones.
  std::vector<std::vector<std::size_t>> listed(
      static_cast<std::size_t>(std::max(outcome.groupCount, 0)));
  std::size_t tested = 0;
  std::size_t nameWidth = std::string_view("species").size();
  for (std::size_t i = 0; i < speciesCount; ++i) {
    if (species.absent[i]) continue;
    ++tested;
    if (apcf[i].group == 0 || !(pValues.p[i] <= alpha)) continue;
    listed[static_cast<std::size_t>(apcf[i].group - 1)].push_back(i);
    nameWidth = std::max(nameWidth, nameOf(i).size());
  }
  std::size_t count = 0;
  char alphaText[32];
  std::snprintf(alphaText, sizeof alphaText, "%g", alpha);
  std::vector<std::string> lines = {
      "", std::string("Indicator species: APCF p-value at most ") + alphaText + ", by group"};
  for (std::size_t g = 0; g < listed.size(); ++g) {
    std::vector<std::size_t>& members = listed[g];
    std::stable_sort(members.begin(), members.end(), [&apcf](std::size_t a, std::size_t b) {
      return apcf[a].value > apcf[b].value;
    });
    const std::string group = g < outcome.groupLabels.size() ? outcome.groupLabels[g]
                                                            : std::to_string(g + 1);
    lines.push_back("");
    lines.push_back("Group " + group + ": " +
                    (members.empty() ? std::string("none")
                                     : std::to_string(members.size()) + " species"));
    if (members.empty()) continue;
    const auto padded = [nameWidth](std::string name) {
      name.resize(std::max(name.size(), nameWidth), ' ');
      return "  " + name;
    };
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, "  %7s %7s %7s %9s", "A", "B", "value", "p");
    lines.push_back(padded("species") + numbers);
    for (const std::size_t i : members) {
      // Four decimals tell apart the p-values of up to 10,000 steps; smaller ones need more.
      const char* format = pValues.p[i] >= 1e-4 ? "  %7.4f %7.4f %7.4f %9.4f" : "  %7.4f %7.4f %7.4f %9.1e";
      std::snprintf(numbers, sizeof numbers, format, species.apcfShare[i], species.apcfFrequency[i],
                    apcf[i].value, pValues.p[i]);
      lines.push_back(padded(nameOf(i)) + numbers);
    }
    count += members.size();
  }
  lines.push_back("");
  lines.push_back(std::to_string(tested) + " species tested, " + std::to_string(count) + " listed");
  return lines;
}

}  // namespace kova
