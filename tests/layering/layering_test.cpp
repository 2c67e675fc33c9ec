// The folders depend on each other one way only: the programs on everything; the window layer
// on the host's rules and the pictures; the host on the text layer; the analysis in four
// floors, the driver on the report, the report on the randomization and the pictures, the
// randomization on the inputs and the indices, the inputs on the indices (a seed is checked
// against the generator) and the text layer; the indices, which report failures to their
// callers and end nothing, and the pictures' layout on nothing, so that the window layer and
// the report can draw it. Qt is included by the window layer and the windowed program alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "tests/support/scratch_folder.h"

namespace kova {
namespace {

namespace fs = std::filesystem;

struct FolderRule {
  std::string folder;                // a source folder, relative to the project
  std::set<std::string> mayInclude;  // project folders its files may include from
  bool mayIncludeQt = false;
};

// The most specific folder comes first.
const std::vector<FolderRule> kRules = {
    {"host/win", {"host", "plots", "textio"}, true},
    {"host", {"host", "textio"}, false},
    {"apps/kova-cli",
     {"apps", "driver", "report", "randomization", "inputs", "plots", "textio"},
     false},
    {"apps/kova",
     {"apps", "driver", "report", "randomization", "inputs", "host", "plots", "textio"},
     true},
    {"apps", {"apps", "driver", "report", "randomization", "inputs", "plots", "textio"}, false},
    {"driver", {"driver", "report", "randomization", "inputs", "textio"}, false},
    {"report", {"report", "randomization", "inputs", "plots", "textio"}, false},
    {"randomization", {"randomization", "inputs", "indices", "textio"}, false},
    {"inputs", {"inputs", "indices", "textio"}, false},
    {"plots", {"plots"}, false},
    {"indices", {"indices"}, false},
    {"textio", {"textio"}, false},
};

const FolderRule* RuleFor(const std::string& path) {
  for (const FolderRule& rule : kRules) {
    if (path.rfind(rule.folder + "/", 0) == 0) return &rule;
  }
  return nullptr;
}

// What is wrong with one include line of the file at `path`, or nothing.
std::optional<std::string> IncludeFault(const std::string& path, const std::string& line) {
  static const std::regex project(R"(^\s*#\s*include\s*"([a-z_-]+)/)");
  static const std::regex qt(R"(^\s*#\s*include\s*<(Q[A-Za-z]+|Qt[A-Za-z]*/))");
  const FolderRule* rule = RuleFor(path);
  if (rule == nullptr) return std::nullopt;
  std::smatch match;
  if (std::regex_search(line, match, project)) {
    const std::string folder = match[1];
    if (rule->mayInclude.count(folder) == 0) return path + " includes from " + folder + "/";
  }
  if (!rule->mayIncludeQt && std::regex_search(line, match, qt)) return path + " includes Qt";
  return std::nullopt;
}

TEST(Layering, TheRulesCatchAWrongInclude) {
  struct Case {
    std::string path;
    std::string line;
    bool fault;
  };
  const Case cases[] = {
      {"textio/units.cpp", "#include \"textio/records.h\"", false},
      {"textio/units.cpp", "#include \"driver/dialogue.h\"", true},
      {"driver/dialogue.cpp", "#include \"host/win/console_host.h\"", true},
      {"driver/dialogue.cpp", "#include <QString>", true},
      {"host/transcript.cpp", "#include <QWidget>", true},
      {"host/transcript.cpp", "#include \"host/win/frame_window.h\"", false},
      {"host/win/frame_window.cpp", "#include <QMenuBar>", false},
      {"host/win/frame_window.cpp", "#include \"driver/analysis_main.h\"", true},
      {"apps/kova/main.cpp", "#include \"host/win/host_main.h\"", false},
      {"apps/kova-cli/main.cpp", "#include \"host/console_lines.h\"", true},
      {"indices/step_tables.cpp", "#include <vector>", false},
      {"indices/work_storage.h", "#include \"textio/run_endings.h\"", true},
      {"plots/svg_picture.cpp", "#include \"driver/run_outcome.h\"", true},
      {"plots/distribution_layout.cpp", "#include <QPainter>", true},
      {"host/win/picture_painting.cpp", "#include \"plots/picture.h\"", false},
      {"host/win/picture_painting.cpp", "#include \"report/run_picture.h\"", true},
      {"report/run_picture.cpp", "#include \"host/win/program_services.h\"", true},
      {"inputs/checked_inputs.cpp", "#include \"report/results_report.h\"", true},
      {"inputs/checked_inputs.cpp", "#include \"randomization/combinations.h\"", true},
      {"randomization/step_workers.cpp", "#include \"driver/randomization_test.h\"", true},
      {"randomization/step_workers.cpp", "#include \"indices/step_tables.h\"", false},
      {"report/result_tables.cpp", "#include \"randomization/run_outcome.h\"", false},
      {"report/result_tables.cpp", "#include \"driver/run_request.h\"", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IncludeFault(c.path, c.line).has_value(), c.fault) << c.path << ": " << c.line;
  }
}

// host/ (outside host/win) must not reach into the window layer either.
std::optional<std::string> WindowLayerFault(const std::string& path, const std::string& line) {
  if (path.rfind("host/win/", 0) == 0 || path.rfind("host/", 0) != 0) return std::nullopt;
  if (line.find("#include \"host/win/") != std::string::npos) return path + " includes host/win";
  return std::nullopt;
}

TEST(Layering, EverySourceFileKeepsToItsLayer) {
  const fs::path top = test_support::SourceFolder();
  std::vector<std::string> faults;
  int files = 0;
  for (const FolderRule& rule : kRules) {
    if (!fs::exists(top / rule.folder)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(top / rule.folder)) {
      const std::string extension = entry.path().extension().string();
      if (extension != ".cpp" && extension != ".h" && extension != ".inc") continue;
      const std::string path = fs::relative(entry.path(), top).generic_string();
      if (RuleFor(path) != &rule) continue;  // judged by a more specific folder's rule
      ++files;
      std::ifstream file(entry.path());
      for (std::string line; std::getline(file, line);) {
        if (auto fault = IncludeFault(path, line)) faults.push_back(*fault);
        if (auto fault = WindowLayerFault(path, line)) faults.push_back(*fault);
      }
    }
  }
  EXPECT_GT(files, 50);
  EXPECT_TRUE(faults.empty()) << ::testing::PrintToString(faults);
}

}  // namespace
}  // namespace kova
