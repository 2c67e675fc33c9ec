// The species of a completed run as the windowed program lists them: for one variant, every
// species with its group, value, p-value and adjusted p-values, in the order the user sorts
// them, each cell as it is shown, and rows as tab-separated text for a spreadsheet. The
// window draws what this says; the values are those of the species table (result_tables.h).
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "randomization/run_outcome.h"

namespace kova {

enum class SpeciesColumn { Number, Name, Group, Value, A, B, P, Holm, BenjaminiHochberg };

class SpeciesList {
 public:
  // The variant is an IndexType, 1 to 5. Needs the outcome's species. Rows start sorted by p,
  // smallest first.
  SpeciesList(const RunOutcome& outcome, int indexType);

  // The columns shown: A and B only for APCF, whose two factors they are.
  const std::vector<SpeciesColumn>& Columns() const { return columns_; }
  static std::string Title(SpeciesColumn column);
  std::size_t RowCount() const { return order_.size(); }

  // Sorts by a column, stable: rows of equal values keep their order. Missing values (an
  // absent species', a species' without a group) come last either way.
  void SortBy(SpeciesColumn column, bool ascending);

  // A cell of the row shown at `row`: values with four decimals, p-values with four
  // significant digits, "NA" where there is none.
  std::string Cell(std::size_t row, SpeciesColumn column) const;
  // Whether the row's p-value is at most 0.05.
  bool Significant(std::size_t row) const;
  // A header of the column titles and the given rows, in the order shown, each field
  // separated by a TAB and each line ended by a line feed; numbers as the species table writes
  // them, at full precision.
  std::string TabSeparated(const std::vector<std::size_t>& rows) const;

 private:
  struct Species {
    int number = 0;
    std::string name;
    int group = 0;          // 0 without one
    std::string groupName;  // its label, or its number; empty without one
    // Value, A, B, p, Holm, BH: NaN where there is none.
    std::array<double, 6> numbers{};
  };
  double Number(const Species& species, SpeciesColumn column) const;
  std::string FieldText(const Species& species, SpeciesColumn column, bool full) const;

  std::vector<SpeciesColumn> columns_;
  std::vector<Species> species_;
  std::vector<std::size_t> order_;  // the species shown at each row
};

}  // namespace kova
