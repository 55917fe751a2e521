#pragma once
// Translated texts for Qt widgets: the core's gettext look-up, converted.
#include <QString>
#include <string>

#include "base/Translate.h"

QString qtr(const char* msgId);
QString qtr(const std::string& msgId);
