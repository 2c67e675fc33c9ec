#include "driver/run_request.h"

#include <sys/statvfs.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <system_error>

#include "report/results_report.h"

namespace kova {
namespace {

// A size in bytes as people read it: 3 significant digits and a decimal unit.
std::string Bytes(double bytes) {
  const char* units[] = {"bytes", "kB", "MB", "GB", "TB", "PB"};
  std::size_t unit = 0;
  while (bytes >= 1000.0 && unit + 1 < std::size(units)) {
    bytes /= 1000.0;
    ++unit;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.3g %s", bytes, units[unit]);
  return text;
}

// "RESULTS.TXT" holds every step's records: a count of randomizations far beyond the table's
// needs fills the disk long before the run ends. The run is refused when the file, as the
// records of the widest values would make it, cannot fit in the free space of its folder.
std::optional<InputFault> ResultsSpaceFault(const AnalysisData& data) {
  struct statvfs folder {};
  if (::statvfs(".", &folder) != 0) return std::nullopt;  // nothing known, nothing refused
  // The file is cut to nothing when it is opened, so its space is free for the run.
  std::error_code error;
  const auto existing = std::filesystem::file_size("RESULTS.TXT", error);
  const double free = static_cast<double>(folder.f_bavail) * static_cast<double>(folder.f_frsize) +
                      (error ? 0.0 : static_cast<double>(existing));
  const double needed =
      ResultsFileBytes(data.randomizationCount, data.speciesCount, data.groupCount);
  if (needed <= free) return std::nullopt;
  const std::int64_t perStep = ResultsStepBytes(data.randomizationCount, data.speciesCount);
  const std::string found = "RESULTS.TXT would take about " + Bytes(needed) + " (" +
                            std::to_string(perStep) + " bytes a step, " +
                            std::to_string(data.randomizationCount) + " steps), more than the " +
                            Bytes(free) + " free in its folder";
  return InputFault{"--randomizations " + std::to_string(data.randomizationCount), found,
                    "fewer randomizations, or a folder with more free space"};
}

}  // namespace

std::optional<InputFault> ReadRunInputs(const RunRequest& request, AnalysisData& data) {
  if (auto fault = ReadCheckedInputs(request, data)) return fault;
  return ResultsSpaceFault(data);
}

}  // namespace kova
