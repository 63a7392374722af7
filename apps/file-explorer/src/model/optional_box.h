#pragma once

#include <memory>
#include <optional>
#include <utility>

namespace files::model {

/// An optional value kept on the heap, with the value semantics of std::optional (deep copy,
/// deep equality) and the parts of its interface the program uses. FileEntry holds its large
/// collaborative projections this way: an entry outside the workspace stays small, so
/// listing and sorting 100,000 entries moves a few hundred bytes per entry, not kilobytes.
template <class T>
class OptionalBox {
 public:
  OptionalBox() = default;
  OptionalBox(std::nullopt_t) {}
  OptionalBox(T value) : value_(std::make_unique<T>(std::move(value))) {}
  OptionalBox(std::optional<T> value) {
    if (value) value_ = std::make_unique<T>(std::move(*value));
  }
  OptionalBox(const OptionalBox& other)
      : value_(other.value_ ? std::make_unique<T>(*other.value_) : nullptr) {}
  OptionalBox(OptionalBox&&) noexcept = default;
  OptionalBox& operator=(const OptionalBox& other) {
    if (this != &other) value_ = other.value_ ? std::make_unique<T>(*other.value_) : nullptr;
    return *this;
  }
  OptionalBox& operator=(OptionalBox&&) noexcept = default;
  ~OptionalBox() = default;

  bool has_value() const { return value_ != nullptr; }
  explicit operator bool() const { return has_value(); }
  T& operator*() { return *value_; }
  const T& operator*() const { return *value_; }
  T* operator->() { return value_.get(); }
  const T* operator->() const { return value_.get(); }
  /// The value, or nullptr when there is none.
  const T* get() const { return value_.get(); }
  void reset() { value_.reset(); }
  template <class... Args>
  T& emplace(Args&&... args) {
    value_ = std::make_unique<T>(std::forward<Args>(args)...);
    return *value_;
  }

  friend bool operator==(const OptionalBox& a, const OptionalBox& b) {
    if (!a.value_ || !b.value_) return !a.value_ && !b.value_;
    return *a.value_ == *b.value_;
  }
  friend bool operator==(const OptionalBox& a, std::nullopt_t) { return !a.value_; }

 private:
  std::unique_ptr<T> value_;
};

}  // namespace files::model
