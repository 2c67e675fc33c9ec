#include "apps/kova/results_menu.h"

#include <QFileDialog>
#include <optional>
#include <string>

#include "apps/run_picture.h"
#include "driver/run_outcome.h"
#include "host/win/message_boxes.h"
#include "host/win/picture_painting.h"
#include "host/win/program_graphics.h"
#include "host/win/program_menu.h"
#include "host/win/program_services.h"
#include "plots/svg_picture.h"

namespace kova::window {
namespace {

// The graphics window shows the picture at about three quarters of its natural size.
constexpr QSize kWindowSize(736, 500);
// Saved images are twice the natural size, sharp enough to print.
constexpr double kImageScale = 2;

// The picture of the completed run; it lives as long as the process.
std::optional<plots::Picture>& RunPictureShown() {
  static std::optional<plots::Picture> picture;
  return picture;
}

void ShowPicture() {
  win::ProgramServices& services = win::Services();
  if (win::RaiseGraphicsWindow(services)) return;
  win::OpenGraphicsWindow(
      services, {"Randomization distributions", kWindowSize, host::MappingMode::Text,
                 [](QPainter& surface) { win::PaintPictureToFit(surface, *RunPictureShown()); }});
}

// The file the user picks for a picture of the given kind, or nothing when cancelled.
std::optional<QString> ChooseFile(const QString& filter, const QString& suffix) {
  QFileDialog dialog;
  dialog.setObjectName(QStringLiteral("SavePicture"));
  dialog.setWindowTitle(QStringLiteral("Save Picture As"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters({filter, QStringLiteral("All Files (*.*)")});
  dialog.selectNameFilter(filter);
  dialog.setDefaultSuffix(suffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front();
}

void SaveSvg() {
  const auto file = ChooseFile(QStringLiteral("SVG Files (*.svg)"), QStringLiteral("svg"));
  if (!file) return;
  QFile output(*file);
  const std::string svg = plots::SvgDocument(*RunPictureShown());
  if (!output.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    win::Warn(nullptr, QStringLiteral("Cannot create file"));
    return;
  }
  if (output.write(svg.data(), static_cast<qint64>(svg.size())) !=
          static_cast<qint64>(svg.size()) ||
      !output.flush()) {
    win::Warn(nullptr, QStringLiteral("I/O error while writing file"));
  }
}

void SavePng() {
  const auto file = ChooseFile(QStringLiteral("PNG Files (*.png)"), QStringLiteral("png"));
  if (!file) return;
  if (!win::PictureImage(*RunPictureShown(), kImageScale).save(*file, "PNG")) {
    win::Warn(nullptr, QStringLiteral("Cannot create file"));
  }
}

// The menu goes before the frame's "Window" menu.
void AddResultsMenu() {
  std::optional<win::ProgramMenu> menu =
      win::ProgramMenu::InsertBefore(win::Services(), "Window", "&Results");
  if (!menu) return;
  menu->AddItem("&Distributions", ShowPicture);
  menu->AddItem("Save Picture as &SVG...", SaveSvg);
  menu->AddItem("Save Picture as &PNG...", SavePng);
}

}  // namespace

void OfferResultsMenu() {
  RunObserver observer;
  observer.keepsStepSums = true;
  observer.runCompleted = [](const RunOutcome& outcome) {
    RunPictureShown() = RunPicture(outcome);
    AddResultsMenu();
  };
  ObserveRuns(std::move(observer));
}

}  // namespace kova::window
