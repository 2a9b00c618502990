#pragma once
// The table of relative frequencies at up to 15 moments of a run.
#include "modules/dice/dobbel.h"

#include <QWidget>
#include <vector>

class QTableWidget;

namespace tarvik::dice::ui {

class TDobbelTabel : public QWidget {
    Q_OBJECT
public:
    explicit TDobbelTabel(QWidget* owner);

    // Fills the rows of a run; the rows not reached stay empty.
    void Fill(const std::vector<TableRow>& rows);
    // The text of a cell (row and column from 0, below the headings).
    QString cellText(int row, int column) const;

    QTableWidget* StringGrid1 = nullptr;
};

} // namespace tarvik::dice::ui
