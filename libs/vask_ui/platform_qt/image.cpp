#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstring>

#include "image_impl.h"
#include "qt_canvas.h"
#include "qt_support.h"
#include "vask_ui/canvas.h"
#include "vask_ui/image_encode.h"
#include "vask_ui/image_store.h"

namespace vask_ui {

Image::Image() : impl_(std::make_unique<Impl>()) {}
Image::~Image() = default;
Image::Image(const Image& other) : impl_(std::make_unique<Impl>(*other.impl_)) {}
Image& Image::operator=(const Image& other) {
  if (this != &other) impl_ = std::make_unique<Impl>(*other.impl_);
  return *this;
}
Image::Image(Image&&) noexcept = default;
Image& Image::operator=(Image&&) noexcept = default;

std::optional<Image> Image::load(const std::filesystem::path& path) {
  qt::ensure_application();
  QImage image(QString::fromLocal8Bit(path.c_str()));
  if (image.isNull()) return std::nullopt;
  Image out;
  out.impl_->image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  return out;
}

Image Image::render(Size size, float scale, const std::function<void(Canvas&)>& paint) {
  qt::ensure_application();
  Image out;
  const int width = static_cast<int>(std::ceil(size.width * scale));
  const int height = static_cast<int>(std::ceil(size.height * scale));
  if (width <= 0 || height <= 0 || scale <= 0) return out;
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(scale);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    qt::QtCanvas canvas(painter, scale);
    paint(canvas);
  }
  out.impl_->image = std::move(image);
  return out;
}

std::optional<Image> Image::decode(std::span<const std::uint8_t> bytes) {
  qt::ensure_application();
  QImage image;
  if (!image.loadFromData(bytes.data(), static_cast<int>(bytes.size()))) return std::nullopt;
  Image out;
  out.impl_->image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  return out;
}

Image Image::from_rgba(int width, int height, std::span<const std::uint8_t> rgba) {
  Image out;
  if (width <= 0 || height <= 0 ||
      rgba.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4) {
    return out;
  }
  QImage image(width, height, QImage::Format_RGBA8888);
  for (int y = 0; y < height; ++y) {
    std::memcpy(image.scanLine(y), rgba.data() + static_cast<std::size_t>(y) * width * 4,
                static_cast<std::size_t>(width) * 4);
  }
  out.impl_->image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  return out;
}

int Image::width() const {
  return impl_->image.width();
}
int Image::height() const {
  return impl_->image.height();
}
bool Image::is_null() const {
  return impl_->image.isNull();
}

std::expected<std::vector<std::uint8_t>, std::string> encode_image(const Image& image,
                                                                   ImageFormat format,
                                                                   int quality) {
  if (image.is_null()) return std::unexpected(std::string("cannot encode an empty image"));
  qt::ensure_application();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  const char* name = format == ImageFormat::Png ? "PNG" : "JPEG";
  // JPEG has no alpha channel; flatten onto white so transparent pixels do not turn black.
  QImage source = image.impl()->image;
  if (format == ImageFormat::Jpeg && source.hasAlphaChannel()) {
    QImage flat(source.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, source);
    painter.end();
    source = flat;
  }
  if (!source.save(&buffer, name, format == ImageFormat::Jpeg ? quality : -1)) {
    return std::unexpected(std::string("the platform cannot write ") + name + " images");
  }
  return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

namespace image_store {

void paint_image_cover(Canvas& canvas, const Image& image, Rect target, float radius) {
  if (image.is_null() || target.is_empty()) return;
  float iw = static_cast<float>(image.width());
  float ih = static_cast<float>(image.height());
  float scale = std::max(target.width() / iw, target.height() / ih);
  float sw = target.width() / scale;
  float sh = target.height() / scale;
  Rect source = Rect::from_xywh((iw - sw) / 2, (ih - sh) / 2, sw, sh);
  if (radius > 0) {
    canvas.push_clip_rounded(target, radius);
    canvas.draw_image(image, source, target);
    canvas.pop_clip();
    return;
  }
  canvas.draw_image(image, source, target);
}

}  // namespace image_store
}  // namespace vask_ui
