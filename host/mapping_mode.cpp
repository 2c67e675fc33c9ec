#include "host/mapping_mode.h"

namespace kova::host {
namespace {

constexpr double kMillimetresPerInch = 25.4;

PixelScale UpwardScale(double unitsPerInch, double dotsPerInchX, double dotsPerInchY) {
  return {dotsPerInchX / unitsPerInch, -dotsPerInchY / unitsPerInch};
}

}  // namespace

MappingMode MappingModeOf(int code) {
  return code >= 2 && code <= 8 ? static_cast<MappingMode>(code) : MappingMode::Text;
}

PixelScale ScaleOf(MappingMode mode, double dotsPerInchX, double dotsPerInchY) {
  switch (mode) {
    case MappingMode::LowMetric:
      return UpwardScale(kMillimetresPerInch * 10, dotsPerInchX, dotsPerInchY);
    case MappingMode::HighMetric:
      return UpwardScale(kMillimetresPerInch * 100, dotsPerInchX, dotsPerInchY);
    case MappingMode::LowEnglish:
      return UpwardScale(100, dotsPerInchX, dotsPerInchY);
    case MappingMode::HighEnglish:
      return UpwardScale(1000, dotsPerInchX, dotsPerInchY);
    case MappingMode::Twips:
      return UpwardScale(1440, dotsPerInchX, dotsPerInchY);
    case MappingMode::Text:
    case MappingMode::Isotropic:
    case MappingMode::Anisotropic:
      break;
  }
  return {};
}

}  // namespace kova::host
