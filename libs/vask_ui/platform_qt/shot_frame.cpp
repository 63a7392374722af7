#include <QImage>
#include <QImageWriter>
#include <QPainter>

#include "qt_canvas.h"
#include "qt_support.h"
#include "vask_ui/frame.h"
#include "vask_ui/launch.h"

namespace vask_ui {

struct ShotFrame::Impl {
  QImage image;
};

ShotFrame::ShotFrame(Size size, const Theme& theme)
    : impl_(std::make_unique<Impl>()), size_(size), theme_(theme) {
  qt::ensure_application();
  impl_->image = QImage(static_cast<int>(size.width), static_cast<int>(size.height),
                        QImage::Format_ARGB32_Premultiplied);
  impl_->image.setDotsPerMeterX(3780);
  impl_->image.setDotsPerMeterY(3780);
  impl_->image.fill(qt::to_qt(theme.window_background));
}

ShotFrame::~ShotFrame() = default;

void ShotFrame::sync_and_layout(Widget& root) {
  FrameContext context{Clock::now(), size_, 1.0f, &theme_};
  frame::sync_and_layout(root, context);
  if (root.needs_redraw()) {
    context.now = Clock::now();
    frame::sync_and_layout(root, context);
  }
}

void ShotFrame::draw(Widget& root) {
  FrameContext context{Clock::now(), size_, 1.0f, &theme_};
  QPainter painter(&impl_->image);
  qt::QtCanvas canvas(painter, 1.0f);
  frame::draw(root, canvas, context);
}

EventResult ShotFrame::deliver(Widget& root, const Event& event) {
  return root.handle_event(event);
}

std::expected<void, std::string> ShotFrame::write_png(const std::filesystem::path& path) const {
  QImageWriter writer(QString::fromLocal8Bit(path.c_str()), "png");
  if (!writer.write(impl_->image.convertToFormat(QImage::Format_RGB32))) {
    return std::unexpected(path.string() + ": " + writer.errorString().toStdString());
  }
  return {};
}

std::size_t ShotFrame::count_pixels_unlike_corner() const {
  const QImage& image = impl_->image;
  if (image.isNull()) return 0;
  QRgb corner = image.pixel(0, 0);
  std::size_t count = 0;
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x)
      count += line[x] != corner ? 1 : 0;
  }
  return count;
}

}  // namespace vask_ui
