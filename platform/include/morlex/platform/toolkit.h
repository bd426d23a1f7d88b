#pragma once
// The widget toolkit: builds surfaces from designs.

#include <memory>

#include "morlex/platform/design.h"
#include "morlex/platform/surface.h"

namespace morlex::platform {

class Toolkit {
 public:
  virtual ~Toolkit() = default;
  // The surface of one control, inside the host's rectangle for it.
  virtual std::unique_ptr<Surface> CreateControlSurface(const SurfaceDesign& design) = 0;
  // A top-level form (loaded, not shown). Destroying it unloads it.
  virtual std::unique_ptr<Form> CreateForm(const SurfaceDesign& design) = 0;
};

}  // namespace morlex::platform
