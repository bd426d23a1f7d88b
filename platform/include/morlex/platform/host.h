#pragma once
// What the control asks of the host container that embeds it, and the
// property bag through which the host stores the control's settings.
//
// A test host implements every call in memory (see morlex/headless/host.h);
// the Qt binding implements them over its QWidget and the application.

#include <cstdint>
#include <string_view>

#include "morlex/core/version.h"
#include "morlex/platform/clock.h"
#include "morlex/platform/font.h"
#include "morlex/platform/variant.h"
#include "morlex/platform/widgets.h"

namespace morlex::platform {

struct ComponentVersion {
  int major = version::kMajor;
  int minor = version::kMinor;
  int revision = version::kRevision;
};

class HostSite {
 public:
  virtual ~HostSite() = default;

  // True while the application runs, False in a form designer.
  virtual bool UserMode() const = 0;
  // The font the host proposes to its controls.
  virtual FontRef AmbientFont() const = 0;

  // The property persisted under key changed. For "Text" the host stores the
  // value into its bound field; a failure to store comes back as an
  // exception from this call.
  virtual void NotifyChanged(std::string_view key) = 0;
  // May the bound property under key change now?
  virtual bool CanChange(std::string_view key) = 0;

  // The control's own size, owned by the host. A write resizes the control
  // and delivers the resize notice before it returns; the host may keep
  // another size, so callers read the size back.
  virtual float Width() const = 0;
  virtual float Height() const = 0;
  virtual void SetWidth(float twips) = 0;
  virtual void SetHeight(float twips) = 0;

  virtual bool Enabled() const = 0;
  virtual void SetEnabled(bool enabled) = 0;

  // The constituent widget of the control that has the focus; nullptr when
  // the focus is outside the control.
  virtual const Widget* ActiveConstituent() const = 0;

  virtual const Clock& GetClock() const = 0;

  // Version numbers of the component, as the host reports them.
  virtual ComponentVersion Version() const { return {}; }
};

class PropertyBag {
 public:
  virtual ~PropertyBag() = default;
  // The value stored under key, with the kind it was written with, or
  // default_value when nothing is stored.
  virtual Variant ReadProperty(std::string_view key, const Variant& default_value) = 0;
  virtual void WriteProperty(std::string_view key, const Variant& value,
                             const Variant& default_value) = 0;
};

}  // namespace morlex::platform
