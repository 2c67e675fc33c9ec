#include "textio/failures.h"

#include <array>
#include <cerrno>
#include <string_view>

namespace kova {

// ---- Run-time messages ------------------------------------------------------------------

namespace {

// Indexed by code - 10000. Most of them concern facilities this program does not use;
// they are kept so that every code has a meaningful text.
constexpr std::array<std::string_view, 71> kMessages = {
    "Unit number out of range",                              // 10000
    "Unit is not connected",                                 // 10001
    "Unit is already connected to another file",             // 10002
    "Record length out of range",                            // 10003
    "Buffer allocation failed",                              // 10004
    "Invalid OPEN specifier",                                // 10005
    "File status conflicts with the existence of the file",  // 10006
    "Invalid ACCESS value in OPEN",                          // 10007
    "Invalid FORM value in OPEN",                            // 10008
    "Invalid ACTION value in OPEN",                          // 10009
    "Operation not allowed by the ACTION of the unit",       // 10010
    "Formatted transfer on an unformatted unit",             // 10011
    "Unformatted transfer on a formatted unit",              // 10012
    "Attempt to read past end of file",                      // 10013
    "Bad file specification",                                // 10014
    "Record number out of range in direct access",           // 10015
    "Illegal character in numeric input",                    // 10016
    "Numeric value out of range in input",                   // 10017
    "Sequential operation on a direct-access unit",          // 10018
    "Direct-access operation on a sequential unit",          // 10019
    "Format is missing its opening parenthesis",             // 10020
    "Format is missing its closing parenthesis",             // 10021
    "Unknown edit descriptor in format",                     // 10022
    "Width missing in edit descriptor",                      // 10023
    "Repeat count missing before a parenthesised group",     // 10024
    "Data item does not match its edit descriptor",          // 10025
    "Format has no edit descriptor for the data items",      // 10026
    "Quoted text not allowed in an input format",            // 10027
    "Format groups nested too deeply",                       // 10028
    "Namelist group name not found in input",                // 10029
    "Namelist item name not found in its group",             // 10030
    "Namelist input ended before its terminator",            // 10031
    "Subscript out of range in namelist input",              // 10032
    "Unformatted record is corrupted",                       // 10033
    "Unformatted record too short for the data items",       // 10034
    "BACKSPACE not allowed on this unit",                    // 10035
    "REWIND not allowed on this unit",                       // 10036
    "ENDFILE not allowed on this unit",                      // 10037
    "Record too long for the record length of the unit",     // 10038
    "Attempt to read past end of record",                    // 10039
    "Too many units connected",                              // 10040
    "A scratch file cannot be given a name",                 // 10041
    "A scratch file cannot be kept",                         // 10042
    "Invalid STATUS value in CLOSE",                         // 10043
    "Invalid BLANK value in OPEN",                           // 10044
    "Invalid POSITION value in OPEN",                        // 10045
    "Invalid DELIM value in OPEN",                           // 10046
    "Invalid PAD value in OPEN",                             // 10047
    "Internal file overflow",                                // 10048
    "Internal file too short for the record",                // 10049
    "List-directed transfer on an unformatted unit",         // 10050
    "Repeat count must be positive in list-directed input",  // 10051
    "Quoted string not terminated in input",                 // 10052
    "Logical value expected in input",                       // 10053
    "Complex value expected in input",                       // 10054
    "Array argument has the wrong shape",                    // 10055
    "Array arguments do not conform",                        // 10056
    "DIM argument out of range",                             // 10057
    "Negative size in an array intrinsic",                   // 10058
    "Array is already allocated",                            // 10059
    "Array is not allocated",                                // 10060
    "Deallocation of an array that was not allocated",       // 10061
    "Deallocation of part of an array",                      // 10062
    "Pointer is not associated",                             // 10063
    "Negative extent in ALLOCATE",                           // 10064
    "Allocation size exceeds the address space",             // 10065
    "File position is undefined after an earlier error",     // 10066
    "Output record exceeds the record length of the unit",   // 10067
    "Character length mismatch in assignment",               // 10068
    "Integer overflow in input",                             // 10069
    "Unknown run-time error",                                // 10070
};

}  // namespace

std::string_view RunTimeMessage(int code) {
  if (!failure::IsRunTimeCode(code)) return kMessages.back();
  return kMessages[static_cast<std::size_t>(code - failure::kFirstRunTimeCode)];
}

// ---- Operating-system failures ----------------------------------------------------------

namespace {

struct SystemError {
  int code;
  std::string_view message;
};

constexpr SystemError kSystemErrors[] = {
    {2, "The system cannot find the file specified."},
    {3, "The system cannot find the path specified."},
    {4, "The system cannot open the file."},
    {5, "Access Denied."},
    {8, "Not enough storage is available to process this command."},
    {29, "The system cannot write to the specified device."},
    {30, "The system cannot read from the specified device."},
    {31, "A device attached to the system is not functioning."},
    {32, "The process cannot access the file because it is being used by another process."},
    {39, "The disk is full."},
    {112, "There is not enough space on the disk."},
    {123, "The file name, directory name, or volume label is not syntactically correct."},
    {223, "The file size exceeds the limit allowed and cannot be saved."},
    {1117, "The request could not be performed because of an I/O device error."},
    {1921, "The name of the file cannot be resolved by the system."},
};

constexpr int kGeneralFailure = 31;

}  // namespace

int SystemErrorCode(int errnoValue) {
  switch (errnoValue) {
    case ENOENT:
      return 2;
    case ENOTDIR:
      return 3;
    case EMFILE:
    case ENFILE:
      return 4;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
      return 5;
    case ENOMEM:
      return 8;
    case EPIPE:
      return 29;
    case EBUSY:
    case ETXTBSY:
    case EAGAIN:
      return 32;
    case EDQUOT:
      return 39;
    case ENOSPC:
      return 112;
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ:
      return 123;
    case EFBIG:
      return 223;
    case EIO:
      return 1117;
    case ELOOP:
      return 1921;
    default:
      return kGeneralFailure;
  }
}

std::string SystemErrorMessage(int code) {
  for (const SystemError& error : kSystemErrors) {
    if (error.code == code) return std::string(error.message);
  }
  return "Unknown system error " + std::to_string(code) + ".";
}

}  // namespace kova
