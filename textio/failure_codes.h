// Failure codes of the text I/O layer. Codes 10000 to 10070 are run-time failures with a
// message of their own; other positive codes are operating-system error codes.
#pragma once

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
