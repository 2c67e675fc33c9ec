// Answers the modal dialogs a test opens, one after another, as a user would: each handler
// gets the next modal widget that appears and acts on it.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

class QAction;
class QWidget;

namespace kova::test_support {

class ModalResponder : public QObject {
 public:
  using Handler = std::function<void(QWidget* modal)>;

  ModalResponder();
  void Then(Handler handler);
  bool Done() const { return handlers_.empty(); }
  int Answered() const { return answered_; }

 private:
  void Look();

  std::deque<Handler> handlers_;
  // Every dialog answered so far, guarded: a later dialog may be built where an ended one
  // stood, and a dialog that opened another is active again once that one closes.
  std::vector<QPointer<QWidget>> answeredModals_;
  int answered_ = 0;
  QTimer timer_;
};

// Clicks the button of a message box or dialog whose text, without '&', is `text`; without
// such a button the modal is closed and the answer is false.
bool ClickButton(QWidget* modal, const QString& text);
// Types `path` into a file dialog's name field and accepts it.
bool ChooseFile(QWidget* modal, const QString& path);
// The text of a message box.
QString MessageText(QWidget* modal);
// The item of `window`'s menus with this command id, as its menus carry them; null when
// there is none.
QAction* MenuItemWithId(QWidget& window, int id);

}  // namespace kova::test_support
