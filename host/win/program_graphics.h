// The program's graphics window as a program names it: its title, its size in pixels and
// the units its paint routine draws in, instead of the program services' mapping-mode
// number and the size written back.
#pragma once

#include <QSize>
#include <string>

#include "host/mapping_mode.h"
#include "host/win/graphics_window.h"

namespace kova::win {

class ProgramServices;

struct GraphicsWindowRequest {
  std::string title;  // "Graphics" when empty
  QSize size;         // 600 by 300 when either side is 0
  host::MappingMode units = host::MappingMode::Text;
  PaintRoutine paint;
};

// Opens the graphics window beside the Input/Output window, which keeps the keyboard; false
// when the program has one already.
bool OpenGraphicsWindow(ProgramServices& services, const GraphicsWindowRequest& request);

// Brings the graphics window to the front, restored if it was minimized, with the keyboard;
// false when there is none.
bool RaiseGraphicsWindow(ProgramServices& services);

}  // namespace kova::win
