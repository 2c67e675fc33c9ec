#include "host/win/host_main.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "host/command_line.h"
#include "host/win/console_host.h"
#include "host/win/display_check.h"
#include "textio/console.h"
#include "textio/run_endings.h"

namespace kova::win {
namespace {

// Every route that ends the process has written out and closed the units by now; the
// process ends without running static destructors, while Qt's objects are still alive.
[[noreturn]] void EndProcess(int exitCode) {
  std::fflush(nullptr);
  std::_Exit(exitCode);
}

QString FrameTitle() {
  const std::string path = QCoreApplication::applicationFilePath().toStdString();
  const std::string_view title = host::ProgramTitle(path);
  return QString::fromStdString(std::string(title.empty() ? "kova" : title));
}

}  // namespace

int HostMain(int argumentCount, char** arguments, Analysis analysis, const HostStarted& started) {
  auto probe = std::make_unique<DisplayProbe>(argumentCount, arguments);
  if (const auto& problem = probe->Problem()) {
    std::fprintf(stderr, "kova: %s\n", problem->c_str());
    return kWindowsNotCreated;
  }
  QApplication application(argumentCount, arguments);
  probe.reset();
  // The frame's close is the end; no automatic quit may end a waiting read.
  QApplication::setQuitOnLastWindowClosed(false);

  ConsoleHost host(FrameTitle());
  if (!host.Show()) {
    std::fprintf(stderr, "kova: the windows could not be created\n");
    return kWindowsNotCreated;
  }
  InstallConsoleHooks(host.Operations());
  SetProcessExit(&EndProcess);
  if (started) started(host);
  analysis(argumentCount, arguments);
  // An analysis ends through the stop or the error report; one that returns ends as the stop.
  EndRun(0);
}

}  // namespace kova::win
