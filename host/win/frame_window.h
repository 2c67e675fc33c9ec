// The frame "MDIFRAME": the top-level window with the menu bar "MainMenu", the accelerators
// "MDIAccel" and the MDI client "MDICLIENT" that holds the child windows, the Input/Output
// window first among them.
#pragma once

#include <QMainWindow>
#include <QMdiArea>
#include <functional>
#include <map>

class QAction;
class QMenu;
class QMdiSubWindow;

namespace kova::win {

class CopiesSelection;

class FrameWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit FrameWindow(const QString& title);
  ~FrameWindow() override;

  QMdiArea* Client() const { return client_; }

  // Opens the Input/Output window "MDICHILD" around `console`, with the keyboard focus; the
  // user cannot close it.
  void ShowConsole(QWidget* console);
  QMdiSubWindow* ConsoleWindow() const { return console_; }
  // The keyboard goes back to the Input/Output window, in the frame, whenever a dialog or
  // message box closes: a read may be waiting for the user's answer.
  void FocusConsole();

  // Cut, Copy and Delete follow the Input/Output window's selection; Paste, once usable, stays
  // so. While a child window that copies its own selection is active, Copy is its.
  void SetSelectionCommands(bool usable);
  // The active child window when it copies its own selection; null otherwise.
  CopiesSelection* ActiveCopyingChild() const;
  void EnablePaste();

  // The "Window" menu's commands.
  void ArrangeIcons();
  void ActivateChild(int index);

  // Every menu command and accelerator arrives here with its id.
  std::function<void(int id)> commandChosen;
  // Asked when the frame is to close; false keeps it open.
  std::function<bool()> closeRequested;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // The menu item or accelerator with this command id.
  QAction* Action(int id) const;
  void BuildMainMenu();
  // The "Window" menu ends with one entry per child window, the active one checked.
  void ListChildWindows();

  QMdiArea* client_;
  QMdiSubWindow* console_ = nullptr;
  bool selectionUsable_ = false;
  std::map<int, QAction*> actions_;
  std::vector<QMenu*> popups_;
  std::vector<QAction*> childEntries_;
};

}  // namespace kova::win
