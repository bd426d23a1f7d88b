// The published description of the component: member table, events,
// enumeration, version block, identifiers, and the dispatch entry.
#include <gtest/gtest.h>

#include <set>

#include "morlex/component/dispatch.h"
#include "morlex/component/type_library.h"
#include "morlex/core/error.h"
#include "morlex/core/unicode.h"
#include "morlex/headless/host.h"
#include "morlex/headless/toolkit.h"

namespace {

namespace component = morlex::component;
using component::Accessor;
using morlex::platform::Variant;

TEST(TypeLibrary, OwnDispatchIdentifiersRunDownInMemberOrder) {
  int expected_low = 26;
  for (const auto& m : component::Members()) {
    SCOPED_TRACE(std::string(m.name));
    EXPECT_NE(m.dispid, 0);      // no default member
    if (m.dispid < 0) continue;  // a standard identifier
    EXPECT_EQ(static_cast<std::uint32_t>(m.dispid) >> 16, 0x6803U);
    EXPECT_EQ(m.dispid & 0xFFFF, expected_low--);
  }
  EXPECT_EQ(expected_low, 12);  // 26 down to 15, then the added 14 and 13
}

TEST(TypeLibrary, StandardIdentifiersAndAttributes) {
  struct Case {
    const char* name;
    std::int32_t dispid;
    std::uint16_t flags;
  };
  for (const Case& c :
       {Case{"BackColor", -501, 0}, Case{"Font", -512, 0}, Case{"ForeColor", -513, 0},
        Case{"Enabled", -514, 0},
        Case{"Text", -517,
             component::kMemberBindable | component::kMemberRequestEdit |
                 component::kMemberDefaultBind},
        Case{"AboutBox", -552, 0}, Case{"DateIsValid", 1745027098, component::kMemberReadOnly}}) {
    SCOPED_TRACE(c.name);
    const auto* m = component::FindMember(c.name);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->dispid, c.dispid);
    EXPECT_EQ(m->flags, c.flags);
    EXPECT_EQ(component::FindMember(c.dispid), m);
  }
  // Help strings kept to the letter: two members end in two blanks, and
  // SelText shares its help context with Text.
  EXPECT_TRUE(component::FindMember("Calendar")->help_string.ends_with("date.  "));
  EXPECT_TRUE(component::FindMember("Spin")->help_string.ends_with("date.  "));
  EXPECT_EQ(component::FindMember("SelText")->help_context, 514);
  EXPECT_TRUE(component::FindMember("AboutBox")->help_string.empty());
}

TEST(TypeLibrary, TheLibraryAndItsTypes) {
  const auto& lib = component::Library();
  EXPECT_EQ(lib.name, "MorlexDateControl");
  EXPECT_EQ(lib.help_string, "Morlex Date Control");
  EXPECT_EQ(lib.help_file, "MORLEXDATE.HLP");
  EXPECT_EQ(lib.help_context, 100);
  EXPECT_EQ(lib.major_version, 9);
  EXPECT_EQ(lib.minor_version, 0);
  EXPECT_EQ(lib.locale, 0x0409U);
  EXPECT_TRUE(lib.control_library);
  const auto types = component::Types();
  ASSERT_EQ(types.size(), 4U);
  const char* names[] = {"_MorlexDate", "MorlexDate", "__MorlexDate", "enmDateFormat"};
  std::set<std::string> ids = {component::kLibraryId.Text(),
                               component::kClassObjectInterfaceId.Text()};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(types[i].name, names[i]);
    EXPECT_EQ(types[i].major_version, 1);
    EXPECT_EQ(types[i].minor_version, 0);
    EXPECT_EQ(types[i].help_context, 0);
    ids.insert(types[i].id.Text());
  }
  EXPECT_EQ(ids.size(), 6U);  // every identifier is its own
  EXPECT_EQ(types[0].flags, component::kTypeDual | component::kTypeHidden |
                                component::kTypeNonExtensible | component::kTypeAutomation);
  EXPECT_EQ(types[1].flags, component::kTypeControl | component::kTypeNotCreatable);
  EXPECT_EQ(component::ReferencedLibraries().size(), 2U);
}

TEST(TypeLibrary, Events) {
  struct Case {
    const char* name;
    std::int32_t dispid;
    std::int32_t help_context;
    std::size_t parameters;
  };
  const std::vector<Case> want = {{"DateChanged", 1, 404, 0},
                                  {"DateError", 2, 405, 2},
                                  {"DateInvalid", 3, 406, 0},
                                  {"Click", -600, 400, 0},
                                  {"DblClick", -601, 403, 0}};
  const auto events = component::Events();
  ASSERT_EQ(events.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE(want[i].name);
    EXPECT_EQ(events[i].position, static_cast<int>(i) + 1);
    EXPECT_EQ(events[i].name, want[i].name);
    EXPECT_EQ(events[i].dispid, want[i].dispid);
    EXPECT_EQ(events[i].help_context, want[i].help_context);
    EXPECT_EQ(events[i].parameters.size(), want[i].parameters);
    EXPECT_EQ(component::FindEvent(want[i].dispid), &events[i]);
  }
  EXPECT_TRUE(events[3].help_string.empty());
  for (const auto& p : events[1].parameters) EXPECT_TRUE(p.by_reference) << p.name;
  EXPECT_EQ(events[1].parameters[0].name, "objErr");
  EXPECT_EQ(events[1].parameters[1].name, "strCustom");
}

TEST(TypeLibrary, DateFormatEnumeration) {
  const auto members = component::DateFormatMembers();
  ASSERT_EQ(members.size(), 4U);
  const char* names[] = {"LeadingZerosCentury", "LeadingZerosNoCentury", "NoLeadingZerosCentury",
                         "NoLeadingZerosNoCentury"};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(members[i].name, names[i]);
    EXPECT_EQ(members[i].value, static_cast<std::int32_t>(i));
    EXPECT_EQ(members[i].help_string, names[i]);
    EXPECT_EQ(static_cast<int>(morlex::FormatOfPattern(morlex::PatternOfFormat(members[i].value))),
              members[i].value);
  }
}

TEST(TypeLibrary, VersionBlock) {
  const auto& v = component::Version();
  EXPECT_EQ(component::VersionText(v.file_version), "1.02.0013");
  EXPECT_EQ(component::VersionText(v.product_version), "1.02.0013");
  EXPECT_EQ(v.Value("FileVersion"), "1.02.0013");
  EXPECT_EQ(v.Value("ProductVersion"), "1.02.0013");
  EXPECT_EQ(v.Value("InternalName"), "MorlexDateControl");
  EXPECT_EQ(v.Value("OriginalFilename"), "MorlexDateControl.ocx");
  EXPECT_EQ(v.Value("ProductName"), "Morlex Date Control");
  EXPECT_EQ(v.Value("FileDescription"), "Full functionality date control.");
  EXPECT_EQ(v.Value("OLESelfRegister"), "");  // present, empty
  EXPECT_TRUE(v.Value("CompanyName").has_value());
  EXPECT_FALSE(v.Value("LegalCopyright").has_value());
  EXPECT_EQ(v.language, 0x0409);
  EXPECT_EQ(v.code_page, 1200);
  // One version everywhere: the block, the numbers the about box shows, the build.
  const morlex::platform::ComponentVersion about;
  EXPECT_EQ(v.file_version[0], about.major);
  EXPECT_EQ(v.file_version[1], about.minor);
  EXPECT_EQ(v.file_version[3], about.revision);
  EXPECT_EQ(std::to_string(about.major) + "." + std::to_string(about.minor) + "." +
                std::to_string(about.revision),
            MORLEX_PROJECT_VERSION);
  EXPECT_EQ(component::VersionText({10, 5, 0, 7}), "10.05.0007");
}

TEST(TypeLibrary, IdentifierResourcesAndRegistrationData) {
  const auto iid = component::ResourceBytes("_IID_MORLEXDATE", 1);
  ASSERT_EQ(iid.size(), 20U);
  EXPECT_EQ((std::vector<std::uint8_t>(iid.begin(), iid.begin() + 4)),
            (std::vector<std::uint8_t>{16, 0, 0, 0}));
  const auto guid = component::kInterfaceId.Bytes();
  EXPECT_TRUE(std::equal(guid.begin(), guid.end(), iid.begin() + 4));
  EXPECT_EQ(iid[4], 0x26);  // data1 little-endian: ECBC2526
  const auto src = component::ResourceBytes("_SRCIID_MORLEXDATE", 1);
  ASSERT_EQ(src.size(), 20U);
  EXPECT_EQ(src[4], 0x1D);  // 8663191D
  EXPECT_TRUE(component::ResourceBytes("TYPELIB", 1).empty());
  EXPECT_EQ(component::kClassId.Text(), "{DA8F975A-1B16-49F1-AA70-C2481B472CBF}");

  const auto& r = component::Registration();
  EXPECT_EQ(r.misc_status, 131473U);
  EXPECT_EQ(r.toolbox_bitmap, 30000);
  EXPECT_EQ(r.threading_model, "Apartment");
  EXPECT_EQ(r.object_number, 0);
}

// --- The dispatch entry -----------------------------------------------------

struct Hosted {
  Hosted() : control(host, toolkit) {
    host.Attach(&control, toolkit.LastControlSurface());
    control.InitProperties();
    host.HostResize(2280, 885);
  }
  morlex::platform::FixedClock clock{{2026, 12, 8}};
  morlex::headless::HostPolicy policy = [this] {
    morlex::headless::HostPolicy p;
    p.clock = &clock;
    return p;
  }();
  morlex::headless::Toolkit toolkit;
  morlex::headless::TestHost host{policy};
  morlex::MorlexDate control;
};

std::string Show(const Variant& v) {
  if (const auto* f = std::get_if<morlex::platform::FontRef>(&v)) {
    return *f ? "font " + morlex::platform::NumberText((*f)->size) : "font none";
  }
  return std::string(morlex::platform::KindName(v)) + " " +
         morlex::ToUtf8(morlex::platform::ToText(v));
}

TEST(Dispatch, ByNameAndByIdentifierReachTheSameAccessor) {
  Hosted a, b;
  for (const auto& m : component::Members()) {
    if (!m.Has(Accessor::kGet)) continue;
    SCOPED_TRACE(std::string(m.name));
    // Any case of the name finds it.
    std::string upper(m.name);
    for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    EXPECT_EQ(Show(component::GetProperty(a.control, upper)),
              Show(component::GetProperty(b.control, m.dispid)));
  }
  component::PutProperty(a.control, "text", std::u16string(u"2/28/1999"));
  component::PutProperty(b.control, -517, std::u16string(u"2/28/1999"));
  EXPECT_EQ(a.control.Text(), b.control.Text());
  EXPECT_EQ(Show(component::GetProperty(a.control, 1745027098)), "bool True");
  EXPECT_EQ(component::FindMember("NoSuchThing"), nullptr);
  EXPECT_EQ(component::FindMember(0), nullptr);
}

TEST(Dispatch, RefusalsCarryTheirErrorNumbers) {
  Hosted h;
  struct Case {
    const char* what;
    std::function<void()> call;
    int number;
  };
  const std::vector<Case> cases = {
      {"write DateIsValid", [&] { component::PutProperty(h.control, "DateIsValid", true); }, 383},
      {"put DateIsValid by id",
       [&] {
         component::Invoke(h.control, *component::FindMember(1745027098), Accessor::kPut, true);
       },
       383},
      {"unknown name", [&] { component::GetProperty(h.control, "Value"); }, 438},
      {"unknown id", [&] { component::GetProperty(h.control, 12345); }, 438},
      {"get of a method", [&] { component::GetProperty(h.control, -552); }, 438},
      {"put by value of Font",
       [&] {
         component::Invoke(h.control, *component::FindMember(-512), Accessor::kPut,
                           std::make_shared<morlex::platform::Font>());
       },
       438},
      {"Width abc", [&] { component::PutProperty(h.control, "Width", std::u16string(u"abc")); },
       13},
      {"Font a string", [&] { component::PutProperty(h.control, "Font", std::u16string(u"x")); },
       13},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      c.call();
      FAIL() << "accepted";
    } catch (const morlex::Error& e) {
      EXPECT_EQ(e.number(), c.number) << e.description();
    }
  }
  EXPECT_EQ(h.host.Width(), 1635);  // the failed Width write changed nothing
}

TEST(Dispatch, VariantsConvertAsHostsPassThem) {
  Hosted h;
  component::PutProperty(h.control, "Width", std::u16string(u"2000"));
  EXPECT_EQ(h.host.Width(), 2000);
  component::PutProperty(h.control, "Height", 400.5);
  EXPECT_EQ(h.host.Height(), 400.5F);
  // Colours as negative numbers and as their unsigned reading.
  component::PutProperty(h.control, -501, -2147483633.0);
  EXPECT_EQ(h.control.BackColor(), 0x8000000FU);
  component::PutProperty(h.control, -501, 2147483653.0);
  EXPECT_EQ(h.control.BackColor(), 0x80000005U);
  EXPECT_EQ(Show(component::GetProperty(h.control, -501)), "long -2147483643");
  EXPECT_THROW(component::PutProperty(h.control, -501, 4294967296.0), morlex::Error);
  // Font is taken by reference.
  auto font = std::make_shared<morlex::platform::Font>();
  component::PutProperty(h.control, "Font", font);
  font->size = 15;
  EXPECT_EQ(Show(component::GetProperty(h.control, -512)), "font 15");
  component::PutProperty(h.control, "DateFormat", std::u16string(u"1"));
  EXPECT_EQ(Show(component::GetProperty(h.control, "DateFormat")), "long 1");
}

}  // namespace
