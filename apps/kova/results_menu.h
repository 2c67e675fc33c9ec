// The "Results" menu the windowed program adds once a run is complete: the picture of the
// randomization distributions in the graphics window, the species window (per_species_window.h),
// and the picture saved as SVG or PNG. The program owns it; the run reaches it through the observer
// it hands out.
#pragma once

#include <optional>

#include "plots/picture.h"
#include "randomization/run_outcome.h"

class QMdiSubWindow;

namespace kova::window {

class ResultsMenu {
 public:
  ResultsMenu() = default;
  ResultsMenu(const ResultsMenu&) = delete;
  ResultsMenu& operator=(const ResultsMenu&) = delete;

  // Hears of the run: it keeps every step's sums and the species, and once the run is complete it
  // draws the picture and adds the menu. It refers to this menu, which must outlive the run.
  RunObserver Observer();

 private:
  void Add();
  void ShowPicture();
  void ShowSpecies();
  void SaveSvg() const;
  void SavePng() const;

  std::optional<RunOutcome> outcome_;      // the completed run's
  std::optional<plots::Picture> picture_;  // the completed run's
  QMdiSubWindow* species_ = nullptr;       // once shown; owned by the frame
};

}  // namespace kova::window
