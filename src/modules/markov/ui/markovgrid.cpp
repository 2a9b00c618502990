#include "modules/markov/ui/markovgrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>

namespace tarvik::markov::ui {

TMarkovGrid::TMarkovGrid(EnterMove move, QWidget* parent) : QTableWidget(parent), move_(move) {
    setItemDelegate(new TMarkovGridDelegate(this));
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(true);
    horizontalHeader()->setDefaultSectionSize(64);
    horizontalHeader()->setSectionsClickable(false);
    verticalHeader()->setSectionsClickable(false);
    verticalHeader()->setDefaultSectionSize(22);
    connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (quiet_ == 0) emit userEdited(item->row(), item->column());
    });
}

void TMarkovGrid::resizeGrid(int rows, int columns, const QString& fill) {
    ++quiet_;
    setRowCount(rows);
    setColumnCount(columns);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            QTableWidgetItem* cell = item(r, c);
            if (!cell)
                setItem(r, c, new QTableWidgetItem(fill));
            else if (cell->text().isEmpty())
                cell->setText(fill);
        }
    --quiet_;
}

QString TMarkovGrid::cellText(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text() : QString();
}

void TMarkovGrid::setCellText(int row, int column, const QString& text) {
    ++quiet_;
    if (QTableWidgetItem* cell = item(row, column))
        cell->setText(text);
    else
        setItem(row, column, new QTableWidgetItem(text));
    --quiet_;
}

void TMarkovGrid::fillColumns(int first, int last, const QString& text) {
    for (int c = first; c <= last && c < columnCount(); ++c)
        for (int r = 0; r < rowCount(); ++r) setCellText(r, c, text);
}

void TMarkovGrid::numberRows() {
    QStringList labels;
    for (int r = 1; r <= rowCount(); ++r) labels << QString::number(r);
    setVerticalHeaderLabels(labels);
}

void TMarkovGrid::numberColumns() {
    QStringList labels;
    for (int c = 1; c <= columnCount(); ++c) labels << QString::number(c);
    setHorizontalHeaderLabels(labels);
}

QModelIndex TMarkovGrid::nextCell(int row, int column) const {
    const int rows = rowCount();
    const int columns = columnCount();
    if (rows == 0 || columns == 0) return {};
    if (move_ == EnterMove::Row) {
        if (column + 1 < columns) return model()->index(row, column + 1);
        if (row + 1 < rows) return model()->index(row + 1, 0);
    } else {
        if (row + 1 < rows) return model()->index(row + 1, column);
        if (column + 1 < columns) return model()->index(0, column + 1);
    }
    return model()->index(row, column);
}

void TMarkovGrid::moveAfterEnter() {
    const QModelIndex current = currentIndex();
    const QModelIndex next =
        current.isValid() ? nextCell(current.row(), current.column()) : model()->index(0, 0);
    if (next.isValid()) setCurrentIndex(next);
}

void TMarkovGrid::commitEdit() {
    if (auto* delegate = qobject_cast<TMarkovGridDelegate*>(itemDelegate())) delegate->commitEdit();
}

void TMarkovGrid::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != EditingState) {
        moveAfterEnter();
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

TMarkovGridDelegate::TMarkovGridDelegate(TMarkovGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

QWidget* TMarkovGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                           const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    editor_ = editor;
    return editor;
}

void TMarkovGridDelegate::commitEdit() {
    if (!editor_ || !editor_->isVisible()) return;
    QWidget* editor = editor_;
    editor_ = nullptr;
    emit commitData(editor);
    emit closeEditor(editor, QAbstractItemDelegate::NoHint);
}

bool TMarkovGridDelegate::eventFilter(QObject* object, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (auto* editor = qobject_cast<QWidget*>(object)) {
                emit commitData(editor);
                emit closeEditor(editor, QAbstractItemDelegate::NoHint);
                grid_->moveAfterEnter();
                return true;
            }
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

} // namespace tarvik::markov::ui
