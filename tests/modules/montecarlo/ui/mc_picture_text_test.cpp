// The texts of the Monte Carlo pictures stand clear of one another.
#include "common/ui/picturetext.h"
#include "modules/montecarlo/lotto.h"
#include "modules/montecarlo/ui/mcbdpunit.h"
#include "modules/montecarlo/ui/mcbuffonunit.h"
#include "modules/montecarlo/ui/mckrasunit.h"
#include "modules/montecarlo/ui/mcreport.h"
#include "modules/montecarlo/ui/mcsppunit.h"
#include "modules/montecarlo/ui/mctesting.h"
#include "modules/montecarlo/ui/mcunit.h"
#include "support/scripteddialogs.h"
#include <QTextBlock>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {
using namespace tarvik::montecarlo;
using namespace tarvik::montecarlo::ui;
using tarvik::ui::PictureTextLog;

std::string Overlap(const PictureTextLog& log) {
    return log.overlap() ? (log.overlap()->first.text + " / " + log.overlap()->second.text).toStdString()
                         : "";
}

TEST(MCPictureTexts, ValuesStandClearOfTheAxisNumbersAndOfOneAnother) {
    tarvik::test::ScriptedDialogs dialogs;
    std::unique_ptr<TMC> module(new TMC);
    // Birthday: the exact probability beside its red line, at every height.
    for (double exact : {0.0, 0.2529, 0.5073, 0.7533, 0.9704, 1.0}) {
        PictureTextLog log;
        module->findChild<TMCBDPPlot*>()->DrawEmpty(exact, 100000);
        EXPECT_EQ(Overlap(log), "") << exact;
    }
    { // St Petersburg: the curve leaves the plot at every column.
        PictureTextLog log;
        auto* spp = module->findChild<TMCSPPPlot*>();
        spp->DrawEmpty(100000, 25);
        for (int c = 1; c <= 300; ++c) spp->DrawColumn({c, 20, 40.0 + c});
        EXPECT_EQ(Overlap(log), "");
        EXPECT_GT(log.texts.size(), 10u); // values still stand along the top
    }
    { // Scratch lottery: the number of tickets a blank after its label.
        PictureTextLog log;
        module->findChild<TMCKrasTabel*>()->Draw(ScratchResult{.tickets = 5, .weeks = 10, .completed = 10},
                                                 1.0);
        EXPECT_EQ(Overlap(log), "");
        ASSERT_EQ(log.texts[1].text, QStringLiteral("Number of lottery tickets"));
        EXPECT_EQ(log.texts[2].text, QStringLiteral("5"));
        EXPECT_GE(log.texts[2].box.left() - log.texts[1].box.right(), 3);
    }
    // Buffon: each value after its label; every label painted once, not
    // thickened by painting it over and over.
    PictureTextLog log;
    auto* buffon = module->findChild<TMCBuffonPlot*>();
    buffon->StartRun(300, true);
    tarvik::montecarlo::test::WaitWhile([&] { return buffon->running(); });
    EXPECT_EQ(Overlap(log), "");
    const QString label = QStringLiteral("Approximation of Pi:");
    QImage once(QFontMetrics(CanvasFont()).horizontalAdvance(label), 16, QImage::Format_RGB32);
    once.fill(ButtonFace());
    QPainter p(&once);
    p.setFont(CanvasFont());
    TextAt(p, 0, 0, label);
    EXPECT_EQ(buffon->picture().copy(448, 456, once.width(), 16), once);
}

TEST(MCPictureTexts, TheLottoReportSetsTheDeviationApartFromItsLabel) {
    QTextEdit view;
    LottoState s;
    s.Reset(45, 6, 100);
    FillReport(&view, LottoReport(s));
    QTextCursor c(view.document()->find(QStringLiteral("Standard deviation of X")));
    c.setPosition(c.block().position() + 23); // after the "X"
    EXPECT_GT(c.charFormat().fontLetterSpacing(), 0);
    c.setPosition(c.block().position() + 22);
    EXPECT_EQ(c.charFormat().fontLetterSpacing(), 0);
}

} // namespace
