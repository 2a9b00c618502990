#pragma once
// The string grids of the Markov chains windows: cells hold the texts the user
// typed, headers carry the state numbers or row labels, and Enter moves on to
// the next cell in the grid's own direction.
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableWidget>

namespace tarvik::markov::ui {

class TMarkovGrid : public QTableWidget {
    Q_OBJECT
public:
    // Row: Enter moves right, from the last column to column 1 of the next row.
    // Column: Enter moves down, from the last row to row 1 of the next column.
    enum class EnterMove { Row, Column };

    TMarkovGrid(EnterMove move, QWidget* parent = nullptr);

    // Resizes to rows x columns; cells that existed keep their texts, new or
    // empty cells get `fill`. Emits no `userEdited`.
    void resizeGrid(int rows, int columns, const QString& fill);
    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString& text);
    // Every cell of the columns [first, last] becomes `text`.
    void fillColumns(int first, int last, const QString& text);
    // Headers numbered 1..n.
    void numberRows();
    void numberColumns();

    // The cell after (row, column) in the Enter direction; the last cell stays.
    QModelIndex nextCell(int row, int column) const;
    void moveAfterEnter();
    // Ends an edit in progress, keeping what was typed (a button may act
    // through its shortcut while a cell is still being edited).
    void commitEdit();

signals:
    // The user changed a cell's text.
    void userEdited(int row, int column);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    EnterMove move_;
    int quiet_ = 0; // > 0 while the program itself writes cells
};

// Ends the edit of a cell on Enter and lets the grid move on.
class TMarkovGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit TMarkovGridDelegate(TMarkovGrid* grid);
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void commitEdit();

protected:
    bool eventFilter(QObject* editor, QEvent* event) override;

private:
    TMarkovGrid* grid_;
    mutable QPointer<QWidget> editor_;
};

} // namespace tarvik::markov::ui
