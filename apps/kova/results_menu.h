// The "Results" menu the windowed program adds once a run is complete: the picture of the
// randomization distributions in the graphics window, and the same picture saved as SVG or
// PNG. Every run in the window keeps its step sums for it.
#pragma once

namespace kova::window {

// Registers the run observer that adds the menu; before the analysis starts.
void OfferResultsMenu();

}  // namespace kova::window
