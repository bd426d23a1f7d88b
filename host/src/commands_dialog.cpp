// The calendar dialog and the about box.
#include <vector>

#include "commands.h"
#include "morlex/core/error.h"
#include "morlex/core/unicode.h"

namespace morlex::host::detail {
namespace {

struct DialogAction {
  std::string verb;
  std::string arg;
  int number = 0;  // cell index or 1 for "up"
};

// Verbs and whether they take an argument.
bool TakesArgument(std::string_view verb, bool& known) {
  known = true;
  if (verb == "month" || verb == "year" || verb == "spinmonth" || verb == "spinyear" ||
      verb == "click" || verb == "dblclick" || verb == "cell" || verb == "dblcell") {
    return true;
  }
  known = verb == "enter" || verb == "ok" || verb == "cancel" || verb == "close" ||
          verb == "show" || verb == "grid";
  return false;
}

std::vector<DialogAction> ParseActions(Context& c, Args a) {
  std::vector<DialogAction> actions;
  for (std::size_t i = 0; i < a.size(); ++i) {
    DialogAction act;
    act.verb = a[i].text;
    bool known = false;
    const bool has_arg = !a[i].quoted && TakesArgument(act.verb, known);
    if (a[i].quoted || !known) c.Malformed("unknown calendar action '" + act.verb + "'");
    if (has_arg) {
      if (i + 1 >= a.size()) c.Malformed("calendar action '" + act.verb + "' needs an argument");
      const Token& arg = a[++i];
      act.arg = arg.text;
      if (act.verb == "month") {
        if (FromUtf8(arg.text).size() != 1) c.Malformed("month takes one key");
      } else if (act.verb == "spinmonth" || act.verb == "spinyear") {
        act.number = c.UpDown(arg) ? 1 : 0;
      } else if (act.verb == "cell" || act.verb == "dblcell") {
        act.number = static_cast<int>(c.Integer(arg, 0, 41));
      } else if (act.verb == "click" || act.verb == "dblclick") {
        act.number = static_cast<int>(c.Integer(arg, 1, 31));
      }
    }
    actions.push_back(std::move(act));
  }
  return actions;
}

int DayCellWithCaption(platform::Form& form, int day) {
  const std::u16string caption = FromUtf8(std::to_string(day));
  for (int i = 0; i < 42; ++i) {
    if (form.GetLabel("lblDay", i).Caption() == caption) return i;
  }
  throw Error(errnum::kNoSuchControl, "No day cell with caption " + std::to_string(day));
}

void Perform(Context& c, DialogUser& user, const DialogAction& act) {
  platform::Form& form = user.Form();
  if (act.verb == "month") {
    user.TypeKey("txtMonth", FromUtf8(act.arg)[0]);
  } else if (act.verb == "year") {
    user.Focus("txtYear");
    for (char16_t ch : FromUtf8(act.arg)) user.TypeKey("txtYear", ch);
  } else if (act.verb == "enter") {
    user.TypeKey("txtYear", 13);
  } else if (act.verb == "spinmonth") {
    user.PressUpDown("spnMonth", act.number == 1);
  } else if (act.verb == "spinyear") {
    user.PressUpDown("spnYear", act.number == 1);
  } else if (act.verb == "click") {
    user.ClickLabel("lblDay", DayCellWithCaption(form, act.number));
  } else if (act.verb == "dblclick") {
    user.DblClickLabel("lblDay", DayCellWithCaption(form, act.number));
  } else if (act.verb == "cell") {
    user.ClickLabel("lblDay", act.number);
  } else if (act.verb == "dblcell") {
    user.DblClickLabel("lblDay", act.number);
  } else if (act.verb == "ok") {
    user.PressButton("cmdOK");
  } else if (act.verb == "cancel") {
    user.PressButton("cmdCancel");
  } else if (act.verb == "close") {
    user.Close();
  } else if (act.verb == "show") {
    int marked = -1;
    for (int i = 0; i < 42; ++i) {
      if (form.GetLabel("lblDay", i).Bordered()) {
        marked = i;
        break;
      }
    }
    c.emit("dialog title=" + Quote(form.Caption()) +
           " month=" + Quote(form.GetTextBox("txtMonth").Text()) + " year=" +
           Quote(form.GetTextBox("txtYear").Text()) + " marked=" + std::to_string(marked));
  } else if (act.verb == "grid") {
    for (int r = 0; r < 6; ++r) {
      std::string line = "row " + std::to_string(r) + ":";
      for (int col = 0; col < 7; ++col) {
        const platform::Label& cell = form.GetLabel("lblDay", r * 7 + col);
        std::string text = cell.Caption().empty() ? "-" : ToUtf8(cell.Caption());
        if (cell.Bordered()) text = "[" + text + "]";
        line += " " + text;
      }
      c.emit(line);
    }
  }
}

}  // namespace

void RegisterDialogCommands(CommandTable& t) {
  t["calendar"] = [](Context& c, Args a) {
    const auto actions = ParseActions(c, a);
    c.Control();
    c.stage.ClickCalendar([&c, &actions](DialogUser& user) {
      for (const auto& act : actions) {
        if (!user.Shown()) break;  // the modal loop has ended
        try {
          Perform(c, user, act);
        } catch (const Error& e) {
          c.emit("error " + Quote(e.description()));
        }
      }
    });
  };
  t["about"] = [](Context& c, Args a) {
    c.ExpectCount(a, 0, 0, "about");
    c.Control();
    c.stage.About([&c](DialogUser& user) {
      platform::Form& form = user.Form();
      c.emit("about caption=" + Quote(form.Caption()) +
             " name=" + Quote(form.GetLabel("lblName").Caption()) + " version=" +
             Quote(form.GetLabel("lblVersion").Caption()) + " focus=" + user.FocusedName());
      user.PressButton("cmdClose");
    });
  };
}

}  // namespace morlex::host::detail
