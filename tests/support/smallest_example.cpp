#include "tests/support/smallest_example.h"

namespace kova::test_support {

std::string PromptRecords() {
  return "  ENTER INPUT FILENAME\r\n"
         "  enter random seed\r\n"
         "  enter number of randomizations\r\n"
         "  ENTER INPUT FILENAME FOR GROUP MEMBERSHIPS\r\n";
}

std::string SmallestStepRecords(int step, bool withTables) {
  std::string text = "  Randomization step   " + std::to_string(step) + "\r\n";
  for (int type = 1; type <= 5; ++type) {
    text += " \r\n";
    text += "  Borsak   " + std::to_string(type) + "  SUM=   1.00000\r\n";
    text += "  max. spec.   1 its contribution=   1.00000\r\n";
    if (withTables) {
      text += "  BORSAK TYPE   " + std::to_string(type) + "\r\n";
      // The contrast variants give a negative zero where the species is absent.
      text += (type == 3 || type == 5) ? "  1.0000  -.0000\r\n" : "  1.0000   .0000\r\n";
    }
  }
  return text;
}

std::string SmallestFinalTable() {
  return " \r\n"
         "  INDEX  ACTUAL   MEAN  Z-SCORE  \r\n"
         " APCF  1.00000  1.00000 -NaN\r\n"
         " ACF   1.00000  1.00000 -NaN\r\n"
         " ASF   1.00000  1.00000 -NaN\r\n"
         " PCF   1.00000  1.00000 -NaN\r\n"
         " PSF   1.00000  1.00000 -NaN\r\n";
}

}  // namespace kova::test_support
