#include "morlex/platform/variant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "morlex/core/error.h"

namespace morlex::platform {
namespace {

std::int32_t ErrorNumber(auto&& fn) {
  try {
    fn();
  } catch (const Error& e) {
    return e.number();
  }
  return 0;
}

TEST(VariantConversions, ToSingle) {
  EXPECT_EQ(ToSingle(std::int32_t{2000}), 2000.0F);
  EXPECT_EQ(ToSingle(std::u16string(u"2000")), 2000.0F);
  EXPECT_EQ(ToSingle(std::u16string(u" 2000.5 ")), 2000.5F);
  EXPECT_EQ(ToSingle(std::u16string(u"-1e3")), -1000.0F);
  EXPECT_EQ(ToSingle(true), -1.0F);
  EXPECT_EQ(ToSingle(2000.25), 2000.25F);
  for (std::u16string_view bad :
       {u"abc", u"", u" ", u"inf", u"nan", u"0x10", u"1,5", u"12abc", u"--1", u"1e", u"."}) {
    EXPECT_EQ(ErrorNumber([&] { ToSingle(std::u16string(bad)); }), errnum::kTypeMismatch)
        << std::string(bad.begin(), bad.end());
  }
  EXPECT_EQ(ErrorNumber([] { ToSingle(Empty{}); }), errnum::kTypeMismatch);
  EXPECT_EQ(ErrorNumber([] { ToSingle(1e300); }), errnum::kOverflow);
  EXPECT_EQ(ErrorNumber([] { ToSingle(std::u16string(u"1e39")); }), errnum::kOverflow);
  EXPECT_EQ(ErrorNumber([] { ToSingle(std::numeric_limits<double>::quiet_NaN()); }),
            errnum::kOverflow);
  EXPECT_EQ(ErrorNumber([] { ToSingle(std::numeric_limits<float>::infinity()); }),
            errnum::kOverflow);
}

TEST(VariantConversions, ToLongRoundsHalfToEven) {
  EXPECT_EQ(ToLong(2.5), 2);
  EXPECT_EQ(ToLong(3.5), 4);
  EXPECT_EQ(ToLong(std::u16string(u"-2.5")), -2);
  EXPECT_EQ(ToLong(false), 0);
  EXPECT_EQ(ToLong(std::int32_t{INT32_MIN}), INT32_MIN);
  EXPECT_EQ(ErrorNumber([] { ToLong(3e9); }), errnum::kOverflow);
}

TEST(VariantConversions, ToBooleanAndText) {
  EXPECT_TRUE(ToBoolean(std::u16string(u"True")));
  EXPECT_FALSE(ToBoolean(std::u16string(u" false ")));
  EXPECT_TRUE(ToBoolean(std::int32_t{-1}));
  EXPECT_FALSE(ToBoolean(0.0F));
  EXPECT_TRUE(ToBoolean(std::u16string(u"5")));
  EXPECT_EQ(ErrorNumber([] { ToBoolean(std::u16string(u"yes")); }), errnum::kTypeMismatch);
  EXPECT_EQ(ToText(true), u"True");
  EXPECT_EQ(ToText(std::int32_t{-7}), u"-7");
  EXPECT_EQ(ToText(2000.5F), u"2000.5");
  EXPECT_EQ(ErrorNumber([] { ToText(FontRef{}); }), errnum::kTypeMismatch);
  EXPECT_EQ(ErrorNumber([] { ToFont(std::u16string(u"Arial")); }), errnum::kTypeMismatch);
}

TEST(VariantConversions, ShortestNumberText) {
  EXPECT_EQ(NumberText(1635.0F), "1635");
  EXPECT_EQ(NumberText(2000.5F), "2000.5");
  EXPECT_EQ(NumberText(-275.0F), "-275");
  EXPECT_EQ(NumberText(0.1F), "0.1");
}

}  // namespace
}  // namespace morlex::platform
