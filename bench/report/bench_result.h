#pragma once

#include <cstdio>
#include <string>

/// One line per figure that bench/run collects into the report table. Fields are separated by
/// tabs so figure names may hold spaces and commas: "result", the figure, our value, the
/// baseline measured in the same run ("-" when the target is absolute), the ratio ("-" then
/// too), the target and "met" or "not met".
namespace files::bench {

inline std::string fixed(double value, int decimals, const char* unit = "") {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f%s", decimals, value, unit);
  return text;
}

inline void print_result(const std::string& figure, const std::string& value,
                         const std::string& baseline, const std::string& ratio,
                         const std::string& target, bool met) {
  std::printf("result\t%s\t%s\t%s\t%s\t%s\t%s\n", figure.c_str(), value.c_str(), baseline.c_str(),
              ratio.c_str(), target.c_str(), met ? "met" : "not met");
}

}  // namespace files::bench
