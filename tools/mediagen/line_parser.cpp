#include "line_parser.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace mediagen {

namespace {

bool ParsePlain(const std::string& text, double& value) {
  if (text.empty()) return false;
  const char* begin = text.c_str();
  char* end = nullptr;
  value = std::strtod(begin, &end);
  // strtod also takes "inf", "nan" and hex; an artist's file has no use for them.
  if (end != begin + text.size() || !std::isfinite(value)) return false;
  return text.find_first_of("xXnNiI") == std::string::npos;
}

}  // namespace

bool ParseNumber(const std::string& text, double& value) {
  const std::size_t plus = text.find('+', 1);
  const bool exponent =
      plus != std::string::npos && (text[plus - 1] == 'e' || text[plus - 1] == 'E');
  if (plus != std::string::npos && !exponent) {
    double whole = 0;
    double part = 0;
    if (!ParsePlain(text.substr(0, plus), whole)) return false;
    const std::string rest = text.substr(plus + 1);
    if (rest.find('/') == std::string::npos || !ParseNumber(rest, part)) return false;
    value = whole + part;
    return true;
  }
  const std::size_t slash = text.find('/');
  if (slash != std::string::npos) {
    double numerator = 0;
    double denominator = 0;
    if (!ParsePlain(text.substr(0, slash), numerator) ||
        !ParsePlain(text.substr(slash + 1), denominator) || denominator == 0) {
      return false;
    }
    value = numerator / denominator;
    return true;
  }
  return ParsePlain(text, value);
}

std::string LineError(const std::string& path, int number, const std::string& message) {
  return path + ":" + std::to_string(number) + ": " + message;
}

bool SplitTextLine(const std::string& text, int number, TextLine& line, std::string& error) {
  line = TextLine{};
  line.number = number;
  std::string body = text;
  std::replace(body.begin(), body.end(), '\t', ' ');
  std::replace(body.begin(), body.end(), '\r', ' ');
  // Only a '#' that starts a word opens a comment, so "F#3" stays a key.
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body[i] == '#' && (i == 0 || body[i - 1] == ' ')) {
      body.resize(i);
      break;
    }
  }
  std::istringstream words(body);
  std::string word;
  while (words >> word) {
    const std::size_t eq = word.find('=');
    if (eq == std::string::npos) {
      line.words.push_back(word);
      continue;
    }
    const std::string key = word.substr(0, eq);
    const std::string value = word.substr(eq + 1);
    if (key.empty() || value.empty()) {
      error = "malformed \"" + word + "\" (write key=value without spaces)";
      return false;
    }
    if (!line.keys.emplace(key, value).second) {
      error = "\"" + key + "\" given twice";
      return false;
    }
  }
  return true;
}

bool SplitText(const std::string& text, const std::string& path, std::vector<TextLine>& lines,
               std::string& error) {
  lines.clear();
  std::istringstream in(text);
  std::string row;
  int number = 0;
  while (std::getline(in, row)) {
    ++number;
    TextLine line;
    std::string reason;
    if (!SplitTextLine(row, number, line, reason)) {
      error = LineError(path, number, reason);
      return false;
    }
    if (!line.words.empty() || !line.keys.empty()) lines.push_back(std::move(line));
  }
  return true;
}

bool ReadTextFile(const std::string& path, std::string& text, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": cannot be read";
    return false;
  }
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) {
    error = path + ": read error";
    return false;
  }
  text = content.str();
  return true;
}

bool ReadTextLines(const std::string& path, std::vector<TextLine>& lines, std::string& error) {
  std::string text;
  return ReadTextFile(path, text, error) && SplitText(text, path, lines, error);
}

bool ReadKey(const std::string& path, const TextLine& line, const std::string& key, double low,
             double high, double& value, std::string& error) {
  const auto found = line.keys.find(key);
  if (found == line.keys.end()) return true;
  double parsed = 0;
  if (!ParseNumber(found->second, parsed)) {
    error = LineError(path, line.number, key + "=" + found->second + " is not a number");
    return false;
  }
  if (parsed < low || parsed > high) {
    std::ostringstream range;
    range << key << "=" << found->second << " is outside " << low << " to " << high;
    error = LineError(path, line.number, range.str());
    return false;
  }
  value = parsed;
  return true;
}

bool CheckKeys(const std::string& path, const TextLine& line,
               const std::vector<std::string>& allowed, std::string& error) {
  for (const auto& entry : line.keys) {
    if (std::find(allowed.begin(), allowed.end(), entry.first) == allowed.end()) {
      error = LineError(path, line.number, "unknown key \"" + entry.first + "\"");
      return false;
    }
  }
  return true;
}

}  // namespace mediagen
