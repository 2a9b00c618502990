#pragma once
// The settings windows of the normal-distribution module: the chooser, the
// die settings, the summation lengths, the square-root count and the
// confidence-interval settings. All stay on top of the module window.
#include "common/ui/numberfields.h"
#include "modules/normal/clt.h"
#include "modules/normal/intervals.h"

#include <QDialog>
#include <QSpinBox>
#include <array>
#include <initializer_list>

class QBoxLayout;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tarvik::normal::ui {

class TCLS;

// The base of the module's windows: they stay on top, Escape does nothing, F1
// opens the help; closing by the frame hides the window and then does
// `frameClose` (nothing more by default).
class TCLSWindow : public QDialog {
    Q_OBJECT
public:
    TCLSWindow(TCLS* owner, const QString& name, const QString& caption);

protected:
    // A push button that Enter presses only when it is the default one.
    QPushButton* NewButton(const QString& text, const QString& name);
    // A row at the bottom of `layout` with `buttons` at the right.
    static void AddButtonRow(QBoxLayout* layout, std::initializer_list<QWidget*> buttons,
                             QWidget* left = nullptr);
    struct Buttons {
        QPushButton* help = nullptr;
        QPushButton* main = nullptr;
        QPushButton* back = nullptr;
    };
    // The buttons of a settings dialog: "Help" at the left when `withHelp`,
    // then the default button `text` and "Previous" at the right.
    Buttons AddDialogButtons(QBoxLayout* layout, const QString& text, const QString& name, bool withHelp);

    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;
    virtual void frameClose() {}
    TCLS* owner_;
};

class TCLSKeuzeDialoog : public TCLSWindow {
    Q_OBJECT
public:
    explicit TCLSKeuzeDialoog(TCLS* owner);
    void OKBtnClick();
    void TerugBtnClick();

    QRadioButton* CentralBtn = nullptr;
    QRadioButton* SqrtBtn = nullptr;
    QRadioButton* IntervalBtn = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* TerugBtn = nullptr;

protected:
    void frameClose() override;
};

class TCLSDialoog : public TCLSWindow {
    Q_OBJECT
public:
    explicit TCLSDialoog(TCLS* owner);
    void OKBtnClick();
    void TerugBtnClick();
    void FairClick();
    void BiasedClick();
    int histograms() const;

    QRadioButton* FairBtn = nullptr;
    QRadioButton* BiasedBtn = nullptr;
    std::array<QRadioButton*, 3> HistBtn{}; // 1, 2, 4
    std::array<QLineEdit*, kFaces> PEdit{};
    QWidget* ProbGroup = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* TerugBtn = nullptr;
    QPushButton* HelpBtn = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
};

class TCLSSommatieLengte : public TCLSWindow {
    Q_OBJECT
public:
    explicit TCLSSommatieLengte(TCLS* owner);
    // Enables and limits the fields for 1, 2 or 4 histograms.
    void Configure(int histograms, const std::array<int, 4>& lengths);
    void StartBtnClick();
    void TerugBtnClick();

    std::array<tarvik::ui::TBoundedSpin*, 4> LengthEdit{};
    std::array<QLabel*, 4> FieldLabel{};
    std::array<QLabel*, 4> HintLabel{};
    QPushButton* StartBtn = nullptr;
    QPushButton* TerugBtn = nullptr;

protected:
    void frameClose() override;
};

// The "Number of experiments" field: a value above 1000 becomes 1000 and a
// negative one 10 as soon as it is typed; the arrows stay within 10 .. 1000.
class TCountEdit : public QSpinBox {
    Q_OBJECT
public:
    explicit TCountEdit(QWidget* parent = nullptr);
    void stepBy(int steps) override;
    // The count a run uses, 10 .. 1000.
    int count() const;

protected:
    StepEnabled stepEnabled() const override;
};

class TCLSWortelNAantal : public TCLSWindow {
    Q_OBJECT
public:
    explicit TCLSWortelNAantal(TCLS* owner);
    void StartBtnClick();
    void TerugBtnClick();
    int count() const;
    bool bigPoints() const;
    // The buttons are disabled while a run goes.
    void SetRunning(bool running);

    TCountEdit* CountEdit = nullptr;
    QLabel* RangeLabel = nullptr;
    QCheckBox* BigBox = nullptr;
    QPushButton* StartBtn = nullptr;
    QPushButton* TerugBtn = nullptr;
    QPushButton* HelpBtn = nullptr;
};

class TCLSBTI : public TCLSWindow {
    Q_OBJECT
public:
    explicit TCLSBTI(TCLS* owner);
    void OKBtnClick();
    void TerugBtnClick();
    // Reads and checks the settings; shows the message and returns false when wrong.
    bool ReadSettings(IntervalRunSettings& settings);

    QLineEdit* PEdit = nullptr;
    tarvik::ui::TBoundedSpin* NEdit = nullptr;
    QRadioButton* Level95Btn = nullptr;
    QRadioButton* Level90Btn = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* TerugBtn = nullptr;
    QPushButton* HelpBtn = nullptr;
};

} // namespace tarvik::normal::ui
