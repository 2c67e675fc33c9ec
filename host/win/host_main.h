// The windowed program's start: the window system, the frame and its Input/Output window,
// the console operations, then the analysis on the same thread.
#pragma once

#include <functional>

namespace kova::win {

class ConsoleHost;

// Given the program's arguments, its name first, once the window system has taken out its
// own (-display, -platform, -geometry and the like).
using Analysis = std::function<void(int argumentCount, char** arguments)>;
// Called once the windows are shown, before the analysis starts.
using HostStarted = std::function<void(ConsoleHost& host)>;

// Runs `analysis` in the window. Returns only when start-up fails: 6 when no window can be
// opened (no display, or the windows were not created).
int HostMain(int argumentCount, char** arguments, Analysis analysis,
             const HostStarted& started = {});

}  // namespace kova::win
