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
#include <utility>
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
    // A field's row: its label, the field and its limits (null for a "from" field).
    struct FieldRow {
        const FieldDef* def;
        QLabel* label;
        TQueueEdit* edit;
        QLabel* limits;
        QWidget* box; // read only while this box is shown (null: always)
    };
    struct ChoiceBinding {
        const RadioDef* def;
        std::string name;
        TRadioGroup* group;
        std::vector<std::string> words;
    };
    struct PageUi {
        QWidget* page = nullptr;
        QPushButton* run = nullptr;
        QPushButton* quit = nullptr;
        QPushButton* help = nullptr;
        std::vector<FieldRow> fields;
        std::vector<ChoiceBinding> choices;
        std::vector<std::pair<QGroupBox*, const BoxDef*>> boxes;
        std::array<TQueueEdit*, kListSize> t{}, p{}, n{};
        QGroupBox* tGroup = nullptr;
        QGroupBox* pGroup = nullptr;
        QGroupBox* nGroup = nullptr;
    };

    void BuildPages();
    void BuildPageButtons(QWidget* strip);
    PageUi& NewPage(Page p);
    void AddFields(PageUi& ui, const PageInfo& info);
    void AddChoices(PageUi& ui, const PageInfo& info);
    void AddButtons(PageUi& ui, const PageInfo& info);
    QGroupBox* AddList(PageUi& ui, char kind, const QString& prefix, const QString& caption);
    PageInput CollectInput(const PageUi& ui) const;
    void WriteBackList(std::array<TQueueEdit*, kListSize>& fields, const std::optional<ListTexts>& texts);
    void ShowGraphWindow(const GraphWindowData& data, int cascadeIndex);
    static void ShowLists(PageUi& ui, bool t, bool p, bool n);
    const FieldRow& RowOf(Page page, const char* field) const;

    // Keeps a page in step with its choices: the groups, boxes and rows that
    // show, the labels and limits that follow a choice and the value list of
    // the chosen output.
    void FollowChoices(Page page);
    // What the page table cannot say.
    void GMCArrivals(bool deterministic);
    void FinCapNCaption();
    void FinSrcNCaption();
    void MM1StateLimit();

    std::array<PageUi, kPageCount> pages_;
    QPointer<TQueueAboutForm> about_;
    std::vector<QPointer<TQueueGraphForm>> graphs_;
    QMenu* fileMenu_ = nullptr;
    QMenu* optionsMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QString rememberedCA2_;
};

} // namespace tarvik::queue::ui
