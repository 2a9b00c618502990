#include "common/ui/moduledialog.h"

#include <QBoxLayout>
#include <QDialog>
#include <QKeyEvent>
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

} // namespace tarvik::ui
