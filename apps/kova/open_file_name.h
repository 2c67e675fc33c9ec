// File > "Open File Name..." (Ctrl+O): a file dialog in the working folder whose chosen file
// is typed into the Input/Output window as the answer to the question that waits, followed
// by Enter (file_name_answer.h says how the name is written).
#pragma once

namespace kova::window {

// Adds the item after the File menu's own items.
void AddOpenFileNameItem();

}  // namespace kova::window
