#include "qt/QtTranslate.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QString qtr(const char* msgId) {
    return QString::fromStdString(_(msgId));
}

QString qtr(const std::string& msgId) {
    return QString::fromStdString(_(msgId));
}

QTranslator* InstallQtOwnTranslations(QCoreApplication& application) {
    const std::string language = CurrentLanguage();
    if (language == BuiltInLanguage) return nullptr;
    // Owned by the application, so it lives exactly as long as the texts it serves.
    auto* translator = new QTranslator(&application);
    if (translator->load(QLocale(QString::fromStdString(language)), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(translator))
        return translator;
    delete translator;
    return nullptr;
}
