#pragma once
// The modal dialog that edits the length of one arc.
#include <QDialog>

class QPushButton;
class QSpinBox;

namespace tarvik::shortestpath::ui {

class TKPadAfstand : public QDialog {
    Q_OBJECT
public:
    explicit TKPadAfstand(QWidget* parent);

    // Shows the dialog (modal, without blocking) with the arc's length.
    void Open(int length);

    QSpinBox* AfstandEdit = nullptr;
    QPushButton* ChangeBtn = nullptr;
    QPushButton* TerugBtn = nullptr;

signals:
    // "Change": the length the field holds (0 to 100).
    void changed(int length);

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace tarvik::shortestpath::ui
