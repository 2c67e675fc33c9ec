// The frame's commands as a user meets them: Save and Save As, printing, the About box, the
// Window menu, and the services a program can use.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <string>

#include "host/main_menu.h"
#include "host/win/console_host.h"
#include "host/win/frame_window.h"
#include "host/win/print_command.h"
#include "host/win/program_graphics.h"
#include "host/win/program_menu.h"
#include "host/win/program_services.h"
#include "host/win/transcript_saving.h"
#include "tests/host/win/modal_responder.h"
#include "tests/support/process_runner.h"
#include "tests/support/scratch_folder.h"

namespace kova::win {
namespace {

using test_support::ModalResponder;
using test_support::ReadWholeFile;
using test_support::ScratchFolder;

class Frame : public ::testing::Test {
 protected:
  Frame() : host_(QStringLiteral("kova")) {
    host_.Show();
    console_ = host_.Operations();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&host_.Frame()));
  }

  void Write(const std::string& text) {
    console_.WriteText(text.data(), text.size(), ConsoleStream::Output);
  }
  void Choose(int id) { Item(id)->trigger(); }
  QMdiSubWindow* ConsoleWindow() { return host_.Frame().ConsoleWindow(); }
  QAction* Item(int id) { return test_support::MenuItemWithId(host_.Frame(), id); }

  ConsoleHost host_;
  ConsoleHooks console_;
  ScratchFolder folder_;
};

TEST_F(Frame, SaveAsAsksForAFileAndSaveThenWritesWithoutAsking) {
  Write("  ENTER INPUT FILENAME\r\n");
  Write("line two\n");
  Write("");
  const QString path = QString::fromStdString(folder_.File("first"));
  ModalResponder user;
  user.Then([&](QWidget* modal) { test_support::ChooseFile(modal, path); });
  Choose(host::command::kSave);  // no file yet: Save is Save As
  EXPECT_EQ(user.Answered(), 1);
  // The default suffix is added, and the window takes the file's name as its title.
  EXPECT_EQ(ReadWholeFile(folder_.File("first.txt")), "  ENTER INPUT FILENAME\r\nline two\r\n\r\n");
  EXPECT_EQ(ConsoleWindow()->windowTitle(), "first.txt");
  EXPECT_TRUE(host_.Lines().Saved());

  Write("line four");
  EXPECT_FALSE(host_.Lines().Saved());
  Choose(host::command::kSave);  // now without a dialog
  EXPECT_EQ(user.Answered(), 1);
  EXPECT_EQ(ReadWholeFile(folder_.File("first.txt")),
            "  ENTER INPUT FILENAME\r\nline two\r\n\r\nline four\r\n");
  EXPECT_TRUE(host_.Lines().Saved());

  // Save As opens on the last name used; cancelling it changes nothing.
  user.Then([&](QWidget* modal) {
    const QStringList chosen = qobject_cast<QFileDialog*>(modal)->selectedFiles();
    EXPECT_EQ(chosen.value(0), path + ".txt");
    test_support::ClickButton(modal, QStringLiteral("Cancel"));
  });
  Choose(host::command::kSaveAs);
  EXPECT_EQ(user.Answered(), 2);
  Write("line five");
  Choose(host::command::kSave);
  EXPECT_EQ(user.Answered(), 2);
  EXPECT_EQ(ReadWholeFile(folder_.File("first.txt")),
            "  ENTER INPUT FILENAME\r\nline two\r\n\r\nline four\r\nline five\r\n");
}

TEST_F(Frame, AWriteFailureWarnsAndLeavesTheTranscriptUnsaved) {
  Write("line");
  // A file on a full device: it opens, and every write fails.
  const std::string full = folder_.File("full.txt");
  ASSERT_EQ(symlink("/dev/full", full.c_str()), 0);
  QString warning;
  ModalResponder user;
  user.Then([&](QWidget* modal) { test_support::ChooseFile(modal, QString::fromStdString(full)); });
  user.Then([](QWidget* modal) { test_support::ClickButton(modal, QStringLiteral("Yes")); });
  user.Then([&](QWidget* modal) {
    warning = modal->windowTitle() + ": " + test_support::MessageText(modal);
    test_support::ClickButton(modal, QStringLiteral("OK"));
  });
  Choose(host::command::kSaveAs);
  EXPECT_EQ(user.Answered(), 3);  // the file dialog, replacing the file, the warning
  EXPECT_EQ(warning, "KOVA: I/O error while writing file");
  EXPECT_FALSE(host_.Lines().Saved());
  // The title names no file that failed.
  EXPECT_EQ(ConsoleWindow()->windowTitle().toStdString(), "Input/Output");

  // A file that cannot be created.
  user.Then(
      [](QWidget* modal) { test_support::ChooseFile(modal, QStringLiteral("/proc/kova.txt")); });
  user.Then([&](QWidget* modal) {
    warning = test_support::MessageText(modal);
    test_support::ClickButton(modal, QStringLiteral("OK"));
  });
  Choose(host::command::kSaveAs);
  EXPECT_TRUE(user.Done());
  EXPECT_EQ(warning, "Cannot create file");
  EXPECT_FALSE(host_.Lines().Saved());
  EXPECT_EQ(ConsoleWindow()->windowTitle().toStdString(), "Input/Output");
}

// pdftotext's text of a PDF, its pages separated by form feeds.
std::vector<std::vector<std::string>> PdfPages(const std::string& path) {
  const auto text = test_support::RunProcess("/usr/bin/pdftotext", {"-layout", path, "-"}, "", "/");
  EXPECT_EQ(text.exitCode, 0) << text.error;
  std::vector<std::vector<std::string>> pages(1);
  std::string line;
  for (const char c : text.output) {
    if (c == '\f') {
      if (!line.empty()) pages.back().push_back(line);
      line.clear();
      pages.emplace_back();
    } else if (c == '\n') {
      pages.back().push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  if (pages.back().empty()) pages.pop_back();
  for (auto& page : pages) {
    while (!page.empty() && page.back().empty())
      page.pop_back();
  }
  return pages;
}

int PdfPageCount(const std::string& path) {
  const auto info = test_support::RunProcess("/usr/bin/pdfinfo", {path}, "", "/");
  const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)"));
  return pages.match(QString::fromStdString(info.output)).captured(1).toInt();
}

class Printing : public ::testing::Test {
 protected:
  Printing()
      : frame_(QStringLiteral("kova")),
        saving_(frame_, transcript_),
        printing_(frame_, transcript_, saving_) {
    frame_.show();
  }

  void WriteLines(int count) {
    for (int line = 1; line <= count; ++line) {
      transcript_.OpenLine();
      transcript_.AppendToLastLine("line " + std::to_string(line));
    }
  }
  PrintOutcome PrintToPdf(const std::string& name, const std::optional<host::PageRange>& pages,
                          int copies) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(folder_.File(name)));
    return printing_.PrintOn(printer, pages, copies);
  }

  FrameWindow frame_;
  host::Transcript transcript_;
  TranscriptSaving saving_;
  PrintCommand printing_;
  ScratchFolder folder_;
};

TEST_F(Printing, PagesHoldWholeLinesUnchanged) {
  WriteLines(100);
  const PrintOutcome outcome = PrintToPdf("all.pdf", std::nullopt, 1);
  ASSERT_TRUE(outcome.completed);
  const int perPage = outcome.linesPerPage;
  ASSERT_GT(perPage, 20);
  ASSERT_LT(perPage, 100);
  EXPECT_EQ(outcome.linesPrinted, 100u);
  const auto pages = PdfPages(folder_.File("all.pdf"));
  EXPECT_EQ(PdfPageCount(folder_.File("all.pdf")), (100 + perPage - 1) / perPage);
  ASSERT_EQ(pages.size(), static_cast<std::size_t>((100 + perPage - 1) / perPage));
  EXPECT_EQ(pages[0].size(), static_cast<std::size_t>(perPage));
  EXPECT_EQ(pages[0].front(), "line 1");
  EXPECT_EQ(pages[1].front(), "line " + std::to_string(perPage + 1));
  EXPECT_EQ(pages.back().back(), "line 100");
}

TEST_F(Printing, APageRangeAndCopiesEachFromANewPage) {
  WriteLines(10);
  const int perPage = PrintToPdf("probe.pdf", std::nullopt, 1).linesPerPage;
  WriteLines(3 * perPage - 10);  // three full pages in all

  const PrintOutcome range = PrintToPdf("range.pdf", host::PageRange{2, 3}, 1);
  EXPECT_EQ(range.linesPrinted, static_cast<std::size_t>(2 * perPage));
  // The range ends at a page's end: no empty page follows.
  EXPECT_EQ(PdfPageCount(folder_.File("range.pdf")), 2);
  const auto rangePages = PdfPages(folder_.File("range.pdf"));
  ASSERT_EQ(rangePages.size(), 2u);
  EXPECT_EQ(rangePages[0].front(), "line " + std::to_string(perPage + 1 - 10));

  const PrintOutcome copies = PrintToPdf("copies.pdf", host::PageRange{3, 4}, 2);
  EXPECT_EQ(copies.linesPrinted, static_cast<std::size_t>(2 * perPage));
  const auto copyPages = PdfPages(folder_.File("copies.pdf"));
  ASSERT_EQ(copyPages.size(), 2u);
  EXPECT_EQ(copyPages[0], copyPages[1]);
}

TEST_F(Printing, CancelStopsAtTheNextLineAndTheFrameIsUsableAgain) {
  WriteLines(500);
  bool frameWasDisabled = false;
  QTimer::singleShot(0, [&] {
    frameWasDisabled = !frame_.isEnabled();
    QDialog* box = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (window->objectName() == "PrintProgress" && window->isVisible()) {
        box = qobject_cast<QDialog*>(window);
      }
    }
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->objectName(), "PrintProgress");
    EXPECT_EQ(box->windowTitle(), "KOVA");
    ASSERT_NE(box->findChild<QLabel*>(), nullptr);
    EXPECT_EQ(box->findChild<QLabel*>()->text(), "Printing...");
    box->findChild<QPushButton*>()->click();
  });
  const PrintOutcome outcome = PrintToPdf("cancelled.pdf", std::nullopt, 1);
  EXPECT_TRUE(frameWasDisabled);
  EXPECT_FALSE(outcome.completed);
  EXPECT_GE(outcome.linesPrinted, 1u);
  EXPECT_LT(outcome.linesPrinted, 10u);
  EXPECT_TRUE(frame_.isEnabled());
}

TEST_F(Printing, ThePrintDialogOffersPagesAndCancellingItPrintsNothing) {
  WriteLines(5);
  bool pagesOffered = false;
  ModalResponder user;
  user.Then([&](QWidget* modal) {
    auto* dialog = qobject_cast<QPrintDialog*>(modal);
    pagesOffered = dialog != nullptr && dialog->testOption(QAbstractPrintDialog::PrintPageRange) &&
                   dialog->minPage() == 1 && dialog->maxPage() == 32767;
    test_support::ClickButton(modal, QStringLiteral("Cancel"));
  });
  printing_.Print();
  EXPECT_TRUE(user.Done());
  EXPECT_TRUE(pagesOffered);
  EXPECT_TRUE(frame_.isEnabled());
}

// The file a print to PDF proposes, as the print dialog shows it.
std::string ProposedPdf(QWidget* printDialog) {
  const auto* name = printDialog->findChild<QLineEdit*>(QStringLiteral("filename"));
  return name != nullptr ? name->text().toStdString() : "no file name field";
}

TEST_F(Frame, PrintingToAFileProposesAPdfNamedAfterTheTranscript) {
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(folder_.Path());
  Write("line");
  std::vector<std::string> proposed;
  ModalResponder user;
  auto readAndCancel = [&proposed](QWidget* modal) {
    proposed.push_back(ProposedPdf(modal));
    test_support::ClickButton(modal, QStringLiteral("Cancel"));
  };
  user.Then(readAndCancel);
  Choose(host::command::kPrint);
  user.Then([&](QWidget* modal) {
    test_support::ChooseFile(modal, QString::fromStdString(folder_.File("session.txt")));
  });
  Choose(host::command::kSaveAs);
  user.Then(readAndCancel);
  Choose(host::command::kPrint);
  std::filesystem::current_path(before);
  EXPECT_EQ(proposed, (std::vector<std::string>{folder_.File("transcript.pdf"),
                                                folder_.File("session.pdf")}));
}

TEST_F(Frame, TheAboutBoxShowsTheMachinesFacts) {
  std::map<std::string, QString> fields;
  QString title;
  ModalResponder user;
  user.Then([&](QWidget* modal) {
    title = modal->windowTitle();
    for (QLabel* label : modal->findChildren<QLabel*>()) {
      fields[label->objectName().isEmpty() ? label->text().toStdString()
                                           : label->objectName().toStdString()] = label->text();
    }
    QTest::keyClick(modal, Qt::Key_Escape);
  });
  Choose(host::command::kAbout);
  EXPECT_TRUE(user.Done());
  EXPECT_EQ(title, "About KOVA");
  EXPECT_EQ(fields.count("KOVA Application Framework"), 1u);
  EXPECT_EQ(fields["PageSize"], QString::number(sysconf(_SC_PAGESIZE)));
  const QRegularExpression address(QStringLiteral("^0x[0-9a-f]{8,16}$"));
  EXPECT_TRUE(address.match(fields["MinimumAddress"]).hasMatch())
      << fields["MinimumAddress"].toStdString();
  EXPECT_TRUE(address.match(fields["MaximumAddress"]).hasMatch())
      << fields["MaximumAddress"].toStdString();
  EXPECT_EQ(fields["ProcessorCount"], QString::number(sysconf(_SC_NPROCESSORS_ONLN)));
#if defined(__x86_64__)
  EXPECT_EQ(fields["ProcessorType"], "8664");
#endif

  user.Then([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Return); });  // Enter ends it too
  Choose(host::command::kAbout);
  EXPECT_TRUE(user.Done());
}

TEST_F(Frame, TheWindowMenuArrangesAndListsTheChildWindows) {
  int width = 0, height = 0;
  ASSERT_TRUE(Services().OpenGraphicsWindow(width, height, "Plot", 1, {}));
  QMdiArea* client = host_.Frame().Client();
  QTest::keyClick(ConsoleWindow()->widget(), Qt::Key_F4, Qt::ShiftModifier);  // Tile
  const QRect tiledConsole = ConsoleWindow()->geometry();
  const QRect tiledGraphics = Services().GraphicsWindow()->geometry();
  EXPECT_FALSE(tiledConsole.intersects(tiledGraphics));
  QTest::keyClick(ConsoleWindow()->widget(), Qt::Key_F5, Qt::ShiftModifier);  // Cascade
  EXPECT_NE(ConsoleWindow()->geometry(), tiledConsole);

  QMenu* windowMenu = host_.Frame().menuBar()->actions()[host::kWindowMenuPosition]->menu();
  emit windowMenu->aboutToShow();
  QStringList entries;
  QAction* second = nullptr;
  for (QAction* action : windowMenu->actions()) {
    const int id = action->data().toInt();
    if (id >= host::command::kFirstChildWindow && id < host::command::kSave) {
      entries << action->text() + (action->isChecked() ? " *" : "");
      if (id == host::command::kFirstChildWindow + 1) second = action;
    }
  }
  EXPECT_EQ(entries, (QStringList{"&1 Input/Output *", "&2 Plot"}));
  ASSERT_NE(second, nullptr);
  second->trigger();
  EXPECT_EQ(client->activeSubWindow(), Services().GraphicsWindow());

  Services().GraphicsWindow()->showMinimized();
  Choose(host::command::kArrangeIcons);
  const QRect icon = Services().GraphicsWindow()->geometry();
  EXPECT_EQ(icon.left(), 0);
  EXPECT_EQ(icon.bottom(), client->viewport()->height() - 1);
}

TEST_F(Frame, ProgramMenuItemsCallTheirCallbacksWithTheirCheckedState) {
  ProgramServices& services = Services();
  std::vector<std::pair<std::string, bool>> calls;
  auto record = [&calls](std::string name) {
    return [&calls, name](bool& checked) { calls.emplace_back(name, checked); };
  };
  ASSERT_TRUE(services.AppendMenuItem(1, menu_flag::kString, "Plot   ", record("plot")));
  ASSERT_TRUE(services.AppendMenuItem(1, menu_flag::kChecked, "Log", record("log")));
  ASSERT_TRUE(services.InsertMenuItem(4, 0, 0, "Analysis", {}));  // a menu of its own
  ASSERT_TRUE(services.InsertMenuItem(4, 1, 0, "Rerun", record("rerun")));
  ASSERT_TRUE(services.AppendMenuItem(4, menu_flag::kGrayed, "Later", record("later")));
  EXPECT_EQ(services.NextMenuId(), 804);
  EXPECT_FALSE(services.AppendMenuItem(9, 0, "nowhere", {}));

  EXPECT_EQ(Item(800)->text(), "Plot");
  EXPECT_EQ(host_.Frame().menuBar()->actions()[3]->text(), "Analysis");
  Item(800)->trigger();
  Item(801)->trigger();
  Item(802)->trigger();
  Item(803)->trigger();                               // gray: nothing happens
  services.CheckMenuItem(1, 9, menu_flag::kChecked);  // "Plot" is the ninth item of File
  Item(800)->trigger();
  EXPECT_EQ(calls, (std::vector<std::pair<std::string, bool>>{
                       {"plot", false}, {"log", true}, {"rerun", false}, {"plot", true}}));

  services.DeleteMenuItem(4, 1);
  EXPECT_EQ(Item(802), nullptr);
}

TEST_F(Frame, AProgramNamesItsMenusAndItems) {
  ProgramServices& services = Services();
  EXPECT_FALSE(ProgramMenu::InsertBefore(services, "Nowhere", "&Results"));
  std::optional<ProgramMenu> results = ProgramMenu::InsertBefore(services, "Window", "&Results");
  ASSERT_TRUE(results);
  std::vector<std::string> chosen;
  ASSERT_TRUE(results->AddItem("&Show", [&chosen] { chosen.push_back("show"); }));
  ASSERT_TRUE(results->AddItem("Log scale", [&chosen] { chosen.push_back("log"); }));
  QStringList menus;
  for (QAction* menu : host_.Frame().menuBar()->actions())
    menus << menu->text();
  EXPECT_EQ(menus, (QStringList{"&File", "&Edit", "&Results", "&Window"}));

  EXPECT_TRUE(results->SetChecked("Log scale", true));
  EXPECT_TRUE(Item(801)->isChecked());
  EXPECT_FALSE(results->SetChecked("Linear scale", true));
  Item(800)->trigger();
  Item(801)->trigger();
  EXPECT_EQ(chosen, (std::vector<std::string>{"show", "log"}));
  EXPECT_TRUE(results->RemoveItem("Show"));
  EXPECT_EQ(Item(800), nullptr);
  EXPECT_FALSE(results->RemoveItem("Show"));

  // The frame's own menus are named too; an item's shortcut is not part of its name.
  std::optional<ProgramMenu> edit = ProgramMenu::Find(services, "Edit");
  ASSERT_TRUE(edit);
  EXPECT_TRUE(edit->SetChecked("Copy", true));
  EXPECT_TRUE(Item(host::command::kCopy)->isChecked());
}

TEST_F(Frame, TimersCallTheirCallbacksUntilKilled) {
  ProgramServices& services = Services();
  std::vector<int> fired;
  ASSERT_TRUE(services.SetTimer(17, 5, [&fired] { fired.push_back(17); }));
  ASSERT_TRUE(services.SetTimer(23, 5, [&fired] { fired.push_back(23); }));
  EXPECT_TRUE(QTest::qWaitFor([&] { return fired.size() >= 6; }, 2000));
  services.KillTimer(17);
  fired.clear();
  QTest::qWait(60);
  EXPECT_FALSE(fired.empty());
  EXPECT_EQ(std::count(fired.begin(), fired.end(), 17), 0);
  services.KillTimer(23);

  for (int id = 1; id <= 100; ++id)
    ASSERT_TRUE(services.SetTimer(id, 100000, {}));
  EXPECT_FALSE(services.SetTimer(101, 100000, {}));
  for (int id = 1; id <= 100; ++id)
    services.KillTimer(id);
}

TEST_F(Frame, AGraphicsWindowPaintsWhatItsRoutineDraws) {
  ProgramServices& services = Services();
  int width = 0, height = 0;
  ASSERT_TRUE(services.OpenGraphicsWindow(width, height, "   ", 1, [](QPainter& surface) {
    surface.fillRect(QRect(10, 10, 50, 30), Qt::red);
  }));
  EXPECT_EQ(width, 600);  // written back
  EXPECT_EQ(height, 300);
  QMdiSubWindow* window = services.GraphicsWindow();
  EXPECT_EQ(window->objectName(), "MDIGRAPH");
  EXPECT_EQ(window->windowTitle(), "Graphics");
  EXPECT_EQ(window->size(), QSize(600, 300));
  EXPECT_EQ(host_.Frame().Client()->activeSubWindow(), ConsoleWindow());
  const QImage image = window->widget()->grab().toImage();
  EXPECT_EQ(image.pixelColor(30, 20), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(80, 80), QColor(Qt::white));
  window->close();
  EXPECT_TRUE(window->isVisible());
  int w = 10, h = 10;
  EXPECT_FALSE(services.OpenGraphicsWindow(w, h, "second", 1, {}));
}

// Opened by name, in metric units; raised again after it was minimized.
TEST_F(Frame, AGraphicsWindowInMetricUnitsHasItsYAxisUp) {
  ProgramServices& services = Services();
  EXPECT_FALSE(RaiseGraphicsWindow(services));
  ASSERT_TRUE(OpenGraphicsWindow(
      services, {"Metric", QSize(300, 200), host::MappingMode::LowMetric, [](QPainter& s) {
                   // 1 cm by 1 cm below the top left corner
                   s.fillRect(QRectF(0, -100, 100, 100), Qt::blue);
                 }}));
  QMdiSubWindow* window = services.GraphicsWindow();
  EXPECT_EQ(window->size(), QSize(300, 200));
  const QImage image = window->widget()->grab().toImage();
  const double pixelsPerCentimetre = window->widget()->logicalDpiX() / 2.54;
  EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::blue));
  EXPECT_EQ(image.pixelColor(static_cast<int>(pixelsPerCentimetre) - 2, 2), QColor(Qt::blue));
  EXPECT_EQ(image.pixelColor(static_cast<int>(pixelsPerCentimetre) + 3, 2), QColor(Qt::white));

  window->showMinimized();
  EXPECT_TRUE(RaiseGraphicsWindow(services));
  EXPECT_FALSE(window->isMinimized());
  EXPECT_EQ(host_.Frame().Client()->activeSubWindow(), window);
}

TEST_F(Frame, TheTickFiresOneHundredMillisecondsAfterItStarts) {
  ProgramServices& services = Services();
  EXPECT_TRUE(services.TickFired());
  EXPECT_NE(services.StartTick(), 0);
  EXPECT_FALSE(services.TickFired());
  QTest::qWait(110);
  EXPECT_TRUE(services.TickFired());
}

}  // namespace
}  // namespace kova::win
