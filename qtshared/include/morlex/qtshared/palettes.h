#pragma once
// A dark palette of the kind desktop themes give (light text on dark grey, a
// blue highlight), for the pictures of the fields and the tests of their
// contrast.

#include <QColor>
#include <QPalette>

namespace morlex::qtshared {

inline QPalette DarkPalette() {
  QPalette dark(QColor(53, 53, 53), QColor(53, 53, 53));
  dark.setColor(QPalette::WindowText, Qt::white);
  dark.setColor(QPalette::Base, QColor(35, 35, 35));
  dark.setColor(QPalette::Text, Qt::white);
  dark.setColor(QPalette::ButtonText, Qt::white);
  dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
  dark.setColor(QPalette::HighlightedText, Qt::black);
  return dark;
}

}  // namespace morlex::qtshared
