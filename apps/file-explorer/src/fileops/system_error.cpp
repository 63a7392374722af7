#include "fileops/system_error.h"

#include <system_error>

namespace files::fileops {

std::string system_error_text(int error_number) {
  return std::system_category().message(error_number);
}

}  // namespace files::fileops
