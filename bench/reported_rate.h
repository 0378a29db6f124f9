#pragma once

#include <algorithm>
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

namespace loto::test {

// The draws a second of a command line that runs loto-sim --json, as its first line reports them
// (the draws over the seconds they took, its speed test left out); 0, said, where it failed.
inline double ReportedDrawsPerSecond(const std::string& command) {
    const std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string out;
    char buffer[4096];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) {
        out += buffer;
    }
    const auto report = nlohmann::json::parse(out.substr(0, out.find('\n')), nullptr, false);
    if (report.is_discarded() || !report.contains("seconds")) {
        std::printf("failed: %s\n", command.c_str());
        return 0;
    }
    return report["draws"].get<double>() / std::max(report["seconds"].get<double>(), 1e-9);
}

}  // namespace loto::test
