#include "apps/per_species_list.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "report/result_tables.h"

namespace kova {
namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
constexpr double kSignificance = 0.05;

bool IsPValue(SpeciesColumn column) {
  return column == SpeciesColumn::P || column == SpeciesColumn::Holm ||
         column == SpeciesColumn::BenjaminiHochberg;
}

std::string Formatted(const char* format, double value) {
  char text[32];
  const int length = std::snprintf(text, sizeof text, format, value);
  return std::string(text, static_cast<std::size_t>(length));
}

}  // namespace

SpeciesList::SpeciesList(const RunOutcome& outcome, int indexType) {
  const bool apcf = indexType == 1;
  columns_ = {SpeciesColumn::Number, SpeciesColumn::Name, SpeciesColumn::Group,
              SpeciesColumn::Value};
  if (apcf) columns_.insert(columns_.end(), {SpeciesColumn::A, SpeciesColumn::B});
  columns_.insert(columns_.end(),
                  {SpeciesColumn::P, SpeciesColumn::Holm, SpeciesColumn::BenjaminiHochberg});

  const SpeciesOutcome& outcomeSpecies = *outcome.species;
  const auto& indicators = outcomeSpecies.indicators[static_cast<std::size_t>(indexType - 1)];
  const SpeciesPValues pValues = SpeciesPValuesOf(outcome, indexType);
  for (std::size_t i = 0; i < indicators.size(); ++i) {
    Species species;
    species.number = static_cast<int>(i) + 1;
    if (i < outcome.speciesNames.size()) species.name = outcome.speciesNames[i];
    const SpeciesIndicator& indicator = indicators[i];
    const bool grouped = !outcomeSpecies.absent[i] && indicator.group != 0;
    if (grouped) {
      species.group = indicator.group;
      const auto label = static_cast<std::size_t>(indicator.group - 1);
      species.groupName = label < outcome.groupLabels.size() ? outcome.groupLabels[label]
                                                             : std::to_string(indicator.group);
    }
    species.numbers = {grouped ? indicator.value : kNone,
                       grouped && apcf ? outcomeSpecies.apcfShare[i] : kNone,
                       grouped && apcf ? outcomeSpecies.apcfFrequency[i] : kNone,
                       pValues.p[i],
                       pValues.holm[i],
                       pValues.benjaminiHochberg[i]};
    species_.push_back(std::move(species));
    order_.push_back(i);
  }
  SortBy(SpeciesColumn::P, true);
}

std::string SpeciesList::Title(SpeciesColumn column) {
  switch (column) {
    case SpeciesColumn::Number:
      return "species";
    case SpeciesColumn::Name:
      return "name";
    case SpeciesColumn::Group:
      return "group";
    case SpeciesColumn::Value:
      return "value";
    case SpeciesColumn::A:
      return "A";
    case SpeciesColumn::B:
      return "B";
    case SpeciesColumn::P:
      return "p";
    case SpeciesColumn::Holm:
      return "p Holm";
    case SpeciesColumn::BenjaminiHochberg:
      return "p BH";
  }
  return "";
}

double SpeciesList::Number(const Species& species, SpeciesColumn column) const {
  switch (column) {
    case SpeciesColumn::Number:
      return species.number;
    case SpeciesColumn::Group:
      return species.group == 0 ? kNone : species.group;
    case SpeciesColumn::Name:
      return kNone;
    default:
      return species.numbers[static_cast<std::size_t>(column) -
                             static_cast<std::size_t>(SpeciesColumn::Value)];
  }
}

void SpeciesList::SortBy(SpeciesColumn column, bool ascending) {
  const auto before = [this, column, ascending](std::size_t left, std::size_t right) {
    const Species& a = species_[left];
    const Species& b = species_[right];
    if (column == SpeciesColumn::Name) {
      return ascending ? a.name < b.name : b.name < a.name;
    }
    const double x = Number(a, column);
    const double y = Number(b, column);
    if (std::isnan(x) || std::isnan(y)) return !std::isnan(x) && std::isnan(y);
    return ascending ? x < y : y < x;
  };
  // From the species' own order, so that equal rows always stand in that order.
  std::sort(order_.begin(), order_.end());
  std::stable_sort(order_.begin(), order_.end(), before);
}

std::string SpeciesList::FieldText(const Species& species, SpeciesColumn column, bool full) const {
  switch (column) {
    case SpeciesColumn::Number:
      return std::to_string(species.number);
    case SpeciesColumn::Name:
      return species.name;
    case SpeciesColumn::Group:
      return species.group == 0 ? "NA" : species.groupName;
    default:
      break;
  }
  const double value = Number(species, column);
  if (std::isnan(value)) return "NA";
  if (full) return IsPValue(column) ? ShortestText(value) : Formatted("%.15g", value);
  return Formatted(IsPValue(column) ? "%.4g" : "%.4f", value);
}

std::string SpeciesList::Cell(std::size_t row, SpeciesColumn column) const {
  return FieldText(species_[order_[row]], column, false);
}

bool SpeciesList::Significant(std::size_t row) const {
  return Number(species_[order_[row]], SpeciesColumn::P) <= kSignificance;
}

std::string SpeciesList::TabSeparated(const std::vector<std::size_t>& rows) const {
  std::string text;
  for (const SpeciesColumn column : columns_) {
    if (!text.empty()) text += '\t';
    text += Title(column);
  }
  text += '\n';
  for (const std::size_t row : rows) {
    for (std::size_t c = 0; c < columns_.size(); ++c) {
      if (c > 0) text += '\t';
      text += FieldText(species_[order_[row]], columns_[c], true);
    }
    text += '\n';
  }
  return text;
}

}  // namespace kova
