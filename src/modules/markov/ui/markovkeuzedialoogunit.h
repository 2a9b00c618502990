#pragma once
// The choice window of the Markov chains module: the chain data on "Input",
// the analysis and its parameters on "Choice of Output", the reports on
// "Results".
#include "modules/markov/markovdata.h"

#include <QWidget>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QTabWidget;
class QToolButton;

namespace tarvik::markov::ui {

class TMarkovGrid;

class TMarkovKeuzeDialoog : public QWidget {
    Q_OBJECT
public:
    enum Page { InputPage = 0, OutputPage = 1, ResultsPage = 2 };

    explicit TMarkovKeuzeDialoog(QWidget* parent = nullptr);
    ~TMarkovKeuzeDialoog() override;

    ChainType chainType() const { return type_; }
    int stateCount() const;
    // The chain as the grids hold it, and the output choices as the fields hold them.
    ChainData chainData() const;
    ChoiceTexts choiceTexts() const;
    bool resultsAllowed() const { return resultsAllowed_; }
    bool running() const { return running_; }
    // Asks a running analysis to stop; the window then closes the module when
    // the analysis has ended.
    void stopAndClose();

    // Reads a data file into the grids, as "Open..." does after its dialog.
    // Returns false (after the message) when the file cannot be read.
    bool openFile(const QString& fileName);
    // Writes the grids to a file, as "Save..." does after its dialog.
    bool saveFile(const QString& fileName);

    // Controls, named as in the window design.
    QTabWidget* PageControl1 = nullptr;
    QLineEdit* StatesEdit = nullptr;
    QToolButton* UpdateBtn = nullptr;
    TMarkovGrid* MatrixGrid = nullptr;
    TMarkovGrid* CostGrid = nullptr;
    QPushButton* ClearBtn = nullptr;
    QPushButton* OpenBtn = nullptr;
    QPushButton* SaveBtn = nullptr;

    QGroupBox* OutputGroup = nullptr;
    QButtonGroup* OutputChoice = nullptr;
    QGroupBox* TransientGroup = nullptr;
    QLineEdit* InitialStateEdit = nullptr;
    QSpinBox* TransientTimesSpin = nullptr;
    TMarkovGrid* TransientTimesGrid = nullptr;
    QButtonGroup* TransientKind = nullptr;
    QLabel* EndStatesLabel = nullptr;
    QSpinBox* EndStatesSpin = nullptr;
    TMarkovGrid* EndStatesGrid = nullptr;
    QGroupBox* PassageGroup = nullptr;
    QLineEdit* StartStateEdit = nullptr;
    QSpinBox* PassageTimesSpin = nullptr;
    TMarkovGrid* PassageTimesGrid = nullptr;
    QButtonGroup* ReturnSetChoice = nullptr;
    QLineEdit* StateAEdit = nullptr;
    QPushButton* RunBtn = nullptr;

    QTabWidget* ResultTabs = nullptr;
    QStackedWidget* ResultStacks[4] = {};
    QLabel* NoResultLabels[4] = {};
    QPlainTextEdit* ResultTexts[4] = {};

    QPushButton* PreviousBtn = nullptr;
    QPushButton* NextBtn = nullptr;
    QPushButton* CloseBtn = nullptr;

signals:
    // The window was closed by the user ("&Close" or its frame); the module
    // closes with it.
    void closeRequested();

public slots:
    void PreviousBtnClick();
    void NextBtnClick();
    void CloseBtnClick();
    void UpdateBtnClick();
    void ClearBtnClick();
    void OpenBtnClick();
    // "Examples…" of the File menu: the open dialog starts in `folder`.
    void OpenExampleClick(const QString& folder);
    void SaveBtnClick();
    void RunBtnClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildInputPage();
    QWidget* buildOutputPage();
    QWidget* buildResultsPage();

    void pageChanged(int index);
    void commitEdits();
    void updateButtons();
    void showParameterGroups();
    void transientKindChanged();
    void dataChanged();
    void resetOutputChoices();
    void setTimePointRows(TMarkovGrid* grid, int rows);
    void setEndStateRows(int rows);
    void loadGrids(const ChainData& chain);
    void showProblem(const InputProblem& problem);
    void showReport(int tab, const std::vector<std::string>& lines, bool show);

    ChainType type_ = ChainType::Discrete;
    bool dataChanged_ = false;
    bool resultsAllowed_ = false;
    bool running_ = false;
    bool closeAfterRun_ = false;
    int shownPage_ = InputPage;
};

} // namespace tarvik::markov::ui
