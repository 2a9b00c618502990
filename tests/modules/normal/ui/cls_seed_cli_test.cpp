// The square-root law run from a seed fixed with "Seed..." draws the means that
// `tarvik-solve --normal sqrt-law --seed S --points` prints.
#include "common/random.h"
#include "common/ui/seed.h"
#include "modules/normal/normalcli.h"
#include "modules/normal/sqrtlaw.h"
#include "modules/normal/ui/clsdialogen.h"
#include "modules/normal/ui/clsgrafiekunit.h"
#include "modules/normal/ui/clspictures.h"
#include "modules/normal/ui/clsunit.h"
#include "modules/normal/ui/normalmodule.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace tarvik::normal::ui {
namespace {

using tarvik::test::ProcessEvents;

// The picture of the command line's means, drawn as the window draws its own.
QImage PictureOfTheCommandLine(int count, std::uint32_t seed, bool big, int& drawn, QStringList& within) {
    std::ostringstream out, err;
    EXPECT_EQ(RunCli({"--normal", "sqrt-law", "--count", std::to_string(count), "--seed",
                      std::to_string(seed), "--points"},
                     out, err),
              0)
        << err.str();
    QImage picture = NewPicture(kSqrtWidth, kSqrtHeight);
    DrawSqrtFrame(picture);
    drawn = 0;
    std::istringstream in(out.str());
    int group = 0, means = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("n = ", 0) == 0) {
            ++group;
            const std::size_t at = line.find("within 2/sqrt(n) ") + 17;
            within << QString::fromStdString(line.substr(at, line.find('\t', at) - at));
            continue;
        }
        const SqrtPoint point = PlacePoint(group, std::stod(line));
        DrawSqrtPoint(picture, point, big);
        drawn += point.drawn ? 1 : 0;
        ++means;
    }
    EXPECT_EQ(means, 4 * count);
    return picture;
}

TEST(ClsSeedCli, TheSquareRootLawDrawsTheMeansOfTheCommandLine) {
    struct Case {
        int count;
        bool big;
        std::uint32_t seed;
    };
    const Case cases[] = {{10, false, 0}, {60, true, 31337}, {25, false, 4294967295u}};
    SetYieldInterval(std::chrono::microseconds(0));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seed);
        tarvik::test::ScriptedDialogs dialogs;
        QPointer<TCLS> module = static_cast<TCLS*>(CreateNormalWindow(nullptr));
        module->show();
        ProcessEvents();
        dialogs.textAnswers = {QString::number(c.seed)};
        module->findChild<QAction*>("SeedCommand")->trigger();
        QTest::mouseClick(module->chooser()->SqrtBtn, Qt::LeftButton, {},
                          QPoint(6, module->chooser()->SqrtBtn->height() / 2));
        QTest::mouseClick(module->chooser()->OKBtn, Qt::LeftButton);
        ProcessEvents();
        TCLSWortelNAantal* settings = module->sqrtCount();
        ASSERT_TRUE(settings->isVisible());
        settings->CountEdit->setValue(c.count);
        settings->BigBox->setChecked(c.big);
        int drawn = 0;
        QStringList within;
        const QImage expected = PictureOfTheCommandLine(c.count, c.seed, c.big, drawn, within);
        // "Again" after other draws repeats the run.
        for (int run = 0; run < 2; ++run) {
            tarvik::RandomInt(100);
            tarvik::RndUniform(7);
            QTest::mouseClick(run == 0 ? settings->StartBtn : module->sqrtGraph()->OpnieuwBtn,
                              Qt::LeftButton);
            for (int i = 0; i < 100000 && module->running(); ++i) QCoreApplication::processEvents();
            ProcessEvents();
            EXPECT_EQ(tarvik::ui::LastRunSeed("normal"), c.seed);
            EXPECT_EQ(module->sqrtGraph()->picture(), expected) << "run " << run;
            EXPECT_EQ(module->sqrtGraph()->pointsDrawn, drawn);
            // Under each column the count of means inside +-2/sqrt(n) that the command line prints.
            for (int g = 0; g < 4; ++g)
                EXPECT_TRUE(module->sqrtGraph()->WithinLabels[static_cast<std::size_t>(g)]->text().startsWith(
                    within[g] + QStringLiteral(" of %1\n").arg(c.count)))
                    << module->sqrtGraph()->WithinLabels[static_cast<std::size_t>(g)]->text().toStdString();
            EXPECT_EQ(module->sqrtGraph()->WithinHeadingLabel->text(),
                      QString::fromUtf8("Share of means inside \u00B12/\u221An (expected 95.4 %)"));
        }
        tarvik::ui::SetFixedSeed("normal", std::nullopt);
        module->closeModule();
        for (int i = 0; i < 50 && module; ++i) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            ProcessEvents();
        }
        delete module.data();
    }
    SetYieldInterval(std::chrono::microseconds(10000));
}

} // namespace
} // namespace tarvik::normal::ui
