#pragma once
// For toolkits: what every widget keeps of its design (name, index, geometry
// in twips, visibility, state and tab order) and answers from it. A toolkit's
// widget base derives from it and adds how the changes show.

#include <string>

#include "morlex/platform/design.h"
#include "morlex/platform/widgets.h"

namespace morlex::platform {

template <typename Base>
class DesignedWidget : public Base {
 public:
  explicit DesignedWidget(const WidgetDesign& d)
      : name_(d.name),
        index_(d.index),
        left_(d.left),
        top_(d.top),
        width_(d.width),
        height_(d.height),
        visible_(d.visible),
        enabled_(d.enabled),
        tab_index_(d.tab_index),
        tab_stop_(d.tab_stop) {}

  const std::string& Name() const override { return name_; }
  int Index() const override { return index_; }
  float Left() const override { return left_; }
  float Top() const override { return top_; }
  float Width() const override { return width_; }
  float Height() const override { return height_; }
  bool Visible() const override { return visible_; }
  bool Enabled() const override { return enabled_; }

 protected:
  std::string name_;
  int index_;
  float left_, top_, width_, height_;
  bool visible_, enabled_;
  int tab_index_;
  bool tab_stop_;
};

}  // namespace morlex::platform
