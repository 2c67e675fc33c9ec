// The program's two icons, drawn rather than loaded: one for the frame, one for its child
// windows.
#pragma once

#include <QIcon>

namespace kova::win {

QIcon FrameIcon();
QIcon ChildIcon();

}  // namespace kova::win
