// QtText — the program's texts (Windows-1252) as Qt strings, for the
// windows, the dialogs and the drawing layer. Header only: whoever includes
// it links Qt; the text helpers themselves stay free of Qt.
#pragma once

#include <QString>
#include <string>

#include "app/base/Utils.h"

namespace nodalis {

inline QString FromCp(const std::string& Cp1252) {
  return QString::fromUtf8(Cp1252ToUtf8(Cp1252));
}

}  // namespace nodalis
