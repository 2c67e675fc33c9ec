#include "textio/units.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <memory>
#include <string>

#include "textio/console.h"
#include "textio/failures.h"
#include "textio/file_unit.h"
#include "textio/run_endings.h"

namespace kova {

// ---- OPEN -------------------------------------------------------------------------------

namespace {

constexpr long long kLargestFile = 4LL * 1024 * 1024 * 1024 - 1;

struct OpenedFile {
  int descriptor = -1;
  int code = 0;
};

std::string_view TrimBlanks(std::string_view name) {
  const std::size_t first = name.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = name.find_last_not_of(' ');
  return name.substr(first, last - first + 1);
}

bool IsDirectory(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// A missing file is code 2 when its folder exists and code 3 when the folder does not.
int OpenFailureCode(int errnoValue, const std::string& name) {
  if (errnoValue != ENOENT) return SystemErrorCode(errnoValue);
  const std::size_t slash = name.find_last_of('/');
  if (slash == std::string::npos) return failure::kFileNotFound;
  const std::string folder = slash == 0 ? std::string("/") : name.substr(0, slash);
  return IsDirectory(folder) ? failure::kFileNotFound : failure::kPathNotFound;
}

int OpenDescriptor(const std::string& name, int flags) {
  for (;;) {
    const int descriptor = ::open(name.c_str(), flags | O_CLOEXEC, 0666);
    if (descriptor >= 0 || errno != EINTR) return descriptor;
  }
}

bool MayStillBeRead(int errnoValue) {
  return errnoValue == EACCES || errnoValue == EPERM || errnoValue == EROFS ||
         errnoValue == ETXTBSY;
}

// An existing file, for reading and writing when allowed, else for reading only, so that
// write-protected data files can still be analysed.
OpenedFile OpenExisting(const std::string& name) {
  int descriptor = OpenDescriptor(name, O_RDWR);
  if (descriptor < 0 && MayStillBeRead(errno)) {
    const int writeError = errno;
    descriptor = OpenDescriptor(name, O_RDONLY);
    if (descriptor < 0) return {-1, OpenFailureCode(writeError, name)};
  }
  if (descriptor < 0) return {-1, OpenFailureCode(errno, name)};
  return {descriptor, 0};
}

// A file that can be read is opened for reading and writing, its contents untouched;
// otherwise it is created, replacing any file of that name.
OpenedFile OpenOrCreate(const std::string& name) {
  const int probe = OpenDescriptor(name, O_RDONLY);
  if (probe >= 0) {
    ::close(probe);
    const int descriptor = OpenDescriptor(name, O_RDWR);
    if (descriptor < 0) return {-1, OpenFailureCode(errno, name)};
    return {descriptor, 0};
  }
  const int descriptor = OpenDescriptor(name, O_RDWR | O_CREAT | O_TRUNC);
  if (descriptor < 0) return {-1, OpenFailureCode(errno, name)};
  return {descriptor, 0};
}

// Directories are refused, and so are files of 4 GiB or more. Returns 0 or the code.
int CheckOpenedFile(int descriptor, bool& isRegular) {
  struct stat status {};
  if (::fstat(descriptor, &status) != 0) return SystemErrorCode(errno);
  if (S_ISDIR(status.st_mode)) return failure::kAccessDenied;
  isRegular = S_ISREG(status.st_mode);
  if (isRegular && status.st_size > kLargestFile) return failure::kAccessDenied;
  return 0;
}

int Connect(int unit, std::string_view typedName, OpenStatus status) {
  const std::string_view trimmed = TrimBlanks(typedName);
  if (trimmed.empty()) return failure::kBlankFileName;
  if (trimmed.find('\0') != std::string_view::npos) return failure::kBadNameSyntax;
  if (IsConsoleUnit(unit)) return failure::kUnitAlreadyConnected;

  if (FindFileUnit(unit) != nullptr) {
    if (const int code = DisconnectFileUnit(unit); code != 0) return code;
  }

  const std::string name(trimmed);
  const OpenedFile opened = status == OpenStatus::Old ? OpenExisting(name) : OpenOrCreate(name);
  if (opened.code != 0) return opened.code;

  bool isRegular = false;
  if (const int code = CheckOpenedFile(opened.descriptor, isRegular); code != 0) {
    ::close(opened.descriptor);
    return code;
  }
  // Devices are never cut.
  AddFileUnit(std::make_unique<FileUnit>(unit, name, opened.descriptor, isRegular));
  return 0;
}

}  // namespace

void OpenUnit(int unit, std::string_view fileName, OpenStatus status, std::int32_t* statusValue) {
  Console().Poll();
  if (statusValue != nullptr) *statusValue = 0;
  const int code = Connect(unit, fileName, status);
  if (code == 0) return;
  if (statusValue != nullptr) {
    *statusValue = failure::StatusValueFor(code);
    return;
  }
  ReportRunTimeError(code, {Statement::Open, unit});
}

// ---- The unit table ---------------------------------------------------------------------

namespace {

std::vector<std::unique_ptr<FileUnit>>& FileUnits() {
  static std::vector<std::unique_ptr<FileUnit>> units;
  return units;
}

}  // namespace

FileUnit* FindFileUnit(int unit) {
  for (const auto& connected : FileUnits()) {
    if (connected->Number() == unit) return connected.get();
  }
  return nullptr;
}

void AddFileUnit(std::unique_ptr<FileUnit> unit) {
  FileUnits().push_back(std::move(unit));
}

std::unique_ptr<FileUnit> RemoveFileUnit(int unit) {
  auto& units = FileUnits();
  const auto found = std::find_if(units.begin(), units.end(), [unit](const auto& connected) {
    return connected->Number() == unit;
  });
  if (found == units.end()) return nullptr;
  std::unique_ptr<FileUnit> removed = std::move(*found);
  units.erase(found);
  return removed;
}

RecordReader& InputRecords(int unit, const IoStatement& statement) {
  if (unit == kDefaultUnit || unit == kConsoleInputUnit) return ConsoleInput();
  if (FileUnit* file = FindFileUnit(unit)) return file->Reader();
  ReportRunTimeError(failure::kUnitNotConnected, statement);
}

// ---- CLOSE ------------------------------------------------------------------------------

int DisconnectFileUnit(int unit) {
  std::unique_ptr<FileUnit> file = RemoveFileUnit(unit);
  return file ? file->Close() : 0;
}

void CloseUnit(int unit) {
  Console().Poll();
  if (const int code = DisconnectFileUnit(unit); code != 0) {
    ReportRunTimeError(code, {Statement::Close, unit});
  }
}

// Allocates nothing: a run short of memory still writes out its files.
UnitFailure CloseAllUnits() {
  UnitFailure first;
  auto& units = FileUnits();
  while (!units.empty()) {
    const std::unique_ptr<FileUnit> unit = std::move(units.front());
    units.erase(units.begin());
    const int code = unit->Close();
    if (code != 0 && first.code == 0) first = {code, unit->Number()};
  }
  return first;
}

// ---- Writing a record -------------------------------------------------------------------

namespace {

constexpr std::size_t kConsolePiece = 256;
constexpr std::string_view kLineEnd = "\r\n";

void WriteConsoleRecord(ConsoleStream stream, std::string_view record,
                        const IoStatement& statement) {
  std::string text;
  text.reserve(record.size() + kLineEnd.size());
  text.append(record).append(kLineEnd);
  for (std::size_t start = 0; start < text.size(); start += kConsolePiece) {
    const std::size_t count = std::min(kConsolePiece, text.size() - start);
    if (Console().WriteText(text.data() + start, count, stream) == 0) {
      ReportRunTimeError(failure::kWriteFault, statement);
    }
  }
}

}  // namespace

void WriteRecord(int unit, std::string_view record, const IoStatement& statement) {
  if (unit == kDefaultUnit || unit == kConsoleOutputUnit) {
    WriteConsoleRecord(ConsoleStream::Output, record, statement);
    return;
  }
  if (unit == kConsoleErrorUnit) {
    WriteConsoleRecord(ConsoleStream::Error, record, statement);
    return;
  }
  FileUnit* file = FindFileUnit(unit);
  if (file == nullptr) ReportRunTimeError(failure::kUnitNotConnected, statement);
  int code = file->Append(record.data(), record.size());
  if (code == 0) code = file->Append(kLineEnd.data(), kLineEnd.size());
  if (code != 0) ReportRunTimeError(code, statement);
}

}  // namespace kova
