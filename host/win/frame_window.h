// The frame "MDIFRAME": the top-level window with the menu bar "MainMenu", the accelerators
// "MDIAccel" and the MDI client "MDICLIENT" that holds the child windows.
#pragma once

#include <QMainWindow>
#include <QMdiArea>
#include <functional>
#include <map>

class QAction;
class QMenu;

namespace kova::win {

class FrameWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit FrameWindow(const QString& title);

  QMdiArea* Client() const { return client_; }
  // The menu item or accelerator with this command id.
  QAction* Action(int id) const;
  QMenu* Popup(int position) const;

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
  void BuildMainMenu();
  // The "Window" menu ends with one entry per child window, the active one checked.
  void ListChildWindows();

  QMdiArea* client_;
  std::map<int, QAction*> actions_;
  std::vector<QMenu*> popups_;
  std::vector<QAction*> childEntries_;
};

}  // namespace kova::win
