// The picture of the graphical method: how long laying it out and painting it
// takes (the window does both on every repaint at a new size), for each kind
// of picture and for a model with many constraints, on a 900 x 640 canvas.
// Prints the median of the runs in milliseconds of processor time (the
// machine's other work does not count), and the wall time of layout and paint.
// Offscreen, or on the X server QT_QPA_PLATFORM names.
#include "common/ui/appsetup.h"
#include "modules/ip/miprun.h"
#include "modules/lp/graphical.h"
#include "modules/lp/lprun.h"
#include "modules/lp/ui/graphicalpage.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Processor time of this process in milliseconds.
double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::shared_ptr<const tarvik::lp::GraphicalSolution> Solve(const std::string& text, bool integer) {
    if (integer) {
        tarvik::ip::MIPProgress quiet;
        return tarvik::ip::RunMIP(text, quiet, {.graphical = true}).graphical;
    }
    tarvik::lp::LPProgress quiet;
    tarvik::lp::LPSettings settings;
    settings.graphical = true;
    return tarvik::lp::RunLP(text, settings, quiet).graphical;
}

// Constraints tangent to a circle: as many vertices as constraints.
std::string Polygon(int n) {
    std::string t = "max x + 2y;\r\n";
    for (int k = 0; k < n; ++k) {
        const double a = 3.14159265358979 / 2 * (k + 0.5) / n;
        char line[96];
        std::snprintf(line, sizeof line, "%.6fx + %.6fy <= 10;\r\n", std::cos(a), std::sin(a));
        t += line;
    }
    return t;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tarvik::ui::SetUpApplication();
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    const struct {
        const char* name;
        std::string model;
        bool integer;
    } cases[] = {
        {"bounded (textbook)", "max 3x1 + 5x2;\r\nx1 <= 4;\r\n2x2 <= 12;\r\n3x1 + 2x2 <= 18;\r\n", false},
        {"unbounded", "max x + 2y;\r\nx + y >= 2;\r\n-x + y <= 3;\r\nx - 2y <= 1;\r\n", false},
        {"infeasible", "max x + y;\r\nx + 2y >= 10;\r\n2x + y <= 4;\r\nx <= 3;\r\n", false},
        {"integer (knapsack)", "max 5x1 + 4x2;\r\n6x1 + 4x2 <= 24;\r\nx1 + 2x2 <= 6;\r\n$integer x1, x2;\r\n",
         true},
        {"integer, 1296 points", "max x + y;\r\nx <= 30;\r\ny <= 30;\r\n$integer x, y;\r\n", true},
        {"20 constraints", Polygon(20), false},
        {"200 constraints", Polygon(200), false},
        {"990 constraints", Polygon(990), false},
    };
    const QSize size(900, 640);
    std::printf("graphical method, %d runs, canvas %dx%d, median ms\n", runs, size.width(), size.height());
    std::printf("%-22s %10s %10s %10s %12s %10s\n", "picture", "solve", "layout", "paint", "layout+paint",
                "(wall)");
    for (const auto& c : cases) {
        std::vector<double> solve, layout, paint, both, wall;
        for (int r = 0; r < runs; ++r) {
            const double t0 = CpuMs();
            const auto s = Solve(c.model, c.integer);
            const double t1 = CpuMs();
            if (!s) {
                std::fprintf(stderr, "%s: no graphical solution\n", c.name);
                return 1;
            }
            const auto w1 = Clock::now();
            const tarvik::lp::GraphicalLayout g = tarvik::ui::GraphicalLayoutFor(*s, size);
            const double t2 = CpuMs();
            QImage image(size, QImage::Format_ARGB32_Premultiplied); // as the window's backing store
            QPainter p(&image);
            tarvik::ui::PaintGraphical(p, g);
            p.end();
            const double t3 = CpuMs();
            wall.push_back(Ms(Clock::now() - w1));
            solve.push_back(t1 - t0);
            layout.push_back(t2 - t1);
            paint.push_back(t3 - t2);
            both.push_back(t3 - t1);
        }
        std::printf("%-22s %10.3f %10.3f %10.3f %12.3f %10.3f\n", c.name, Median(solve), Median(layout),
                    Median(paint), Median(both), Median(wall));
    }
    return 0;
}
