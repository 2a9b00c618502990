// Command-line runs of pi, the birthday problem and Buffon's needle.
#include "common/progress.h"
#include "modules/montecarlo/birthday.h"
#include "modules/montecarlo/buffon.h"
#include "modules/montecarlo/mccli.h"
#include "modules/montecarlo/pi.h"

namespace tarvik::montecarlo::cli {

int RunPiCli(const Context& c) {
    const PiParams params{.draws = c.spin("draws", kPiDraws), .fast = true};
    c.startGenerators();
    Progress progress;
    const PiResult r = RunPi(params, ChooseStream(), progress);
    Line(c.out, "Current draws", r.drawsText());
    Line(c.out, "Estimation Pi", r.estimateText());
    Line(c.out, "95 % Confidence interval", r.intervalText());
    Line(c.out, "Actual Pi", PiResult::actualPiText());
    return 0;
}

int RunBirthdayCli(const Context& c) {
    const BirthdayParams params{.persons = c.spin("persons", kBirthdayPersons),
                                .dayDifference = c.spin("days", kBirthdayDays),
                                .runs = c.spin("runs", kBirthdayRuns)};
    c.startGenerators();
    Progress progress;
    const BirthdayResult r = RunBirthday(params, ChooseStream(), progress);
    Line(c.out, "Simulated probability", r.estimateText());
    Line(c.out, "95% BTI", r.intervalText());
    Line(c.out, "Exact probability", r.exactText());
    return 0;
}

int RunBuffonCli(const Context& c) {
    const int throws = c.spin("throws", kBuffonThrows);
    c.startGenerators();
    Progress progress;
    BuffonExperiment e;
    e.Start(throws);
    RunBuffon(e, progress);
    Line(c.out, "Number of throws", e.throwsText());
    Line(c.out, "Intersections", e.crossingsText());
    Line(c.out, "Approximation of Pi", e.estimateText());
    Line(c.out, "95% Confidence interval", e.intervalText());
    return 0;
}

} // namespace tarvik::montecarlo::cli
