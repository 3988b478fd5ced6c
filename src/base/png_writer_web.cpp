#include "base/png_writer.h"

#include "base/translate.h"

namespace tavi {

// The browser build has no zlib; the page asks for no screenshots, and a request says so.
bool WritePng(const Image&, const std::string&, std::string& error) {
  error = Translate("PNG-Dateien werden im Browser nicht geschrieben");
  return false;
}

}  // namespace tavi
