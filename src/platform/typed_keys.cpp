#include "platform/typed_keys.h"

#include <cstring>

#include "base/dik.h"
#include "base/name_keys.h"

namespace tavi {

namespace {

bool TypesACharacter(std::uint8_t code) {
  for (const NameKey& key : NameKeys) {
    if (key.scanCode == code) return true;
  }
  return false;
}

}  // namespace

void TypedKeys::Typed(std::uint8_t physical, const std::string& text) {
  int c = text.size() == 1 ? static_cast<unsigned char>(text[0]) : 0;
  if (c >= 'A' && c <= 'Z') c += 'a' - 'A';  // a capital types its letter
  const std::uint32_t code = ScanCodeForNameChar(c);
  made_[physical] = code != 0 ? static_cast<std::uint8_t>(code) : NotANameChar;
}

void TypedKeys::Clear() { std::memset(made_, Unknown, sizeof made_); }

std::uint8_t TypedKeys::Code(std::uint8_t physical, std::uint8_t usual) const {
  switch (physical) {
    case Dik::LShift:
    case Dik::RShift:
    case Dik::RAlt:
    case Dik::CapsLock:
      return 0;
    default:
      break;
  }
  const std::uint8_t made = made_[physical];
  if (made == Unknown) return usual;
  if (made != NotANameChar) return made;
  // Ignored as a character; a key whose code types nothing still hides the keys below it.
  return TypesACharacter(usual) ? 0 : usual;
}

}  // namespace tavi
