// The About box: the program, its version, and a few facts about the machine.
#pragma once

#include <QDialog>

namespace kova::win {

class AboutBox : public QDialog {
 public:
  explicit AboutBox(QWidget* owner);
};

}  // namespace kova::win
