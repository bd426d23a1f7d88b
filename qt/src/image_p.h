#pragma once
// Internal: the image, a picture stretched to its size.

#include <QImage>
#include <QLabel>

#include "widget_p.h"

namespace morlex::qt::detail {

class Image final : public WidgetImpl<platform::Image> {
 public:
  Image(Surface& surface, const platform::WidgetDesign& design, QWidget* parent);
  void Place() override;

 private:
  QLabel* label_;
  QImage picture_;
};

}  // namespace morlex::qt::detail
