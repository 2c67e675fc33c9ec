// The species window the "Results" menu opens: a box to choose the variant, a "Save as CSV"
// button, and a table of every species (species_list.h) that the user sorts by clicking a
// column's title; rows whose p-value is at most 0.05 are bold, and Ctrl+C copies the selected
// rows as tab-separated text with a header, which pastes into a spreadsheet.
#pragma once

#include <QWidget>

#include "host/win/copies_selection.h"
#include "randomization/run_outcome.h"

class QTableView;

namespace kova::window {

class SpeciesTableModel;

class SpeciesWindow : public QWidget, public win::CopiesSelection {
 public:
  // Shows APCF first. `outcome` must outlive the window.
  explicit SpeciesWindow(const RunOutcome& outcome, QWidget* parent = nullptr);

  // The selected rows, or the current one when none is selected, as tab-separated text on the
  // clipboard.
  void CopySelectedRows();
  // The frame's Edit > Copy while this window is active: the same.
  void CopySelection() override { CopySelectedRows(); }
  // Asks for a file and writes the species table there, as kova-cli --species-table does.
  void SaveAsCsv();

 private:
  const RunOutcome& outcome_;
  SpeciesTableModel* model_;
  QTableView* table_;
};

}  // namespace kova::window
