#pragma once
// TQueueMainForm, the window of the queue module: ten pages of inputs on the
// left, the results log on the right. The window computes nothing: it keeps
// the pages in step with their choices, hands the page's texts to the page's
// model and shows what comes back.
#include "common/ui/modulewindow.h"
#include "modules/queue/queuemodel.h"

#include <QDialog>
#include <QPointer>
#include <array>
#include <vector>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QTabWidget;
class QTextEdit;

namespace tarvik::queue::ui {

class TQueueEdit;
class TRadioGroup;
class TQueueGraphForm;

// The Info box.
class TQueueAboutForm : public QDialog {
    Q_OBJECT
public:
    explicit TQueueAboutForm(QWidget* parent = nullptr);
    QPushButton* okButton() const { return ok_; }

private:
    QPushButton* ok_;
};

class TQueueMainForm : public tarvik::ui::ModuleWindow {
    Q_OBJECT
public:
    explicit TQueueMainForm(QWidget* parent = nullptr);
    ~TQueueMainForm() override;

    QTabWidget* PageControl = nullptr;
    // The pages' names in two rows over the pages, in place of the tab strip
    // (which would need scroll arrows for ten names): one button per page.
    QButtonGroup* PageButtons = nullptr;
    QTextEdit* Results = nullptr;
    QPushButton* ClearButton = nullptr;
    QPushButton* PrintButton = nullptr;

    // The commands of the buttons and menus.
    void RunClick(Page page);
    void QuitClick();
    void AfsluitenClick();
    void EindeTarvikClick();
    void HelpClick();
    void InfoClick();
    void ClearButtonClick();
    void PrintButtonClick();

    // Appends a line in a style of the log.
    void AddResultLine(const QString& text, LogStyle style);

    QWidget* page(Page p) const;
    QPushButton* runButton(Page p) const;
    QPushButton* quitButton(Page p) const;
    QPushButton* helpButton(Page p) const;
    // The twelve fields of a page's t-, p- or n-list (null where the page has none).
    const std::array<TQueueEdit*, kListSize>& listFields(Page p, char kind) const;
    QGroupBox* listGroup(Page p, char kind) const;
    TQueueAboutForm* aboutBox() const { return about_; }
    std::vector<TQueueGraphForm*> graphWindows() const;
    QMenu* fileMenu() const { return fileMenu_; }
    QMenu* optionsMenu() const { return optionsMenu_; }
    QMenu* helpMenu() const { return helpMenu_; }
    // The text of the G/M/c CA2 field remembered while arrivals are deterministic.
    const QString& rememberedCA2() const { return rememberedCA2_; }

    // The log's first line.
    static QString HeaderLine();

protected:
    void releaseModule() override;

private:
    struct FieldBinding {
        std::string name;
        TQueueEdit* edit;
        QWidget* onlyWhenVisible; // read only while this widget is shown (null: always)
    };
    struct ChoiceBinding {
        std::string name;
        TRadioGroup* group;
        std::vector<std::string> words;
    };
    struct PageUi {
        QWidget* page = nullptr;
        QPushButton* run = nullptr;
        QPushButton* quit = nullptr;
        QPushButton* help = nullptr;
        std::vector<FieldBinding> fields;
        std::vector<ChoiceBinding> choices;
        std::array<TQueueEdit*, kListSize> t{}, p{}, n{};
        QGroupBox* tGroup = nullptr;
        QGroupBox* pGroup = nullptr;
        QGroupBox* nGroup = nullptr;
    };

    void BuildPages();
    void BuildPageButtons(QWidget* strip);
    PageUi& NewPage(Page p);
    QGroupBox* AddList(PageUi& ui, char kind, const QString& prefix, const QString& caption);
    PageInput CollectInput(const PageUi& ui) const;
    void WriteBackList(std::array<TQueueEdit*, kListSize>& fields, const std::optional<ListTexts>& texts);
    void ShowGraphWindow(const GraphWindowData& data, int cascadeIndex);
    static void ShowLists(PageUi& ui, bool t, bool p, bool n);

    // The rules that keep each page in step with its choices.
    void Rule1MG1Service(int index);
    void Rule2Output(Page page, int index);
    void Rule3DG1Service(int index);
    void Rule4DG1Lists();
    void Rule5DMCOutput(int index);
    void Rule6GMCArrivals(int index);
    void Rule7FinCapType(int index);
    void Rule8FinCapLists();
    void Rule9FinCapCaption();
    void Rule10MMCN();
    void Rule11FinSrcService(int index);
    void Rule11FinSrcOutput(int index);
    void Rule11FinSrcCaption();
    void Rule12MM1Output(int index);
    void Rule13MM1Rho();

    std::array<PageUi, kPageCount> pages_;
    QPointer<TQueueAboutForm> about_;
    std::vector<QPointer<TQueueGraphForm>> graphs_;
    QMenu* fileMenu_ = nullptr;
    QMenu* optionsMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QString rememberedCA2_;

    // Labels and groups the rules change.
    QLabel* mg1CS2Range_ = nullptr;
    QLabel* dg1CS2Label_ = nullptr;
    QLabel* dg1CS2Range_ = nullptr;
    TRadioGroup* dg1Output_ = nullptr;
    TRadioGroup* dg1OutputPure_ = nullptr;
    TRadioGroup* dmcGraphs_ = nullptr;
    QLabel* gmcCA2Range_ = nullptr;
    TQueueEdit* gmcCA2_ = nullptr;
    TRadioGroup* finCapType_ = nullptr;
    QLabel* finCapCRange_ = nullptr;
    QLabel* finCapNRange_ = nullptr;
    TQueueEdit* finCapC_ = nullptr;
    TQueueEdit* finCapN_ = nullptr;
    TRadioGroup* finCapOutput4_ = nullptr;
    TRadioGroup* finCapOutput5_ = nullptr;
    TRadioGroup* mmcnX_ = nullptr;
    TRadioGroup* mmcnY_ = nullptr;
    QGroupBox* mmcnFixedN_ = nullptr;
    QGroupBox* mmcnFixedC_ = nullptr;
    std::array<QWidget*, 3> mmcnT_{};
    QLabel* finSrcCRange_ = nullptr;
    TRadioGroup* finSrcGraphs_ = nullptr;
    TQueueEdit* finSrcM_ = nullptr;
    std::array<QWidget*, 3> mm1J_{};
    std::array<QWidget*, 3> mm1T_{};
    QLabel* mm1IRange_ = nullptr;
    TQueueEdit* mm1Rho_ = nullptr;
};

} // namespace tarvik::queue::ui
