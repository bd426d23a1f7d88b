#pragma once
// The library's captions in the user's language: OK and Cancel of the
// calendar, the texts of the about box. They are translated the Qt way, by
// .qm files named morlexdatecontrol_<language>.qm that an application loads
// into a QTranslator; a German translation is shipped. The texts that hosts
// compare (the descriptions and sources of DateError, the messages of the
// spin and key handlers) are never translated.
//
//   QApplication app(argc, argv);
//   morlex::qt::InstallTranslator();  // for QLocale(), when one is shipped
//
// A form takes its captions when it is loaded; the calendar and the about
// box are loaded afresh each time they open, so a translator installed while
// the application runs holds from their next opening.

#include <QLocale>
#include <QString>

#include "morlex/qt/export.h"

class QTranslator;

namespace morlex::qt {

// The folder the library's .qm files are read from: $MORLEX_TRANSLATIONS_DIR
// when set, else the build tree's when the library runs from it, else the
// folder beside the library's install (<prefix>/share/MorlexDateControl/
// translations, the prefix being where the library lies).
MORLEX_QT_EXPORT QString TranslationsDirectory();

// Loads the library's translation for locale (its UI languages in order,
// as QTranslator::load does) and installs it into the application; the
// translator is a child of the application, and removing or deleting it
// takes the translation away. nullptr, and nothing installed, when no
// translation for the locale is shipped (English needs none) or no
// QCoreApplication exists.
MORLEX_QT_EXPORT QTranslator* InstallTranslator(const QLocale& locale = QLocale());

}  // namespace morlex::qt
