// The pages of the two-moment and renewal models driven through the window.
#include "queuewindowtesting.h"

namespace tarvik::queue::ui {
namespace {

class QueueModelPages : public QueueWindowTest {};

TEST_F(QueueModelPages, RunButtonsOfTheModelPagesAreEnabled) {
    for (Page p : {Page::MG1, Page::DG1, Page::MDC, Page::DMC, Page::GMC})
        EXPECT_TRUE(form->runButton(p)->isEnabled()) << PageOf(p).caption;
}

TEST_F(QueueModelPages, MG1CoxianPercentilesAndGraphs) {
    ShowPage(Page::MG1);
    Choose("MG1_Service_Type_RadioGroup", 2);
    Type("MG1_CS2_edit", "2");
    Type("MG1_Rho_edit", "0.7");
    Choose("MG1_Output_RadioGroup", 2);
    auto& p = form->listFields(Page::MG1, 'p');
    p[0]->setText("0.99");
    p[1]->setText("0.2");
    Run(Page::MG1);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(p[0]->text(), "0.2");
    const QStringList lines = LogLines();
    ASSERT_EQ(lines.size(), 2 + 14);
    EXPECT_EQ(lines[2], "M/G/1 queue (Coxian-2 services, balanced)");
    EXPECT_EQ(lines[3], "Parameters: CS2=2  rho=0.7");
    EXPECT_EQ(lines[4], "Results: Pwait   = 0.7");
    EXPECT_EQ(lines[11], "         p Percentile");
    EXPECT_EQ(lines[12], "  0.200000  undefined");
    Choose("MG1_Output_RadioGroup", 4);
    Run(Page::MG1);
    ASSERT_EQ(form->graphWindows().size(), 1u);
    TQueueGraphForm* g = form->graphWindows()[0];
    EXPECT_EQ(g->titleLabel()->text(), "Logarithmic Graphs of the M/G/1 queue");
    EXPECT_EQ(g->label(0)->text(), "CS2 = 2");
    EXPECT_EQ(g->label(1)->text(), "rho = 0.7");
    EXPECT_EQ(g->serviceLabel()->text(), "Coxian-2 services (balanced).");
    ASSERT_EQ(g->graphs().size(), 2u);
    EXPECT_GE(g->graphs()[0]->Series(1).Count(), 24);
    EXPECT_GE(g->graphs()[1]->Series(1).Count(), 5);
    // An input error: one box, nothing written.
    const int before = LogLines().size();
    Type("MG1_CS2_edit", "0.4");
    Run(Page::MG1);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "CS2 out of bounds");
    EXPECT_EQ(LogLines().size(), before);
}

TEST_F(QueueModelPages, DG1PureErlangStateTableAndOneGraph) {
    ShowPage(Page::DG1);
    Choose("DG1_Service_Type_RadioGroup", 1);
    Type("DG1_CS2_edit", "2");
    Type("DG1_Rho_edit", "0.8");
    Choose("DG1_Pure_Erlang_Output_RadioGroup", 3);
    auto& n = form->listFields(Page::DG1, 'n');
    n[0]->setText("2");
    n[1]->setText("0");
    Run(Page::DG1);
    EXPECT_TRUE(dialogs.messages.empty());
    const QStringList lines = LogLines();
    ASSERT_EQ(lines.size(), 2 + 14);
    EXPECT_EQ(lines[2], "D/G/1 queue (Erlangian services)");
    EXPECT_EQ(lines[4], "Results: Pwait   = 0.547623");
    EXPECT_EQ(lines[11], "   n  P{L(time)=n}  P{L(time)>n)");
    EXPECT_EQ(lines[12], "   0     0.2000000     0.8000000");
    Choose("DG1_Pure_Erlang_Output_RadioGroup", 5);
    Run(Page::DG1);
    ASSERT_EQ(form->graphWindows().size(), 1u);
    TQueueGraphForm* g = form->graphWindows()[0];
    EXPECT_EQ(g->objectName(), "TDG1_Graph1");
    EXPECT_EQ(g->titleLabel()->text(), "Logarithmic Graph of the D/G/1 queue");
    EXPECT_EQ(g->serviceLabel()->text(), "Erlangian services.");
    ASSERT_EQ(g->graphs().size(), 1u);
    EXPECT_EQ(g->graphs()[0]->Appearance.GraphTitle, "P(Wq>t | Wq>0)");
}

TEST_F(QueueModelPages, MDcDMcAndGMcRun) {
    ShowPage(Page::MDC);
    Type("MDC_C_edit", "2");
    Type("MDC_Rho_edit", "0.7");
    Choose("MDC_Output_RadioGroup", 0);
    Run(Page::MDC);
    EXPECT_EQ(LogLines()[2], "M/D/c queue");
    EXPECT_EQ(LogLines()[4], "Results: Pwait   = 0.565367");

    ShowPage(Page::DMC);
    Type("DMC_C_edit", "3");
    Type("DMC_Rho_edit", "0.8");
    Choose("DMC_Output_RadioGroup", 5);
    Choose("DMC_Graph_GroupBox", 2);
    Run(Page::DMC);
    ASSERT_EQ(form->graphWindows().size(), 1u);
    TQueueGraphForm* g = form->graphWindows()[0];
    EXPECT_EQ(g->titleLabel()->text(), "Logarithmic Graphs of the D/M/c queue");
    EXPECT_EQ(g->label(0)->text(), "c =    3");
    ASSERT_EQ(g->graphs().size(), 1u);
    EXPECT_EQ(g->graphs()[0]->Appearance.GraphTitle, "P(L(cust)>n | L(cust)>0)");
    EXPECT_EQ(g->graphs()[0]->XAxis.Title, "State n");

    ShowPage(Page::GMC);
    Choose("GMC_Arrivals_RadioGroup", 1);
    Type("GMC_CA2_Edit", "0.01");
    Type("GMC_C_edit", "1");
    Type("GMC_Rho_edit", "0.015");
    Choose("GMC_Output_RadioGroup", 0);
    const int before = LogLines().size();
    Run(Page::GMC);
    // A root below the bisection's interval: the report is written and the window stays.
    EXPECT_TRUE(dialogs.messages.empty());
    ASSERT_FALSE(form.isNull());
    const QStringList lines = LogLines().mid(before);
    ASSERT_GE(lines.size(), 9);
    EXPECT_EQ(lines[0], "G/M/c queue (Erlangian arrivals)");
    EXPECT_EQ(lines[3], "         Pbusy   = 0.015");
    Choose("GMC_Output_RadioGroup", 3);
    Type("GMC_Rho_edit", "0.8");
    Type("GMC_C_edit", "4");
    Run(Page::GMC);
    ASSERT_EQ(form->graphWindows().size(), 2u);
    TQueueGraphForm* gm = form->graphWindows()[1];
    EXPECT_EQ(gm->objectName(), "TGMC_Graph1");
    EXPECT_EQ(gm->titleLabel()->text(), "Logarithmic Graph of the G/M/c queue");
    EXPECT_EQ(gm->label(0)->text(), "CA2 = 0.01");
    EXPECT_EQ(gm->label(2)->text(), "c = 4");
    EXPECT_EQ(gm->serviceLabel()->text(), "Erlangian arrivals");
}

} // namespace
} // namespace tarvik::queue::ui
