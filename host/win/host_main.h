// The windowed program's start: the window system, the frame and its Input/Output window,
// the console operations, then the analysis on the same thread.
#pragma once

namespace kova::win {

using Analysis = void (*)();

// Runs `analysis` in the window. Returns only when start-up fails: 6 when no window can be
// opened (no display, or the windows were not created).
int HostMain(int argumentCount, char** arguments, Analysis analysis);

}  // namespace kova::win
