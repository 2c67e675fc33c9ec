#include "textio/operating_system_errors.h"

#include <cerrno>
#include <string_view>

namespace kova {
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
