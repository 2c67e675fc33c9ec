// The windowed program with a scripted user in place of a person: the real host, the real
// analysis and its "Results" menu, driven by the actions given as arguments (see scripted_user.h). It lets tests
// follow the routes that end the process: the stop, the error report, closing mid-run.
#include <QCoreApplication>
#include <string>
#include <vector>

#include "apps/kova/results_menu.h"
#include "driver/analysis_main.h"
#include "randomization/run_outcome.h"
#include "host/win/host_main.h"
#include "tests/host/win/scripted_user.h"

int main(int argumentCount, char** arguments) {
  // The scripted user fills Qt's own dialogs, whatever the desktop would offer.
  QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
  const std::vector<std::string> words(arguments + 1, arguments + argumentCount);
  char* programOnly[] = {arguments[0], nullptr};
  // Lives until the process ends, which happens inside HostMain.
  static auto& results = *new kova::window::ResultsMenu;
  return kova::win::HostMain(
      1, programOnly, [] { kova::RunAnalysis({}, results.Observer()); },
      [&](kova::win::ConsoleHost& host) {
        // Lives until the process ends.
        new kova::test_support::ScriptedUser(host, kova::test_support::ParseUserActions(words));
      });
}
