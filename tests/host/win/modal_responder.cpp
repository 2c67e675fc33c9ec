#include "tests/host/win/modal_responder.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <cstdio>

namespace kova::test_support {

ModalResponder::ModalResponder() {
  timer_.setInterval(5);
  connect(&timer_, &QTimer::timeout, this, &ModalResponder::Look);
  timer_.start();
}

void ModalResponder::Then(Handler handler) {
  handlers_.push_back(std::move(handler));
}

void ModalResponder::Look() {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal == nullptr || handlers_.empty() || !modal->isVisible()) return;
  for (const QPointer<QWidget>& answered : answeredModals_) {
    if (answered == modal) return;
  }
  answeredModals_.emplace_back(modal);
  if (qEnvironmentVariableIsSet("KOVA_DEBUG_MODALS"))
    std::fprintf(stderr, "modal %s %s\n", modal->metaObject()->className(),
                 qPrintable(modal->windowTitle()));
  Handler handler = std::move(handlers_.front());
  handlers_.pop_front();
  ++answered_;
  // The answer may open the next dialog, whose loop must not run inside this timer's call.
  QTimer::singleShot(0, modal, [handler = std::move(handler), modal] { handler(modal); });
}

bool ClickButton(QWidget* modal, const QString& text) {
  for (QAbstractButton* button : modal->findChildren<QAbstractButton*>()) {
    if (button->text().remove(QLatin1Char('&')) == text) {
      button->click();
      return true;
    }
  }
  std::fprintf(stderr, "no button %s in %s\n", qPrintable(text), qPrintable(modal->objectName()));
  modal->close();
  return false;
}

bool ChooseFile(QWidget* modal, const QString& path) {
  auto* name = modal->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  if (name == nullptr) {
    std::fprintf(stderr, "not a file dialog: %s\n", qPrintable(modal->objectName()));
    modal->close();
    return false;
  }
  name->setText(path);
  QTest::keyClick(name, Qt::Key_Return);
  return true;
}

QString MessageText(QWidget* modal) {
  auto* box = qobject_cast<QMessageBox*>(modal);
  return box != nullptr ? box->text() : QString();
}

QAction* MenuItemWithId(QWidget& window, int id) {
  for (QAction* action : window.findChildren<QAction*>()) {
    if (action->data().toInt() == id) return action;
  }
  return nullptr;
}

}  // namespace kova::test_support
