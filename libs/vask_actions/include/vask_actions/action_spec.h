#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "vask_actions/operation_kind.h"
#include "vask_actions/payload.h"

namespace vask_actions {

/// Whether an action can be sent now, and when not, why: a stable code for programs and a
/// sentence for people.
class Availability {
 public:
  static Availability available() { return Availability(); }
  static Availability unavailable(std::string reason_code, std::string reason_text) {
    return Availability(std::move(reason_code), std::move(reason_text));
  }

  bool is_available() const { return !reason_code_.has_value(); }
  /// Empty while available.
  std::string_view reason_code() const {
    if (reason_code_) return *reason_code_;
    return {};
  }
  std::string_view reason_text() const { return reason_text_; }

  friend bool operator==(const Availability&, const Availability&) = default;

 private:
  Availability() = default;
  Availability(std::string code, std::string text)
      : reason_code_(std::move(code)), reason_text_(std::move(text)) {}
  std::optional<std::string> reason_code_;
  std::string reason_text_;
};

/// What an action promises its caller besides its effect.
struct ActionContract {
  Availability availability = Availability::available();
  /// Sending the same action twice has the effect of sending it once.
  bool idempotent = false;
  friend bool operator==(const ActionContract&, const ActionContract&) = default;
};

/// A text the client is asked for before the action runs (a folder name, a new name). The
/// answer arrives as the text argument "value"; derive_input adds it to the payload.
struct TextInput {
  std::string label;
  std::string default_value;
  friend bool operator==(const TextInput&, const TextInput&) = default;
};

/// Where the work behind an action runs.
enum class Execution : std::uint8_t {
  Inline,  ///< finished when the action entry returns
  Worker,  ///< finished later on a worker; the outcome is pending until the completion call
};

/// What the completion of a worker action carries.
enum class ResultShape : std::uint8_t {
  Nothing,  ///< success or a failure text
  Text,
  Json,
};

/// One named action of a resource: what a client may send and what it does.
class ActionSpec {
 public:
  /// `target` is the action id the window's dispatcher receives; `payload` travels with it.
  ActionSpec(std::string name, std::string title, OperationKind kind, std::string target,
             Payload payload = Payload::null())
      : name_(std::move(name)),
        title_(std::move(title)),
        kind_(kind),
        target_(std::move(target)),
        payload_(std::move(payload)) {}

  // Builders, usable on a temporary (`ActionSpec(...).destructive()`) and on a variable.
  ActionSpec& with_contract(ActionContract contract) & {
    contract_ = std::move(contract);
    return *this;
  }
  ActionSpec&& with_contract(ActionContract contract) && {
    return std::move(with_contract(std::move(contract)));
  }
  /// Shorthand for a contract that differs only in availability.
  ActionSpec& with_availability(Availability availability) & {
    contract_.availability = std::move(availability);
    return *this;
  }
  ActionSpec&& with_availability(Availability availability) && {
    return std::move(with_availability(std::move(availability)));
  }
  ActionSpec& with_input(TextInput input) & {
    input_ = std::move(input);
    return *this;
  }
  ActionSpec&& with_input(TextInput input) && { return std::move(with_input(std::move(input))); }
  /// Declares the integer argument the action takes (for example a segment "index").
  ActionSpec& with_integer_argument(std::string name) & {
    integer_argument_ = std::move(name);
    return *this;
  }
  ActionSpec&& with_integer_argument(std::string name) && {
    return std::move(with_integer_argument(std::move(name)));
  }
  /// Marks an action whose effect cannot simply be taken back.
  ActionSpec& destructive(bool on = true) & {
    destructive_ = on;
    return *this;
  }
  ActionSpec&& destructive(bool on = true) && { return std::move(destructive(on)); }
  ActionSpec& execution(Execution mode) & {
    execution_ = mode;
    return *this;
  }
  ActionSpec&& execution(Execution mode) && { return std::move(execution(mode)); }
  ActionSpec& returns(ResultShape shape) & {
    returns_ = shape;
    return *this;
  }
  ActionSpec&& returns(ResultShape shape) && { return std::move(returns(shape)); }

  const std::string& name() const { return name_; }
  const std::string& title() const { return title_; }
  OperationKind kind() const { return kind_; }
  const std::string& target() const { return target_; }
  const Payload& payload() const { return payload_; }
  const std::optional<TextInput>& input() const { return input_; }
  const std::optional<std::string>& integer_argument() const { return integer_argument_; }
  const ActionContract& contract() const { return contract_; }
  const Availability& availability() const { return contract_.availability; }
  bool is_destructive() const { return destructive_; }
  std::optional<Execution> execution_mode() const { return execution_; }
  std::optional<ResultShape> result_shape() const { return returns_; }
  /// The background mark: the work runs on a worker and its result is described.
  bool is_background() const { return execution_ == Execution::Worker && returns_.has_value(); }

  friend bool operator==(const ActionSpec&, const ActionSpec&) = default;

 private:
  std::string name_;
  std::string title_;
  OperationKind kind_;
  std::string target_;
  Payload payload_;
  std::optional<TextInput> input_;
  std::optional<std::string> integer_argument_;
  ActionContract contract_;
  bool destructive_ = false;
  std::optional<Execution> execution_;
  std::optional<ResultShape> returns_;
};

}  // namespace vask_actions
