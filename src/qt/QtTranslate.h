#pragma once
// Translated texts for Qt widgets: the core's gettext look-up, converted.
#include <QCoreApplication>
#include <QString>
#include <string>

#include "base/Translate.h"

QString qtr(const char* msgId);
QString qtr(const std::string& msgId);

// Qt's own dialogs (the file and print dialogs, the buttons of message boxes) in the language of
// the catalog in use, from Qt's translations when they are installed. Call once after the language
// is chosen and while Application lives. The translator installed (owned by Application), or null.
class QTranslator;
QTranslator* InstallQtOwnTranslations(QCoreApplication& application);
