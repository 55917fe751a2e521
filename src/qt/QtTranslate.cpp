#include "qt/QtTranslate.h"

QString qtr(const char* MsgId) {
    return QString::fromStdString(_(MsgId));
}

QString qtr(const std::string& MsgId) {
    return QString::fromStdString(_(MsgId));
}
