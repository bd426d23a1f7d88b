#pragma once
// What a toolkit over Qt needs before it makes anything: the application
// object of its kind.

#include <QCoreApplication>

#include "morlex/core/error.h"

namespace morlex::qtshared {

// Throws kInvalidCall with message unless the application object is an App
// (a QApplication for widgets, a QGuiApplication for Qt Quick).
template <typename App>
void RequireApplication(const char* message) {
  if (qobject_cast<App*>(QCoreApplication::instance()) == nullptr) {
    throw Error(errnum::kInvalidCall, message);
  }
}

}  // namespace morlex::qtshared
