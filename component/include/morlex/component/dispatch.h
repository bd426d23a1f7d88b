#pragma once
// The published interface of MorlexDate: its member table in call-table
// order, with dispatch identifiers, help data and accessors, and a dispatch
// entry that reaches a member by name or by identifier with variant values.

#include <cstdint>
#include <span>
#include <string_view>

#include "morlex/control/morlex_date.h"
#include "morlex/platform/variant.h"

namespace morlex::component {

enum class Accessor : std::uint8_t { kGet, kPut, kPutRef, kMethod };

enum class ValueType : std::uint8_t {
  kBoolean,
  kVariant,
  kString,
  kColor,
  kFont,
  kLong,
  kDateFormat,  // enmDateFormat
  kNone,        // a method without a result
  kDateOrder,   // DateOrder
};

// Attributes of a member beyond its accessors.
inline constexpr std::uint16_t kMemberReadOnly = 1U << 0;
// Data binding of Text: the control tells the host of every change
// (bindable), asks before it changes the value (request-edit), and it is the
// property a data source binds to through DataField (default-bind).
inline constexpr std::uint16_t kMemberBindable = 1U << 1;
inline constexpr std::uint16_t kMemberRequestEdit = 1U << 2;
inline constexpr std::uint16_t kMemberDefaultBind = 1U << 3;

struct MemberInfo {
  int position;  // 1-based, call-table order
  std::string_view name;
  std::span<const Accessor> accessors;  // in call-table order
  ValueType type;
  std::int32_t dispid;
  std::int32_t help_context;
  std::string_view help_string;  // empty when none
  std::uint16_t flags = 0;
  // What the accessors do: a new member is one row of the table, its
  // accessors beside its identity. nullptr where the member has none.
  platform::Variant (*get)(MorlexDate&) = nullptr;
  void (*put)(MorlexDate&, const platform::Variant&) = nullptr;  // put and putref
  void (*call)(MorlexDate&) = nullptr;

  bool Has(Accessor a) const;
};

// The members of _MorlexDate in call-table order, one table: the 18 of the
// first interface, then those added after them (DateOrder, DateSeparator).
// The added ones follow AboutBox in the call table, positions 19 on, and
// their dispatch identifiers run on down from SelLength's, so that no member
// of the 18 moves and a host built against them calls what it did.
std::span<const MemberInfo> Members();

// Both lookups search every member. Name lookup ignores case, as automation
// hosts expect. nullptr when none.
const MemberInfo* FindMember(std::string_view name);
const MemberInfo* FindMember(std::int32_t dispid);

// Calls a member: kGet returns the value; kPut/kPutRef convert the argument to
// the member's type and write it; kMethod calls it. A member or accessor that
// does not exist fails with morlex::Error (438, or 383 for a write to a
// read-only property); a value that does not convert fails with 13.
platform::Variant Invoke(MorlexDate& control, const MemberInfo& member, Accessor accessor,
                         const platform::Variant& argument = {});

// Shorthands: read or write a property by name or dispatch identifier. A
// write picks "put" when the member has it, else "putref".
platform::Variant GetProperty(MorlexDate& control, std::string_view name);
void PutProperty(MorlexDate& control, std::string_view name, const platform::Variant& value);
platform::Variant GetProperty(MorlexDate& control, std::int32_t dispid);
void PutProperty(MorlexDate& control, std::int32_t dispid, const platform::Variant& value);

}  // namespace morlex::component
