// A child window of the frame with a selection of its own: while it is the active child, the
// frame's Edit > Copy (and its Ctrl+C) copies that selection, not the Input/Output window's.
#pragma once

namespace kova::win {

class CopiesSelection {
 public:
  // Puts what the window shows selected on the clipboard.
  virtual void CopySelection() = 0;

 protected:
  ~CopiesSelection() = default;
};

}  // namespace kova::win
