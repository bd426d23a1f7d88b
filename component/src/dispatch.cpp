#include "morlex/component/dispatch.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "morlex/component/module_abi.h"
#include "morlex/core/error.h"

namespace morlex::component {
namespace {

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

const std::array<MemberInfo, 18> kMembers = {{
    {1, "DateIsValid", kGet, ValueType::kBoolean, Own(26), 504,
     "Return boolean indicating whether date is valid.", kMemberReadOnly},
    {2, "Width", kPutGet, ValueType::kVariant, Own(25), 517,
     "Returns/Set width of MorlexDate control."},
    {3, "Calendar", kPutGet, ValueType::kBoolean, Own(24), 201,
     "Returns/Set indicator that determines whether calendar bitmap displays to right of date.  "},
    {4, "DataField", kPutGet, ValueType::kString, Own(23), 502, "Bound data field."},
    {5, "Height", kGetPut, ValueType::kVariant, Own(22), 509,
     "Returns/Set height of MorlexDate control."},
    {6, "BackColor", kGetPut, ValueType::kColor, -501, 500,
     "Returns/Set background color of MorlexDate control."},
    {7, "Font", kGetPutRef, ValueType::kFont, -512, 507,
     "Returns/Set font for MorlexDate control."},
    {8, "ForeColor", kGetPut, ValueType::kColor, -513, 508,
     "Return/Set foreground color of MorlexDate control."},
    {9, "ToolTipText", kGetPut, ValueType::kString, Own(21), 515,
     "Returns/Set the tooltip text associated with the MorlexDate control."},
    {10, "WhatsThisHelpID", kGetPut, ValueType::kLong, Own(20), 516,
     "Returns/Set the WhatsThisHelpID for the MorlexDate control."},
    {11, "Text", kGetPut, ValueType::kString, -517, 514,
     "Returns/sets the text contained in the MorlexDate control.",
     kMemberBindable | kMemberRequestEdit | kMemberDefaultBind},
    {12, "Enabled", kGetPut, ValueType::kBoolean, -514, 505,
     "Returns/sets a value that determines whether MorlexDate can respond to user-generated "
     "events."},
    {13, "Spin", kGetPut, ValueType::kBoolean, Own(19), 513,
     "Returns/Set indicator that determines whether spin indicator displays to right of date.  "},
    {14, "DateFormat", kGetPut, ValueType::kDateFormat, Own(18), 503,
     "Returns/sets format of the date displayed in the control."},
    {15, "SelText", kGetPut, ValueType::kString, Own(17), 514,
     "Returns/sets the string containing the currently selected text."},
    {16, "SelStart", kGetPut, ValueType::kLong, Own(16), 511,
     "Returns/sets the starting point of text selected."},
    {17, "SelLength", kGetPut, ValueType::kLong, Own(15), 510,
     "Returns/sets the number of characters selected."},
    {18, "AboutBox", kMethod, ValueType::kNone, -552, 407, ""},
}};

constexpr std::array<MemberInfo, 2> kAddedMembers = {{
    {19, "DateOrder", kGetPut, ValueType::kDateOrder, Own(14), 503,
     "Returns/sets the order of month, day and year in the date."},
    {20, "DateSeparator", kGetPut, ValueType::kString, Own(13), 503,
     "Returns/sets the character between the parts of the date."},
}};
// The C header repeats the identifiers and the values for hosts in C.
static_assert(kAddedMembers[0].dispid == MX_DISPID_DATEORDER &&
              kAddedMembers[1].dispid == MX_DISPID_DATESEPARATOR);
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

Variant Get(MorlexDate& c, int position) {
  switch (position) {
    case 1:
      return c.DateIsValid();
    case 2:
      return c.Width();
    case 3:
      return c.Calendar();
    case 4:
      return c.DataField();
    case 5:
      return c.Height();
    case 6:
      return platform::ColorVariant(c.BackColor());
    case 7:
      return c.Font();
    case 8:
      return platform::ColorVariant(c.ForeColor());
    case 9:
      return c.ToolTipText();
    case 10:
      return c.WhatsThisHelpID();
    case 11:
      return c.Text();
    case 12:
      return c.Enabled();
    case 13:
      return c.Spin();
    case 14:
      return static_cast<std::int32_t>(c.DateFormat());
    case 15:
      return c.SelText();
    case 16:
      return c.SelStart();
    case 17:
      return c.SelLength();
    case 19:
      return static_cast<std::int32_t>(c.DateOrder());
    case 20:
      return c.DateSeparator();
    default:
      NoSuchMember();
  }
}

void Put(MorlexDate& c, int position, const Variant& v) {
  using platform::ToBoolean;
  using platform::ToLong;
  using platform::ToText;
  switch (position) {
    case 2:
      return c.SetWidth(v);
    case 3:
      return c.SetCalendar(ToBoolean(v));
    case 4:
      return c.SetDataField(ToText(v));
    case 5:
      return c.SetHeight(v);
    case 6:
      return c.SetBackColor(platform::ToColor(v));
    case 7:
      return c.SetFont(platform::ToFont(v));
    case 8:
      return c.SetForeColor(platform::ToColor(v));
    case 9:
      return c.SetToolTipText(ToText(v));
    case 10:
      return c.SetWhatsThisHelpID(ToLong(v));
    case 11:
      return c.SetText(ToText(v));
    case 12:
      return c.SetEnabled(ToBoolean(v));
    case 13:
      return c.SetSpin(ToBoolean(v));
    case 14:
      return c.SetDateFormat(ToLong(v));
    case 15:
      return c.SetSelText(ToText(v));
    case 16:
      return c.SetSelStart(ToLong(v));
    case 17:
      return c.SetSelLength(ToLong(v));
    case 19:
      return c.SetDateOrder(ToLong(v));
    case 20:
      return c.SetDateSeparator(ToText(v));
    default:
      NoSuchMember();
  }
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

std::span<const MemberInfo> AddedMembers() {
  return kAddedMembers;
}

const MemberInfo* FindMember(std::string_view name) {
  for (const auto& m : kMembers) {
    if (EqualsIgnoreCase(m.name, name)) return &m;
  }
  for (const auto& m : kAddedMembers) {
    if (EqualsIgnoreCase(m.name, name)) return &m;
  }
  return nullptr;
}

const MemberInfo* FindMember(std::int32_t dispid) {
  for (const auto& m : kMembers) {
    if (m.dispid == dispid) return &m;
  }
  for (const auto& m : kAddedMembers) {
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
      return Get(control, member.position);
    case Accessor::kPut:
    case Accessor::kPutRef:
      Put(control, member.position, argument);
      return {};
    case Accessor::kMethod:
      control.AboutBox();
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
