#pragma once

// The settings file's format, read line by line as players write INI files: `[section]`, `key =
// value` (or `key: value`), comments from `;` or `#` at the start of a line, and from a `;` after
// white space inside a line. Every line stands on its own, whatever its length or indentation.

#include <cstddef>
#include <string>
#include <vector>

namespace tavi {

struct IniLine {
  enum class Kind { Blank, Comment, Section, Entry, Bad };
  Kind kind = Kind::Blank;
  int number = 0;          // from 1
  std::size_t end = 0;     // where the line ends in the text, before its "\n" or "\r\n"
  bool crlf = false;       // ends in "\r\n"
  std::string section;     // the section the line is in; a section line's own name
  std::string key;         // an entry's name
  std::string value;       // an entry's value, without white space around it or a comment after it
  std::size_t valueBegin = 0;  // the value's place in the text; an empty value is right after
  std::size_t valueEnd = 0;    // the `=` or `:`
};

std::vector<IniLine> SplitIni(const std::string& text);

// Sets `key` in `section` to `value` in place: in the last line of that key (the one that counts),
// else as a new line after the section's last entry, else in a new section at the end. Every
// other byte of `text` stays. `value` must not hold a line break.
void SetIniValue(std::string& text, const std::string& section, const std::string& key, const std::string& value);

}  // namespace tavi
