#include "common/ui/moduledialog.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDialog>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tarvik::ui {

DialogButtons AddDialogButtons(QDialog* dialog, QBoxLayout* layout, const QString& okCaption,
                               const QString& okName) {
    DialogButtons b;
    auto* row = new QHBoxLayout;
    row->addStretch();
    b.ok = new QPushButton(okCaption, dialog);
    b.ok->setObjectName(okName);
    b.ok->setDefault(true);
    b.back = new QPushButton(QStringLiteral("Previous"), dialog);
    b.back->setObjectName(QStringLiteral("TerugBtn"));
    b.back->setAutoDefault(false);
    row->addWidget(b.ok);
    row->addWidget(b.back);
    layout->addLayout(row);
    return b;
}

bool SwallowEscape(QKeyEvent* event) {
    if (event->key() != Qt::Key_Escape) return false;
    event->accept();
    return true;
}

void ShowInFront(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

void AddProbabilityFields(QGridLayout* grid, QWidget* parent, std::span<QLineEdit*, 6> fields) {
    for (int j = 0; j < 6; ++j) {
        auto* label = new QLabel(QStringLiteral("P(X=%1) =").arg(j + 1), parent);
        auto* field = new QLineEdit(parent);
        field->setObjectName(QStringLiteral("PEdit%1").arg(j + 1));
        const int row = j % 3, col = (j / 3) * 2;
        grid->addWidget(label, row, col);
        grid->addWidget(field, row, col + 1);
        fields[static_cast<std::size_t>(j)] = field;
    }
}

WaitCursor::WaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor() {
    restore();
}

void WaitCursor::restore() {
    if (active_) QApplication::restoreOverrideCursor();
    active_ = false;
}

} // namespace tarvik::ui
