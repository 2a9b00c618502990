#pragma once
// The statistical tables module: one tab per distribution, an output area that
// gathers the tables, and the graph window.
#include "common/ui/modulewindow.h"
#include "modules/tables/distributions.h"
#include "modules/tables/ui/tablesinput.h"

#include <QPointer>
#include <array>
#include <string>
#include <vector>

class QColor;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTextEdit;

namespace tarvik::tables {

class TTabellenGrafiek;

inline constexpr int kTabCount = 8;

enum class OutputChoice { Probabilities = 0, Percentiles = 1, Graph = 2 };

class TTables : public tarvik::ui::ModuleWindow {
    Q_OBJECT
public:
    explicit TTables(QWidget* parent = nullptr);
    ~TTables() override;

    // The widgets of one tab, in the order of the window.
    struct Page {
        Distribution kind = Distribution::Normal;
        QWidget* page = nullptr;
        QLabel* heading = nullptr;
        QGroupBox* choiceGroup = nullptr;
        QRadioButton* probabilities = nullptr;
        QRadioButton* percentiles = nullptr; // null where the tab has none
        QRadioButton* graph = nullptr;       // null on the normal tab
        QGroupBox* parameterGroup = nullptr;
        std::vector<QLineEdit*> parameters;
        std::vector<QLabel*> parameterLabels;
        std::vector<QLabel*> boundLabels;
        QGroupBox* inputGroup = nullptr;
        std::array<QLineEdit*, kInputCount> inputs{};
        QPushButton* calculate = nullptr;
        QPushButton* clear = nullptr;
        QPushButton* previous = nullptr;
        OutputChoice choice = OutputChoice::Probabilities;
    };

    QTabWidget* tabs() const { return TabSelect; }
    const Page& page(Distribution kind) const { return pages_[static_cast<int>(kind)]; }
    QTextEdit* results() const { return Results; }
    QPushButton* eraseButton() const { return WisRolBtn; }
    QPushButton* printButton() const { return PrintRolBtn; }
    TTabellenGrafiek* graphWindow() const;

    // The output area's text as plain lines.
    QString resultsText() const;

    // Button handlers, public so that the shell's shortcuts and tests reach them.
    void CalculateClick(Distribution kind);
    void ClearClick(Distribution kind);
    void WisRolBtnClick();
    void PrintRolBtnClick();

protected:
    void releaseModule() override;
    void showEvent(QShowEvent* event) override;

private:
    void buildMenus();
    void buildPage(Distribution kind);
    void chooseOutput(Distribution kind, OutputChoice choice);
    void fieldChanged(QLineEdit* field, const char* allowed, bool hidesGraph);
    void hideGraph();
    void writeTitle();
    // Appends one line. A heading (`fit`) keeps to one line: it takes the
    // largest size up to `pointSize` at which it fits the output area.
    void appendLine(const QString& text, int pointSize, bool bold, bool italic = false,
                    const QColor* color = nullptr, bool fit = false);
    void sizeOutputArea();
    int outputTextWidth() const;
    bool readParameters(const Page& p, Parameters& params, std::vector<double>& values);
    void writeTable(const Page& p, const Parameters& params);
    void drawGraph(const Page& p, const Parameters& params);
    bool smallScreen() const;

    QTabWidget* TabSelect = nullptr;
    QTextEdit* Results = nullptr;
    QPushButton* WisRolBtn = nullptr;
    QPushButton* PrintRolBtn = nullptr;
    QFrame* outputFrame_ = nullptr;
    std::array<Page, kTabCount> pages_;
    GuardHandler previousGuard_;
    QPointer<TTabellenGrafiek> graph_;
};

} // namespace tarvik::tables

// The factory the shell calls to open the module.
tarvik::ui::ModuleWindow* CreateTablesWindow(QWidget* parent);
// The parameter windows of the module, made once at start for the whole run.
void CreateTablesParameterWindows(QWidget* mainWindow);
