#pragma once
// The IP settings: which search branch and bound runs. The default is the
// textbook search; the faster search adds speed-ups that find the same optimum.
#include "modules/ip/searchoptions.h"

#include <QDialog>

class QCheckBox;
class QPushButton;

namespace tarvik::ui {

class TMIPInstellingen : public QDialog {
    Q_OBJECT
public:
    explicit TMIPInstellingen(QWidget* parent = nullptr);

    // The search the settings choose (kept when the dialog is cancelled).
    tarvik::ip::SearchOptions search() const;
    void setSearch(const tarvik::ip::SearchOptions& search);

    QCheckBox* fasterSearchBox() const { return faster_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }

    // Shows the dialog modally; OK keeps the choices, Cancel restores them.
    int exec() override;

private:
    QCheckBox* faster_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};

} // namespace tarvik::ui
