#pragma once
// The events of MorlexDate, as a host receives them. A host connects any
// number of sinks (MorlexDate::Advise); every sink runs before the raise
// returns, and a sink may call back into the control.

#include <string>

#include "morlex/core/error.h"

namespace morlex {

class MorlexDateEvents {
 public:
  virtual ~MorlexDateEvents() = default;
  // After every change of the text of the field.
  virtual void DateChanged() {}
  // A trapped procedure failed. The sink may change both arguments; the
  // control never looks at them again.
  virtual void DateError(ErrObject& objErr, std::u16string& strCustom) {
    (void)objErr;
    (void)strCustom;
  }
  // A non-empty text that is not a date was committed.
  virtual void DateInvalid() {}
  virtual void Click() {}
  virtual void DblClick() {}
};

}  // namespace morlex
