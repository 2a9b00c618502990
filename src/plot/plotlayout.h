#pragma once
// Margins and appearance of the graph control (pixels and 0xRRGGBB colours).
#include "plot/plotseries.h"

#include <cstdint>
#include <string>

namespace tarvik::plot {

struct TDimensions {
    int BottomMargin = 40;
    int LeftMargin = 40;
    int RightMargin = 15;
    int TopMargin = 30;
    int TickLength = 4;
    int XAxisTitleOffset = 4;
    int XAxisLabelOffset = 2;
    int YAxisTitleOffset = 4;
    int YAxisLabelOffset = 2;
    int GraphTitleOffset = 7;
};

enum class GridStyle { Solid, Dot, Dash };

struct TAppearance {
    bool AllowDuplicates = false;
    std::uint32_t AxesColor = colors::Black;
    bool UseControlColor = true; // background and margins in the control's colour
    std::uint32_t BackgroundColor = colors::White;
    std::uint32_t MarginColor = colors::White;
    std::string ErrorCaption = "MAX/MIN VALUES INCONSISTENT";
    std::uint32_t GridColor = colors::Silver;
    GridStyle Grid = GridStyle::Dot;
    bool ShowGraphLabels = true;
    bool PlotOffGraph = false;
    bool ShowTicks = true;
    std::string GraphTitle = "diDoriv 3.00";
    int MinSteps = 5;
    int MaxSteps = 50;
    bool CrossAtZero = true;
    std::uint32_t CrossColor = colors::Red;
    int Crosslength = 4;
    bool PrintLineStyle = true;
};

} // namespace tarvik::plot
