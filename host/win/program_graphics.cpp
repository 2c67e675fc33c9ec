#include "host/win/program_graphics.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "host/win/program_services.h"

namespace kova::win {

bool OpenGraphicsWindow(ProgramServices& services, const GraphicsWindowRequest& request) {
  int width = request.size.width();
  int height = request.size.height();
  return services.OpenGraphicsWindow(width, height, request.title, static_cast<int>(request.units),
                                     request.paint);
}

bool RaiseGraphicsWindow(ProgramServices& services) {
  QMdiSubWindow* window = services.GraphicsWindow();
  if (window == nullptr) return false;
  ShowInFront(window);
  return true;
}

}  // namespace kova::win
