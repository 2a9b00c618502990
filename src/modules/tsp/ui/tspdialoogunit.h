#pragma once
// The placement dialog, the choice dialog and the start-city dialog of the
// travelling-salesman module. They hold the controls; the module window
// `TTSP` does the work.
#include "common/ui/numberfields.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTextEdit;
class QToolButton;

namespace tarvik::tsp::ui {

class TTSP;

// The row under a settings dialog: "OK" (the default button) and "Previous".
QHBoxLayout* OkPreviousRow(QWidget* dialog, QPushButton*& ok, QPushButton*& previous);

class TTSPZetSteden : public QDialog {
    Q_OBJECT
public:
    explicit TTSPZetSteden(TTSP* owner);

    QGroupBox* KeuzeGroup = nullptr;
    QRadioButton* RandomBtn = nullptr;
    QRadioButton* OwnBtn = nullptr;
    tarvik::ui::TBoundedSpin* AantalSpin = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* TerugBtn = nullptr;

    void OKBtnClick();
    void TerugBtnClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    TTSP* owner_;
};

class TTSPDialoog : public QDialog {
    Q_OBJECT
public:
    explicit TTSPDialoog(TTSP* owner);

    QGroupBox* HeuristiekGroup = nullptr;
    QListWidget* ListBox = nullptr;
    QPushButton* HeuristiekBtn = nullptr;
    QPushButton* TweeOptBtn = nullptr;
    QGroupBox* AanwijzingBox = nullptr;
    QLabel* Info = nullptr;
    QLabel* CoordDlg = nullptr;
    QTextEdit* ResultaatMemo = nullptr;
    QPushButton* ExactBtn = nullptr;
    // The lower bound of the exact method: "Reduced matrix (as in the course)"
    // (the default) or "1-tree (Held–Karp)".
    QComboBox* BoundBox = nullptr;
    QPushButton* DataBtn = nullptr;
    QPushButton* WisBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QToolButton* SpeedButton2 = nullptr;

    // The result field: emptied, or a line added in bold underlined or plain type.
    void ClearResult();
    void AddResultLine(const QString& text, bool heading = false);
    QStringList ResultLines() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    TTSP* owner_;
};

class TTSPBeginstad : public QDialog {
    Q_OBJECT
public:
    explicit TTSPBeginstad(TTSP* owner);

    tarvik::ui::TBoundedSpin* StartSpin = nullptr;
    QCheckBox* FastBox = nullptr;
    QPushButton* OKBtn = nullptr;

    // Shows the dialog modally for n cities.
    void Ask(int n);
    void OKBtnClick();

protected:
    void reject() override;

private:
    TTSP* owner_;
};

} // namespace tarvik::tsp::ui
