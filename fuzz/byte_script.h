#pragma once
// Decoding of fuzz inputs as little scripts: one byte names an action (a
// readable letter, so seed files can be written by hand, e.g. "k1k/k5+b"),
// the bytes after it are the action's arguments. Any byte sequence decodes;
// the input simply ends where the bytes do.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "morlex/host/stage.h"

namespace morlex::fuzz {

class ByteScript {
 public:
  ByteScript(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool Done() const { return at_ >= size_; }
  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }

  // A small number: '0'..'9' read as 0..9 and 'a'..'z' as 10..35, so that
  // seeds stay readable; any other byte as itself modulo 40.
  int Small() {
    const std::uint8_t b = Byte();
    if (b >= '0' && b <= '9') return b - '0';
    if (b >= 'a' && b <= 'z') return b - 'a' + 10;
    return b % 40;
  }
  // A signed number: digits as themselves, any other byte as a signed byte,
  // so that negative positions and out-of-range enumeration values occur.
  int Signed() {
    const std::uint8_t b = Byte();
    if (b >= '0' && b <= '9') return b - '0';
    return static_cast<std::int8_t>(b);
  }
  bool Flag() { return (Byte() & 1) != 0; }

  // Text up to the next ';' (or the end), at most max_units; bytes of 0x80
  // and above stand for characters outside ASCII, two of them for a
  // surrogate half, so that the control also meets text it never types.
  std::u16string Text(std::size_t max_units = 48) {
    std::u16string out;
    while (!Done() && out.size() < max_units) {
      const std::uint8_t b = Byte();
      if (b == ';') break;
      if (b < 0x80) {
        out.push_back(static_cast<char16_t>(b));
      } else if (b < 0xC0) {
        out.push_back(static_cast<char16_t>(0xD800 + ((b & 0x3F) << 4)));
      } else if (b < 0xE0) {
        out.push_back(static_cast<char16_t>(0xDC00 + (b & 0x1F)));
      } else {
        out.push_back(static_cast<char16_t>(0x00E0 + (b & 0x1F)));
      }
    }
    return out;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// One action of the user on a shown calendar dialog, decoded from the
// script. Returns what it did, for messages.
//   m C   key C in the month field         y C   key C in the year field
//   e     Enter in the year field          [ ]   month spin down / up
//   ( )   year spin down / up              c N   click day cell N
//   d N   double-click day cell N          f N   focus one of the fields
//   o     OK        x  Cancel             z     the window's close command
inline std::string DialogAction(ByteScript& in, host::DialogUser& user) {
  const std::uint8_t op = in.Byte();
  switch (op) {
    case 'm': {
      const auto key = static_cast<char16_t>(in.Byte());
      user.TypeKey("txtMonth", key);
      return "month key";
    }
    case 'y': {
      const auto key = static_cast<char16_t>(in.Byte());
      user.TypeKey("txtYear", key);
      return "year key";
    }
    case 'e':
      user.TypeKey("txtYear", u'\r');
      return "enter";
    case '[':
    case ']':
      user.PressUpDown("spnMonth", op == ']');
      return "spin month";
    case '(':
    case ')':
      user.PressUpDown("spnYear", op == ')');
      return "spin year";
    case 'c':
      user.ClickLabel("lblDay", in.Small() % 42);
      return "click cell";
    case 'd':
      user.DblClickLabel("lblDay", in.Small() % 42);
      return "double-click cell";
    case 'f': {
      static constexpr const char* kFields[] = {"txtMonth", "txtYear", "spnMonth", "spnYear"};
      user.Focus(kFields[in.Small() % 4]);
      return "focus";
    }
    case 'o':
      user.PressButton("cmdOK");
      return "ok";
    case 'x':
      user.PressButton("cmdCancel");
      return "cancel";
    case 'z':
      user.Close();
      return "close";
    default:
      // Bytes that name no action still act, so that mutations stay useful.
      switch (op % 6) {
        case 0:
          user.TypeKey("txtMonth", static_cast<char16_t>(op));
          return "month key";
        case 1:
          user.TypeKey("txtYear", static_cast<char16_t>('0' + op % 10));
          return "year key";
        case 2:
          user.PressUpDown("spnMonth", (op & 8) != 0);
          return "spin month";
        case 3:
          user.PressUpDown("spnYear", (op & 8) != 0);
          return "spin year";
        case 4:
          user.ClickLabel("lblDay", op % 42);
          return "click cell";
        default:
          return "nothing";
      }
  }
}

}  // namespace morlex::fuzz
