// The system clipboard as the Input/Output window uses it: plain text, each byte of the
// transcript one character of the text and back.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kova::win::clipboard {

// Puts `bytes` on the clipboard as text; false when there is no clipboard to put them on.
bool PutText(std::string_view bytes);

// The clipboard's text as bytes to type, or nothing when it holds no text. Every line break
// becomes one CR, whichever line end the text came with, so that pasted lines are completed
// lines; a character beyond one byte becomes '?'.
std::optional<std::string> TextToType();

}  // namespace kova::win::clipboard
