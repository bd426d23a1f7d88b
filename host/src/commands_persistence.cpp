// The property bag, loading, saving and the member table.
#include "commands.h"
#include "morlex/component/dispatch.h"
#include "morlex/core/error.h"
#include "morlex/core/unicode.h"
#include "morlex/storage/property_bag_file.h"

namespace morlex::host::detail {
namespace {

// A bag that prints every write, in order, as the host sees it.
class PrintingBag final : public platform::PropertyBag {
 public:
  explicit PrintingBag(Context& c) : c_(c) {}
  platform::Variant ReadProperty(std::string_view, const platform::Variant& d) override {
    return d;
  }
  void WriteProperty(std::string_view key, const platform::Variant& value,
                     const platform::Variant& default_value) override {
    c_.emit("write " + Quote(key) + " " + Kind(value) + " " + ValueText(value) + " default " +
            Kind(default_value) + " " + ValueText(default_value));
  }

 private:
  static std::string Kind(const platform::Variant& v) {
    if (std::holds_alternative<double>(v)) return "single";
    return platform::KindName(v);
  }
  Context& c_;
};

const char* AccessorWord(component::Accessor a) {
  switch (a) {
    case component::Accessor::kGet:
      return "get";
    case component::Accessor::kPut:
      return "put";
    case component::Accessor::kPutRef:
      return "putref";
    case component::Accessor::kMethod:
      return "method";
  }
  return "";
}

}  // namespace

void RegisterPersistenceCommands(CommandTable& t) {
  t["bag"] = [](Context& c, Args a) {
    if (a.size() == 1 && !a[0].quoted && a[0].text == "clear") {
      c.bag.Clear();
      return;
    }
    if (a.size() < 3) c.Malformed("usage: bag clear, bag KEY TYPE VALUE");
    const std::string& key = a[0].text;
    const std::string& type = a[1].text;
    if (type == "font") {
      c.ExpectCount(a, 4, 4, "bag KEY font \"FACE\" SIZE");
      if (!a[2].quoted) c.Malformed("a font face is a quoted string");
      auto font = std::make_shared<platform::Font>();
      font->name = FromUtf8(a[2].text);
      font->size = static_cast<float>(c.Number(a[3]));
      c.bag.Set(key, font);
      return;
    }
    c.ExpectCount(a, 3, 3, "bag KEY TYPE VALUE");
    const Token& v = a[2];
    if (type == "string") {
      if (!v.quoted) c.Malformed("a string value is quoted");
      c.bag.Set(key, FromUtf8(v.text));
    } else if (type == "bool") {
      if (v.quoted || (v.text != "True" && v.text != "False"))
        c.Malformed("expected True or False");
      c.bag.Set(key, v.text == "True");
    } else if (type == "long") {
      c.bag.Set(key, static_cast<std::int32_t>(c.Integer(v, INT32_MIN, INT32_MAX)));
    } else if (type == "single") {
      c.bag.Set(key, static_cast<float>(c.Number(v)));
    } else {
      c.Malformed("unknown value type '" + type + "' (string, bool, long, single, font)");
    }
  };
  t["load"] = [](Context& c, Args a) {
    c.ExpectCount(a, 0, 1, "load [FILE]");
    if (a.empty()) {
      c.stage.Load(c.bag);
      return;
    }
    // A damaged file still loads: what cannot be read takes its default.
    // A file that cannot be read at all starts the control from an empty
    // bag, as from a file with nothing in it. Either way the user hears of
    // every problem before anything else happens, so that a later save does
    // not overwrite the file unknowingly.
    storage::FilePropertyBag bag;
    try {
      bag = storage::FilePropertyBag::ReadFile(a[0].text);
    } catch (const Error& e) {
      c.emit("error " + Quote(e.description()));
    }
    for (const std::string& problem : bag.Problems()) c.emit("error " + Quote(problem));
    c.stage.Load(bag);
  };
  t["save"] = [](Context& c, Args a) {
    c.ExpectCount(a, 0, 1, "save [FILE]");
    MorlexDate& control = c.Control();
    if (a.size() == 1) {
      // Nothing reaches the file unless the whole save succeeded.
      storage::FilePropertyBag bag;
      control.WriteProperties(bag);
      bag.WriteFile(a[0].text);
      return;
    }
    PrintingBag bag(c);
    control.WriteProperties(bag);
  };
  t["members"] = [](Context& c, Args a) {
    c.ExpectCount(a, 0, 0, "members");
    for (const auto& m : component::Members()) {
      std::string line = std::to_string(m.position) + " " + std::string(m.name) + " ";
      for (std::size_t i = 0; i < m.accessors.size(); ++i) {
        if (i > 0) line += " ";
        line += AccessorWord(m.accessors[i]);
      }
      // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict)
      // about " " + std::to_string(...), which inserts at the front.
      line += ' ';
      line += std::to_string(m.dispid);
      line += ' ';
      line += std::to_string(m.help_context);
      line += ' ';
      line += Quote(m.help_string);
      c.emit(line);
    }
  };
}

}  // namespace morlex::host::detail
