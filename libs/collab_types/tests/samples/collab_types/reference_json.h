#pragma once

#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <string_view>
#include <vector>

// nlohmann-json as an independent judge of the JSON syntax our cursor accepts. It keeps the
// last of duplicate keys, so duplicates are detected here and count as a refusal, as they do
// for our records; nesting beyond `max_depth` is refused as well.
namespace collab_types::testing {

enum class JsonVerdict { Accepts, Refuses, Undecided };

class ReferenceSax : public nlohmann::json_sax<nlohmann::json> {
 public:
  explicit ReferenceSax(std::size_t max_depth) : max_depth_(max_depth) {}

  bool null() override { return true; }
  bool boolean(bool) override { return true; }
  bool number_integer(number_integer_t) override { return true; }
  bool number_unsigned(number_unsigned_t) override { return true; }
  bool number_float(number_float_t, const string_t&) override { return true; }
  bool string(string_t&) override { return true; }
  bool binary(binary_t&) override { return true; }
  bool start_object(std::size_t) override { return open(); }
  bool key(string_t& key) override { return keys_.back().insert(key).second; }
  bool end_object() override { return close(); }
  bool start_array(std::size_t) override { return open(); }
  bool end_array() override { return close(); }
  bool parse_error(std::size_t, const std::string&,
                   const nlohmann::detail::exception& error) override {
    // Syntax is all the cursor judges; a number too large for a double is still JSON.
    number_overflow_ =
        std::string_view(error.what()).find("number overflow") != std::string_view::npos;
    return false;
  }
  bool number_overflow() const { return number_overflow_; }

 private:
  bool open() {
    keys_.emplace_back();
    return keys_.size() <= max_depth_;
  }
  bool close() {
    keys_.pop_back();
    return true;
  }

  std::size_t max_depth_;
  bool number_overflow_ = false;
  std::vector<std::set<std::string>> keys_;
};

/// Undecided for texts whose only fault, for nlohmann, is a number beyond a double's range.
inline JsonVerdict reference_verdict(std::string_view text, std::size_t max_depth) {
  ReferenceSax sax(max_depth);
  try {
    if (nlohmann::json::sax_parse(text, &sax)) return JsonVerdict::Accepts;
    return sax.number_overflow() ? JsonVerdict::Undecided : JsonVerdict::Refuses;
  } catch (...) {
    return JsonVerdict::Refuses;
  }
}

}  // namespace collab_types::testing
