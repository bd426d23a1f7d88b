#pragma once
// Internal: the captions of the designs as the user reads them.

#include <QString>
#include <string_view>

namespace morlex::qt::detail {

// The context of the designs' captions in the .ts files.
inline constexpr const char* kCaptionContext = "MorlexDateControl";

// A caption of a design (or one the control sets at run time) as shown: its
// translation where the application has one installed. Captions without a
// letter (day numbers, dates in digits) are shown as they are.
QString ShownCaption(std::u16string_view caption);

// The translation of a caption with the caption's access key: a translator's
// text that marks another key, or none, is given the original one, so that
// Alt+C stays Close in every language. The key is marked on its letter where
// the translation has it, else added in brackets ("閉じる (&C)").
QString KeepAccessKey(const QString& caption, const QString& translation);

}  // namespace morlex::qt::detail
