#include "morlex/control/morlex_date.h"

#include <algorithm>

#include "morlex/core/unicode.h"
#include "morlex/designs/form_designs.h"

namespace morlex {

MorlexDate::MorlexDate(platform::HostSite& host, platform::Toolkit& toolkit)
    : host_(host),
      toolkit_(toolkit),
      surface_(toolkit.CreateControlSurface(designs::ControlSurface())),
      txtDate(surface_->GetTextBox("txtDate")),
      spinCTL(surface_->GetUpDown("spinCTL")),
      cmdCalendar(surface_->GetCommandButton("cmdCalendar")) {
  surface_->KeyPreview = [this](std::int16_t& k) { UserControl_KeyPress(k); };
  txtDate.events.KeyPress = [this](std::int16_t& k) { txtDate_KeyPress(k); };
  txtDate.events.KeyDown = [this](platform::KeyDownArgs& k) { txtDate_KeyDown(k); };
  txtDate.events.KeyUp = [this] { txtDate_KeyUp(); };
  txtDate.events.Click = [this] { txtDate_Click(); };
  txtDate.events.DblClick = [this] { txtDate_DblClick(); };
  txtDate.events.Change = [this] { txtDate_Change(); };
  txtDate.events.LostFocus = [this] { txtDate_LostFocus(); };
  spinCTL.events.Change = [this] { spinCTL_Change(); };
  cmdCalendar.events.Click = [this] { cmdCalendar_Click(); };
  InitialPlacement();
}

MorlexDate::~MorlexDate() {
  // The widgets may outlive the handlers' target for a moment while the
  // surface is torn down; make sure nothing calls back into a dead control.
  surface_->KeyPreview = nullptr;
  txtDate.events = {};
  spinCTL.events = {};
  cmdCalendar.events = {};
}

void MorlexDate::Show() {
  spinCTL.SetVisible(m_blnSpin);
  cmdCalendar.SetVisible(m_blnCalendar);
}

int MorlexDate::CurrentYear() const {
  return host_.GetClock().Today().year;
}

std::uint32_t MorlexDate::Advise(std::shared_ptr<MorlexDateEvents> sink) {
  if (!sink) throw Error(errnum::kInvalidCall);
  const std::uint32_t cookie = next_cookie_++;
  sinks_.push_back({cookie, std::move(sink)});
  return cookie;
}

void MorlexDate::Unadvise(std::uint32_t cookie) {
  std::erase_if(sinks_, [cookie](const Sink& s) { return s.cookie == cookie; });
}

// Sinks may connect or disconnect others while an event runs, so every raise
// walks a snapshot of the connections.
namespace {
template <typename Fn>
void ForEachSink(const auto& sinks, Fn&& fn) {
  if (sinks.empty()) return;
  if (sinks.size() == 1) {
    auto keep = sinks.front().sink;
    fn(*keep);
    return;
  }
  std::vector<std::shared_ptr<MorlexDateEvents>> snapshot;
  snapshot.reserve(sinks.size());
  for (const auto& s : sinks) snapshot.push_back(s.sink);
  for (const auto& s : snapshot) fn(*s);
}
}  // namespace

void MorlexDate::RaiseDateChanged() {
  ForEachSink(sinks_, [](MorlexDateEvents& s) { s.DateChanged(); });
}
void MorlexDate::RaiseDateInvalid() {
  ForEachSink(sinks_, [](MorlexDateEvents& s) { s.DateInvalid(); });
}
void MorlexDate::RaiseClick() {
  ForEachSink(sinks_, [](MorlexDateEvents& s) { s.Click(); });
}
void MorlexDate::RaiseDblClick() {
  ForEachSink(sinks_, [](MorlexDateEvents& s) { s.DblClick(); });
}
void MorlexDate::RaiseDateError(ErrObject& err, std::u16string& custom) {
  ForEachSink(sinks_, [&](MorlexDateEvents& s) { s.DateError(err, custom); });
}

void MorlexDate::ReportError(std::string_view procedure, std::u16string custom) {
  ErrObject err = CurrentErrObject();
  err.source = "MorlexDate.";
  err.source += procedure;
  RaiseDateError(err, custom);
}

}  // namespace morlex
