#pragma once

namespace files {

/// Builds one visitor out of several lambdas, for std::visit over a tagged union.
template <class... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};

}  // namespace files
