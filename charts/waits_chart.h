#pragma once

#include <string>

#include "stats/waits_law.h"

namespace loto {

// The waits of commands drawn until a tier as a self-contained SVG chart: for each class of
// the test, the waits that ended in it per draw of its width, a bar, over the law's curve of
// R (1 - p)^(w - 1) p, on log axes where they span decades; the censored said under it, and the
// chi-square. Its elements carry their values as data- attributes, so that a reader can check.
[[nodiscard]] std::string WaitsChartSvg(const std::string& tier, const WaitsSample& sample,
                                        const WaitsTest& test);

}  // namespace loto
