#include "host/win/about_box.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "host/system_facts.h"

namespace kova::win {
namespace {

QLabel* Value(QWidget* parent, const QString& text, const char* name) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

}  // namespace

AboutBox::AboutBox(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QStringLiteral("About KOVA"));
  const host::SystemFacts facts = host::ReadSystemFacts();

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(QStringLiteral("KOVA Application Framework"), this), 0, 0, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("Version %1").arg(QStringLiteral(KOVA_VERSION)), this),
                  1, 0, 1, 2);
  grid->addWidget(
      new QLabel(QStringLiteral("Indicator species of site groups, tested by randomization"), this),
      2, 0, 1, 2);
  grid->setRowMinimumHeight(3, 12);
  const struct {
    const char* label;
    QString value;
    const char* name;
  } rows[] = {
      {"Page Size", QString::number(facts.pageSize), "PageSize"},
      {"Minimum Address", QString::fromStdString(host::AddressText(facts.minimumAddress)),
       "MinimumAddress"},
      {"Maximum Address", QString::fromStdString(host::AddressText(facts.maximumAddress)),
       "MaximumAddress"},
      {"Processor Type", QString::number(facts.processorType), "ProcessorType"},
      {"Number of Processors", QString::number(facts.processorCount), "ProcessorCount"},
  };
  int row = 4;
  for (const auto& fact : rows) {
    grid->addWidget(new QLabel(QString::fromLatin1(fact.label), this), row, 0);
    grid->addWidget(Value(this, fact.value, fact.name), row, 1);
    ++row;
  }
  auto* proceed = new QPushButton(QStringLiteral("Continue"), this);
  proceed->setDefault(true);
  connect(proceed, &QPushButton::clicked, this, &QDialog::accept);
  grid->addWidget(proceed, row, 1, Qt::AlignRight);
}

}  // namespace kova::win
