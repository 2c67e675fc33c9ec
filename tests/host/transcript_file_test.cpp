// Saving the transcript: the file's exact bytes, and what a failed save leaves behind.
#include "host/transcript_file.h"

#include <gtest/gtest.h>

#include "tests/support/scratch_folder.h"

namespace kova::host {
namespace {

using kova::test_support::ReadWholeFile;
using kova::test_support::ScratchFolder;

Transcript Lines(std::initializer_list<std::string_view> lines) {
  Transcript transcript;
  for (const std::string_view line : lines) {
    transcript.OpenLine();
    transcript.AppendToLastLine(line);
  }
  return transcript;
}

TEST(SaveTranscript, EveryLineEndsWithCarriageReturnAndLineFeed) {
  ScratchFolder folder;
  Transcript three = Lines({"  ENTER INPUT FILENAME", "", std::string_view("a\tb\nc", 5)});
  EXPECT_EQ(SaveTranscript(three, folder.File("three.txt")), SaveOutcome::Saved);
  EXPECT_EQ(ReadWholeFile(folder.File("three.txt")),
            std::string("  ENTER INPUT FILENAME\r\n\r\na\tb\nc\r\n"));
  EXPECT_TRUE(three.Saved());

  Transcript empty;
  EXPECT_EQ(SaveTranscript(empty, folder.File("empty.txt")), SaveOutcome::Saved);
  EXPECT_EQ(ReadWholeFile(folder.File("empty.txt")), "");

  // Saving again replaces the whole file.
  folder.Write("old.txt", std::string(100000, 'x'));
  Transcript one = Lines({"new"});
  EXPECT_EQ(SaveTranscript(one, folder.File("old.txt")), SaveOutcome::Saved);
  EXPECT_EQ(ReadWholeFile(folder.File("old.txt")), "new\r\n");
  one.OpenLine();  // any change makes it unsaved again
  EXPECT_FALSE(one.Saved());
}

TEST(SaveTranscript, ALongTranscriptIsWrittenWhole) {
  ScratchFolder folder;
  Transcript transcript;
  std::string expected;
  for (int line = 0; line < 20000; ++line) {
    const std::string text = " Randomization step " + std::to_string(line);
    transcript.OpenLine();
    transcript.AppendToLastLine(text);
    expected += text + "\r\n";
  }
  EXPECT_EQ(SaveTranscript(transcript, folder.File("long.txt")), SaveOutcome::Saved);
  EXPECT_EQ(ReadWholeFile(folder.File("long.txt")), expected);
}

TEST(SaveTranscript, AFailedSaveLeavesTheTranscriptUnsaved) {
  Transcript transcript = Lines({"line"});
  EXPECT_EQ(SaveTranscript(transcript, "/nonexistent-folder/kova.txt"), SaveOutcome::CannotCreate);
  EXPECT_FALSE(transcript.Saved());
  // A full device: the file opens, the write fails.
  EXPECT_EQ(SaveTranscript(transcript, "/dev/full"), SaveOutcome::WriteFailed);
  EXPECT_FALSE(transcript.Saved());
}

TEST(FileTitle, IsThePartAfterTheLastSlash) {
  EXPECT_EQ(FileTitle("/home/ecologist/dune run.txt"), "dune run.txt");
  EXPECT_EQ(FileTitle("saved.txt"), "saved.txt");
}

TEST(PdfFileFor, IsTheSavedTranscriptsNameOrTranscriptInTheWorkingFolder) {
  struct Case {
    std::string saved;
    std::string expected;
  };
  const Case cases[] = {
      {"", "/runs/dune/transcript.pdf"},
      {"/home/ecologist/dune run.txt", "/home/ecologist/dune run.pdf"},
      {"/home/ecologist/run.2024.txt", "/home/ecologist/run.2024.pdf"},
      {"/home/ecologist/session", "/home/ecologist/session.pdf"},
  };
  for (const Case& each : cases)
    EXPECT_EQ(PdfFileFor(each.saved, "/runs/dune"), each.expected) << each.saved;
}

}  // namespace
}  // namespace kova::host
