// QtText — the program's texts (Windows-1252) as Qt strings, for the
// windows, the dialogs and the drawing layer, the layers built on Qt.
// Header only (target nodalis_qttext); the text helpers of app/base that it
// wraps stay free of Qt.
#pragma once

#include <QString>
#include <string>

#include "app/base/Utils.h"

namespace nodalis {

inline QString FromCp(const std::string& Cp1252) {
  return QString::fromUtf8(Cp1252ToUtf8(Cp1252));
}

}  // namespace nodalis
