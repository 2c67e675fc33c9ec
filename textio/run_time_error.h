// The one way an unchecked failure ends the run: a three-line report on the console's error
// stream, every file unit written out and closed, exit code -1.
#pragma once

namespace kova {

enum class Statement { None, Open, Close, Read, Write };

// The I/O statement under way when a failure happens; None for failures outside I/O.
struct IoStatement {
  Statement keyword = Statement::None;
  int unit = 0;
};

[[noreturn]] void ReportRunTimeError(int code, IoStatement statement = {});

}  // namespace kova
