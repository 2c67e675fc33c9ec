// The windowed program with a scripted user in place of a person: the real host and what kova
// runs in its window, driven by the actions given as arguments (see scripted_user.h); the
// arguments after "--" are kova's own. It lets tests follow the routes that end the process:
// the stop, the error report, closing mid-run.
#include <QCoreApplication>
#include <algorithm>
#include <string>
#include <vector>

#include "apps/kova/window_program.h"
#include "host/win/host_main.h"
#include "tests/host/win/scripted_user.h"

int main(int argumentCount, char** arguments) {
  // The scripted user fills Qt's own dialogs, whatever the desktop would offer.
  QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
  char** const end = arguments + argumentCount;
  char** const optionsMark =
      std::find_if(arguments + 1, end, [](const char* word) { return std::string(word) == "--"; });
  const std::vector<std::string> words(arguments + 1, optionsMark);
  std::vector<char*> program = {arguments[0]};
  if (optionsMark != end) program.insert(program.end(), optionsMark + 1, end);
  program.push_back(nullptr);
  return kova::win::HostMain(
      static_cast<int>(program.size()) - 1, program.data(),
      [](int count, char** kovaArguments) { kova::window::RunInWindow({}, count, kovaArguments); },
      [&](kova::win::ConsoleHost& host) {
        // Lives until the process ends.
        new kova::test_support::ScriptedUser(host, kova::test_support::ParseUserActions(words));
      });
}
