// Failure codes of the text I/O layer and the messages the reports show for them. Codes
// 10000 to 10070 are run-time failures with a message of their own; other positive codes are
// the operating system's, numbered as on the original platform whatever system we run on.
#pragma once

#include <string>
#include <string_view>

namespace kova::failure {

constexpr int kFirstRunTimeCode = 10000;
constexpr int kLastRunTimeCode = 10070;

constexpr int kBufferAllocationFailed = 10004;
constexpr int kUnitNotConnected = 10001;
constexpr int kUnitAlreadyConnected = 10002;
constexpr int kReadPastEndOfFile = 10013;
constexpr int kBlankFileName = 10014;
constexpr int kIllegalNumericCharacter = 10016;
constexpr int kReadPastEndOfRecord = 10039;

// Operating-system codes the units produce.
constexpr int kFileNotFound = 2;
constexpr int kPathNotFound = 3;
constexpr int kAccessDenied = 5;
constexpr int kWriteFault = 29;
constexpr int kReadFault = 30;
constexpr int kDiskFull = 112;
constexpr int kBadNameSyntax = 123;

constexpr bool IsRunTimeCode(int code) {
  return code >= kFirstRunTimeCode && code <= kLastRunTimeCode;
}

// The value a status variable receives for a failure: end of file and end of record have
// their own negative values, every other failure its code.
constexpr int StatusValueFor(int code) {
  if (code == kReadPastEndOfFile) return -1;
  if (code == kReadPastEndOfRecord) return -2;
  return code;
}

}  // namespace kova::failure

namespace kova {

// ---- Run-time messages ------------------------------------------------------------------

// The message of a run-time failure code (10000 to 10070).
std::string_view RunTimeMessage(int code);

// ---- Operating-system failures ----------------------------------------------------------

// Maps an errno value onto the nearest operating-system code.
int SystemErrorCode(int errnoValue);

// The message of an operating-system code, as the report's second line shows it.
std::string SystemErrorMessage(int code);

}  // namespace kova
