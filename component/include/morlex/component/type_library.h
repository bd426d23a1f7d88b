#pragma once
// What the component says about itself: the library's attributes, its four
// types with their identifiers, the events, the enumeration enmDateFormat,
// the version block, the registration data and the module's resources. The
// member table of _MorlexDate is in dispatch.h.
//
// The identifiers are fixed: hosts that stored them (in their registry, in
// saved forms) must find the same ones in every compatible build.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "morlex/component/module_abi.h"
#include "morlex/control/events.h"

namespace morlex::component {

struct Guid {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0;
  std::uint16_t data3 = 0;
  std::array<std::uint8_t, 8> data4{};

  // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper case.
  std::string Text() const;
  // The 16 bytes as stored: data1, data2, data3 little-endian, then data4.
  std::array<std::uint8_t, 16> Bytes() const;
  friend bool operator==(const Guid&, const Guid&) = default;
};

// The identifiers that the module's C interface publishes are written there
// once; the enumeration's has no C name.
inline constexpr Guid kLibraryId = MX_LIBID_MORLEXDATECONTROL;
inline constexpr Guid kClassId = MX_CLSID_MORLEXDATE;
// _MorlexDate, the dual interface of the properties and AboutBox.
inline constexpr Guid kInterfaceId = MX_IID_MORLEXDATE;
// __MorlexDate, the event interface.
inline constexpr Guid kEventInterfaceId = MX_DIID_MORLEXDATE_EVENTS;
inline constexpr Guid kDateFormatEnumId =
    MX_GUID(0x34A12891, 0xA162, 0x4095, 0xAFF33615BE66451Bull);
// The class object's own interface in the module's C interface.
inline constexpr Guid kClassObjectInterfaceId = MX_IID_CLASSOBJECT;

// --- The library -------------------------------------------------------------

enum class TypeKind : std::uint8_t { kInterface, kClass, kEventInterface, kEnumeration };

// Flags of a type.
inline constexpr std::uint32_t kTypeDual = 1U << 0;
inline constexpr std::uint32_t kTypeHidden = 1U << 1;
inline constexpr std::uint32_t kTypeNonExtensible = 1U << 2;
inline constexpr std::uint32_t kTypeAutomation = 1U << 3;
inline constexpr std::uint32_t kTypeControl = 1U << 4;
// Hosts create the class as a control only, not by plain object creation.
inline constexpr std::uint32_t kTypeNotCreatable = 1U << 5;

struct TypeInfo {
  TypeKind kind;
  std::string_view name;
  Guid id;
  std::uint32_t flags;
  int major_version = 1;
  int minor_version = 0;
  std::string_view help_string{};  // none
  std::int32_t help_context = 0;
};

struct ReferencedLibrary {
  std::string_view name;
  int major_version;
  int minor_version;
  std::string_view used_for;
};

struct LibraryAttributes {
  std::string_view name;
  std::string_view help_string;
  std::string_view help_file;
  std::int32_t help_context;
  int major_version;
  int minor_version;
  std::uint32_t locale;
  bool control_library;  // a library of controls, hidden from plain object browsers
  std::string_view target_system;
};

const LibraryAttributes& Library();
// _MorlexDate, MorlexDate, __MorlexDate, enmDateFormat, in that order.
std::span<const TypeInfo> Types();
std::span<const ReferencedLibrary> ReferencedLibraries();

// --- Events ------------------------------------------------------------------

struct EventParameter {
  std::string_view name;
  std::string_view type;
  bool by_reference;
};

struct EventInfo {
  int position;
  std::string_view name;
  std::span<const EventParameter> parameters;
  std::int32_t dispid;
  std::int32_t help_context;
  std::string_view help_string;  // empty when none
};

inline constexpr std::int32_t kDispidDateChanged = EventDispid(Event::kDateChanged);
inline constexpr std::int32_t kDispidDateError = EventDispid(Event::kDateError);
inline constexpr std::int32_t kDispidDateInvalid = EventDispid(Event::kDateInvalid);
inline constexpr std::int32_t kDispidClick = EventDispid(Event::kClick);
inline constexpr std::int32_t kDispidDblClick = EventDispid(Event::kDblClick);

// The five events of __MorlexDate in order.
std::span<const EventInfo> Events();
const EventInfo* FindEvent(std::int32_t dispid);

// --- enmDateFormat -----------------------------------------------------------

struct EnumMember {
  std::string_view name;
  std::int32_t value;
  std::string_view help_string;  // the member's own name
  std::int32_t help_context;
};

std::span<const EnumMember> DateFormatMembers();

// The values of the DateOrder property (MonthDayYear 0, DayMonthYear 1,
// YearMonthDay 2), an enumeration added after the library's four types.
std::span<const EnumMember> DateOrderMembers();

// --- Version block -----------------------------------------------------------

struct VersionString {
  std::string_view key;
  std::string_view value;
};

struct VersionBlock {
  std::array<std::uint16_t, 4> file_version;     // 1.2.0.13
  std::array<std::uint16_t, 4> product_version;  // the same
  std::uint16_t language;                        // 0x0409
  std::uint16_t code_page;                       // 1200, Unicode
  std::string_view file_type;
  std::string_view target_system;
  std::span<const VersionString> strings;

  // The value of key; nullopt when the block has no such key.
  std::optional<std::string_view> Value(std::string_view key) const;
};

const VersionBlock& Version();
// A four-part version as the block shows it: major, minor in two digits,
// revision in four ("1.02.0013"); the third part is not shown.
std::string VersionText(const std::array<std::uint16_t, 4>& version);

// --- Registration --------------------------------------------------------------

struct RegistrationData {
  std::string_view library_name;
  std::string_view library_description;
  std::string_view help_directory;
  int major_version;
  int minor_version;
  std::string_view class_name;
  int object_number;
  bool control_with_events;
  std::uint32_t misc_status;  // 0x20191
  int toolbox_bitmap;         // resource number
  std::string_view threading_model;
};

const RegistrationData& Registration();

// --- Resources of the module -------------------------------------------------

struct ResourceInfo {
  std::string_view type;  // "TYPELIB", "_IID_MORLEXDATE", "BITMAP", "VERSION", ...
  int number;
  std::uint16_t language;  // 0: neutral
};

std::span<const ResourceInfo> Resources();
// The bytes of the two identifier resources: a 32-bit length (16) and the
// 16 bytes of the interface identifier. Empty for any other resource.
std::vector<std::uint8_t> ResourceBytes(std::string_view type, int number);

}  // namespace morlex::component
