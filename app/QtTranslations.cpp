#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QTranslator>

#include <memory>

namespace
{

Q_LOGGING_CATEGORY(translations, "quorvane.translations")

} // namespace

bool installQtTranslations()
{
    auto translator = std::make_unique<QTranslator>();
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QStringLiteral("qtbase_pt_BR"), folder)) {
        qCWarning(translations) << "Qt's Portuguese texts not found in" << folder;
        return false;
    }
    translator->setParent(QCoreApplication::instance());
    return QCoreApplication::installTranslator(translator.release());
}
