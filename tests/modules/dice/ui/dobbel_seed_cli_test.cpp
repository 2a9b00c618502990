// Throwing from a seed fixed with "Seed..." shows what
// `tarvik-solve --dice KIND --seed S` prints for the same settings.
#include "common/random.h"
#include "common/ui/seed.h"
#include "modules/dice/dicecli.h"
#include "modules/dice/ui/dobbelmodule.h"
#include "modules/dice/ui/dobbelunit.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace tarvik::dice::ui {
namespace {

using tarvik::test::ProcessEvents;

// What the three windows show, in the command line's words.
std::vector<std::string> WindowTexts(TDobbel* module) {
    std::vector<std::string> lines;
    // The diagram's counts and relative frequencies, as screen readers get them.
    const QString diagram = module->diagram()->PictureBox->accessibleDescription();
    const QRegularExpression face(QStringLiteral("(\\d): (\\d+) \\(([0-9.]+)\\)"));
    for (auto it = face.globalMatch(diagram); it.hasNext();) {
        const auto m = it.next();
        lines.push_back((m.captured(1) + '\t' + m.captured(2) + '\t' + m.captured(3)).toStdString());
    }
    EXPECT_EQ(lines.size(), 6u) << diagram.toStdString();
    lines.push_back("Number\t1\t2\t3\t4\t5\t6");
    for (int r = 0; r < kMaxTableRows && !module->table()->cellText(r, 0).isEmpty(); ++r) {
        QStringList cells;
        for (int c = 0; c <= kFaces; ++c) cells << module->table()->cellText(r, c);
        lines.push_back(cells.join('\t').toStdString());
    }
    lines.push_back(module->walk()->PercentLabel->text().toStdString());
    lines.push_back(module->walk()->RunLabel->text().toStdString());
    return lines;
}

TEST(DobbelSeedCli, EveryKindOfThrowingRepeatsTheCommandLineRunOfItsSeed) {
    struct Case {
        Choice choice;
        const char* kind;
        int throws;
        std::vector<QString> p; // the biased kinds' fields
        std::uint32_t seed;
    };
    const Case cases[] = {
        {Choice::FairCoin, "fair-coin", 200, {}, 1},
        {Choice::BiasedCoin, "biased-coin", 1000, {"0.3", "0.7"}, 777},
        {Choice::FairDie, "fair-die", 97, {}, 4294967295u},
        {Choice::BiasedDie, "biased-die", 5000, {"0.1", "0.2", "0.3", "0.1", "0.2", "0.1"}, 12345},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        tarvik::test::ScriptedDialogs dialogs;
        QPointer<TDobbel> module = static_cast<TDobbel*>(CreateDobbelWindow(nullptr));
        module->show();
        ProcessEvents();
        dialogs.textAnswers = {QString::number(c.seed)};
        module->findChild<QAction*>("SeedCommand")->trigger();
        TDobbelDlg* dlg = module->dialog();
        QRadioButton* kind = dlg->KeuzeBtn[static_cast<int>(c.choice)];
        QTest::mouseClick(kind, Qt::LeftButton, {}, QPoint(6, kind->height() / 2));
        dlg->ThrowsEdit->setValue(c.throws);
        std::string probabilities;
        for (std::size_t j = 0; j < c.p.size(); ++j) {
            dlg->PEdit[j]->setText(c.p[j]);
            probabilities += (j ? "," : "") + c.p[j].toStdString();
        }
        tarvik::RandomInt(1000); // draws before the run change nothing
        QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
        for (int i = 0; i < 100000 && module->running(); ++i) QCoreApplication::processEvents();
        ProcessEvents();
        EXPECT_TRUE(dialogs.messages.empty());
        EXPECT_EQ(tarvik::ui::LastRunSeed("dice"), c.seed);
        const std::vector<std::string> shown = WindowTexts(module);

        std::vector<std::string> args = {
            "--dice", c.kind, "--throws", std::to_string(c.throws), "--seed", std::to_string(c.seed)};
        if (!probabilities.empty()) args.insert(args.end(), {"--probabilities", probabilities});
        std::ostringstream out, err;
        ASSERT_EQ(RunCli(args, out, err), 0) << err.str();
        std::vector<std::string> printed;
        std::istringstream in(out.str());
        for (std::string line; std::getline(in, line);)
            if (!line.empty() && line.find(':') == std::string::npos && line.rfind("Face", 0) != 0 &&
                line != "Table relative frequency")
                printed.push_back(line);
            else if (line.rfind("Percentage", 0) == 0 || line.rfind("Longest", 0) == 0)
                printed.push_back(line);
        EXPECT_EQ(printed, shown) << out.str();

        tarvik::ui::SetFixedSeed("dice", std::nullopt);
        module->closeModule();
        for (int i = 0; i < 50 && module; ++i) ProcessEvents();
        delete module.data();
    }
}

} // namespace
} // namespace tarvik::dice::ui
