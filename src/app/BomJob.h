#pragma once
// --bom: the drawing's bill of materials on standard output, as the window's list shows it.
#include <optional>
#include <string>

// MetricUnits unset: the units the window shows (its settings, else the locale's). 0 done; 1 when
// FILE cannot be opened or the output cannot be written.
int RunBomJob(const std::string& file, std::optional<bool> metricUnits, bool csv);
