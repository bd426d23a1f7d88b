// The library's translations and the captions as the user reads them.
#include "morlex/qt/translation.h"

#include <QCoreApplication>
#include <QTranslator>
#include <QtGlobal>

#include "morlex/artwork/data_folder.h"
#include "morlex/qt/units.h"
#include "translation_p.h"

namespace morlex::qt {
namespace detail {
namespace {

// The captions of the designs that the user reads, and the notice line of
// the about box, listed for lupdate; each must match its design's text
// exactly. The weekday headings and the title come from the locale, and the
// designs' placeholder captions are replaced before anyone sees them.
[[maybe_unused]] const char* const kCaptions[] = {
    QT_TRANSLATE_NOOP("MorlexDateControl", "OK"),
    QT_TRANSLATE_NOOP("MorlexDateControl", "Cancel"),
    QT_TRANSLATE_NOOP("MorlexDateControl", "About Morlex Date Control"),
    QT_TRANSLATE_NOOP("MorlexDateControl", "Morlex Date Control"),
    QT_TRANSLATE_NOOP("MorlexDateControl", "Version: "),
    QT_TRANSLATE_NOOP("MorlexDateControl", "\u00A9 2026 Morlex Software"),
    QT_TRANSLATE_NOOP("MorlexDateControl", "&Close"),
};

// Where the access key of a caption is: the index of the letter after the
// first single "&" ("&&" shows one "&"), or -1.
qsizetype AccessKeyAt(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != QLatin1Char('&')) continue;
    if (text[i + 1] == QLatin1Char('&')) {
      ++i;
      continue;
    }
    return i + 1;
  }
  return -1;
}

}  // namespace

QString KeepAccessKey(const QString& caption, const QString& translation) {
  const qsizetype source_at = AccessKeyAt(caption);
  if (source_at < 0) return translation;
  const QChar key = caption[source_at].toUpper();
  qsizetype at = AccessKeyAt(translation);
  if (at >= 0 && translation[at].toUpper() == key) return translation;

  QString shown = translation;
  if (at >= 0) shown.remove(at - 1, 1);  // the translator's own mark
  for (qsizetype i = 0; i < shown.size(); ++i) {
    if (shown[i] == QLatin1Char('&')) {
      ++i;  // "&&" stays a literal "&"
      continue;
    }
    if (shown[i].toUpper() == key) {
      shown.insert(i, QLatin1Char('&'));
      return shown;
    }
  }
  return shown + QStringLiteral(" (&") + key + QLatin1Char(')');
}

QString ShownCaption(std::u16string_view caption) {
  const QString source = ToQString(caption);
  bool has_letter = false;
  for (const QChar c : source) has_letter = has_letter || c.isLetter();
  if (!has_letter || QCoreApplication::instance() == nullptr) return source;
  const QString translation =
      QCoreApplication::translate(kCaptionContext, source.toUtf8().constData());
  return translation == source ? source : KeepAccessKey(source, translation);
}

}  // namespace detail

QString TranslationsDirectory() {
  const QString from_environment = qEnvironmentVariable("MORLEX_TRANSLATIONS_DIR");
  if (!from_environment.isEmpty()) return from_environment;
  return QString::fromStdString(artwork::DataFolder("translations").string());
}

QTranslator* InstallTranslator(const QLocale& locale) {
  QCoreApplication* application = QCoreApplication::instance();
  if (application == nullptr) return nullptr;
  auto* translator = new QTranslator(application);
  if (!translator->load(locale, QStringLiteral("morlexdatecontrol"), QStringLiteral("_"),
                        TranslationsDirectory()) ||
      !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return nullptr;
  }
  return translator;
}

}  // namespace morlex::qt
