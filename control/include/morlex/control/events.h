#pragma once
// The events of MorlexDate, as a host receives them. A host connects any
// number of sinks (MorlexDate::Advise); every sink runs before the raise
// returns, and a sink may call back into the control.
//
// kEventTable is the one place that names the events and gives their
// dispatch ids: the type library, the loadable module's C sink, the script
// host's printing and the bindings' signals all follow it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "morlex/core/error.h"

namespace morlex {

enum class Event : std::uint8_t { kDateChanged, kDateError, kDateInvalid, kClick, kDblClick };

struct EventEntry {
  Event event;
  std::string_view name;
  std::int32_t dispid;  // what a script host calls the event by
};

// In the order of the event interface.
inline constexpr std::array<EventEntry, 5> kEventTable = {{
    {Event::kDateChanged, "DateChanged", 1},
    {Event::kDateError, "DateError", 2},
    {Event::kDateInvalid, "DateInvalid", 3},
    {Event::kClick, "Click", -600},
    {Event::kDblClick, "DblClick", -601},
}};

constexpr bool EventTableInOrder() {
  for (std::size_t i = 0; i < kEventTable.size(); ++i) {
    if (static_cast<std::size_t>(kEventTable[i].event) != i) return false;
  }
  return true;
}
static_assert(EventTableInOrder(), "kEventTable lists the events in the order of Event");

constexpr const EventEntry& EntryOf(Event event) {
  return kEventTable[static_cast<std::size_t>(event)];
}
constexpr std::string_view EventName(Event event) {
  return EntryOf(event).name;
}
constexpr std::int32_t EventDispid(Event event) {
  return EntryOf(event).dispid;
}

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

// A sink that takes every event without arguments in one place, for those
// that pass the events on (to a C sink, a printer, signals): a new event
// reaches them all through its row in kEventTable and its line here.
class EventRelay : public MorlexDateEvents {
 public:
  virtual void OnEvent(Event event) = 0;
  void DateChanged() override { OnEvent(Event::kDateChanged); }
  void DateInvalid() override { OnEvent(Event::kDateInvalid); }
  void Click() override { OnEvent(Event::kClick); }
  void DblClick() override { OnEvent(Event::kDblClick); }
};

}  // namespace morlex
