// Sets KOVA_KERNELS, which chooses the instruction-set build of the kernels, for the life of
// the object and restores the previous setting after.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace kova::test_support {

class KernelsSetting {
 public:
  // A null value unsets the variable: the processor's best build.
  explicit KernelsSetting(const char* value) {
    if (const char* previous = std::getenv("KOVA_KERNELS")) previous_ = previous;
    if (value != nullptr) {
      setenv("KOVA_KERNELS", value, 1);
    } else {
      unsetenv("KOVA_KERNELS");
    }
  }
  ~KernelsSetting() {
    if (previous_) {
      setenv("KOVA_KERNELS", previous_->c_str(), 1);
    } else {
      unsetenv("KOVA_KERNELS");
    }
  }
  KernelsSetting(const KernelsSetting&) = delete;
  KernelsSetting& operator=(const KernelsSetting&) = delete;

 private:
  std::optional<std::string> previous_;
};

}  // namespace kova::test_support
