#include "qt/QtTranslate.h"

QString qtr(const char* msgId) {
    return QString::fromStdString(_(msgId));
}

QString qtr(const std::string& msgId) {
    return QString::fromStdString(_(msgId));
}
