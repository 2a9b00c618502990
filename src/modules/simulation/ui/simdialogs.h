#pragma once
// The settings dialogs of the six two-system experiments ("Settings"). Each
// field turns yellow while it has the focus; whole-number fields clamp; "OK"
// or "Run" checks (the messages come from the shared check functions, in
// their order), stores only when every check passed, hides and runs;
// "Previous" goes back to the options dialog.
#include <QDialog>
#include <vector>

class QBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QGridLayout;
class QVBoxLayout;
class QHBoxLayout;

namespace tarvik::simulation::ui {

class TSim;
class TWholeEdit;

// A choice of two processes; the first is selected at start.
struct ProcessChoice {
    QRadioButton* first = nullptr;
    QRadioButton* second = nullptr; // "Deterministic"
    bool deterministic() const;
};

// The base of the module's dialogs: they stay on top of the module window,
// Escape does nothing, and the confirming button and "Previous" stand at the
// bottom right.
class TSimDialog : public QDialog {
    Q_OBJECT
public:
    QPushButton* OKBtn = nullptr;
    QPushButton* TerugBtn = nullptr;

protected:
    TSimDialog(TSim* owner, const QString& name, const QString& caption);
    // Adds the row of "OK" (or `okCaption`, the default button) and "Previous".
    void AddButtons(QBoxLayout* layout, const QString& okCaption);
    void keyPressEvent(QKeyEvent* event) override;

    TSim* owner_;
};

class TSimSettingsDialog : public TSimDialog {
    Q_OBJECT
public:
    // The fields from the stored settings (all but the tandem dialog, on every showing).
    virtual void Refresh() {}
    virtual void OKBtnClick() = 0;
    void TerugBtnClick();

    QLabel* KopLabel = nullptr;

protected:
    TSimSettingsDialog(TSim* owner, const QString& name, const QString& heading, bool refreshOnShow,
                       bool parameterGroup);
    // A field row: caption, field and, with `unitColumn`, the unit.
    void AddRow(const QString& caption, QWidget* field, bool unitColumn, const QString& unit = {});
    QLineEdit* AddRate(const QString& caption, const QString& name);
    TWholeEdit* AddWhole(const QString& caption, const QString& name, long long lo, long long hi,
                         const QString& unit);
    TWholeEdit* AddInitial();
    TWholeEdit* AddLength(double minimum);
    ProcessChoice AddChoice(const QString& title, const QString& name, const QString& first);
    void AddNote(const QString& text);
    void Finish(const QString& okCaption);
    // Shows every message in turn; true when there was none.
    bool Accept(const std::vector<std::string>& messages);
    // Hides the dialog and runs the chosen experiment.
    void StartRun();

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    QVBoxLayout* main_ = nullptr;
    QGridLayout* fields_ = nullptr;
    QWidget* fieldParent_ = nullptr;
    QHBoxLayout* choices_ = nullptr;
    int row_ = 0;
    bool refreshOnShow_;
};

// Comparisons: heading set by the options dialog.
class TSimDialoog2 : public TSimSettingsDialog {
    Q_OBJECT
public:
    explicit TSimDialoog2(TSim* owner);
    void SetComparison(bool md1);
    bool md1() const { return md1_; }
    void Refresh() override;
    void OKBtnClick() override;
    QLineEdit* LambdaEdit = nullptr;
    QLineEdit* MuEdit = nullptr;
    TWholeEdit* AantalEdit = nullptr;
    TWholeEdit* StopTimeEdit = nullptr;

private:
    bool md1_ = true;
};

class TSimDialoog3 : public TSimSettingsDialog {
    Q_OBJECT
public:
    explicit TSimDialoog3(TSim* owner);
    void Refresh() override;
    void OKBtnClick() override;
    QLineEdit* Rho1Edit = nullptr;
    QLineEdit* Rho2Edit = nullptr;
    TWholeEdit* AantalEdit = nullptr;
    TWholeEdit* StopTimeEdit = nullptr;
};

// Pooling and priority: arrival and service rates of two kinds and the length.
class TSimTwoTypesDialog : public TSimSettingsDialog {
    Q_OBJECT
public:
    QLineEdit* Lambda1Edit = nullptr;
    QLineEdit* Lambda2Edit = nullptr;
    QLineEdit* Mu1Edit = nullptr;
    QLineEdit* Mu2Edit = nullptr;
    TWholeEdit* StopTimeEdit = nullptr;

protected:
    // `arrivalsOf`: "queue" or "type", in the arrival rates' captions.
    TSimTwoTypesDialog(TSim* owner, const QString& name, const QString& heading, const char* arrivalsOf);
    // Shows the stored rates and length.
    template <class Settings> void ShowRates(const Settings& s);
};

class TSimDialoog4 : public TSimTwoTypesDialog {
    Q_OBJECT
public:
    explicit TSimDialoog4(TSim* owner);
    void Refresh() override;
    void OKBtnClick() override;
    ProcessChoice Bediening;
};

class TSimDialoogTandem : public TSimSettingsDialog {
    Q_OBJECT
public:
    explicit TSimDialoogTandem(TSim* owner);
    void OKBtnClick() override;
    QLineEdit* Lambda1Edit = nullptr;
    QLineEdit* Mu1Edit = nullptr;
    QLineEdit* Mu2Edit = nullptr;
    ProcessChoice Aankomst, Bediening1, Bediening2;
    TWholeEdit* StopTimeEdit = nullptr;
};

class TSimDialoogPriority : public TSimTwoTypesDialog {
    Q_OBJECT
public:
    explicit TSimDialoogPriority(TSim* owner);
    void Refresh() override;
    void OKBtnClick() override;
    ProcessChoice Bediening1, Bediening2;
};

} // namespace tarvik::simulation::ui
