#include "app/ini_text.h"

namespace tavi {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

// The first of `stops` from `from` on, or a ';' that follows white space (an inline comment, as
// players' files have always been read, so that "up = W ; the old key" means W but "mode = a;b" means "a;b").
std::size_t FindStopOrComment(const std::string& text, std::size_t from, std::size_t end, const std::string& stops) {
  bool afterSpace = false;
  for (std::size_t at = from; at < end; ++at) {
    const char c = text[at];
    if (stops.find(c) != std::string::npos || (afterSpace && c == ';')) return at;
    afterSpace = IsSpace(c);
  }
  return end;
}

std::size_t SkipSpace(const std::string& text, std::size_t at, std::size_t end) {
  while (at < end && IsSpace(text[at])) ++at;
  return at;
}

std::size_t TrimEnd(const std::string& text, std::size_t begin, std::size_t end) {
  while (end > begin && IsSpace(text[end - 1])) --end;
  return end;
}

void ReadContent(const std::string& text, std::size_t first, std::size_t last, IniLine& line) {
  if (first == last) return;  // blank
  if (text[first] == ';' || text[first] == '#') {
    line.kind = IniLine::Kind::Comment;
  } else if (text[first] == '[') {
    const std::size_t close = text.find(']', first);
    if (close >= last) {
      line.kind = IniLine::Kind::Bad;
      return;
    }
    // What follows the "]" is ignored, as it always was.
    const std::size_t nameBegin = SkipSpace(text, first + 1, close);
    line.kind = IniLine::Kind::Section;
    line.section = text.substr(nameBegin, TrimEnd(text, nameBegin, close) - nameBegin);
  } else {
    const std::size_t separator = FindStopOrComment(text, first, last, "=:");
    if (separator == last || text[separator] == ';') {
      line.kind = IniLine::Kind::Bad;
      return;
    }
    line.kind = IniLine::Kind::Entry;
    line.key = text.substr(first, TrimEnd(text, first, separator) - first);
    // The comment is looked for before the value is trimmed: "key = ;x" has an empty value.
    const std::size_t comment = FindStopOrComment(text, separator + 1, last, "");
    const std::size_t begin = SkipSpace(text, separator + 1, comment);
    const std::size_t end = TrimEnd(text, begin, comment);
    line.valueBegin = begin < end ? begin : separator + 1;
    line.valueEnd = begin < end ? end : separator + 1;
    line.value = text.substr(begin, end - begin);
  }
}

}  // namespace

std::vector<IniLine> SplitIni(const std::string& text) {
  std::vector<IniLine> lines;
  std::string section;
  for (std::size_t begin = 0; begin < text.size();) {
    const std::size_t newline = text.find('\n', begin);
    IniLine line;
    line.number = static_cast<int>(lines.size()) + 1;
    line.end = newline == std::string::npos ? text.size() : newline;
    line.crlf = line.end > begin && newline != std::string::npos && text[line.end - 1] == '\r';
    if (line.crlf) --line.end;
    std::size_t first = begin;
    if (begin == 0 && text.compare(0, 3, "\xEF\xBB\xBF") == 0) first = 3;  // a UTF-8 byte order mark
    first = SkipSpace(text, first, line.end);
    ReadContent(text, first, TrimEnd(text, first, line.end), line);
    if (line.kind == IniLine::Kind::Section) section = line.section;
    line.section = section;
    lines.push_back(std::move(line));
    begin = newline == std::string::npos ? text.size() : newline + 1;
  }
  return lines;
}

void SetIniValue(std::string& text, const std::string& section, const std::string& key, const std::string& value) {
  const std::vector<IniLine> lines = SplitIni(text);
  const IniLine* entry = nullptr;
  const IniLine* sectionEnd = nullptr;  // the last line of the section's last part that is not blank
  for (const IniLine& line : lines) {
    if (line.section != section) continue;
    if (line.kind == IniLine::Kind::Entry && line.key == key) entry = &line;
    if (line.kind == IniLine::Kind::Section || line.kind == IniLine::Kind::Entry) sectionEnd = &line;
  }
  const std::string lineBreak = !lines.empty() && lines.front().crlf ? "\r\n" : "\n";
  if (entry && entry->valueBegin < entry->valueEnd) {
    text.replace(entry->valueBegin, entry->valueEnd - entry->valueBegin, value);
  } else if (entry) {
    // "key =" or "key = ; comment": the value goes after the separator, apart from a comment.
    text.insert(entry->valueBegin, " " + value);
  } else if (sectionEnd) {
    text.insert(sectionEnd->end, lineBreak + key + " = " + value);
  } else {
    if (!text.empty() && text.back() != '\n') text += lineBreak;
    if (!text.empty()) text += lineBreak;
    text += "[" + section + "]" + lineBreak + key + " = " + value + lineBreak;
  }
}

}  // namespace tavi
