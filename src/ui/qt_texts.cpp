#include "ui/qt_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

#include "base/text_table.h"

namespace tq::ui {

bool InstallQtTexts(int16_t language) {
  static QPointer<QTranslator> installed;
  if (installed) {
    QCoreApplication::removeTranslator(installed);
    delete installed;
  }
  const char* locale = language == kLangSimplifiedChinese    ? "zh_CN"
                       : language == kLangTraditionalChinese ? "zh_TW"
                                                             : nullptr;
  if (locale == nullptr || QCoreApplication::instance() == nullptr) return false;
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(QStringLiteral("qtbase_") + QLatin1String(locale),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  QCoreApplication::installTranslator(translator);
  installed = translator;
  return true;
}

}  // namespace tq::ui
