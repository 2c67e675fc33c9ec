// The host's questions and warnings, each in a message box with the caption "KOVA".
#pragma once

#include <QString>

#include "host/close_sequence.h"

class QWidget;

namespace kova::win {

inline constexpr const char* kCaption = "KOVA";

// "Save the Input/Output window?" with Yes, No and Cancel; Esc is Cancel.
host::SaveAnswer AskToSaveTranscript(QWidget* owner);

// A warning with an OK button.
void Warn(QWidget* owner, const QString& text);

// A question with Yes and No; true for Yes.
bool AskYesNo(QWidget* owner, const QString& text);

}  // namespace kova::win
