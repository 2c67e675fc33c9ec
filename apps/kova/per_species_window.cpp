#include "apps/kova/per_species_window.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <optional>
#include <set>

#include "apps/per_species_list.h"
#include "host/win/message_boxes.h"
#include "report/result_tables.h"

namespace kova::window {

// The species list of the chosen variant, as Qt's views ask for it.
class SpeciesTableModel : public QAbstractTableModel {
 public:
  explicit SpeciesTableModel(const RunOutcome& outcome) : outcome_(outcome) { ShowVariant(1); }

  const SpeciesList& List() const { return *list_; }
  SpeciesColumn SortColumn() const { return sortColumn_; }

  // A variant's list replaces the shown one, sorted as the shown one was.
  void ShowVariant(int indexType) {
    beginResetModel();
    list_.emplace(outcome_, indexType);
    list_->SortBy(sortColumn_, ascending_);
    endResetModel();
  }

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(list_->RowCount());
  }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(list_->Columns().size());
  }

  QVariant data(const QModelIndex& index, int role) const override {
    const auto row = static_cast<std::size_t>(index.row());
    const SpeciesColumn column = ColumnAt(index.column());
    switch (role) {
      case Qt::DisplayRole:
        return QString::fromStdString(list_->Cell(row, column));
      case Qt::FontRole: {
        if (!list_->Significant(row)) return {};
        QFont bold;
        bold.setBold(true);
        return bold;
      }
      case Qt::TextAlignmentRole:
        return column == SpeciesColumn::Name || column == SpeciesColumn::Group
                   ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                   : QVariant(Qt::AlignRight | Qt::AlignVCenter);
      default:
        return {};
    }
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return QString::fromStdString(SpeciesList::Title(ColumnAt(section)));
  }

  void sort(int column, Qt::SortOrder order) override {
    emit layoutAboutToBeChanged();
    sortColumn_ = ColumnAt(column);
    ascending_ = order == Qt::AscendingOrder;
    list_->SortBy(sortColumn_, ascending_);
    emit layoutChanged();
  }

  // The column's position in the view, whatever the variant shows; -1 when it is not shown.
  int ColumnPosition(SpeciesColumn column) const {
    const auto& columns = list_->Columns();
    for (std::size_t c = 0; c < columns.size(); ++c) {
      if (columns[c] == column) return static_cast<int>(c);
    }
    return -1;
  }

 private:
  SpeciesColumn ColumnAt(int position) const {
    return list_->Columns()[static_cast<std::size_t>(position)];
  }

  const RunOutcome& outcome_;
  std::optional<SpeciesList> list_;
  SpeciesColumn sortColumn_ = SpeciesColumn::P;
  bool ascending_ = true;
};

namespace {

// The table, with Ctrl+C its own, ahead of the frame's accelerator.
class SpeciesTableView : public QTableView {
 public:
  SpeciesTableView(SpeciesWindow& window, QWidget* parent) : QTableView(parent), window_(window) {}

 protected:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
      event->accept();
      return true;
    }
    return QTableView::event(event);
  }
  void keyPressEvent(QKeyEvent* event) override {
    if (event->matches(QKeySequence::Copy)) {
      window_.CopySelectedRows();
      event->accept();
      return;
    }
    QTableView::keyPressEvent(event);
  }

 private:
  SpeciesWindow& window_;
};

}  // namespace

SpeciesWindow::SpeciesWindow(const RunOutcome& outcome, QWidget* parent)
    : QWidget(parent), outcome_(outcome), model_(new SpeciesTableModel(outcome)) {
  setObjectName(QStringLiteral("Species"));
  model_->setParent(this);
  auto* variant = new QComboBox(this);
  variant->setObjectName(QStringLiteral("Variant"));
  for (int type = 1; type <= kIndexTypeCount; ++type)
    variant->addItem(QString::fromStdString(TrimmedTypeCode(type)));
  auto* save = new QPushButton(QStringLiteral("Save as CSV..."), this);
  auto* label = new QLabel(QStringLiteral("&Variant:"), this);
  label->setBuddy(variant);

  table_ = new SpeciesTableView(*this, this);
  table_->setModel(model_);
  table_->horizontalHeader()->setSortIndicator(model_->ColumnPosition(SpeciesColumn::P),
                                               Qt::AscendingOrder);
  table_->setSortingEnabled(true);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  table_->verticalHeader()->hide();
  // A row as high as its text, as a spreadsheet's: more species in view.
  table_->verticalHeader()->setMinimumSectionSize(1);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  table_->resizeColumnsToContents();

  auto* controls = new QHBoxLayout;
  controls->addWidget(label);
  controls->addWidget(variant);
  controls->addStretch();
  controls->addWidget(save);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(controls);
  layout->addWidget(table_);
  setFocusProxy(table_);

  connect(variant, &QComboBox::currentIndexChanged, this, [this](int index) {
    model_->ShowVariant(index + 1);
    // The sorted column keeps its mark where the variant shows it elsewhere; a variant
    // without it (A and B are APCF's) is shown in the order of p.
    QHeaderView* header = table_->horizontalHeader();
    const int position = model_->ColumnPosition(model_->SortColumn());
    if (position < 0) {
      header->setSortIndicator(model_->ColumnPosition(SpeciesColumn::P), Qt::AscendingOrder);
    } else {
      header->setSortIndicator(position, header->sortIndicatorOrder());
    }
    table_->resizeColumnsToContents();
  });
  connect(save, &QPushButton::clicked, this, &SpeciesWindow::SaveAsCsv);
}

void SpeciesWindow::CopySelectedRows() {
  std::set<std::size_t> rows;
  for (const QModelIndex& index : table_->selectionModel()->selectedIndexes())
    rows.insert(static_cast<std::size_t>(index.row()));
  if (rows.empty() && table_->currentIndex().isValid()) {
    rows.insert(static_cast<std::size_t>(table_->currentIndex().row()));
  }
  const std::string text = model_->List().TabSeparated({rows.begin(), rows.end()});
  QApplication::clipboard()->setText(QString::fromStdString(text));
}

void SpeciesWindow::SaveAsCsv() {
  QFileDialog dialog(this);
  dialog.setObjectName(QStringLiteral("SaveSpecies"));
  dialog.setWindowTitle(QStringLiteral("Save Species as CSV"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDirectory(QDir::current());
  dialog.selectFile(QStringLiteral("species.csv"));
  dialog.setNameFilters({QStringLiteral("CSV Files (*.csv)"), QStringLiteral("All Files (*.*)")});
  dialog.setDefaultSuffix(QStringLiteral("csv"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  QFile output(dialog.selectedFiles().front());
  const std::string text = SpeciesTableText(outcome_);
  if (!output.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    win::Warn(this, QStringLiteral("Cannot create file"));
    return;
  }
  if (output.write(text.data(), static_cast<qsizetype>(text.size())) !=
          static_cast<qsizetype>(text.size()) ||
      !output.flush()) {
    win::Warn(this, QStringLiteral("I/O error while writing file"));
  }
}

}  // namespace kova::window
