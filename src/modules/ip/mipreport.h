#pragma once
// The short report of an integer run, appended to the model echo.
#include "modules/ip/mipmatgen.h"
#include "modules/ip/mipsolver.h"

#include <string>

namespace tarvik::ip {

// The one-line message of a status that is not optimal.
std::string ReportStatusText(int status);

// Appends the report (every line ended by CR LF) to `out`.
void MIPReport(const MIPModel& model, const MIPResult& result, std::string& out);

} // namespace tarvik::ip
