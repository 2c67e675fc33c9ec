#include "apps/kova/results_menu.h"

#include <QFileDialog>
#include <QMdiSubWindow>
#include <optional>
#include <string>

#include "apps/kova/per_species_window.h"
#include "host/win/message_boxes.h"
#include "host/win/picture_painting.h"
#include "host/win/program_graphics.h"
#include "host/win/program_menu.h"
#include "host/win/program_services.h"
#include "plots/svg_picture.h"
#include "randomization/run_outcome.h"
#include "report/run_picture.h"

namespace kova::window {
namespace {

// The graphics window shows the picture at about three quarters of its natural size.
constexpr QSize kWindowSize(736, 500);
constexpr QSize kSpeciesWindowSize(640, 420);
// The smallest text the graphics window shows, in pixels.
constexpr double kLegibleTextPixels = 8;
// Saved images are twice the natural size, sharp enough to print.
constexpr double kImageScale = 2;

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

}  // namespace

RunObserver ResultsMenu::Observer() {
  RunObserver observer;
  observer.keepsStepSums = true;
  observer.keepsSpecies = true;
  observer.runCompleted = [this](const RunOutcome& outcome) {
    outcome_ = outcome;
    picture_ = RunPicture(outcome);
    Add();
  };
  return observer;
}

// The menu goes before the frame's "Window" menu.
void ResultsMenu::Add() {
  std::optional<win::ProgramMenu> menu =
      win::ProgramMenu::InsertBefore(win::Services(), "Window", "&Results");
  if (!menu) return;
  menu->AddItem("&Distributions", [this] { ShowPicture(); });
  menu->AddItem("Sp&ecies", [this] { ShowSpecies(); });
  menu->AddItem("Save Picture as &SVG...", [this] { SaveSvg(); });
  menu->AddItem("Save Picture as &PNG...", [this] { SavePng(); });
}

// Every window the menu opens comes to the front with the keyboard.
void ResultsMenu::ShowPicture() {
  win::ProgramServices& services = win::Services();
  if (win::RaiseGraphicsWindow(services)) return;
  win::OpenGraphicsWindow(
      services, {"Randomization distributions", kWindowSize, host::MappingMode::Text,
                 [this](QPainter& surface) { win::PaintPictureToFit(surface, *picture_); }});
  // Tiled among other windows, the picture keeps text that can be read.
  services.GraphicsWindow()->widget()->setMinimumSize(
      win::LegibleSize(*picture_, kLegibleTextPixels));
  win::RaiseGraphicsWindow(services);
}

void ResultsMenu::ShowSpecies() {
  if (species_ != nullptr) {
    win::ShowInFront(species_);
    return;
  }
  species_ = win::Services().OpenChildWindow(new SpeciesWindow(*outcome_),
                                             QStringLiteral("Species"), kSpeciesWindowSize);
}

void ResultsMenu::SaveSvg() const {
  const auto file = ChooseFile(QStringLiteral("SVG Files (*.svg)"), QStringLiteral("svg"));
  if (!file) return;
  QFile output(*file);
  const std::string svg = plots::SvgDocument(*picture_);
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

void ResultsMenu::SavePng() const {
  const auto file = ChooseFile(QStringLiteral("PNG Files (*.png)"), QStringLiteral("png"));
  if (!file) return;
  if (!win::PictureImage(*picture_, kImageScale).save(*file, "PNG")) {
    win::Warn(nullptr, QStringLiteral("Cannot create file"));
  }
}

}  // namespace kova::window
