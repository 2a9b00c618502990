#include "modules/dice/ui/dobbeltabelunit.h"

#include "common/ui/help.h"

#include "common/numformat.h"
#include "common/ui/modulewindow.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tarvik::dice::ui {

TDobbelTabel::TDobbelTabel(QWidget* owner) : QWidget(owner) {
    tarvik::ui::SetHelpContext(this, 2);
    setObjectName(QStringLiteral("DobbelTabel"));
    tarvik::ui::MakeStayOnTopTool(this);
    setWindowTitle(QStringLiteral("Table relative frequency"));

    StringGrid1 = new QTableWidget(kMaxTableRows, kFaces + 1, this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    QStringList headings{QStringLiteral("Number")};
    for (int k = 1; k <= kFaces; ++k) headings << QString::number(k);
    StringGrid1->setHorizontalHeaderLabels(headings);
    StringGrid1->verticalHeader()->hide();
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->horizontalHeader()->setDefaultSectionSize(62);
    StringGrid1->verticalHeader()->setDefaultSectionSize(20);
    for (int r = 0; r < kMaxTableRows; ++r)
        for (int c = 0; c <= kFaces; ++c) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            StringGrid1->setItem(r, c, item);
        }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(StringGrid1);
    resize(7 * 62 + 12, kMaxTableRows * 20 + 40);
}

void TDobbelTabel::Fill(const std::vector<TableRow>& rows) {
    for (int r = 0; r < kMaxTableRows; ++r) {
        const bool reached = r < static_cast<int>(rows.size());
        StringGrid1->item(r, 0)->setText(reached ? QString::number(rows[r].throwNumber) : QString());
        for (int k = 0; k < kFaces; ++k)
            StringGrid1->item(r, k + 1)->setText(
                reached ? QString::fromStdString(FormatFixed(rows[r].frequency[k], 4)) : QString());
    }
}

QString TDobbelTabel::cellText(int row, int column) const {
    const QTableWidgetItem* item = StringGrid1->item(row, column);
    return item ? item->text() : QString();
}

} // namespace tarvik::dice::ui
