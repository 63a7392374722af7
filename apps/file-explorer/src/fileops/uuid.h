#pragma once

#include <string>

namespace files::fileops {

/// A fresh random (version 4) UUID in its hyphenated lower-case form. Staging and quarantine
/// names use it so that two processes working in one folder never pick the same name.
std::string random_uuid_text();

}  // namespace files::fileops
