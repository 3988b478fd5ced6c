#include "base/cp1252.h"

#include <cstdint>

namespace tavi {

namespace {

// 0x80..0x9F of Windows-1252; the five unassigned bytes map to the C1 controls, as Windows does.
constexpr std::uint16_t HighControlRange[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf8(std::string& out, std::uint32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

}  // namespace

std::string Cp1252ToUtf8(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80 && byte < 0xA0) {
      AppendUtf8(out, HighControlRange[byte - 0x80]);
    } else {
      AppendUtf8(out, byte);  // Latin-1 elsewhere
    }
  }
  return out;
}

std::string Utf8ToCp1252(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = lead < 0x80         ? 1
                       : (lead >> 5) == 6  ? 2
                       : (lead >> 4) == 14 ? 3
                       : (lead >> 3) == 30 ? 4
                                           : 0;
    std::uint32_t codePoint = length == 1 ? lead : length == 2 ? lead & 0x1F : lead & 0x0F;
    bool good = length != 0 && i + length <= text.size();
    for (int k = 1; good && k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      good = (next & 0xC0) == 0x80;
      codePoint = codePoint << 6 | (next & 0x3F);
    }
    i += good ? length : 1;
    char byte = '?';
    if (good && (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint < 0x100))) {
      byte = static_cast<char>(codePoint);
    }
    for (int k = 0; good && codePoint >= 0x100 && k < 32; ++k) {
      if (HighControlRange[k] == codePoint) byte = static_cast<char>(0x80 + k);
    }
    out += byte;
  }
  return out;
}

}  // namespace tavi
