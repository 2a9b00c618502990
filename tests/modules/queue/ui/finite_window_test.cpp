// The finite-capacity, M/M/c/c+N graph, finite-source and transient M/M/1
// pages driven through their widgets.
#include "queuewindowtesting.h"

namespace tarvik::queue::ui {
namespace {

class FiniteQueuePages : public QueueWindowTest {};

TEST_F(FiniteQueuePages, FiniteCapacityTablesAndGraphs) {
    ShowPage(Page::FinCap);
    EXPECT_TRUE(form->runButton(Page::FinCap)->isEnabled());
    Choose("FinCap_Type_RadioGroup", 2);
    Type("FinCap_C_edit", "2");
    Type("FinCap_Rho_edit", "0.8");
    Type("FinCap_N_edit", "3");
    Choose("FinCap_Output2_RadioGroup", 3);
    auto& n = form->listFields(Page::FinCap, 'n');
    n[0]->setText("6");
    n[1]->setText("1");
    Run(Page::FinCap);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(n[0]->text(), "1");
    EXPECT_EQ(n[1]->text(), "6**");
    QStringList lines = LogLines().mid(2);
    ASSERT_EQ(lines.size(), 15);
    EXPECT_EQ(lines[0], "D/M/c/c+N queue");
    EXPECT_EQ(lines[1], "Parameters: c=2  rho=0.8  N=3");
    EXPECT_EQ(lines[2], "Results :       Prej        = 0.0316668");
    EXPECT_EQ(lines[11], "   n  P{L(cust)=n}  P{L(cust)>n}");

    // Graphs: the two-graph window with the type in its title and N shown.
    Choose("FinCap_Output2_RadioGroup", 4);
    Run(Page::FinCap);
    ASSERT_EQ(form->graphWindows().size(), 1u);
    TQueueGraphForm* g = form->graphWindows()[0];
    EXPECT_EQ(g->objectName(), "TMG1_GraphForm");
    EXPECT_EQ(g->titleLabel()->text(), "Logarithmic Graphs of the D/M/c/c+N queue");
    EXPECT_EQ(g->label(0)->text(), "c = 2");
    EXPECT_EQ(g->label(1)->text(), "rho = 0.8");
    EXPECT_EQ(g->serviceLabel()->text(), "n = 3");
    EXPECT_TRUE(g->graphs()[1]->Series(1).ShowPoints); // five states: markers
    // Times and states are never negative: both axes start at 0.
    EXPECT_EQ(std::pair(g->graphs()[0]->XAxis.Min, g->graphs()[1]->XAxis.Min), std::pair(0.0, 0.0));

    // Input errors: the error box, nothing written.
    dialogs.clear();
    const int before = LogLines().size();
    Type("FinCap_N_edit", "501");
    Run(Page::FinCap);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "0 <= N <= 500 required");
    EXPECT_EQ(dialogs.messages[0].caption, "Error");
    EXPECT_EQ(LogLines().size(), before);
}

TEST_F(FiniteQueuePages, MMcNGraphIsLinearWithOnePointPerValue) {
    ShowPage(Page::MMCN);
    Type("MMCN_Arrival_edit", "3");
    Type("MMCN_ES_edit", "1");
    Type("MMCN_cap_edit", "2");
    Type("MMCN_c_from_edit", "1");
    Type("MMCN_c_to_edit", "25");
    Run(Page::MMCN);
    ASSERT_TRUE(dialogs.messages.empty()) << dialogs.messages[0].text.toStdString();
    EXPECT_EQ(LogLines().size(), 2); // no log lines
    ASSERT_EQ(form->graphWindows().size(), 1u);
    TQueueGraphForm* g = form->graphWindows()[0];
    EXPECT_EQ(g->objectName(), "TGMC_Graph1");
    EXPECT_EQ(g->titleLabel()->text(), "Graph of the M/M/c/c+N queue");
    EXPECT_EQ(g->label(0)->text(), "lambda = 3");
    EXPECT_EQ(g->label(1)->text(), "ES = 1");
    EXPECT_EQ(g->label(2)->text(), "N = 2");
    auto& graph = *g->graphs()[0];
    EXPECT_EQ(graph.Appearance.GraphTitle, "Prej");
    EXPECT_EQ(graph.XAxis.Title, "Servers c");
    EXPECT_FALSE(graph.YAxis.LogScale);
    EXPECT_EQ(graph.YAxis.Min, 0);
    EXPECT_EQ(graph.YAxis.Max, 1);
    EXPECT_EQ(graph.Series(1).Count(), 25);
    EXPECT_TRUE(graph.Series(1).ShowPoints); // 25 points still carry markers

    // The other axis: the "Fixed c" group's fields and the time field.
    Choose("MMCN_X_RadioGroup", 1);
    Choose("MMCN_Y_RadioGroup", 1);
    Type("MMCN_c_edit", "2");
    Type("MMCN_N_from_edit", "5");
    Type("MMCN_N_to_edit", "4");
    Type("MMCN_t_edit", "1");
    Run(Page::MMCN);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Upper bound should be greater than lower bound");
    EXPECT_EQ(form->graphWindows().size(), 1u);
}

TEST_F(FiniteQueuePages, FiniteSourceOverloadAndGraph) {
    ShowPage(Page::FinSrc);
    Choose("FinSrc_Service_RadioGroup", 1);
    Type("FinSrc_c_Edit", "1");
    Type("FinSrc_N_Edit", "20");
    Type("FinSrc_nu_edit", "5");
    Choose("FinSrc_Output_RadioGroup", 2);
    form->listFields(Page::FinSrc, 'n')[0]->setText("3");
    Run(Page::FinSrc);
    QStringList lines = LogLines().mid(2);
    ASSERT_EQ(lines.size(), 12);
    EXPECT_EQ(lines[2], "Approximations: Pwait       = 1.0000000");
    EXPECT_EQ(lines[8], "The time average state probabilities cannot be computed ");
    EXPECT_EQ(lines[9], "accurately enough for this extremely overloaded system.");

    Choose("FinSrc_Service_RadioGroup", 0);
    Type("FinSrc_c_Edit", "2");
    Type("FinSrc_nu_edit", "0.1");
    Choose("FinSrc_Output_RadioGroup", 4);
    Choose("FinSrc_Graph_RadioGroup", 0);
    Run(Page::FinSrc);
    ASSERT_EQ(form->graphWindows().size(), 1u);
    TQueueGraphForm* g = form->graphWindows()[0];
    EXPECT_EQ(g->titleLabel()->text(), "Logarithmic graph of the machine repair queue");
    EXPECT_EQ(g->serviceLabel()->text(), "Exponential services");
    EXPECT_EQ(g->graphs()[0]->Appearance.GraphTitle, "P{Wq > t | Wq > 0}");
    EXPECT_TRUE(g->graphs()[0]->YAxis.LogScale);
    EXPECT_EQ(g->graphs()[0]->YAxis.Min, 0.001);
}

TEST_F(FiniteQueuePages, TransientErrorsAndGraph) {
    ShowPage(Page::MM1);
    Type("MM1_Rho_edit", "0.995");
    Type("MM1_initial_state_edit", "0");
    Type("MM1_end_state_edit", "0");
    Run(Page::MM1);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "rho out of bounds");
    EXPECT_EQ(dialogs.messages[0].caption, "ERROR");
    EXPECT_EQ(dialogs.messages[0].buttons, tarvik::ui::mbOKCancel);
    EXPECT_EQ(LogLines().size(), 2);

    dialogs.clear();
    Type("MM1_Rho_edit", "0.7");
    Type("MM1_initial_state_edit", "3");
    Type("MM1_end_state_edit", "5");
    Choose("MM1_Output_RadioGroup", 4);
    Type("MM1_t_edit", "30");
    Run(Page::MM1);
    ASSERT_TRUE(dialogs.messages.empty());
    ASSERT_EQ(form->graphWindows().size(), 1u);
    TQueueGraphForm* g = form->graphWindows()[0];
    EXPECT_EQ(g->objectName(), "TGMC_Graph1");
    EXPECT_EQ(g->titleLabel()->text(), "Transient M/M/1 queue");
    EXPECT_EQ(g->label(1)->text(), "i=3 j=5");
    EXPECT_EQ(g->label(2)->text(), "t <= 30");
    auto& graph = *g->graphs()[0];
    EXPECT_EQ(graph.Appearance.GraphTitle, "Std Lq(i,t)");
    EXPECT_FALSE(graph.YAxis.LogScale);
    // Time runs from 0 to t; the standard deviation's axis starts at 0 too.
    EXPECT_EQ(std::tuple(graph.XAxis.Min, graph.XAxis.Max, graph.YAxis.Min), std::tuple(0, 30, 0));
    EXPECT_EQ(graph.Series(1).Count(), 201);
    EXPECT_TRUE(graph.Series(1).ShowLine);
    EXPECT_FALSE(graph.Series(1).ShowPoints);

    // The graph window saves its picture and prints it.
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("graph.png"));
    dialogs.fileAnswers = {png};
    QTest::mouseClick(g->saveButton(), Qt::LeftButton);
    EXPECT_EQ(QImage(png).size(), g->size());
    QTest::mouseClick(g->printButton(), Qt::LeftButton);
    EXPECT_EQ(dialogs.printRequests, 1);
}

} // namespace
} // namespace tarvik::queue::ui
