#pragma once
// What the Qt binding's shared library shows to the programs that link it:
// the declarations marked MORLEX_QT_EXPORT. Everything else in it (its own
// widgets, the control and the libraries below) stays inside.

#include <QtCore/qglobal.h>

#if defined(MORLEX_QT_BUILDING)
#define MORLEX_QT_EXPORT Q_DECL_EXPORT
#else
#define MORLEX_QT_EXPORT Q_DECL_IMPORT
#endif
