#include <QClipboard>
#include <QGuiApplication>
#include <algorithm>
#include <optional>
#include <vector>

#include "morlex/core/error.h"
#include "morlex/qtshared/keys.h"
#include "quick_p.h"

namespace morlex::quick::detail {
namespace {

void Select(headless::TextBox& box, int from, int to) {
  box.SetSelStart(std::min(from, to));
  box.SetSelLength(std::abs(to - from));
}

// Moves the caret for a key nothing took; false for a key that moves none.
bool MoveCaret(headless::TextBox& box, platform::NavKey nav, bool shift, int& anchor) {
  using platform::NavKey;
  const int size = static_cast<int>(box.Text().size());
  const int start = box.SelStart();
  const int end = start + box.SelLength();
  if (box.SelLength() == 0 || (anchor != start && anchor != end)) anchor = start;
  const int caret = anchor == start ? end : start;
  int to = caret;
  switch (nav) {
    case NavKey::kLeft:
      to = !shift && start != end ? start : std::max(0, caret - 1);
      break;
    case NavKey::kRight:
      to = !shift && start != end ? end : std::min(size, caret + 1);
      break;
    case NavKey::kHome:
      to = 0;
      break;
    case NavKey::kEnd:
      to = size;
      break;
    default:
      return false;
  }
  if (shift) {
    Select(box, anchor, to);
  } else {
    anchor = to;
    Select(box, to, to);
  }
  return true;
}

// Tab round a form: the next tab stop after the focused widget (before it,
// going back), wrapping round at the ends as a dialog does.
void TabRound(headless::Surface& form, bool back) {
  struct Stop {
    platform::Widget* widget;
    int tab;
  };
  std::vector<Stop> stops;
  for (std::size_t line = 0; line < form.Design().widgets.size(); ++line) {
    platform::Widget* w = form.WidgetOfLine(line);
    if (w == nullptr || !w->Visible() || !w->Enabled()) continue;
    int tab = 0;
    bool stop = false;
    if (auto* t = dynamic_cast<headless::TextBox*>(w)) tab = t->TabIndex(), stop = t->TabStop();
    if (auto* t = dynamic_cast<headless::CommandButton*>(w)) {
      tab = t->TabIndex(), stop = t->TabStop();
    }
    if (auto* t = dynamic_cast<headless::UpDown*>(w)) tab = t->TabIndex(), stop = t->TabStop();
    if (auto* t = dynamic_cast<headless::PictureBox*>(w)) tab = t->TabIndex(), stop = t->TabStop();
    if (stop) stops.push_back({w, tab});
  }
  if (stops.empty()) return;
  std::stable_sort(stops.begin(), stops.end(),
                   [](const Stop& a, const Stop& b) { return a.tab < b.tab; });
  const auto at = std::find_if(stops.begin(), stops.end(),
                               [&](const Stop& s) { return s.widget == form.Focused(); });
  const auto n = static_cast<std::ptrdiff_t>(stops.size());
  std::ptrdiff_t i = at == stops.end() ? (back ? 0 : -1) : at - stops.begin();
  i = ((back ? i - 1 : i + 1) % n + n) % n;
  form.MoveFocus(stops[static_cast<std::size_t>(i)].widget);
}

}  // namespace

platform::NavKey NavOf(int key) {
  return qtshared::NavKeyOf(key);
}

bool TextBoxKey(headless::TextBox& box, int key, Qt::KeyboardModifiers modifiers,
                const QString& text, int& anchor, const std::function<void(bool back)>& tab,
                bool read_only) {
  if (!box.Enabled() || !box.Visible()) return false;
  const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
  const bool alt = modifiers.testFlag(Qt::AltModifier);
  const bool shift = modifiers.testFlag(Qt::ShiftModifier) || key == Qt::Key_Backtab;

  // Characters (with Backspace, Enter and Esc, which the editor takes as
  // codes of their own) type through the editor.
  std::optional<char16_t> typed;
  if (key == Qt::Key_Backspace) {
    typed = 8;
  } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    typed = 13;
  } else if (key == Qt::Key_Escape) {
    typed = 27;
  } else if (!ctrl && !alt && text.size() == 1 &&
             ((text.at(0).unicode() >= 32 && text.at(0).unicode() != 127) ||
              key == Qt::Key_unknown)) {
    // Key_unknown: a character no key of Qt's names, control codes too.
    typed = text.at(0).unicode();
  }
  if (typed) {
    if (read_only && *typed != 13 && *typed != 27) return true;
    box.Type(*typed);
    return true;
  }

  if (ctrl && !alt &&
      (key == Qt::Key_A || key == Qt::Key_C || key == Qt::Key_X || key == Qt::Key_V)) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const std::u16string selected = box.SelText();
    if (key == Qt::Key_A) {
      anchor = 0;
      Select(box, 0, static_cast<int>(box.Text().size()));
    } else if (key == Qt::Key_C || key == Qt::Key_X) {
      if (clipboard != nullptr && !selected.empty()) {
        clipboard->setText(
            QString::fromUtf16(selected.data(), static_cast<qsizetype>(selected.size())));
      }
      if (key == Qt::Key_X && !read_only) box.SetSelText(u"");
    } else if (!read_only && clipboard != nullptr) {
      // A paste replaces the selection as the program's SetSelText does:
      // the change handler sees the text and judges it.
      const QString pasted = clipboard->text().left(64);
      box.SetSelText(std::u16string_view(reinterpret_cast<const char16_t*>(pasted.utf16()),
                                         static_cast<std::size_t>(pasted.size())));
    }
    return true;
  }

  const platform::NavKey nav = NavOf(key);
  if (read_only && nav != platform::NavKey::kTab) {
    return MoveCaret(box, nav, shift, anchor);
  }
  bool taken = false;
  headless::PressThenRelease(
      [&] {
        platform::KeyDownArgs args{nav, shift, ctrl, alt, false};
        if (box.events.KeyDown) box.events.KeyDown(args);
        if (args.handled) {
          taken = true;
          return;
        }
        if (nav == platform::NavKey::kTab) {
          if (tab) tab(shift);
          taken = true;
          return;
        }
        if (key == Qt::Key_Delete && !ctrl && !alt) {
          if (box.SelLength() == 0 && box.SelStart() < static_cast<int>(box.Text().size())) {
            box.SetSelLength(1);
          }
          box.SetSelText(u"");
          taken = true;
          return;
        }
        taken = MoveCaret(box, nav, shift, anchor);
      },
      box.events.KeyUp);
  return taken;
}

bool FormKey(headless::Surface& form, int key, Qt::KeyboardModifiers modifiers,
             const QString& text) {
  const auto press_flagged = [&](bool cancel) {
    for (const auto& d : form.Design().widgets) {
      if (d.kind != platform::WidgetKind::kCommandButton) continue;
      if (cancel ? d.is_cancel : d.is_default) {
        form.Button(d.name).Press();
        return true;
      }
    }
    return false;
  };
  platform::Widget* focused = form.Focused();
  auto* button = dynamic_cast<headless::CommandButton*>(focused);
  if ((key == Qt::Key_Return || key == Qt::Key_Enter) && button == nullptr &&
      press_flagged(false)) {
    return true;
  }
  if (key == Qt::Key_Escape) return press_flagged(true);
  const platform::NavKey nav = NavOf(key);
  const bool shift = modifiers.testFlag(Qt::ShiftModifier) || key == Qt::Key_Backtab;
  platform::KeyDownArgs args{nav, shift, modifiers.testFlag(Qt::ControlModifier),
                             modifiers.testFlag(Qt::AltModifier), false};
  if (auto* box = dynamic_cast<headless::TextBox*>(focused)) {
    int anchor = box->SelStart();
    return TextBoxKey(*box, key, modifiers, text, anchor, [&](bool back) { TabRound(form, back); });
  }
  if (auto* area = dynamic_cast<headless::PictureBox*>(focused)) {
    area->PressKey(args);
    return true;
  }
  if (button != nullptr) {
    if (nav == platform::NavKey::kSpace || key == Qt::Key_Return || key == Qt::Key_Enter) {
      button->Press();
    } else if (nav == platform::NavKey::kTab) {
      TabRound(form, shift);
    }
    return true;
  }
  if (nav == platform::NavKey::kTab) {
    TabRound(form, shift);
    return true;
  }
  return false;
}

}  // namespace morlex::quick::detail
