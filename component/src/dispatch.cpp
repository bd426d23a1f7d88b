#include "morlex/component/dispatch.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "morlex/component/module_abi.h"
#include "morlex/core/error.h"

namespace morlex::component {
namespace {

using platform::ToBoolean;
using platform::ToLong;
using platform::ToText;
using platform::Variant;
using A = Accessor;

constexpr std::array kGet{A::kGet};
constexpr std::array kPutGet{A::kPut, A::kGet};
constexpr std::array kGetPut{A::kGet, A::kPut};
constexpr std::array kGetPutRef{A::kGet, A::kPutRef};
constexpr std::array kMethod{A::kMethod};

// Dispatch identifiers of the control's own members: 0x6803 in the upper 16
// bits, and a number running down from 26 in member order.
constexpr std::int32_t Own(int low) {
  return static_cast<std::int32_t>(0x68030000 + low);
}

// The members in call-table order: the 18 of the first interface, then those
// added after AboutBox, whose identifiers run on down from SelLength's so
// that no member of the 18 moves and a host built against them calls what it
// did.
constexpr std::size_t kFirstMembers = 18;
constexpr std::array<MemberInfo, 20> kMembers = {{
    {1, "DateIsValid", kGet, ValueType::kBoolean, Own(26), 504,
     "Return boolean indicating whether date is valid.", kMemberReadOnly,
     [](MorlexDate& c) -> Variant { return c.DateIsValid(); }, nullptr, nullptr},
    {2, "Width", kPutGet, ValueType::kVariant, Own(25), 517,
     "Returns/Set width of MorlexDate control.", 0,
     [](MorlexDate& c) -> Variant { return c.Width(); },
     [](MorlexDate& c, const Variant& v) { c.SetWidth(v); }, nullptr},
    {3, "Calendar", kPutGet, ValueType::kBoolean, Own(24), 201,
     "Returns/Set indicator that determines whether calendar bitmap displays to right of date.  ",
     0, [](MorlexDate& c) -> Variant { return c.Calendar(); },
     [](MorlexDate& c, const Variant& v) { c.SetCalendar(ToBoolean(v)); }, nullptr},
    {4, "DataField", kPutGet, ValueType::kString, Own(23), 502, "Bound data field.", 0,
     [](MorlexDate& c) -> Variant { return c.DataField(); },
     [](MorlexDate& c, const Variant& v) { c.SetDataField(ToText(v)); }, nullptr},
    {5, "Height", kGetPut, ValueType::kVariant, Own(22), 509,
     "Returns/Set height of MorlexDate control.", 0,
     [](MorlexDate& c) -> Variant { return c.Height(); },
     [](MorlexDate& c, const Variant& v) { c.SetHeight(v); }, nullptr},
    {6, "BackColor", kGetPut, ValueType::kColor, -501, 500,
     "Returns/Set background color of MorlexDate control.", 0,
     [](MorlexDate& c) -> Variant { return platform::ColorVariant(c.BackColor()); },
     [](MorlexDate& c, const Variant& v) { c.SetBackColor(platform::ToColor(v)); }, nullptr},
    {7, "Font", kGetPutRef, ValueType::kFont, -512, 507, "Returns/Set font for MorlexDate control.",
     0, [](MorlexDate& c) -> Variant { return c.Font(); },
     [](MorlexDate& c, const Variant& v) { c.SetFont(platform::ToFont(v)); }, nullptr},
    {8, "ForeColor", kGetPut, ValueType::kColor, -513, 508,
     "Return/Set foreground color of MorlexDate control.", 0,
     [](MorlexDate& c) -> Variant { return platform::ColorVariant(c.ForeColor()); },
     [](MorlexDate& c, const Variant& v) { c.SetForeColor(platform::ToColor(v)); }, nullptr},
    {9, "ToolTipText", kGetPut, ValueType::kString, Own(21), 515,
     "Returns/Set the tooltip text associated with the MorlexDate control.", 0,
     [](MorlexDate& c) -> Variant { return c.ToolTipText(); },
     [](MorlexDate& c, const Variant& v) { c.SetToolTipText(ToText(v)); }, nullptr},
    {10, "WhatsThisHelpID", kGetPut, ValueType::kLong, Own(20), 516,
     "Returns/Set the WhatsThisHelpID for the MorlexDate control.", 0,
     [](MorlexDate& c) -> Variant { return c.WhatsThisHelpID(); },
     [](MorlexDate& c, const Variant& v) { c.SetWhatsThisHelpID(ToLong(v)); }, nullptr},
    {11, "Text", kGetPut, ValueType::kString, -517, 514,
     "Returns/sets the text contained in the MorlexDate control.",
     kMemberBindable | kMemberRequestEdit | kMemberDefaultBind,
     [](MorlexDate& c) -> Variant { return c.Text(); },
     [](MorlexDate& c, const Variant& v) { c.SetText(ToText(v)); }, nullptr},
    {12, "Enabled", kGetPut, ValueType::kBoolean, -514, 505,
     "Returns/sets a value that determines whether MorlexDate can respond to user-generated "
     "events.",
     0, [](MorlexDate& c) -> Variant { return c.Enabled(); },
     [](MorlexDate& c, const Variant& v) { c.SetEnabled(ToBoolean(v)); }, nullptr},
    {13, "Spin", kGetPut, ValueType::kBoolean, Own(19), 513,
     "Returns/Set indicator that determines whether spin indicator displays to right of date.  ", 0,
     [](MorlexDate& c) -> Variant { return c.Spin(); },
     [](MorlexDate& c, const Variant& v) { c.SetSpin(ToBoolean(v)); }, nullptr},
    {14, "DateFormat", kGetPut, ValueType::kDateFormat, Own(18), 503,
     "Returns/sets format of the date displayed in the control.", 0,
     [](MorlexDate& c) -> Variant { return static_cast<std::int32_t>(c.DateFormat()); },
     [](MorlexDate& c, const Variant& v) { c.SetDateFormat(ToLong(v)); }, nullptr},
    {15, "SelText", kGetPut, ValueType::kString, Own(17), 514,
     "Returns/sets the string containing the currently selected text.", 0,
     [](MorlexDate& c) -> Variant { return c.SelText(); },
     [](MorlexDate& c, const Variant& v) { c.SetSelText(ToText(v)); }, nullptr},
    {16, "SelStart", kGetPut, ValueType::kLong, Own(16), 511,
     "Returns/sets the starting point of text selected.", 0,
     [](MorlexDate& c) -> Variant { return c.SelStart(); },
     [](MorlexDate& c, const Variant& v) { c.SetSelStart(ToLong(v)); }, nullptr},
    {17, "SelLength", kGetPut, ValueType::kLong, Own(15), 510,
     "Returns/sets the number of characters selected.", 0,
     [](MorlexDate& c) -> Variant { return c.SelLength(); },
     [](MorlexDate& c, const Variant& v) { c.SetSelLength(ToLong(v)); }, nullptr},
    {18, "AboutBox", kMethod, ValueType::kNone, -552, 407, "", 0, nullptr, nullptr,
     [](MorlexDate& c) { c.AboutBox(); }},
    {19, "DateOrder", kGetPut, ValueType::kDateOrder, Own(14), 503,
     "Returns/sets the order of month, day and year in the date.", 0,
     [](MorlexDate& c) -> Variant { return static_cast<std::int32_t>(c.DateOrder()); },
     [](MorlexDate& c, const Variant& v) { c.SetDateOrder(ToLong(v)); }, nullptr},
    {20, "DateSeparator", kGetPut, ValueType::kString, Own(13), 503,
     "Returns/sets the character between the parts of the date.", 0,
     [](MorlexDate& c) -> Variant { return c.DateSeparator(); },
     [](MorlexDate& c, const Variant& v) { c.SetDateSeparator(ToText(v)); }, nullptr},
}};
// The C header repeats the identifiers and the values for hosts in C.
static_assert(kMembers[kFirstMembers].dispid == MX_DISPID_DATEORDER &&
              kMembers[kFirstMembers + 1].dispid == MX_DISPID_DATESEPARATOR);
static_assert(MX_DATEORDER_MONTHDAYYEAR == MonthDayYear &&
              MX_DATEORDER_DAYMONTHYEAR == DayMonthYear &&
              MX_DATEORDER_YEARMONTHDAY == YearMonthDay && kDateOrders.size() == 3);

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return lower(x) == lower(y);
  });
}

[[noreturn]] void NoSuchMember() {
  throw Error(errnum::kNoSuchMember);
}

const MemberInfo& Require(const MemberInfo* m) {
  if (m == nullptr) NoSuchMember();
  return *m;
}

Accessor WriteAccessor(const MemberInfo& m) {
  if (m.Has(Accessor::kPut)) return Accessor::kPut;
  if (m.Has(Accessor::kPutRef)) return Accessor::kPutRef;
  if (m.Has(Accessor::kGet)) throw Error(errnum::kReadOnly);
  NoSuchMember();
}

}  // namespace

bool MemberInfo::Has(Accessor a) const {
  return std::find(accessors.begin(), accessors.end(), a) != accessors.end();
}

std::span<const MemberInfo> Members() {
  return kMembers;
}

const MemberInfo* FindMember(std::string_view name) {
  for (const auto& m : kMembers) {
    if (EqualsIgnoreCase(m.name, name)) return &m;
  }
  return nullptr;
}

const MemberInfo* FindMember(std::int32_t dispid) {
  for (const auto& m : kMembers) {
    if (m.dispid == dispid) return &m;
  }
  return nullptr;
}

Variant Invoke(MorlexDate& control, const MemberInfo& member, Accessor accessor,
               const Variant& argument) {
  if (!member.Has(accessor)) {
    if ((accessor == Accessor::kPut || accessor == Accessor::kPutRef) &&
        member.Has(Accessor::kGet) && !member.Has(Accessor::kPut) &&
        !member.Has(Accessor::kPutRef)) {
      throw Error(errnum::kReadOnly);
    }
    NoSuchMember();
  }
  switch (accessor) {
    case Accessor::kGet:
      if (member.get == nullptr) break;
      return member.get(control);
    case Accessor::kPut:
    case Accessor::kPutRef:
      if (member.put == nullptr) break;
      member.put(control, argument);
      return {};
    case Accessor::kMethod:
      if (member.call == nullptr) break;
      member.call(control);
      return {};
  }
  NoSuchMember();
}

Variant GetProperty(MorlexDate& control, std::string_view name) {
  return Invoke(control, Require(FindMember(name)), Accessor::kGet);
}

void PutProperty(MorlexDate& control, std::string_view name, const Variant& value) {
  const MemberInfo& m = Require(FindMember(name));
  Invoke(control, m, WriteAccessor(m), value);
}

Variant GetProperty(MorlexDate& control, std::int32_t dispid) {
  return Invoke(control, Require(FindMember(dispid)), Accessor::kGet);
}

void PutProperty(MorlexDate& control, std::int32_t dispid, const Variant& value) {
  const MemberInfo& m = Require(FindMember(dispid));
  Invoke(control, m, WriteAccessor(m), value);
}

}  // namespace morlex::component
