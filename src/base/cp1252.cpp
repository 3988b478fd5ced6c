#include "base/cp1252.h"

#include <cstdint>
#include <cstdio>

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

// The character at `text[at]`: its length in bytes, or 0 for a byte that starts no well-formed
// UTF-8 sequence (an overlong form, a surrogate, beyond U+10FFFF, cut short).
int DecodeUtf8(const std::string& text, std::size_t at, std::uint32_t& codePoint) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
  if (length == 0 || at + length > text.size()) return 0;
  codePoint = length == 1 ? lead : lead & (0x7F >> length);
  for (int k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[at + k]);
    if ((next & 0xC0) != 0x80) return 0;
    codePoint = codePoint << 6 | (next & 0x3F);
  }
  constexpr std::uint32_t Smallest[5] = {0, 0, 0x80, 0x800, 0x10000};
  const bool surrogate = codePoint >= 0xD800 && codePoint < 0xE000;
  return codePoint < Smallest[length] || surrogate || codePoint > 0x10FFFF ? 0 : length;
}

// The Windows-1252 byte of a character; false when it has none.
bool Cp1252Byte(std::uint32_t codePoint, char& byte) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint < 0x100)) {
    byte = static_cast<char>(codePoint);
    return true;
  }
  for (int k = 0; k < 32 && codePoint >= 0x100; ++k) {
    if (HighControlRange[k] == codePoint) {
      byte = static_cast<char>(0x80 + k);
      return true;
    }
  }
  return false;
}

std::string Escape(const char* format, std::uint32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, format, static_cast<unsigned>(value));
  return buffer;
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
    std::uint32_t codePoint = 0;
    const int length = DecodeUtf8(text, i, codePoint);
    char byte = '?';
    if (length != 0) Cp1252Byte(codePoint, byte);
    out += byte;
    i += length == 0 ? 1 : length;
  }
  return out;
}

std::string FileNameText(const std::string& fileName) {
  std::string out;
  for (std::size_t i = 0; i < fileName.size();) {
    std::uint32_t codePoint = 0;
    const int length = DecodeUtf8(fileName, i, codePoint);
    char byte = 0;
    if (length == 0) {
      out += Escape("\\x%02X", static_cast<unsigned char>(fileName[i]));
    } else if (codePoint < 0x20 || (codePoint >= 0x7F && codePoint < 0xA0)) {
      out += Escape(codePoint < 0x80 ? "\\x%02X" : "\\u%04X", codePoint);  // control characters
    } else if (Cp1252Byte(codePoint, byte)) {
      out += byte;
    } else {
      out += Escape(codePoint > 0xFFFF ? "\\U%08X" : "\\u%04X", codePoint);
    }
    i += length == 0 ? 1 : length;
  }
  return out;
}

}  // namespace tavi
