// The texts of the Monte Carlo pictures stand clear of one another.
#include "common/ui/picturetext.h"
#include "modules/montecarlo/lotto.h"
#include "modules/montecarlo/ui/mcbdpunit.h"
#include "modules/montecarlo/ui/mcbuffonunit.h"
#include "modules/montecarlo/ui/mcdraw.h"
#include "modules/montecarlo/ui/mckrasunit.h"
#include "modules/montecarlo/ui/mcreport.h"
#include "modules/montecarlo/ui/mcsppunit.h"
#include "modules/montecarlo/ui/mctesting.h"
#include "modules/montecarlo/ui/mcunit.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QPointer>
#include <QTextBlock>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

using namespace tarvik::montecarlo;
using namespace tarvik::montecarlo::ui;
using tarvik::ui::PictureTextLog;

std::string Overlap(const PictureTextLog& log) {
    const auto o = log.overlap();
    return o ? (o->first.text + QStringLiteral(" / ") + o->second.text).toStdString() : std::string();
}

TEST(MCPictureTexts, ValuesStandClearOfTheAxisNumbersAndOfOneAnother) {
    tarvik::test::ScriptedDialogs dialogs;
    QPointer<TMC> module = new TMC;
    // Birthday: the exact probability's value beside its red line, for every
    // line height the persons can give.
    auto* birthday = module->findChild<TMCBDPPlot*>();
    for (double exact : {0.0, 0.2529, 0.5073, 0.7533, 0.9704, 1.0}) {
        PictureTextLog log;
        birthday->DrawEmpty(exact, 100000);
        EXPECT_EQ(Overlap(log), "") << exact;
        EXPECT_EQ(log.texts.size(), 9u) << exact; // eight texts and the value
    }
    // St Petersburg: the curve leaves the plot at every column.
    auto* spp = module->findChild<TMCSPPPlot*>();
    {
        PictureTextLog log;
        spp->DrawEmpty(100000, 25);
        for (int c = 1; c <= 300; ++c) spp->DrawColumn({c, 20, 40.0 + c});
        EXPECT_EQ(Overlap(log), "");
        EXPECT_GT(log.texts.size(), 10u); // values still stand along the top
    }
    // Scratch lottery: the number of tickets a blank after its label.
    auto* table = module->findChild<TMCKrasTabel*>();
    {
        PictureTextLog log;
        ScratchResult r;
        r.tickets = 5;
        r.weeks = r.completed = 10;
        table->Draw(r, 1.0);
        EXPECT_EQ(Overlap(log), "");
        const auto label = std::find_if(log.texts.begin(), log.texts.end(), [](const auto& t) {
            return t.text == QStringLiteral("Number of lottery tickets");
        });
        ASSERT_NE(label, log.texts.end());
        EXPECT_EQ((label + 1)->text, QStringLiteral("5"));
        EXPECT_GE((label + 1)->box.left() - label->box.right(), 3);
    }
    delete module.data();
}

TEST(MCPictureTexts, BuffonsValuesFollowTheirLabelsWithoutCoveringThem) {
    tarvik::test::ScriptedDialogs dialogs;
    QPointer<TMC> module = new TMC;
    module->show();
    auto* plot = module->findChild<TMCBuffonPlot*>();
    PictureTextLog log;
    plot->StartRun(300, true);
    tarvik::montecarlo::test::WaitWhile([&] { return plot->running(); });
    EXPECT_EQ(Overlap(log), "");
    EXPECT_EQ(log.texts.size(), 8u); // four labels, four values
    // Every label is painted once: not thickened by painting it over and over.
    const QString label = QStringLiteral("Approximation of Pi:");
    const int w = QFontMetrics(CanvasFont()).horizontalAdvance(label);
    QImage once(w, 16, QImage::Format_RGB32);
    once.fill(ButtonFace());
    {
        QPainter p(&once);
        p.setFont(CanvasFont());
        p.setPen(Qt::black);
        TextAt(p, 0, 0, label);
    }
    EXPECT_EQ(plot->picture().copy(448, 456, w, 16), once);
    delete module.data();
}

TEST(MCPictureTexts, TheLottoReportSetsTheDeviationApartFromItsLabel) {
    QTextEdit view;
    LottoState s;
    s.Reset(45, 6, 100);
    FillReport(&view, LottoReport(s));
    const QTextBlock block = view.document()->findBlock(
        static_cast<int>(view.toPlainText().indexOf(QStringLiteral("Standard deviation of X"))));
    ASSERT_TRUE(block.text().startsWith(QStringLiteral("Standard deviation of X")));
    QTextCursor c(block);
    c.setPosition(block.position() + 23); // after the "X"
    EXPECT_GT(c.charFormat().fontLetterSpacing(), 0);
    c.setPosition(block.position() + 22);
    EXPECT_EQ(c.charFormat().fontLetterSpacing(), 0);
}

} // namespace
