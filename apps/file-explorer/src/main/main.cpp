#include <cstdio>

#include "main/launch_config.h"
#include "vask_ui/launch.h"
#include "vask_ui/log.h"

int main(int argc, char** argv) {
  vask_ui::log::init_default();
  auto result = vask_ui::run(files::launch_config(), argc, argv);
  if (!result) {
    std::fprintf(stderr, "file-explorer: %s\n", result.error().message.c_str());
    return 1;
  }
  return 0;
}
