#pragma once

#include <algorithm>
#include <fstream>
#include <string>

namespace loto::test {

// The processor's name, family and model, as /proc/cpuinfo gives them.
inline std::string Processor() {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string name = "unknown processor", family = "?", model = "?";
    for (std::string line; std::getline(cpuinfo, line);) {
        const auto colon = line.find(':');
        if (colon == std::string::npos) {
            continue;
        }
        const std::string key = line.substr(0, line.find_last_not_of(" \t", colon - 1) + 1);
        const std::string value = line.substr(std::min(colon + 2, line.size()));
        if (key == "model name") {
            name = value;
            break;  // the first processor's, after its family and model, are every one's
        }
        if (key == "cpu family") {
            family = value;
        } else if (key == "model") {
            model = value;
        }
    }
    return name + ", family " + family + ", model " + model;
}

}  // namespace loto::test
