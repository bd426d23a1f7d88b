// Instance, host, property and end-user commands.
#include "commands.h"
#include "morlex/component/dispatch.h"
#include "morlex/core/unicode.h"

namespace morlex::host::detail {
namespace {

std::string Bool(bool b) {
  return b ? "True" : "False";
}

void NoArgs(Context& c, Args a, std::string_view usage) {
  c.ExpectCount(a, 0, 0, usage);
}

// A command without arguments that plays one of the stage's actions on the
// control (made first when there is none).
Handler ControlAction(std::string_view usage, void (Stage::*action)()) {
  return [usage, action](Context& c, Args a) {
    NoArgs(c, a, usage);
    c.Control();
    (c.stage.*action)();
  };
}

}  // namespace

void RegisterCoreCommands(CommandTable& t) {
  t["new"] = [](Context& c, Args a) {
    NoArgs(c, a, "new");
    c.stage.New();
  };
  t["design"] = [](Context& c, Args a) {
    NoArgs(c, a, "design");
    c.stage.SetUserMode(false);
  };
  t["run"] = [](Context& c, Args a) {
    NoArgs(c, a, "run");
    c.stage.SetUserMode(true);
  };
  t["host"] = [](Context& c, Args a) {
    c.ExpectCount(a, 2, 2, "host canchange|failnotify yes|no, host lockheight H|off");
    const std::string& what = a[0].text;
    if (what == "canchange") {
      c.stage.Policy().can_change = c.YesNo(a[1]);
    } else if (what == "failnotify") {
      c.stage.Policy().fail_notify = c.YesNo(a[1]);
    } else if (what == "lockheight") {
      if (!a[1].quoted && a[1].text == "off") {
        c.stage.Policy().lock_height.reset();
      } else {
        c.stage.Policy().lock_height = static_cast<float>(c.Number(a[1]));
      }
    } else {
      c.Malformed("unknown host setting '" + what + "'");
    }
  };
  t["resize"] = [](Context& c, Args a) {
    c.ExpectCount(a, 2, 2, "resize W H");
    const double w = c.Number(a[0]);
    const double h = c.Number(a[1]);
    c.Control();
    c.stage.HostResize(static_cast<float>(w), static_cast<float>(h));
  };
  t["show"] = ControlAction("show", &Stage::HostShow);
  t["today"] = [](Context& c, Args a) {
    c.ExpectCount(a, 1, 1, "today YYYY-MM-DD");
    const auto d = ParseIsoDate(a[0].text);
    if (!d) c.Malformed("expected a date YYYY-MM-DD in the years 100 to 9999");
    c.stage.SetToday(*d);
  };

  t["set"] = [](Context& c, Args a) {
    c.ExpectCount(a, 2, 2, "set NAME VALUE");
    const auto value = c.Value(a[1]);
    component::PutProperty(c.Control(), a[0].text, value);
  };
  t["get"] = [](Context& c, Args a) {
    c.ExpectCount(a, 1, 1, "get NAME");
    MorlexDate& control = c.Control();
    c.emit(a[0].text + " = " + ValueText(component::GetProperty(control, a[0].text)));
  };
  t["setid"] = [](Context& c, Args a) {
    c.ExpectCount(a, 2, 2, "setid DISPID VALUE");
    const auto id = static_cast<std::int32_t>(c.Integer(a[0], INT32_MIN, INT32_MAX));
    const auto value = c.Value(a[1]);
    component::PutProperty(c.Control(), id, value);
  };
  t["getid"] = [](Context& c, Args a) {
    c.ExpectCount(a, 1, 1, "getid DISPID");
    const auto id = static_cast<std::int32_t>(c.Integer(a[0], INT32_MIN, INT32_MAX));
    MorlexDate& control = c.Control();
    c.emit(std::to_string(id) + " = " + ValueText(component::GetProperty(control, id)));
  };

  t["type"] = [](Context& c, Args a) {
    c.ExpectCount(a, 1, 1, "type TEXT");
    c.Control();
    c.stage.Type(FromUtf8(a[0].text));
  };
  t["key"] = [](Context& c, Args a) {
    c.ExpectCount(a, 1, 1, "key CODE");
    const auto code = c.Integer(a[0], 0, 65535);
    c.Control();
    c.stage.Key(static_cast<char16_t>(code));
  };
  t["caret"] = [](Context& c, Args a) {
    c.ExpectCount(a, 1, 2, "caret P [L]");
    const auto p = c.Integer(a[0], 0, INT32_MAX);
    const auto l = a.size() > 1 ? c.Integer(a[1], 0, INT32_MAX) : 0;
    c.Control();
    c.stage.Caret(static_cast<int>(p), static_cast<int>(l));
  };
  t["click"] = [](Context& c, Args a) {
    c.ExpectCount(a, 1, 1, "click P");
    const auto p = c.Integer(a[0], 0, INT32_MAX);
    c.Control();
    c.stage.Click(static_cast<int>(p));
  };
  t["dblclick"] = ControlAction("dblclick", &Stage::DblClick);
  t["spin"] = [](Context& c, Args a) {
    c.ExpectCount(a, 1, 1, "spin up|down");
    const bool up = c.UpDown(a[0]);
    c.Control();
    c.stage.Spin(up);
  };
  t["focus"] = ControlAction("focus", &Stage::Focus);
  t["blur"] = [](Context& c, Args a) {
    c.ExpectCount(a, 0, 1, "blur [spin|calendar]");
    BlurTarget target = BlurTarget::kOutside;
    if (!a.empty()) {
      if (!a[0].quoted && a[0].text == "spin") {
        target = BlurTarget::kSpin;
      } else if (!a[0].quoted && a[0].text == "calendar") {
        target = BlurTarget::kCalendar;
      } else {
        c.Malformed("expected spin or calendar, got '" + a[0].text + "'");
      }
    }
    c.Control();
    c.stage.Blur(target);
  };
  t["state"] = [](Context& c, Args a) {
    NoArgs(c, a, "state");
    c.Control();
    const TextState s = c.stage.State();
    c.emit("text=" + Quote(s.text) + " selstart=" + std::to_string(s.sel_start) +
           " sellength=" + std::to_string(s.sel_length));
  };
  t["layout"] = [](Context& c, Args a) {
    NoArgs(c, a, "layout");
    c.Control();
    float w = 0;
    float h = 0;
    const auto boxes = c.stage.Layout(w, h);
    c.emit("control width=" + platform::NumberText(w) + " height=" + platform::NumberText(h));
    for (const auto& b : boxes) {
      c.emit(b.name + " left=" + platform::NumberText(b.left) +
             " top=" + platform::NumberText(b.top) + " width=" + platform::NumberText(b.width) +
             " height=" + platform::NumberText(b.height) + " visible=" + Bool(b.visible));
    }
  };
}

}  // namespace morlex::host::detail
