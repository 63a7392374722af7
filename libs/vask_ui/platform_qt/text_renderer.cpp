#include <QFontMetricsF>
#include <QImage>
#include <QStaticText>
#include <string>
#include <unordered_map>

#include "qt_canvas.h"
#include "qt_support.h"
#include "vask_ui/text.h"

namespace vask_ui {
namespace {

struct Key {
  std::string text;
  float size;
  FontWeight weight;
  bool operator==(const Key&) const = default;
};

struct KeyHash {
  std::size_t operator()(const Key& k) const {
    std::size_t h = std::hash<std::string>{}(k.text);
    h ^= std::hash<float>{}(k.size) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
    h ^= static_cast<std::size_t>(k.weight) * 0x85ebca6bULL;
    return h;
  }
};

struct Shaped {
  QStaticText text;
  TextMetrics metrics;
};

struct FontEntry {
  QFont font;
  TextMetrics line;
};

// A frame's labels number in the hundreds; this bounds the cache far above that while keeping
// memory small when someone scrolls through a huge folder.
constexpr std::size_t kMaxCachedLines = 16384;

class Cache {
 public:
  const FontEntry& font(const TextStyle& style) {
    for (auto& [s, entry] : fonts_) {
      if (s == style) return entry;
    }
    QFont font = qt::font_for(style);
    QFontMetricsF metrics(font, &metrics_device());
    FontEntry entry{
        font, {0, static_cast<float>(metrics.height()), static_cast<float>(metrics.ascent())}};
    fonts_.emplace_back(style, entry);
    return fonts_.back().second;
  }

  const Shaped& shape(std::string_view text, const TextStyle& style) {
    Key key{std::string(text), style.size, style.weight};
    if (auto it = lines_.find(key); it != lines_.end()) return it->second;
    if (lines_.size() >= kMaxCachedLines) lines_.clear();
    const FontEntry& f = font(style);
    QString qtext = qt::to_qt(text);
    QFontMetricsF metrics(f.font, &metrics_device());
    Shaped shaped;
    shaped.text = QStaticText(qtext);
    shaped.text.setTextFormat(Qt::PlainText);
    shaped.text.setPerformanceHint(QStaticText::AggressiveCaching);
    shaped.text.prepare(QTransform(), f.font);
    shaped.metrics = f.line;
    shaped.metrics.width = static_cast<float>(metrics.horizontalAdvance(qtext));
    return lines_.emplace(std::move(key), std::move(shaped)).first->second;
  }

  std::size_t size() const { return lines_.size(); }
  void clear() { lines_.clear(); }

 private:
  // Measuring against a 96-dpi image keeps metrics independent of the screen.
  static QImage& metrics_device() {
    static QImage image = [] {
      QImage i(1, 1, QImage::Format_ARGB32_Premultiplied);
      i.setDotsPerMeterX(3780);
      i.setDotsPerMeterY(3780);
      return i;
    }();
    return image;
  }

  std::vector<std::pair<TextStyle, FontEntry>> fonts_;
  std::unordered_map<Key, Shaped, KeyHash> lines_;
};

Cache& cache() {
  static Cache c;
  return c;
}

}  // namespace

TextRenderer& TextRenderer::shared() {
  static TextRenderer renderer;
  return renderer;
}

TextMetrics TextRenderer::measure(std::string_view text, const TextStyle& style) {
  qt::ensure_application();
  if (text.empty()) {
    TextMetrics m = cache().font(style).line;
    m.width = 0;
    return m;
  }
  return cache().shape(text, style).metrics;
}

TextMetrics TextRenderer::line_metrics(const TextStyle& style) {
  qt::ensure_application();
  return cache().font(style).line;
}

void TextRenderer::draw_text(Canvas& canvas, std::string_view text, const TextStyle& style,
                             Point origin, Color color) {
  if (text.empty() || color.a == 0) return;
  auto* qt_canvas = dynamic_cast<qt::QtCanvas*>(&canvas);
  if (qt_canvas == nullptr) return;  // Recording canvases in tests draw no glyphs.
  const Shaped& shaped = cache().shape(text, style);
  QPainter& painter = qt_canvas->painter();
  painter.setFont(cache().font(style).font);
  painter.setPen(qt::to_qt(color));
  painter.drawStaticText(qt::to_qt(origin), shaped.text);
}

void TextRenderer::draw_text_in(Canvas& canvas, std::string_view text, const TextStyle& style,
                                Rect box, Color color) {
  TextMetrics line = line_metrics(style);
  float y = box.y0 + (box.height() - line.height) / 2;
  canvas.draw_text(text, style, {box.x0, y}, color);
}

std::size_t TextRenderer::cache_size() const {
  return cache().size();
}
void TextRenderer::clear_cache() {
  cache().clear();
}

}  // namespace vask_ui
