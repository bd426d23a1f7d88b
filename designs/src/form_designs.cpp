#include "morlex/designs/form_designs.h"

namespace morlex::designs {

using platform::FontDesign;
using platform::SurfaceDesign;
using platform::WidgetDesign;
using platform::WidgetKind;

namespace {

WidgetDesign Make(WidgetKind kind, const char* name, float left, float top, float width,
                  float height, int tab_index) {
  WidgetDesign w;
  w.kind = kind;
  w.name = name;
  w.left = left;
  w.top = top;
  w.width = width;
  w.height = height;
  w.tab_index = tab_index;
  return w;
}

// Every up-down of the component: value 0 at rest, range -1..1, step 1.
WidgetDesign MakeUpDown(const char* name, float left, float top, float width, float height,
                        int tab_index, bool tab_stop) {
  WidgetDesign w = Make(WidgetKind::kUpDown, name, left, top, width, height, tab_index);
  w.min = -1;
  w.max = 1;
  w.increment = 1;
  w.tab_stop = tab_stop;
  return w;
}

// A form of the component: a fixed border of border_style, centred over its
// owner when shown.
SurfaceDesign MakeForm(const char* name, float width, float height, int border_style) {
  SurfaceDesign s;
  s.name = name;
  s.width = width;
  s.height = height;
  s.border_style = border_style;
  s.startup_position = 1;
  return s;
}

SurfaceDesign BuildControlSurface() {
  SurfaceDesign s;
  s.name = "MorlexDate";
  s.width = kControlDesignWidth;
  s.height = kControlDesignHeight;
  s.key_preview = true;

  WidgetDesign txt = Make(WidgetKind::kTextBox, "txtDate", 0, 0, 1335, 285, 0);
  txt.max_length = 11;
  s.widgets.push_back(txt);

  s.widgets.push_back(MakeUpDown("spinCTL", 1320, 30, 255, 270, 1, false));

  WidgetDesign cmd = Make(WidgetKind::kCommandButton, "cmdCalendar", 1560, 15, 300, 285, 2);
  cmd.tab_stop = false;
  cmd.picture = "calendar-button.bmp";
  s.widgets.push_back(cmd);
  return s;
}

SurfaceDesign BuildCalendarForm() {
  SurfaceDesign s = MakeForm("frmCalendar", 3045, 3210, 3);
  s.icon = "calendar.ico";

  const FontDesign field_font{u"MS Sans Serif", 9.75F, 400, 0};
  WidgetDesign month = Make(WidgetKind::kTextBox, "txtMonth", 0, 120, 1575, 345, 0);
  month.font = field_font;
  s.widgets.push_back(month);

  WidgetDesign year = Make(WidgetKind::kTextBox, "txtYear", 2040, 120, 735, 345, 1);
  year.max_length = 4;
  year.font = field_font;
  s.widgets.push_back(year);

  WidgetDesign ok = Make(WidgetKind::kCommandButton, "cmdOK", 960, 2760, 975, 375, 2);
  ok.caption = u"OK";
  s.widgets.push_back(ok);

  s.widgets.push_back(MakeUpDown("spnMonth", 1560, 120, 255, 375, 47, true));

  WidgetDesign cancel = Make(WidgetKind::kCommandButton, "cmdCancel", 2040, 2760, 975, 375, 3);
  cancel.caption = u"Cancel";
  s.widgets.push_back(cancel);

  WidgetDesign days = Make(WidgetKind::kPictureBox, "picDays", 0, 840, 3015, 1815, 4);
  days.back_color = platform::kColor3DHighlight;
  days.border_style = 0;  // flat: the cells' white shows against the gaps
  s.widgets.push_back(days);

  for (int i = 0; i < 42; ++i) {
    WidgetDesign cell = Make(WidgetKind::kLabel, "lblDay", 0, 0, 1215, 495, 5 + i);
    cell.index = i;
    cell.container = "picDays";
    s.widgets.push_back(cell);
  }

  s.widgets.push_back(MakeUpDown("spnYear", 2760, 105, 255, 375, 48, true));

  constexpr float kHeadingLefts[7] = {90, 720, 600, 480, 360, 240, 840};
  for (int i = 0; i < 7; ++i) {
    WidgetDesign head =
        Make(WidgetKind::kLabel, "lblDayName", kHeadingLefts[i], 600, 315, 195, 49 + i);
    head.index = i;
    head.caption = u"Day";
    head.alignment = 2;
    head.auto_size = true;
    s.widgets.push_back(head);
  }
  return s;
}

SurfaceDesign BuildAboutForm() {
  SurfaceDesign s = MakeForm("frmAbout", 4020, 1965, 1);
  s.caption = u"About Morlex Date Control";

  WidgetDesign img = Make(WidgetKind::kImage, "imgCalendar", 120, 120, 840, 690, 0);
  img.picture = "about.bmp";
  img.stretch = true;
  img.tab_stop = false;
  s.widgets.push_back(img);

  WidgetDesign name = Make(WidgetKind::kLabel, "lblName", 1320, 120, 2535, 375, 0);
  name.caption = u"Morlex Date Control";
  name.font = FontDesign{u"MS Sans Serif", 12.0F, 700, 0};
  s.widgets.push_back(name);

  WidgetDesign vcap = Make(WidgetKind::kLabel, "lblVersionCaption", 1320, 600, 615, 255, 1);
  vcap.caption = u"Version: ";
  s.widgets.push_back(vcap);

  s.widgets.push_back(Make(WidgetKind::kLabel, "lblVersion", 2040, 600, 1215, 255, 2));

  WidgetDesign notice = Make(WidgetKind::kLabel, "lblCopyRight", 1320, 960, 2535, 255, 3);
  notice.caption = u"Copyright";
  s.widgets.push_back(notice);

  WidgetDesign close = Make(WidgetKind::kCommandButton, "cmdClose", 1320, 1440, 1215, 375, 4);
  close.caption = u"&Close";
  close.is_cancel = true;
  s.widgets.push_back(close);
  return s;
}

}  // namespace

const SurfaceDesign& ControlSurface() {
  static const SurfaceDesign design = BuildControlSurface();
  return design;
}

const SurfaceDesign& CalendarForm() {
  static const SurfaceDesign design = BuildCalendarForm();
  return design;
}

const SurfaceDesign& AboutForm() {
  static const SurfaceDesign design = BuildAboutForm();
  return design;
}

}  // namespace morlex::designs
