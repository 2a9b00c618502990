// The queue module window: pages, fields, output choices, the log, the graph
// windows and the buttons.
#include "queuewindowtesting.h"

#include "common/ui/help.h"

#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QSignalSpy>
#include <tuple>

namespace tarvik::queue::ui {
namespace {

using tarvik::test::ProcessEvents;

class QueueWindow : public QueueWindowTest {};

TEST_F(QueueWindow, OpensOnMDcWithTenPagesAndTheLogHeader) {
    EXPECT_EQ(form->windowTitle(), "Module Queue");
    ASSERT_EQ(form->PageControl->count(), 10);
    QStringList captions;
    for (int i = 0; i < 10; ++i) captions << form->PageControl->tabText(i);
    EXPECT_EQ(captions, (QStringList{"M/G/1", "D/G/1", "M/M/c", "M/D/c", "D/M/c", "G/M/c", "Finite Capacity",
                                     "M/M/c/c+N", "Finite Source", "Transient M/M/1"}));
    EXPECT_EQ(form->PageControl->currentIndex(), static_cast<int>(Page::MDC));
    EXPECT_EQ(LogLines(), (QStringList{TQueueMainForm::HeaderLine(), ""}));
    EXPECT_TRUE(form->Results->isReadOnly());
    EXPECT_EQ(form->Results->lineWrapMode(), QTextEdit::NoWrap);
    // Only the pages whose model is built can run.
    for (const PageInfo& info : Pages()) {
        EXPECT_EQ(form->runButton(info.page)->isEnabled(), info.run != nullptr) << info.caption;
        EXPECT_EQ(form->runButton(info.page)->toolTip(), "Perform calculations (Alt-R is a shortcut)");
        EXPECT_EQ(form->quitButton(info.page)->text(), "&Quit");
    }
    EXPECT_TRUE(form->runButton(Page::MMC)->isEnabled());
    // Menus: "&Bestand", the hidden "&Opties", "&Help".
    ASSERT_EQ(form->moduleMenus().size(), 3);
    EXPECT_EQ(form->fileMenu()->title(), "&Bestand");
    EXPECT_FALSE(form->optionsMenu()->menuAction()->isVisible());
    QStringList help;
    for (QAction* a : form->helpMenu()->actions()) help << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(help, (QStringList{"&Help inhoud", "-", "&Info"}));
    // Every field starts empty, but the CA2 field of G/M/c.
    for (TQueueEdit* e : form->findChildren<TQueueEdit*>())
        if (e->objectName() != "GMC_CA2_Edit") {
            EXPECT_TRUE(e->text().isEmpty()) << e->objectName().toStdString();
        }
    EXPECT_EQ(Find("GMC_CA2_Edit")->text(), "0");
    EXPECT_FALSE(Find("GMC_CA2_Edit")->isEnabled());
}

TEST_F(QueueWindow, EveryPageNameShowsWithoutScrolling) {
    EXPECT_FALSE(form->PageControl->tabBar()->isVisible());
    ASSERT_EQ(form->PageButtons->buttons().size(), 10);
    for (int i = 0; i < 10; ++i) {
        QAbstractButton* b = form->PageButtons->button(i);
        EXPECT_EQ(b->text(), form->PageControl->tabText(i));
        EXPECT_TRUE(b->isVisible() && b->width() >= b->sizeHint().width() &&
                    b->parentWidget()->rect().contains(b->geometry()))
            << b->text().toStdString();
    }
    QTest::mouseClick(form->PageButtons->button(static_cast<int>(Page::MM1)), Qt::LeftButton);
    EXPECT_EQ(form->PageControl->currentIndex(), static_cast<int>(Page::MM1));
    form->PageControl->setCurrentIndex(static_cast<int>(Page::FinCap));
    EXPECT_TRUE(form->PageButtons->button(static_cast<int>(Page::FinCap))->isChecked());
}

TEST_F(QueueWindow, FieldsFilterWhatIsTypedAndTurnYellowWithTheFocus) {
    ShowPage(Page::MMC);
    Type("MMC_Rho_edit", "1,5e-3");
    EXPECT_EQ(Find("MMC_Rho_edit")->text(), "153");
    Type("MMC_C_edit", "-7");
    EXPECT_EQ(Find("MMC_C_edit")->text(), "7");
    EXPECT_EQ(Find("MMC_C_edit")->palette().color(QPalette::Base), QColor(Qt::yellow));
    EXPECT_NE(Find("MMC_Rho_edit")->palette().color(QPalette::Base), QColor(Qt::yellow));
    // The caret goes back by the removed characters before it.
    TQueueEdit* e = Find("MMC_Rho_edit");
    e->setText("12");
    e->setCursorPosition(1);
    QTest::keyClicks(e, "x");
    EXPECT_EQ(e->text(), "12");
    EXPECT_EQ(e->cursorPosition(), 1);
    // List fields filter too: n-values are integers.
    TQueueEdit* n1 = form->listFields(Page::MMC, 'n')[0];
    n1->setText("3.5");
    EXPECT_EQ(n1->text(), "35");
}

TEST_F(QueueWindow, OutputChoicesShowTheirValueLists) {
    for (Page p : {Page::MG1, Page::MMC, Page::MDC}) {
        ShowPage(p);
        const char* group = p == Page::MG1   ? "MG1_Output_RadioGroup"
                            : p == Page::MMC ? "MMC_Output_RadioGroup"
                                             : "MDC_Output_RadioGroup";
        auto shown = [&] {
            return QString("%1%2%3")
                .arg(Shown(form->listGroup(p, 't')))
                .arg(Shown(form->listGroup(p, 'p')))
                .arg(Shown(form->listGroup(p, 'n')));
        };
        EXPECT_EQ(shown(), "000");
        Choose(group, 1);
        EXPECT_EQ(shown(), "100");
        Choose(group, 2);
        EXPECT_EQ(shown(), "010");
        Choose(group, 3);
        EXPECT_EQ(shown(), "001");
        Choose(group, 4);
        EXPECT_EQ(shown(), "000");
    }
    EXPECT_EQ(form->listGroup(Page::MMC, 'n')->title(), "n-values (<= 5000)");
    EXPECT_EQ(form->listGroup(Page::MMC, 'p')->title(), "p-values (<= 0.999999)");
}

TEST_F(QueueWindow, ServiceChoicesSetTheRangeLabels) {
    ShowPage(Page::MG1);
    EXPECT_EQ(Range("MG1_CS2_edit"), "0.01 <= CS2 <= 1");
    Choose("MG1_Service_Type_RadioGroup", 2);
    EXPECT_EQ(Range("MG1_CS2_edit"), "0.5 <= CS2 <= 100");
    Choose("MG1_Service_Type_RadioGroup", 0);
    EXPECT_EQ(Range("MG1_CS2_edit"), "0.01 <= CS2 <= 1");

    ShowPage(Page::DG1);
    auto* pure = Find<TRadioGroup>("DG1_Pure_Erlang_Output_RadioGroup");
    auto* other = Find<TRadioGroup>("DG1_Coxian_Output_RadioGroup");
    Choose("DG1_Coxian_Output_RadioGroup", 1);
    EXPECT_TRUE(Shown(form->listGroup(Page::DG1, 't')));
    Choose("DG1_Service_Type_RadioGroup", 1);
    EXPECT_EQ(Find<QLabel>("DG1_CS2_edit_label")->text(), "1/CS2:");
    EXPECT_EQ(Range("DG1_CS2_edit"), "1..100");
    EXPECT_TRUE(Shown(pure));
    EXPECT_FALSE(Shown(other));
    EXPECT_FALSE(Shown(form->listGroup(Page::DG1, 't'))); // rule 4 ran for the pure group's first item
    Choose("DG1_Pure_Erlang_Output_RadioGroup", 4);
    EXPECT_TRUE(Shown(form->listGroup(Page::DG1, 'n')));
    Choose("DG1_Service_Type_RadioGroup", 3);
    EXPECT_EQ(Find<QLabel>("DG1_CS2_edit_label")->text(), "CS2:");
    EXPECT_EQ(Range("DG1_CS2_edit"), "0.5 <= CS2 <= 100");
    EXPECT_FALSE(Shown(pure));
    EXPECT_FALSE(Shown(form->listGroup(Page::DG1, 'n')));
    EXPECT_TRUE(Shown(form->listGroup(Page::DG1, 't'))); // the other group still has its second item
}

TEST_F(QueueWindow, DMcOutputShowsListsAndTheGraphChoice) {
    ShowPage(Page::DMC);
    auto* graphs = Find<TRadioGroup>("DMC_Graph_GroupBox");
    EXPECT_FALSE(Shown(graphs));
    Choose("DMC_Output_RadioGroup", 4);
    EXPECT_TRUE(Shown(form->listGroup(Page::DMC, 'n')));
    Choose("DMC_Output_RadioGroup", 5);
    EXPECT_TRUE(Shown(graphs));
    EXPECT_FALSE(Shown(form->listGroup(Page::DMC, 'n')));
}

TEST_F(QueueWindow, DeterministicArrivalsRememberTheCA2Text) {
    ShowPage(Page::GMC);
    TQueueEdit* ca2 = Find("GMC_CA2_Edit");
    Choose("GMC_Arrivals_RadioGroup", 1);
    EXPECT_TRUE(ca2->isEnabled());
    EXPECT_EQ(Range("GMC_CA2_Edit"), "0.01 <= CA2 <= 1");
    Type("GMC_CA2_Edit", "2.5");
    Choose("GMC_Arrivals_RadioGroup", 0);
    EXPECT_EQ(ca2->text(), "0");
    EXPECT_FALSE(ca2->isEnabled());
    EXPECT_EQ(Range("GMC_CA2_Edit"), "(deterministic)");
    Choose("GMC_Arrivals_RadioGroup", 0); // twice: the remembered text stays
    Choose("GMC_Arrivals_RadioGroup", 3);
    EXPECT_EQ(ca2->text(), "2.5");
    EXPECT_TRUE(ca2->isEnabled());
    EXPECT_EQ(Range("GMC_CA2_Edit"), "0.5 <= CA2 <= 100");
    Choose("GMC_Output_RadioGroup", 2);
    EXPECT_TRUE(Shown(form->listGroup(Page::GMC, 'p')));
}

TEST_F(QueueWindow, FiniteCapacityLabelsAndTheNCaption) {
    ShowPage(Page::FinCap);
    Choose("FinCap_Type_RadioGroup", 1);
    EXPECT_EQ(Range("FinCap_C_edit"), "<=500");
    EXPECT_EQ(Range("FinCap_N_edit"), "<=1000");
    Type("FinCap_C_edit", "10");
    Type("FinCap_N_edit", "20");
    Choose("FinCap_Output_RadioGroup", 2);
    QGroupBox* n = form->listGroup(Page::FinCap, 'n');
    EXPECT_TRUE(Shown(n));
    EXPECT_EQ(n->title(), "n-values (<=30)");
    Type("FinCap_C_edit", "");
    EXPECT_EQ(n->title(), "n-values");
    Type("FinCap_C_edit", "5");
    EXPECT_EQ(n->title(), "n-values (<=25)");
    Choose("FinCap_Type_RadioGroup", 2);
    EXPECT_EQ(Range("FinCap_C_edit"), "<=500");
    EXPECT_EQ(Range("FinCap_N_edit"), "<=500");
    EXPECT_TRUE(Shown(Find<TRadioGroup>("FinCap_Output2_RadioGroup")));
    EXPECT_FALSE(Shown(Find<TRadioGroup>("FinCap_Output_RadioGroup")));
    EXPECT_FALSE(Shown(n)); // its first item is chosen
    Choose("FinCap_Output2_RadioGroup", 3);
    EXPECT_TRUE(Shown(n));
    Choose("FinCap_Type_RadioGroup", 0);
    EXPECT_EQ(Range("FinCap_C_edit"), "<=2500");
}

TEST_F(QueueWindow, MMcNAndFiniteSourceAndTransientRules) {
    ShowPage(Page::MMCN);
    auto* fixedN = Find<QGroupBox>("MMCN_FixedN_Group");
    auto* fixedC = Find<QGroupBox>("MMCN_FixedC_Group");
    EXPECT_TRUE(Shown(fixedN));
    EXPECT_FALSE(Shown(fixedC));
    EXPECT_FALSE(Shown(Find("MMCN_t_edit")));
    Choose("MMCN_X_RadioGroup", 1);
    EXPECT_FALSE(Shown(fixedN));
    EXPECT_TRUE(Shown(fixedC));
    Choose("MMCN_Y_RadioGroup", 1);
    EXPECT_TRUE(Shown(Find("MMCN_t_edit")));
    EXPECT_TRUE(Shown(Find<QLabel>("MMCN_t_edit_label")));

    ShowPage(Page::FinSrc);
    Choose("FinSrc_Service_RadioGroup", 1);
    EXPECT_EQ(Range("FinSrc_c_Edit"), "<= 250");
    Choose("FinSrc_Output_RadioGroup", 3);
    Type("FinSrc_N_Edit", "40");
    EXPECT_EQ(form->listGroup(Page::FinSrc, 'n')->title(), "n-values (<=40)");
    Type("FinSrc_N_Edit", "");
    EXPECT_EQ(form->listGroup(Page::FinSrc, 'n')->title(), "n-values");
    Choose("FinSrc_Output_RadioGroup", 4);
    EXPECT_TRUE(Shown(Find<TRadioGroup>("FinSrc_Graph_RadioGroup")));

    ShowPage(Page::MM1);
    EXPECT_TRUE(Shown(Find("MM1_end_state_edit")));
    EXPECT_FALSE(Shown(Find("MM1_t_edit")));
    EXPECT_TRUE(Shown(form->listGroup(Page::MM1, 't')));
    Choose("MM1_Output_RadioGroup", 3);
    EXPECT_FALSE(Shown(Find("MM1_end_state_edit")));
    EXPECT_FALSE(Shown(Find<QLabel>("MM1_end_state_edit_range")));
    EXPECT_TRUE(Shown(Find("MM1_t_edit")));
    EXPECT_FALSE(Shown(form->listGroup(Page::MM1, 't')));
    Choose("MM1_Output_RadioGroup", 2);
    EXPECT_TRUE(Shown(Find("MM1_end_state_edit")));
    const std::pair<const char*, const char*> limits[] = {{"0.5", "<= 53"}, {"0.9", "<= 100"}, {"1.005", ""},
                                                          {"2", "<= 100"},  {"11", ""},        {"", ""}};
    for (const auto& [rho, label] : limits) {
        Type("MM1_Rho_edit", rho);
        EXPECT_EQ(Range("MM1_initial_state_edit"), label) << rho;
    }
}

TEST_F(QueueWindow, RunWritesTheStyledReportAndRewritesTheList) {
    ShowPage(Page::MMC);
    Type("MMC_C_edit", "1");
    Type("MMC_Rho_edit", "0.5");
    Choose("MMC_Output_RadioGroup", 3);
    auto& n = form->listFields(Page::MMC, 'n');
    n[0]->setText("6000");
    n[2]->setText("3");
    n[3]->setText("0");
    QTest::mouseClick(form->runButton(Page::MMC), Qt::LeftButton);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(n[0]->text(), "0");
    EXPECT_EQ(n[1]->text(), "3");
    EXPECT_EQ(n[2]->text(), "6000**");
    EXPECT_EQ(n[3]->text(), "");
    const QStringList lines = LogLines();
    ASSERT_EQ(lines.size(), 2 + 14);
    EXPECT_EQ(lines[2], "M/M/c queue");
    EXPECT_EQ(lines[3], "Parameters: c=1  rho=0.5");
    EXPECT_EQ(lines[12], "   0   0.5000000   0.5000000");
    EXPECT_EQ(lines[13], "   3   0.0625000   0.0625000");
    EXPECT_EQ(lines[14], "Accuracy Check =       0");
    // Styles: the title blue, italic and underlined; the parameters bold; the
    // table's heading and last row underlined.
    auto format = [&](int line) {
        return form->Results->document()->findBlockByNumber(line).begin().fragment().charFormat();
    };
    EXPECT_TRUE(format(2).fontItalic());
    EXPECT_TRUE(format(2).fontUnderline());
    EXPECT_EQ(format(2).foreground().color(), QColor(Qt::blue));
    EXPECT_EQ(format(3).fontWeight(), QFont::Bold);
    EXPECT_FALSE(format(4).fontUnderline());
    EXPECT_TRUE(format(11).fontUnderline());
    EXPECT_FALSE(format(12).fontUnderline());
    EXPECT_TRUE(format(13).fontUnderline());
    // Running again appends.
    QTest::mouseClick(form->runButton(Page::MMC), Qt::LeftButton);
    EXPECT_EQ(LogLines().size(), 2 + 28);
    // Clear: the header line and an empty line.
    QTest::mouseClick(form->ClearButton, Qt::LeftButton);
    EXPECT_EQ(LogLines(), (QStringList{TQueueMainForm::HeaderLine(), ""}));
}

TEST_F(QueueWindow, InputErrorsShowTheErrorBoxAndWriteNothing) {
    ShowPage(Page::MMC);
    // c is read before rho.
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"", "0.5", "c incorrect"},     {"99999999999", "0.5", "c incorrect"},
        {"0", "0.5", "c out of range"}, {"2501", "0.5", "c out of range"},
        {"3", "", "Rho incorrect"},     {"3", ".", "Rho incorrect"},
        {"3", "0", "Rho out of range"}, {"3", "0.9991", "Rho out of range"}};
    for (const auto& [c, rho, message] : cases) {
        dialogs.clear();
        Type("MMC_C_edit", c);
        Type("MMC_Rho_edit", rho);
        QTest::mouseClick(form->runButton(Page::MMC), Qt::LeftButton);
        ASSERT_EQ(dialogs.messages.size(), 1u) << c << " " << rho;
        EXPECT_EQ(dialogs.messages[0].text, message);
        EXPECT_EQ(dialogs.messages[0].kind, tarvik::ui::MsgKind::Error);
        EXPECT_EQ(dialogs.messages[0].buttons, tarvik::ui::mbOKCancel);
    }
    EXPECT_EQ(LogLines(), (QStringList{TQueueMainForm::HeaderLine(), ""}));
    // The guard writes into the log, no box.
    dialogs.clear();
    Type("MMC_C_edit", "2500");
    Type("MMC_Rho_edit", "0.7");
    QTest::mouseClick(form->runButton(Page::MMC), Qt::LeftButton);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(LogLines().mid(2), (QStringList{"Rho too small for reliable results.", ""}));
}

TEST_F(QueueWindow, GraphsOpenCascadedGraphWindows) {
    ShowPage(Page::MMC);
    Type("MMC_C_edit", "10");
    Type("MMC_Rho_edit", "0.8");
    Choose("MMC_Output_RadioGroup", 4);
    QTest::mouseClick(form->runButton(Page::MMC), Qt::LeftButton);
    ProcessEvents();
    auto windows = form->graphWindows();
    ASSERT_EQ(windows.size(), 1u);
    TQueueGraphForm* g = windows[0];
    EXPECT_EQ(g->windowTitle(), "Graph");
    EXPECT_EQ(g->objectName(), "TMG1_GraphForm");
    EXPECT_FALSE(g->isModal());
    EXPECT_EQ(g->titleLabel()->text(), "Logarithmic Graphs of the M/M/c queue");
    EXPECT_EQ(g->label(0)->text(), "c =   10");
    EXPECT_EQ(g->label(1)->text(), "rho = 0.8");
    EXPECT_EQ(g->closeButton()->text(), "&Close");
    // F1 anywhere in a graph window opens the topic of the page that drew it
    // (the M/M/c page), not that of another module.
    EXPECT_EQ(tarvik::ui::HelpContextOf(g->closeButton()), 120);
    ASSERT_EQ(g->graphs().size(), 2u);
    const auto& wait = g->graphs()[0]->Series(1);
    EXPECT_GE(wait.Count(), 24);
    EXPECT_TRUE(wait.ShowLine);
    EXPECT_FALSE(wait.ShowPoints);
    EXPECT_EQ(wait.LineColor, tarvik::plot::colors::Blue);
    EXPECT_EQ(g->graphs()[0]->Appearance.GraphTitle, "P(Wq>t | Wq>0)");
    EXPECT_EQ(g->graphs()[1]->Appearance.GraphTitle, "P(L>n | L>0)");
    EXPECT_EQ(g->graphs()[1]->XAxis.Title, "State n");
    EXPECT_TRUE(g->graphs()[0]->YAxis.LogScale);
    // The window fits its graphs with 10 pixels to spare.
    const QRect last = g->graphs().back()->geometry();
    EXPECT_EQ(g->width(), last.right() + 1 + 10);
    EXPECT_EQ(g->height(), last.bottom() + 1 + 10);
    // A second run opens a second window; Close releases one.
    QTest::mouseClick(form->runButton(Page::MMC), Qt::LeftButton);
    ProcessEvents();
    ASSERT_EQ(form->graphWindows().size(), 2u);
    QTest::mouseClick(g->closeButton(), Qt::LeftButton);
    ProcessEvents();
    ASSERT_EQ(form->graphWindows().size(), 1u);
    // Pdelay too small: the notice, no window.
    Type("MMC_C_edit", "25");
    Type("MMC_Rho_edit", "0.2");
    QTest::mouseClick(form->runButton(Page::MMC), Qt::LeftButton);
    ProcessEvents();
    EXPECT_EQ(form->graphWindows().size(), 1u);
    EXPECT_EQ(LogLines()[LogLines().size() - 2], "Pdelay too small for graphs");
    // Closing the module releases the graph windows.
    QPointer<TQueueGraphForm> open = form->graphWindows()[0];
    form->closeModule();
    ProcessEvents();
    EXPECT_TRUE(open.isNull());
}

TEST_F(QueueWindow, GraphWindowsTakeCascadePlaces) {
    GraphWindowData data;
    data.design = GraphDesign::GMC;
    data.title = "t";
    data.graphs = {GraphData{}};
    std::unique_ptr<TQueueGraphForm> w(TQueueGraphForm::Create(data, nullptr, 150));
    const QPoint design = w->designPosition();
    w->Place(0, QSize(2000, 1500));
    EXPECT_EQ(w->pos(), design);
    w->Place(3, QSize(2000, 1500));
    EXPECT_EQ(w->pos(), design + QPoint(60, 60));
    // A screen no larger than the window: the position is 0, no division by zero.
    w->Place(3, w->size());
    EXPECT_EQ(w->pos(), QPoint(0, 0));
    EXPECT_EQ(w->label(2)->isVisibleTo(w.get()), true);
}

TEST_F(QueueWindow, QuitAskAndCloseOnlyOnYes) {
    ShowPage(Page::MG1);
    dialogs.messageAnswers = {tarvik::ui::mrNo};
    QTest::mouseClick(form->quitButton(Page::MG1), Qt::LeftButton);
    ASSERT_EQ(dialogs.messageTexts().size(), 1u);
    EXPECT_EQ(dialogs.messageTexts()[0], "Do you want to quit from queue?");
    EXPECT_EQ(dialogs.messages[0].buttons, tarvik::ui::mbYesNo);
    EXPECT_FALSE(form->isClosing());
    dialogs.messageAnswers = {tarvik::ui::mrNo};
    form->AfsluitenClick();
    EXPECT_EQ(dialogs.messageTexts()[1], "Wilt u Queue afsluiten?");
    EXPECT_FALSE(form->isClosing());
    QSignalSpy closed(form.data(), &tarvik::ui::ModuleWindow::moduleClosed);
    dialogs.messageAnswers = {tarvik::ui::mrYes};
    QTest::mouseClick(form->quitButton(Page::MG1), Qt::LeftButton);
    EXPECT_EQ(closed.count(), 1);
}

TEST_F(QueueWindow, PrintInfoAndClear) {
    QTest::mouseClick(form->PrintButton, Qt::LeftButton);
    EXPECT_EQ(dialogs.printRequests, 1);
    form->InfoClick();
    ProcessEvents();
    ASSERT_NE(form->aboutBox(), nullptr);
    EXPECT_TRUE(form->aboutBox()->isVisible());
    EXPECT_TRUE(form->aboutBox()->isModal());
    EXPECT_EQ(form->aboutBox()->windowTitle(), "Info");
    EXPECT_NE(form->aboutBox()->findChild<QLabel*>("Version"), nullptr);
    EXPECT_EQ(form->aboutBox()->findChild<QLabel*>("Version")->text(), "Versie: 1.0");
    QTest::mouseClick(form->aboutBox()->okButton(), Qt::LeftButton);
    EXPECT_FALSE(form->aboutBox()->isVisible());
}

} // namespace
} // namespace tarvik::queue::ui
