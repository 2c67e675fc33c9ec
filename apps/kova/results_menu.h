// The "Results" menu the windowed program adds once a run is complete: the picture of the
// randomization distributions in the graphics window, and the same picture saved as SVG or
// PNG. The program owns it; the run reaches it through the observer it hands out.
#pragma once

#include <optional>

#include "plots/picture.h"
#include "randomization/run_outcome.h"

namespace kova::window {

class ResultsMenu {
 public:
  ResultsMenu() = default;
  ResultsMenu(const ResultsMenu&) = delete;
  ResultsMenu& operator=(const ResultsMenu&) = delete;

  // Hears of the run: it keeps every step's sums, and once the run is complete it draws the
  // picture and adds the menu. It refers to this menu, which must outlive the run.
  RunObserver Observer();

 private:
  void Add();
  void ShowPicture();
  void SaveSvg() const;
  void SavePng() const;

  std::optional<plots::Picture> picture_;  // the completed run's
};

}  // namespace kova::window
