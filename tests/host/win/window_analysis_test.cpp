// The analysis in the window: a whole run typed as key events gives the files kova-cli
// gives, the "Results" menu shows and saves the picture kova-cli draws, and the routes that
// end the process give their exit codes and keep what was written.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QColor>
#include <QImage>
#include <QXmlStreamReader>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "driver/analysis_main.h"
#include "host/win/console_host.h"
#include "tests/host/win/scripted_user.h"
#include "tests/support/console_capture.h"
#include "tests/support/process_runner.h"
#include "tests/support/scratch_folder.h"
#include "textio/run_endings.h"
#include "textio/units.h"

namespace kova::test_support {
namespace {

[[noreturn]] void ThrowRunEnded(int exitCode) {
  throw RunEnded{exitCode};
}

void CopyExample(const ScratchFolder& folder, const std::string& example) {
  const auto source = SourceFolder() / "examples" / example;
  std::filesystem::copy_file(source / "data.txt", folder.Path() / "data.txt");
  std::filesystem::copy_file(source / "groups.txt", folder.Path() / "groups.txt");
}

std::vector<std::string> SplitLines(const std::string& text, const std::string& end) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t found; (found = text.find(end, start)) != std::string::npos;
       start = found + end.size()) {
    lines.push_back(text.substr(start, found - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// The window's transcript of a run: each prompt with the answer typed below it, every
// record kova-cli wrote, and the stop's three lines.
std::vector<std::string> ExpectedTranscript(const std::string& cliOutput,
                                            const std::vector<std::string>& answers) {
  std::vector<std::string> expected;
  const std::vector<std::string> records = SplitLines(cliOutput, "\r\n");
  for (std::size_t k = 0; k < records.size(); ++k) {
    expected.push_back(records[k]);
    if (k < answers.size()) expected.push_back(answers[k]);
  }
  for (const char* stop : {" STOP ", " ", ""})
    expected.emplace_back(stop);
  return expected;
}

ProcessResult RunCli(const ScratchFolder& folder, const std::string& answers) {
  return RunProcess(KOVA_CLI_PROGRAM, {}, answers, folder.Path().string());
}

ProcessResult RunScripted(const ScratchFolder& folder, const std::vector<std::string>& actions) {
  return RunProcess(KOVA_SCRIPTED_PROGRAM, actions, "", folder.Path().string());
}

// Runs the real analysis in a window of this process, with `actions` as the user.
struct WindowRun {
  int exitCode = -1000;
  std::string transcript;
};

WindowRun RunInWindow(const ScratchFolder& folder, const std::vector<std::string>& actions) {
  const auto previousFolder = std::filesystem::current_path();
  std::filesystem::current_path(folder.Path());
  WindowRun run;
  {
    win::ConsoleHost host(QStringLiteral("kova"));
    host.Show();
    const ConsoleHooks previousHooks = Console();
    InstallConsoleHooks(host.Operations());
    const ProcessExitFunction previousExit = SetProcessExit(&ThrowRunEnded);
    ScriptedUser user(host, ParseUserActions(actions));
    try {
      RunAnalysis();
    } catch (const RunEnded& ended) {
      run.exitCode = ended.exitCode;
    }
    run.transcript = TranscriptText(host.Lines());
    SetProcessExit(previousExit);
    CloseAllUnits();
    ResetConsoleInput();
    InstallConsoleHooks(previousHooks);
  }
  std::filesystem::current_path(previousFolder);
  return run;
}

TEST(WindowAnalysis, AnswersTypedInTheWindowGiveTheFilesOfKovaCli) {
  ScratchFolder windowFolder;
  ScratchFolder cliFolder;
  CopyExample(windowFolder, "dune_management");
  CopyExample(cliFolder, "dune_management");

  const ProcessResult cli = RunCli(cliFolder, "data.txt\n7\n25\ngroups.txt\n");
  ASSERT_EQ(cli.exitCode, 0);
  const WindowRun window = RunInWindow(windowFolder, {"type:data.txt", "type:7", "type:25",
                                                      "type:groups.txt", "await-end", "close:No"});
  EXPECT_EQ(window.exitCode, 0);
  EXPECT_EQ(ReadWholeFile(windowFolder.File("RESULTS.TXT")),
            ReadWholeFile(cliFolder.File("RESULTS.TXT")));

  EXPECT_EQ(SplitLines(window.transcript, "\n"),
            ExpectedTranscript(cli.output, {"data.txt", "7", "25", "groups.txt"}));
}

TEST(WindowAnalysis, YesOnClosingSavesTheTranscriptToTheChosenFile) {
  ScratchFolder folder;
  ScratchFolder cliFolder;
  CopyExample(folder, "dune_management");
  CopyExample(cliFolder, "dune_management");
  const ProcessResult run =
      RunScripted(folder, {"type:data.txt", "type:2", "type:3", "type:groups.txt", "await-end",
                           "close:Yes", "save-as:" + folder.File("session")});
  EXPECT_EQ(run.exitCode, 0);
  const ProcessResult cli = RunCli(cliFolder, "data.txt\n2\n3\ngroups.txt\n");
  std::string expected;
  for (const std::string& line :
       ExpectedTranscript(cli.output, {"data.txt", "2", "3", "groups.txt"})) {
    expected += line + "\r\n";
  }
  EXPECT_EQ(ReadWholeFile(folder.File("session.txt")), expected);
}

// How many of an image's pixels have exactly the given colour.
// Pixels of about `colour`: a thin line scaled down is smoothed into its neighbours' colours,
// and how much so depends on where it falls between the pixels.
int PixelsOf(const QImage& image, QColor colour) {
  constexpr int kNear = 60;
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor pixel = image.pixelColor(x, y);
      count += std::abs(pixel.red() - colour.red()) < kNear &&
                       std::abs(pixel.green() - colour.green()) < kNear &&
                       std::abs(pixel.blue() - colour.blue()) < kNear
                   ? 1
                   : 0;
    }
  }
  return count;
}

// The picture is shown in the graphics window and saved as SVG and PNG once the run has
// ended; the SVG is the one kova-cli --plot writes for the same answers. Both images are
// kept in the build folder's pictures/ for a person to look at.
TEST(WindowAnalysis, TheResultsMenuShowsAndSavesThePictureOfTheRun) {
  ScratchFolder folder;
  ScratchFolder cliFolder;
  CopyExample(folder, "dune_management");
  CopyExample(cliFolder, "dune_management");
  const ProcessResult run = RunScripted(
      folder, {"type:data.txt", "type:1", "type:999", "type:groups.txt", "await-end",
               "choose:Distributions", "grab:" + folder.File("graphics-window.png"),
               "save-as:" + folder.File("picture"), "choose:Save Picture as SVG...",
               "await-file:" + folder.File("picture.svg"), "save-as:" + folder.File("picture"),
               "choose:Save Picture as PNG...", "await-file:" + folder.File("picture.png"),
               "close:No"});
  ASSERT_EQ(run.exitCode, 0) << run.error;
  const ProcessResult cli =
      RunProcess(KOVA_CLI_PROGRAM,
                 {"--data", "data.txt", "--groups", "groups.txt", "--seed", "1",
                  "--randomizations", "999", "--plot", "plot.svg"},
                 "", cliFolder.Path().string());
  ASSERT_EQ(cli.exitCode, 0);
  const std::string svg = ReadWholeFile(folder.File("picture.svg"));
  EXPECT_EQ(svg, ReadWholeFile(cliFolder.File("plot.svg")));

  QXmlStreamReader reader(QByteArray::fromStdString(svg));
  int panels = 0;
  while (!reader.atEnd()) {
    if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == u"g" &&
        reader.attributes().value("class") == u"panel") {
      ++panels;
    }
  }
  EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
  EXPECT_EQ(panels, 5);

  // The saved image at twice the picture's size, and the window's: both show the bars and the
  // observed sums' red lines.
  const QImage picture(QString::fromStdString(folder.File("picture.png")));
  const QImage window(QString::fromStdString(folder.File("graphics-window.png")));
  EXPECT_EQ(picture.size(), QSize(1920, 1240));
  EXPECT_EQ(window.size(), QSize(736, 500));
  for (const QImage* image : {&picture, &window}) {
    EXPECT_GT(PixelsOf(*image, QColor(155, 183, 212)), image->width() * image->height() / 50);
    EXPECT_GT(PixelsOf(*image, QColor(214, 39, 40)), 5 * image->height() / 10);
  }
  const std::filesystem::path kept = KOVA_PICTURES_DIR;
  std::filesystem::create_directories(kept);
  for (const char* name : {"picture.png", "graphics-window.png", "picture.svg"}) {
    std::filesystem::copy_file(folder.Path() / name, kept / name,
                               std::filesystem::copy_options::overwrite_existing);
  }
}

void CopyCsvExample(const ScratchFolder& folder, const std::string& groupsName) {
  const auto source = SourceFolder() / "examples" / "dune_management";
  std::filesystem::copy_file(source / "community.csv", folder.Path() / "community.csv");
  std::filesystem::create_directories((folder.Path() / groupsName).parent_path());
  std::filesystem::copy_file(source / "groups.csv", folder.Path() / groupsName);
}

// A person's session with R's files: the first name chosen in the file dialog, the second
// too (a folder with a blank: typed quoted), then Results > Species, sorted by value, every
// row copied, the next variant chosen and copied, and the table saved as CSV; then the
// picture, tiled in a small frame. The files
// are kova-cli's, each window opens in front with the keyboard, and the picture keeps text of
// 8 pixels (its smallest text is 11 units of its 960 by 620).
TEST(WindowAnalysis, FilesChosenInTheDialogAndTheSpeciesWindowOfTheRun) {
  ScratchFolder folder;
  ScratchFolder cliFolder;
  const std::string groups = "R files/groups.csv";
  CopyCsvExample(folder, groups);
  CopyCsvExample(cliFolder, groups);
  const ProcessResult run = RunScripted(
      folder, {"await-lines:1", "save-as:" + folder.File("community.csv"),
               "choose:Open File Name...", "await-lines:3", "type:1", "type:99", "await-lines:7",
               "save-as:" + folder.File(groups), "choose:Open File Name...", "await-end",
               "transcript:shown.txt", "choose:Species", "await-window:Species",
               "front:species-front.txt",
               "sort:value", "keys:Ctrl+A", "keys:Ctrl+C", "clipboard:copied.txt",
               "keys:Alt+V", "keys:Down", "keys:Tab", "keys:Tab", "keys:Ctrl+A", "keys:Ctrl+C",
               "clipboard:copied-acf.txt",
               "save-as:" + folder.File("saved"), "press:Save as CSV...",
               "await-file:" + folder.File("saved.csv"), "choose:Distributions",
               "await-window:Randomization distributions", "front:picture-front.txt",
               "frame-size:640x480", "choose:Tile", "wait:200", "grab:tiled.png", "close:No"});
  ASSERT_EQ(run.exitCode, 0) << run.error;
  const ProcessResult cli = RunProcess(
      KOVA_CLI_PROGRAM,
      {"--community", "community.csv", "--groups", groups, "--seed", "1", "--randomizations", "99",
       "--species-table", "species.csv"},
      "", cliFolder.Path().string());
  ASSERT_EQ(cli.exitCode, 0) << cli.error;
  EXPECT_EQ(ReadWholeFile(folder.File("RESULTS.TXT")),
            ReadWholeFile(cliFolder.File("RESULTS.TXT")));
  EXPECT_EQ(ReadWholeFile(folder.File("saved.csv")), ReadWholeFile(cliFolder.File("species.csv")));
  const std::vector<std::string> shown =
      SplitLines(ReadWholeFile(folder.File("shown.txt")), "\n");
  ASSERT_GT(shown.size(), 8u);
  EXPECT_EQ(shown[1], "community.csv");
  EXPECT_EQ(shown[7], "'R files/groups.csv'");
  EXPECT_EQ(ReadWholeFile(folder.File("species-front.txt")), "Species with the keyboard");
  EXPECT_EQ(ReadWholeFile(folder.File("picture-front.txt")),
            "Randomization distributions with the keyboard");

  // The header and all 30 species, by value from the smallest.
  const std::vector<std::string> copied =
      SplitLines(ReadWholeFile(folder.File("copied.txt")), "\n");
  ASSERT_EQ(copied.size(), 31u);
  EXPECT_EQ(copied[0], "species\tname\tgroup\tvalue\tA\tB\tp\tp Holm\tp BH");
  double previous = 0;
  for (std::size_t row = 1; row < copied.size(); ++row) {
    const std::vector<std::string> fields = SplitLines(copied[row], "\t");
    ASSERT_EQ(fields.size(), 9u) << copied[row];
    EXPECT_GE(std::stod(fields[3]), previous) << copied[row];
    previous = std::stod(fields[3]);
  }
  // The variant box's next variant, ACF, has no A and B.
  const std::vector<std::string> acf =
      SplitLines(ReadWholeFile(folder.File("copied-acf.txt")), "\n");
  ASSERT_EQ(acf.size(), 31u);
  EXPECT_EQ(acf[0], "species\tname\tgroup\tvalue\tp\tp Holm\tp BH");

  const QImage tiled(QString::fromStdString(folder.File("tiled.png")));
  EXPECT_GE(tiled.width(), 960 * 8 / 11);
  EXPECT_GE(tiled.height(), 620 * 8 / 11);
}

// kova's options are kova-cli's: a run gives its console text and files, a fault its one line
// and exit code 2, in the window.
TEST(WindowAnalysis, TheOptionsOfKovaCliRunInTheWindow) {
  const struct {
    std::vector<std::string> options;
    int exitCode;
  } cases[] = {
      {{"--community", "community.csv", "--groups", "groups.csv", "--seed", "1",
        "--randomizations", "99", "--species-report"},
       0},
      {{"--community", "community.csv", "--groups", "groups.csv", "--seed", "1"}, 2},
  };
  for (const auto& c : cases) {
    ScratchFolder folder;
    ScratchFolder cliFolder;
    CopyCsvExample(folder, "groups.csv");
    CopyCsvExample(cliFolder, "groups.csv");
    std::vector<std::string> actions = {"await-end", "transcript:shown.txt", "close:No", "--"};
    actions.insert(actions.end(), c.options.begin(), c.options.end());
    const ProcessResult run = RunScripted(folder, actions);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.error;
    const ProcessResult cli =
        RunProcess(KOVA_CLI_PROGRAM, c.options, "", cliFolder.Path().string());
    ASSERT_EQ(cli.exitCode, c.exitCode);
    const std::string shown = ReadWholeFile(folder.File("shown.txt"));
    if (c.exitCode == 0) {
      EXPECT_EQ(SplitLines(shown, "\n"), ExpectedTranscript(cli.output, {}));
      EXPECT_EQ(ReadWholeFile(folder.File("RESULTS.TXT")),
                ReadWholeFile(cliFolder.File("RESULTS.TXT")));
    } else {
      EXPECT_EQ("kova-cli" + shown.substr(std::string("kova").size()), cli.error);
      EXPECT_FALSE(std::filesystem::exists(folder.File("RESULTS.TXT")));
    }
  }
}

TEST(WindowAnalysis, ARunTimeErrorShowsItsReportAndEndsWithMinusOne) {
  ScratchFolder folder;
  CopyExample(folder, "dune_management");
  folder.Write("letters.txt", "title\n1 2 2\n1 x\n");
  const ProcessResult run =
      RunScripted(folder, {"type:letters.txt", "await-end", "transcript:shown.txt", "close:No"});
  EXPECT_EQ(run.exitCode, 255);
  EXPECT_EQ(ReadWholeFile(folder.File("shown.txt")),
            "  ENTER INPUT FILENAME\nletters.txt\n? FORTRAN Runtime Error:\n"
            "? Illegal character in numeric input\n? READ(UNIT=\n1,...\n");
}

TEST(WindowAnalysis, ClosingWhileAReadWaitsEndsWithCodeZero) {
  ScratchFolder folder;
  const ProcessResult run = RunScripted(folder, {"await-lines:1", "close:No"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_FALSE(std::filesystem::exists(folder.File("RESULTS.TXT")));
}

TEST(WindowAnalysis, CancelKeepsTheRunGoing) {
  ScratchFolder folder;
  ScratchFolder cliFolder;
  CopyExample(folder, "dune_management");
  CopyExample(cliFolder, "dune_management");
  const ProcessResult run =
      RunScripted(folder, {"type:data.txt", "close:Cancel", "type:3", "type:4", "type:groups.txt",
                           "await-end", "close:No"});
  EXPECT_EQ(run.exitCode, 0);
  ASSERT_EQ(RunCli(cliFolder, "data.txt\n3\n4\ngroups.txt\n").exitCode, 0);
  EXPECT_EQ(ReadWholeFile(folder.File("RESULTS.TXT")),
            ReadWholeFile(cliFolder.File("RESULTS.TXT")));
}

TEST(WindowAnalysis, ClosingMidRunKeepsEveryRecordWrittenSoFar) {
  ScratchFolder folder;
  ScratchFolder cliFolder;
  CopyExample(folder, "dune_management");
  CopyExample(cliFolder, "dune_management");
  const ProcessResult run =
      RunScripted(folder, {"type:data.txt", "type:5", "type:3000", "type:groups.txt",
                           "await-lines:800", "transcript:shown.txt", "close:No"});
  EXPECT_EQ(run.exitCode, 0);
  ASSERT_EQ(RunCli(cliFolder, "data.txt\n5\n3000\ngroups.txt\n").exitCode, 0);
  const std::string whole = ReadWholeFile(cliFolder.File("RESULTS.TXT"));
  const std::string cut = ReadWholeFile(folder.File("RESULTS.TXT"));
  ASSERT_LT(cut.size(), whole.size());              // the run was cut short...
  EXPECT_EQ(whole.compare(0, cut.size(), cut), 0);  // ...its file is the whole run's start
  EXPECT_EQ(cut.substr(cut.size() - 2), "\r\n");    // and ends with a complete record
  // Every step the window showed is in the file.
  const std::string shown = ReadWholeFile(folder.File("shown.txt"));
  const std::size_t lastStep = shown.rfind("Randomization step");
  ASSERT_NE(lastStep, std::string::npos);
  const std::string stepLine = shown.substr(lastStep, shown.find('\n', lastStep) - lastStep);
  EXPECT_NE(cut.find(stepLine + "\r\n"), std::string::npos) << stepLine;
}

TEST(WindowStart, WithoutADisplayItSaysSoAndEndsWithSix) {
  ScratchFolder folder;
  const ProcessResult unset = RunProcess(KOVA_PROGRAM, {}, "", folder.Path().string(),
                                         {{"QT_QPA_PLATFORM", ""}, {"DISPLAY", ""}});
  EXPECT_EQ(unset.exitCode, 6);
  EXPECT_EQ(std::count(unset.error.begin(), unset.error.end(), '\n'), 1) << unset.error;
  EXPECT_NE(unset.error.find("DISPLAY"), std::string::npos) << unset.error;

  const ProcessResult absent = RunProcess(KOVA_PROGRAM, {}, "", folder.Path().string(),
                                          {{"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", ":97"}});
  EXPECT_EQ(absent.exitCode, 6);
  EXPECT_EQ(absent.error, "kova: cannot open the display \":97\"\n");
}

}  // namespace
}  // namespace kova::test_support
