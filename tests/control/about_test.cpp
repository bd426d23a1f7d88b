// The about box: frmAbout's load step, its focus, closing, and AboutBox's
// silence about every failure.
#include <gtest/gtest.h>

#include "morlex/control/about_form.h"
#include "morlex/control/morlex_date.h"
#include "morlex/core/error.h"
#include "morlex/designs/form_designs.h"
#include "morlex/headless/host.h"
#include "morlex/headless/toolkit.h"

namespace {

namespace headless = morlex::headless;
namespace platform = morlex::platform;

TEST(About, VersionNumbersAreWrittenWithoutLeadingZeros) {
  struct Case {
    platform::ComponentVersion version;
    std::u16string text;
  };
  for (const Case& c : {Case{{1, 2, 13}, u"1.2.13"}, Case{{0, 0, 0}, u"0.0.0"},
                        Case{{2026, 1, 1}, u"2026.1.1"}, Case{{10, 20, 300}, u"10.20.300"}}) {
    EXPECT_EQ(morlex::about::VersionText(c.version), c.text);
  }
}

// A host whose component reports a version of its choosing.
class VersionedHost final : public platform::HostSite {
 public:
  explicit VersionedHost(platform::ComponentVersion v) : version_(v) {}
  bool UserMode() const override { return true; }
  platform::FontRef AmbientFont() const override { return std::make_shared<platform::Font>(); }
  void NotifyChanged(std::string_view) override {}
  bool CanChange(std::string_view) override { return true; }
  float Width() const override { return 1635; }
  float Height() const override { return 315; }
  void SetWidth(float) override {}
  void SetHeight(float) override {}
  bool Enabled() const override { return true; }
  void SetEnabled(bool) override {}
  const platform::Widget* ActiveConstituent() const override { return nullptr; }
  const platform::Clock& GetClock() const override { return clock_; }
  platform::ComponentVersion Version() const override { return version_; }

 private:
  platform::ComponentVersion version_;
  platform::FixedClock clock_{{2026, 12, 8}};
};

struct Seen {
  std::u16string caption, name, version_caption, version, notice, close_caption;
  std::string focus;
  bool shown = false;
};

Seen Look(headless::Form& form) {
  Seen s;
  s.caption = form.Caption();
  s.name = form.GetLabel("lblName").Caption();
  s.version_caption = form.GetLabel("lblVersionCaption").Caption();
  s.version = form.GetLabel("lblVersion").Caption();
  s.notice = form.GetLabel("lblCopyRight").Caption();
  s.close_caption = form.GetCommandButton("cmdClose").Caption();
  s.focus = form.Focused() != nullptr ? form.Focused()->Name() : "";
  s.shown = form.IsShown();
  return s;
}

TEST(About, ShowsTheNameVersionAndNoticeWithTheFocusOnClose) {
  headless::Toolkit toolkit;
  VersionedHost host({1, 2, 13});
  morlex::MorlexDate control(host, toolkit);
  for (int time = 0; time < 2; ++time) {  // the same texts each time it is opened
    SCOPED_TRACE(time);
    Seen seen;
    toolkit.SetModalInteraction([&](headless::Form& form) {
      seen = Look(form);
      form.Button("cmdClose").Press();
    });
    control.AboutBox();
    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(seen.caption, u"About Morlex Date Control");
    EXPECT_EQ(seen.name, u"Morlex Date Control");
    EXPECT_EQ(seen.version_caption, u"Version: ");
    EXPECT_EQ(seen.version, u"1.2.13");
    EXPECT_EQ(seen.notice, morlex::about::kNoticeLine);
    EXPECT_NE(seen.notice, morlex::designs::AboutForm().widgets[4].caption);
    EXPECT_EQ(seen.close_caption, u"&Close");
    EXPECT_EQ(seen.focus, "cmdClose");
    EXPECT_EQ(toolkit.LiveForms(), 0);  // unloaded once closed
  }
}

TEST(About, TheVersionComesFromTheHost) {
  headless::Toolkit toolkit;
  VersionedHost host({3, 0, 7});
  morlex::MorlexDate control(host, toolkit);
  std::u16string version;
  toolkit.SetModalInteraction(
      [&](headless::Form& form) { version = form.GetLabel("lblVersion").Caption(); });
  control.AboutBox();
  EXPECT_EQ(version, u"3.0.7");
}

TEST(About, EveryActivationPutsTheFocusOnClose) {
  headless::Toolkit toolkit;
  morlex::about::frmAbout about(toolkit, {1, 2, 13});
  auto& form = dynamic_cast<headless::Form&>(about.Form());
  std::vector<std::string> focus;
  toolkit.SetModalInteraction([&](headless::Form& f) {
    f.MoveFocus(nullptr);  // the window loses and regains the activation
    f.form_events.Activate();
    focus.push_back(f.Focused() != nullptr ? f.Focused()->Name() : "");
    f.CloseCommand();  // the title bar's close box closes it too
  });
  about.Show();
  EXPECT_EQ(focus, std::vector<std::string>{"cmdClose"});
  EXPECT_FALSE(form.IsShown());
}

// A toolkit that cannot do what the about box needs.
class BrokenToolkit final : public platform::Toolkit {
 public:
  enum class Fault { kCreate, kShow, kWidget };
  explicit BrokenToolkit(Fault f) : fault_(f) {}
  std::unique_ptr<platform::Surface> CreateControlSurface(
      const platform::SurfaceDesign& d) override {
    return inner_.CreateControlSurface(d);
  }
  std::unique_ptr<platform::Form> CreateForm(const platform::SurfaceDesign& d) override {
    if (fault_ == Fault::kCreate) throw morlex::Error(7, "Out of memory");
    if (fault_ == Fault::kShow) {
      inner_.SetModalInteraction([](headless::Form&) { throw std::runtime_error("no display"); });
      return inner_.CreateForm(d);
    }
    platform::SurfaceDesign stripped = d;  // a form without its labels
    stripped.widgets.clear();
    return inner_.CreateForm(stripped);
  }

 private:
  Fault fault_;
  headless::Toolkit inner_;
};

TEST(About, AnyFailureIsIgnoredAndNothingIsReported) {
  for (auto fault : {BrokenToolkit::Fault::kCreate, BrokenToolkit::Fault::kShow,
                     BrokenToolkit::Fault::kWidget}) {
    BrokenToolkit toolkit(fault);
    headless::HostPolicy policy;
    headless::TestHost host(policy);
    morlex::MorlexDate control(host, toolkit);
    struct Sink : morlex::MorlexDateEvents {
      int errors = 0;
      void DateError(morlex::ErrObject&, std::u16string&) override { ++errors; }
    };
    auto sink = std::make_shared<Sink>();
    control.Advise(sink);
    EXPECT_NO_THROW(control.AboutBox());
    EXPECT_EQ(sink->errors, 0);
  }
}

}  // namespace
