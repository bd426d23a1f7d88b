#pragma once
// What a field placed by a QML scene stands on: its host (the scene) and the
// sink that turns the control's events into the field's signals.

#include <QPointer>
#include <QString>
#include <memory>
#include <string_view>

#include "morlex/control/morlex_date.h"
#include "morlex/headless/toolkit.h"
#include "morlex/platform/clock.h"
#include "morlex/quick/date_field.h"
#include "quick_p.h"

namespace morlex::quick::detail {

// The host of a field that a QML scene owns: the scene's layout gives the
// size, the field stores nothing of its own, and today is the system's. It
// answers for a field that has gone (while a call into the control unwinds)
// as for a hidden one.
class SceneSite final : public platform::HostSite {
 public:
  explicit SceneSite(DateFieldTemplate& field) : field_(&field) {}
  bool UserMode() const override { return true; }
  platform::FontRef AmbientFont() const override { return font_; }
  void NotifyChanged(std::string_view) override {}
  bool CanChange(std::string_view) override { return true; }
  float Width() const override {
    return field_ ? static_cast<float>(field_->width() * detail::kTwipsPerPixel) : 0.0f;
  }
  float Height() const override {
    return field_ ? static_cast<float>(field_->height() * detail::kTwipsPerPixel) : 0.0f;
  }
  // The layout owns the size: the control's wish is not taken, and it reads
  // the size back.
  void SetWidth(float) override {}
  void SetHeight(float) override {}
  bool Enabled() const override { return field_ && field_->isEnabled(); }
  void SetEnabled(bool enabled) override {
    if (field_) field_->setEnabled(enabled);
  }
  const platform::Widget* ActiveConstituent() const override {
    MorlexDate* control = field_ ? field_->Control() : nullptr;
    if (control == nullptr || !field_->hasActiveFocus()) return nullptr;
    return dynamic_cast<headless::Surface&>(control->ControlSurface()).Focused();
  }
  const platform::Clock& GetClock() const override { return clock_; }

 private:
  QPointer<DateFieldTemplate> field_;
  platform::FontRef font_ = std::make_shared<platform::Font>();
  platform::SystemClock clock_;
};

// The control's events as the field's signals; none once the field has gone.
class Sink final : public MorlexDateEvents {
 public:
  explicit Sink(DateFieldTemplate& field) : field_(&field) {}
  void DateInvalid() override {
    if (field_) Q_EMIT field_->dateInvalid();
  }
  void Click() override {
    if (field_) Q_EMIT field_->clicked();
  }
  void DblClick() override {
    if (field_) Q_EMIT field_->doubleClicked();
  }
  void DateError(ErrObject& err, std::u16string& custom) override {
    if (!field_) return;
    Q_EMIT field_->dateError(
        QString::fromStdString(err.source), QString::fromStdString(err.description),
        QString::fromUtf16(custom.data(), static_cast<qsizetype>(custom.size())));
  }

 private:
  QPointer<DateFieldTemplate> field_;
};

}  // namespace morlex::quick::detail
