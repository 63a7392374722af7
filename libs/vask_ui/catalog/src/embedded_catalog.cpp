#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <fmt/format.h>
#include <spdlog/sinks/stdout_color_sinks.h>
#include <spdlog/spdlog.h>

#include "locale_services.h"
#include "vask_ui/catalog.h"

namespace vask_ui {
namespace {

constexpr const char* kLoggerName = "vask_ui::catalog";

std::shared_ptr<spdlog::logger> catalog_logger() {
  if (auto existing = spdlog::get(kLoggerName)) return existing;
  // Two threads may race to create the logger; the loser takes the winner's.
  try {
    auto logger = spdlog::stderr_color_mt(kLoggerName);
    logger->set_level(spdlog::get_level());
    return logger;
  } catch (const spdlog::spdlog_ex&) {
    return spdlog::get(kLoggerName);
  }
}

struct Bundle {
  std::string locale;
  fluent::Resource resource;
  std::unordered_map<std::string_view, const fluent::Message*> by_id;
  std::unique_ptr<detail::LocaleServices> services;
};

int fraction_digits(std::string_view number_literal) {
  const std::size_t dot = number_literal.find('.');
  return dot == std::string_view::npos ? 0 : static_cast<int>(number_literal.size() - dot - 1);
}

// Formats one message. Gaps (missing arguments) are written visibly and collected, so the caller
// can report them; nothing here can fail.
class Resolver {
 public:
  Resolver(const detail::LocaleServices& services, std::span<const CatalogArg> args)
      : services_(services), args_(args) {}

  void write(const fluent::Pattern& pattern, std::string& out) {
    for (const fluent::PatternElement& element : pattern) {
      if (const auto* text = std::get_if<std::string>(&element)) {
        out += *text;
        continue;
      }
      const auto& placeable = std::get<fluent::Placeable>(element);
      if (placeable.select) {
        write(choose_variant(*placeable.select).value, out);
      } else {
        write_expression(placeable.expression, out);
      }
    }
  }

  const std::vector<std::string>& missing() const { return missing_; }

 private:
  const ArgValue* find_arg(std::string_view name) const {
    for (const CatalogArg& arg : args_) {
      if (arg.first == name) return &arg.second;
    }
    return nullptr;
  }

  const ArgValue* lookup(const std::string& name) {
    const ArgValue* value = find_arg(name);
    if (value == nullptr) missing_.push_back(name);
    return value;
  }

  void write_expression(const fluent::InlineExpression& expr, std::string& out) {
    using Kind = fluent::InlineExpression::Kind;
    switch (expr.kind) {
      case Kind::string_literal:
        out += expr.value;
        return;
      case Kind::number_literal:
        out += services_.format_number(std::strtod(expr.value.c_str(), nullptr),
                                       fraction_digits(expr.value));
        return;
      case Kind::variable: {
        const ArgValue* value = lookup(expr.value);
        if (value == nullptr) {
          out += "{$" + expr.value + "}";
        } else if (value->is_number()) {
          out += services_.format_number(value->number());
        } else {
          out += value->text();
        }
        return;
      }
    }
  }

  // Fluent's matching: a number picks an exactly equal numeric key first, then its plural
  // category; text picks the variant named like it; anything else falls to the default.
  const fluent::Variant& choose_variant(const fluent::SelectExpression& select) {
    using Kind = fluent::InlineExpression::Kind;
    std::optional<double> number;
    std::string text;
    const auto& selector = select.selector;
    if (selector.kind == Kind::variable) {
      if (const ArgValue* value = lookup(selector.value)) {
        if (value->is_number()) {
          number = value->number();
        } else {
          text = std::string(value->text());
        }
      }
    } else if (selector.kind == Kind::number_literal) {
      number = std::strtod(selector.value.c_str(), nullptr);
    } else {
      text = selector.value;
    }
    if (number) {
      for (const fluent::Variant& variant : select.variants) {
        if (variant.numeric_key && std::strtod(variant.key.c_str(), nullptr) == *number)
          return variant;
      }
      const std::string category = services_.plural_category(*number);
      for (const fluent::Variant& variant : select.variants) {
        if (!variant.numeric_key && variant.key == category) return variant;
      }
    } else if (!text.empty()) {
      for (const fluent::Variant& variant : select.variants) {
        if (!variant.numeric_key && variant.key == text) return variant;
      }
    }
    return select.variants[select.default_index];
  }

  const detail::LocaleServices& services_;
  std::span<const CatalogArg> args_;
  std::vector<std::string> missing_;
};

}  // namespace

struct EmbeddedCatalog::Impl {
  std::vector<Bundle> bundles;
  const Bundle* current = nullptr;
  const Bundle* source = nullptr;
  std::string current_locale;
  std::shared_ptr<spdlog::logger> logger = catalog_logger();

  mutable std::mutex reported_mutex;
  mutable std::unordered_set<std::string> reported;

  // Logs a problem the first time it is seen; a text drawn every frame must not flood the log.
  void report_once(const std::string& key, std::string_view what) const {
    {
      std::lock_guard lock(reported_mutex);
      if (!reported.insert(key).second) return;
    }
    if (logger) logger->warn("{}", what);
  }

  void build(std::span<const BundleSource> sources, std::string_view source_locale,
             std::string_view requested) {
    bundles.reserve(sources.size());
    std::vector<std::string_view> tags;
    for (const BundleSource& source : sources) {
      Bundle bundle;
      bundle.locale = std::string(source.locale);
      bundle.resource = fluent::parse_resource(source.text);
      for (const fluent::ParseError& error : bundle.resource.errors) {
        if (logger) {
          logger->error("bundle {} line {}: {}; the entry is skipped", bundle.locale, error.line,
                        error.message);
        }
      }
      bundle.services = std::make_unique<detail::LocaleServices>(bundle.locale);
      bundles.push_back(std::move(bundle));
    }
    // The map keys view the ids inside the bundles, so they are built once the vector is final.
    for (Bundle& bundle : bundles) {
      for (const fluent::Message& message : bundle.resource.messages) {
        bundle.by_id.emplace(message.id, &message);
      }
      tags.push_back(bundle.locale);
    }
    for (const Bundle& bundle : bundles) {
      if (bundle.locale == source_locale) source = &bundle;
    }
    const std::string chosen = match_locale(requested, tags);
    for (const Bundle& bundle : bundles) {
      if (bundle.locale == chosen) current = &bundle;
    }
    if (current == nullptr) current = source;
    current_locale = current != nullptr ? current->locale : std::string(source_locale);
  }

  std::string format(std::string_view id, std::span<const CatalogArg> args) const {
    const Bundle* bundle = nullptr;
    const fluent::Message* message = nullptr;
    for (const Bundle* candidate : {current, source}) {
      if (candidate == nullptr) continue;
      if (auto it = candidate->by_id.find(id); it != candidate->by_id.end()) {
        bundle = candidate;
        message = it->second;
        break;
      }
    }
    if (message == nullptr) {
      report_once(std::string(id), fmt::format("unknown message id \"{}\" is shown as its id", id));
      return std::string(id);
    }
    if (bundle != current) {
      report_once(std::string(id) + "\x1f" + "fallback",
                  fmt::format("message \"{}\" is missing from {}; using {}", id, current_locale,
                              bundle->locale));
    }
    Resolver resolver(*bundle->services, args);
    std::string out;
    resolver.write(message->value, out);
    for (const std::string& name : resolver.missing()) {
      report_once(std::string(id) + "\x1f$" + name,
                  fmt::format("message \"{}\" was given no argument \"{}\"", id, name));
    }
    return out;
  }
};

EmbeddedCatalog::EmbeddedCatalog(std::span<const BundleSource> bundles,
                                 std::string_view source_locale)
    : impl_(std::make_unique<Impl>()) {
  std::vector<std::string_view> tags;
  for (const BundleSource& bundle : bundles)
    tags.push_back(bundle.locale);
  impl_->build(bundles, source_locale,
               negotiate_locale(LocaleEnvironment::from_process(), tags, source_locale));
}

EmbeddedCatalog::EmbeddedCatalog(std::span<const BundleSource> bundles,
                                 std::string_view source_locale, std::string_view requested_locale)
    : impl_(std::make_unique<Impl>()) {
  impl_->build(bundles, source_locale, requested_locale);
}

EmbeddedCatalog::~EmbeddedCatalog() = default;

std::string EmbeddedCatalog::t(std::string_view id) const {
  return impl_->format(id, {});
}

std::string EmbeddedCatalog::t_args(std::string_view id, std::span<const CatalogArg> args) const {
  return impl_->format(id, args);
}

const std::string& EmbeddedCatalog::current_locale() const noexcept {
  return impl_->current_locale;
}

const fluent::Resource* EmbeddedCatalog::resource(std::string_view locale) const {
  for (const Bundle& bundle : impl_->bundles) {
    if (bundle.locale == locale) return &bundle.resource;
  }
  return nullptr;
}

}  // namespace vask_ui
