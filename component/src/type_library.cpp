#include "morlex/component/type_library.h"

#include <cstdio>

#include "morlex/artwork/artwork.h"
#include "morlex/core/date_layout.h"
#include "morlex/core/version.h"

namespace morlex::component {
namespace {

const LibraryAttributes kLibrary{
    "MorlexDateControl", "Morlex Date Control", "MORLEXDATE.HLP", 100, 9, 0, 0x0409, true,
    "32-bit Windows"};

const std::array<TypeInfo, 4> kTypes = {{
    {TypeKind::kInterface, "_MorlexDate", kInterfaceId,
     kTypeDual | kTypeHidden | kTypeNonExtensible | kTypeAutomation},
    {TypeKind::kClass, "MorlexDate", kClassId, kTypeControl | kTypeNotCreatable},
    {TypeKind::kEventInterface, "__MorlexDate", kEventInterfaceId,
     kTypeHidden | kTypeNonExtensible},
    {TypeKind::kEnumeration, "enmDateFormat", kDateFormatEnumId, 0},
}};

const std::array<ReferencedLibrary, 2> kReferences = {{
    {"stdole", 2, 0, "the dispatch base interface, the colour type and the font type"},
    {"runtime", 6, 0, "the error object type"},
}};

constexpr std::array kDateErrorParameters{
    EventParameter{"objErr", "ErrObject", true},
    EventParameter{"strCustom", "String", true},
};

// The events' names, dispatch ids and order are kEventTable's; the type
// library adds their parameters and help.
constexpr EventInfo Described(Event event, std::span<const EventParameter> parameters,
                              std::int32_t help_context, std::string_view help_string) {
  return {static_cast<int>(event) + 1, EventName(event), parameters,
          EventDispid(event),          help_context,     help_string};
}

constexpr std::array<EventInfo, kEventTable.size()> kEvents = {{
    Described(Event::kDateChanged, {}, 404, "Event raised when value of date changes."),
    Described(Event::kDateError, kDateErrorParameters, 405,
              "Event raised when error occurs while processing/validating date."),
    Described(Event::kDateInvalid, {}, 406, "Event raised when invalid date is encountered."),
    Described(Event::kClick, {}, 400, ""),
    Described(Event::kDblClick, {}, 403,
              "Occurs when the user presses and releases a mouse button and then presses and "
              "releases it again over the MorlexDate control."),
}};

constexpr bool InTableOrder() {
  for (std::size_t i = 0; i < kEvents.size(); ++i) {
    if (kEvents[i].position != static_cast<int>(i) + 1) return false;
  }
  return true;
}
static_assert(InTableOrder(), "the type library lists every event of kEventTable, in its order");

// Both enumerations are written from the date layout's tables, so that they
// list exactly the formats and orders the field knows.
constexpr std::array<EnumMember, morlex::kDateFormats.size()> kFormatMembers = [] {
  std::array<EnumMember, morlex::kDateFormats.size()> out{};
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto& f = morlex::kDateFormats[i];
    out[i] = {f.name, static_cast<std::int32_t>(f.format), f.name, 0};
  }
  return out;
}();
static_assert(kFormatMembers[0].name == "LeadingZerosCentury" && kFormatMembers[3].value == 3);

constexpr std::array<EnumMember, kDateOrders.size()> kOrderMembers = [] {
  std::array<EnumMember, kDateOrders.size()> out{};
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto& o = kDateOrders[i];
    out[i] = {o.name, static_cast<std::int32_t>(o.order), o.name, 0};
  }
  return out;
}();

// The misspelt "capablitiy" is the text hosts have always shown; it stays.
const std::array<VersionString, 9> kVersionStrings = {{
    {"Comments",
     "Full functionality date control that provides for various display formats, spin "
     "capablitiy, data binding and calendar popup."},
    {"CompanyName", "Morlex Software"},
    {"FileDescription", "Full functionality date control."},
    {"FileVersion", version::kBlockText},
    {"InternalName", "MorlexDateControl"},
    {"OriginalFilename", "MorlexDateControl.ocx"},
    {"ProductName", "Morlex Date Control"},
    {"ProductVersion", version::kBlockText},
    {"OLESelfRegister", ""},
}};

constexpr std::array<std::uint16_t, 4> kVersionNumbers = {version::kMajor, version::kMinor, 0,
                                                          version::kRevision};
const VersionBlock kVersion{kVersionNumbers,        kVersionNumbers,  0x0409,         1200,
                            "dynamic-link library", "32-bit Windows", kVersionStrings};

const RegistrationData kRegistration{"MorlexDateControl",
                                     "Morlex Date Control",
                                     "",
                                     9,
                                     0,
                                     "MorlexDate",
                                     0,
                                     true,
                                     0x20191,
                                     artwork::kToolboxResource,
                                     "Apartment"};

const std::array<ResourceInfo, 5> kResources = {{
    {"TYPELIB", 1, 0},
    {"_IID_MORLEXDATE", 1, 0},
    {"_SRCIID_MORLEXDATE", 1, 0},
    {"BITMAP", artwork::kToolboxResource, 0},
    {"VERSION", 1, 1033},
}};

std::vector<std::uint8_t> IdentifierResource(const Guid& id) {
  std::vector<std::uint8_t> bytes = {16, 0, 0, 0};
  const auto guid = id.Bytes();
  bytes.insert(bytes.end(), guid.begin(), guid.end());
  return bytes;
}

}  // namespace

std::string Guid::Text() const {
  char buf[40];
  std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(data1), static_cast<unsigned>(data2),
                static_cast<unsigned>(data3), data4[0], data4[1], data4[2], data4[3], data4[4],
                data4[5], data4[6], data4[7]);
  return buf;
}

std::array<std::uint8_t, 16> Guid::Bytes() const {
  std::array<std::uint8_t, 16> b{};
  for (int i = 0; i < 4; ++i) b[static_cast<std::size_t>(i)] = (data1 >> (8 * i)) & 0xFF;
  b[4] = data2 & 0xFF;
  b[5] = static_cast<std::uint8_t>(data2 >> 8);
  b[6] = data3 & 0xFF;
  b[7] = static_cast<std::uint8_t>(data3 >> 8);
  for (std::size_t i = 0; i < 8; ++i) b[8 + i] = data4[i];
  return b;
}

const LibraryAttributes& Library() {
  return kLibrary;
}
std::span<const TypeInfo> Types() {
  return kTypes;
}
std::span<const ReferencedLibrary> ReferencedLibraries() {
  return kReferences;
}

std::span<const EventInfo> Events() {
  return kEvents;
}

const EventInfo* FindEvent(std::int32_t dispid) {
  for (const auto& e : kEvents) {
    if (e.dispid == dispid) return &e;
  }
  return nullptr;
}

std::span<const EnumMember> DateFormatMembers() {
  return kFormatMembers;
}

std::span<const EnumMember> DateOrderMembers() {
  return kOrderMembers;
}

std::optional<std::string_view> VersionBlock::Value(std::string_view key) const {
  for (const auto& s : strings) {
    if (s.key == key) return s.value;
  }
  return std::nullopt;
}

const VersionBlock& Version() {
  return kVersion;
}

std::string VersionText(const std::array<std::uint16_t, 4>& v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%u.%02u.%04u", static_cast<unsigned>(v[0]),
                static_cast<unsigned>(v[1]), static_cast<unsigned>(v[3]));
  return buf;
}

const RegistrationData& Registration() {
  return kRegistration;
}

std::span<const ResourceInfo> Resources() {
  return kResources;
}

std::vector<std::uint8_t> ResourceBytes(std::string_view type, int number) {
  if (number != 1) return {};
  if (type == "_IID_MORLEXDATE") return IdentifierResource(kInterfaceId);
  if (type == "_SRCIID_MORLEXDATE") return IdentifierResource(kEventInterfaceId);
  return {};
}

}  // namespace morlex::component
