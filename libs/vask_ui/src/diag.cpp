#include "vask_ui/diag.h"

#include <cstdio>
#include <string>

namespace vask_ui::diag {

void write_line(std::string_view line) {
  std::string text = "vask: ";
  text.append(line);
  text.push_back('\n');
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

}  // namespace vask_ui::diag
