// The Input/Output window and the frame as a user meets them, without a real display: keys
// and mouse in, text, menus and the clipboard out.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "host/main_menu.h"
#include "host/win/clipboard.h"
#include "host/win/console_host.h"
#include "host/win/copies_selection.h"
#include "host/win/frame_window.h"
#include "host/win/input_output_widget.h"
#include "tests/host/win/modal_responder.h"

namespace kova::win {
namespace {

class Window : public ::testing::Test {
 protected:
  Window() : host_(QStringLiteral("kova")) {
    host_.Show();
    console_ = host_.Operations();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&host_.Frame()));
  }

  void Write(std::string_view text) {
    console_.WriteText(text.data(), text.size(), ConsoleStream::Output);
  }
  std::string Line(std::size_t row) const { return std::string(host_.Lines().Line(row)); }
  QMdiSubWindow* ConsoleWindow() { return host_.Frame().ConsoleWindow(); }
  InputOutputWidget& Console() {
    return *qobject_cast<InputOutputWidget*>(ConsoleWindow()->widget());
  }
  QWidget* Viewport() { return Console().viewport(); }
  QPoint CellCentre(int column, int row) {
    const CellMetrics cells = MeasureCells(ConsoleFont());
    return QPoint(column * cells.width + cells.width / 2, row * cells.height + cells.height / 2);
  }
  QAction* Item(int id) { return test_support::MenuItemWithId(host_.Frame(), id); }
  bool Enabled(int id) { return Item(id)->isEnabled(); }

  // Reads one line as the text layer does, while `user` acts inside the read's wait.
  std::string ReadWhile(const std::function<void()>& user) {
    QTimer::singleShot(0, user);
    char buffer[256];
    const std::size_t count = console_.ReadLine(buffer, sizeof buffer);
    return std::string(buffer, count);
  }

  ConsoleHost host_;
  ConsoleHooks console_;
};

TEST(ConsoleFont, EveryCharacterAdvancesByOneWholeCell) {
  const QFont font = ConsoleFont();
  const CellMetrics cells = MeasureCells(font);
  const QFontMetricsF metrics(font);
  EXPECT_GT(cells.width, 0);
  EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("W")), cells.width);
  EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("WWWW")), 4 * cells.width);
  EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("i.W\u00B7\u00E9")), 5 * cells.width);
}

TEST_F(Window, WindowsMenusAndAcceleratorsStartAsSpecified) {
  EXPECT_EQ(host_.Frame().objectName(), "MDIFRAME");
  EXPECT_EQ(host_.Frame().windowTitle(), "kova");
  EXPECT_EQ(host_.Frame().Client()->objectName(), "MDICLIENT");
  EXPECT_EQ(ConsoleWindow()->objectName(), "MDICHILD");
  EXPECT_EQ(ConsoleWindow()->windowTitle(), "Input/Output");
  EXPECT_EQ(host_.Frame().menuBar()->objectName(), "MainMenu");
  EXPECT_TRUE(Console().hasFocus());

  const QList<QAction*> popups = host_.Frame().menuBar()->actions();
  ASSERT_EQ(popups.size(), 3);
  EXPECT_EQ(popups[0]->text(), "&File");
  EXPECT_EQ(popups[1]->text(), "&Edit");
  EXPECT_EQ(popups[2]->text(), "&Window");
  for (const int id : {500, 501, 510, 520, 530, 700, 701, 702})
    EXPECT_TRUE(Enabled(id)) << id;
  for (const int id : {600, 610, 611, 612, 613})
    EXPECT_FALSE(Enabled(id)) << id;
  EXPECT_EQ(Item(611)->text(), "&Copy\tCtrl+C");
  EXPECT_EQ(Item(611)->shortcut(), QKeySequence(QStringLiteral("Ctrl+C")));
  EXPECT_EQ(Item(701)->shortcut(), QKeySequence(QStringLiteral("Shift+F5")));

  // The user cannot close the Input/Output window: its system menu's Close is gray, and a
  // close is refused.
  QMenu* systemMenu = ConsoleWindow()->systemMenu();
  ASSERT_NE(systemMenu, nullptr);
  int closeEntries = 0;
  for (QAction* action : systemMenu->actions()) {
    if (action->text().contains(QStringLiteral("Close"))) {
      ++closeEntries;
      EXPECT_FALSE(action->isEnabled());
    }
  }
  EXPECT_EQ(closeEntries, 1);
  ConsoleWindow()->close();
  EXPECT_TRUE(ConsoleWindow()->isVisible());
}

TEST_F(Window, TypedKeysReachTheWaitingRead) {
  Write("  ENTER INPUT FILENAME\r\n");
  const std::string line = ReadWhile([this] {
    QTest::keyClicks(&Console(), QStringLiteral("dune.tx"));
    QTest::keyClick(&Console(), Qt::Key_Left);
    QTest::keyClick(&Console(), Qt::Key_Backspace);
    QTest::keyClicks(&Console(), QStringLiteral("x"));
    QTest::keyClick(&Console(), Qt::Key_End);  // scrolls; the caret stays
    QTest::keyClicks(&Console(), QStringLiteral("t"));
    QTest::keyClick(&Console(), Qt::Key_Return);
  });
  EXPECT_EQ(line, "dune.xtx\r\n");
  EXPECT_EQ(Line(0), "  ENTER INPUT FILENAME");
  EXPECT_EQ(Line(1), "dune.xtx");

  const std::string empty = ReadWhile([this] { QTest::keyClick(&Console(), Qt::Key_Return); });
  EXPECT_EQ(empty, "\r\n");
  EXPECT_EQ(host_.Lines().LineCount(), 3u);
}

TEST_F(Window, ALineTypedAheadIsNotDelivered) {
  QTest::keyClicks(&Console(), QStringLiteral("early"));
  QTest::keyClick(&Console(), Qt::Key_Return);
  const std::string line = ReadWhile([this] {
    QTest::keyClicks(&Console(), QStringLiteral("asked"));
    QTest::keyClick(&Console(), Qt::Key_Return);
  });
  EXPECT_EQ(line, "asked\r\n");
}

// A child window that copies its own selection: "copied" stands for it on the clipboard.
class CopyingChild : public QWidget, public CopiesSelection {
 public:
  void CopySelection() override { QApplication::clipboard()->setText(QStringLiteral("copied")); }
};

// Edit > Copy acts on the active child window: while another window is in front, it copies
// what that window shows selected, not the Input/Output window's selection.
TEST_F(Window, EditCopyActsOnTheActiveChildWindow) {
  Write("abc def\n");
  QApplication::clipboard()->setText(QStringLiteral("before"));
  QMdiSubWindow* plain = host_.Frame().Client()->addSubWindow(new QWidget);
  plain->show();
  host_.Frame().Client()->setActiveSubWindow(plain);
  EXPECT_FALSE(Enabled(host::command::kCopy));  // a window without a selection of its own
  QMdiSubWindow* other = host_.Frame().Client()->addSubWindow(new CopyingChild);
  other->show();
  host_.Frame().Client()->setActiveSubWindow(other);
  EXPECT_TRUE(Enabled(host::command::kCopy));  // though the Input/Output window selects nothing
  EXPECT_FALSE(Enabled(host::command::kCut));
  Item(host::command::kCopy)->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), "copied");
  EXPECT_TRUE(Enabled(host::command::kPaste));

  host_.Frame().Client()->setActiveSubWindow(ConsoleWindow());
  EXPECT_FALSE(Enabled(host::command::kCopy));
  QApplication::clipboard()->setText(QStringLiteral("before"));
  QTest::mousePress(Viewport(), Qt::LeftButton, {}, CellCentre(0, 0));
  QTest::mouseMove(Viewport(), CellCentre(4, 0));
  QTest::mouseMove(Viewport(), CellCentre(7, 0));
  QTest::mouseRelease(Viewport(), Qt::LeftButton, {}, CellCentre(7, 0));
  Item(host::command::kCopy)->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), "def");
}

TEST_F(Window, CopyNeedsASelectionAndThenEnablesPaste) {
  Write("abc def ghi\n");
  QApplication::clipboard()->setText(QStringLiteral("before"));
  QTest::keyClick(&Console(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "before");  // Copy is gray: nothing happens
  EXPECT_EQ(host_.Lines().LineCount(), 1u);                // and nothing is typed

  QTest::mousePress(Viewport(), Qt::LeftButton, {}, CellCentre(0, 0));
  QTest::mouseMove(Viewport(), CellCentre(4, 0));
  QTest::mouseMove(Viewport(), CellCentre(7, 0));
  QTest::mouseRelease(Viewport(), Qt::LeftButton, {}, CellCentre(7, 0));
  EXPECT_TRUE(Enabled(host::command::kCopy));
  EXPECT_TRUE(Enabled(host::command::kCut));
  EXPECT_FALSE(Enabled(host::command::kPaste));
  QTest::keyClick(&Console(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "def");
  EXPECT_TRUE(Enabled(host::command::kPaste));

  QTest::mouseDClick(Viewport(), Qt::LeftButton, {}, CellCentre(9, 0));
  QTest::keyClick(&Console(), Qt::Key_X, Qt::ControlModifier);  // Cut
  EXPECT_EQ(QApplication::clipboard()->text(), "ghi");
  EXPECT_EQ(Line(0), "abc def ");
  EXPECT_FALSE(Enabled(host::command::kCut));
}

TEST(Clipboard, TextIsBytesAndEveryLineBreakOneCarriageReturn) {
  struct Case {
    QString text;
    std::string bytes;
  };
  const Case cases[] = {
      {QStringLiteral("a\r\nb"), "a\rb"},
      {QStringLiteral("a\nb\n"), "a\rb\r"},
      {QStringLiteral("a\rb"), "a\rb"},
      {QString::fromUtf8("\u00e9\u20ac"), "\xe9?"},
  };
  for (const Case& each : cases) {
    QApplication::clipboard()->setText(each.text);
    EXPECT_EQ(clipboard::TextToType(), each.bytes) << each.text.toStdString();
  }
  QApplication::clipboard()->clear();
  EXPECT_EQ(clipboard::TextToType(), std::nullopt);
  EXPECT_TRUE(clipboard::PutText("\xe9t\xe9"));
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("\u00e9t\u00e9"));
}

TEST_F(Window, PasteDeliversTheFirstLineAndKeepsTheRestTyped) {
  QApplication::clipboard()->setText(QStringLiteral("ab\rcd"));
  Item(host::command::kPaste)->setEnabled(true);
  const std::string line =
      ReadWhile([this] { QTest::keyClick(&Console(), Qt::Key_V, Qt::ControlModifier); });
  EXPECT_EQ(line, "ab\r\n");
  EXPECT_EQ(Line(1), "cd");  // typed, not yet completed: Enter delivers it
  EXPECT_EQ(ReadWhile([this] { QTest::keyClick(&Console(), Qt::Key_Return); }), "cd\r\n");
}

TEST_F(Window, ScrollBarsFollowTheTranscript) {
  for (int line = 0; line < 200; ++line)
    Write("line " + std::to_string(line) + "\n");
  Console().Refresh();
  const int rows = Viewport()->height() / MeasureCells(ConsoleFont()).height;
  QScrollBar* bar = Console().verticalScrollBar();
  EXPECT_EQ(bar->maximum(), 200 - rows + 2);  // two rows stay free below the last line
  EXPECT_EQ(bar->value(), bar->maximum());
  bar->setValue(10);  // the user drags the thumb
  QTest::keyClick(&Console(), Qt::Key_PageDown);
  EXPECT_EQ(bar->value(), 10 + rows);
}

// The first row of cells where the screen differs from a fresh paint of the window; -1 when
// they agree.
int FirstStaleRow(const QImage& screen, const QImage& fresh, int cellHeight) {
  if (screen.size() != fresh.size()) return 0;
  for (int y = 0; y < screen.height(); ++y) {
    for (int x = 0; x < screen.width(); ++x) {
      if (screen.pixel(x, y) != fresh.pixel(x, y)) return y / cellHeight;
    }
  }
  return -1;
}

// A fast run ends with a burst of records, then the final table and the stop's lines. When
// the window paints after the burst's refresh but while the last lines arrive, what it
// paints, rows and caret, must still be in its place once the next refresh moves the view up
// by those lines.
TEST_F(Window, RowsPaintedWhileTheTranscriptGrowsEndUpInTheirPlace) {
  InputOutputWidget& console = Console();
  auto append = [&console](int first, int end) {
    for (int record = first; record < end; ++record)
      console.AppendLine("record " + std::to_string(record));
  };
  auto paintNow = [] { QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest); };
  append(0, 500);
  console.Refresh();             // the whole view is to be painted
  console.AppendLine(" STOP ");  // all but the last line arrive before that paint
  console.AppendLine(" ");
  paintNow();
  console.AppendLine("");
  console.Refresh();  // the view moves up by three rows
  paintNow();
  // What the screen holds (the window's backing store, which scrolling moves) against a
  // fresh paint of the whole view.
  const QPoint origin = Viewport()->mapTo(&host_.Frame(), QPoint());
  const QImage screen = host_.Frame()
                            .screen()
                            ->grabWindow(host_.Frame().winId(), origin.x(), origin.y(),
                                         Viewport()->width(), Viewport()->height())
                            .toImage()
                            .convertToFormat(QImage::Format_RGB32);
  const QImage fresh = Viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(FirstStaleRow(screen, fresh, MeasureCells(ConsoleFont()).height), -1);
}

}  // namespace
}  // namespace kova::win
