#pragma once
// For hosts with their own life cycle (a form designer, a host that stores
// settings in property bags, a script host): the toolkit-free types behind
// MorlexDateWidget's advanced members, which the widget's own header only
// names. These headers are C++20; a program that includes this one links
// Morlex::control besides Morlex::qt, since the control's code is its own
// copy: the shared Qt library keeps the one it runs inside.
//
//   #include "morlex/qt/advanced_host.h"
//   morlex::qt::Toolkit toolkit;
//   auto* field = new morlex::qt::MorlexDateWidget(
//       toolkit, morlex::qt::MorlexDateWidget::Startup::kHostInitialises, form);
//   field->setAmbientFont(std::make_shared<morlex::platform::Font>());
//   field->readProperties(bag);   // or initProperties()
//   field->control().DateFormat();

#include "morlex/control/morlex_date.h"
#include "morlex/platform/clock.h"
#include "morlex/platform/font.h"
#include "morlex/platform/host.h"
#include "morlex/qt/morlex_date_widget.h"
#include "morlex/qt/toolkit.h"
