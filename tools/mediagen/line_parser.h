#pragma once

#include <map>
#include <string>
#include <vector>

namespace mediagen {

// One non-empty line of an art text file: its words, "key=value" pairs kept apart.
// A '#' at the start of a word begins a comment that runs to the end of the line.
struct TextLine {
  int number = 0;                           // 1-based line number in the file
  std::vector<std::string> words;           // plain words in order
  std::map<std::string, std::string> keys;  // key=value pairs
};

// Splits a whole text into its non-empty lines; `path` only names it in errors.
bool SplitText(const std::string& text, const std::string& path, std::vector<TextLine>& lines,
               std::string& error);

// Reads a whole file. False (and "file: reason") when it cannot be read.
bool ReadTextFile(const std::string& path, std::string& text, std::string& error);

// Reads a whole art text file into lines. False (and "file: reason") when it cannot be read.
bool ReadTextLines(const std::string& path, std::vector<TextLine>& lines, std::string& error);

// Splits one line of text; a key given twice or an empty key or value is an error.
bool SplitTextLine(const std::string& text, int number, TextLine& line, std::string& error);

// A number written as "12", "-3.5", "1/3" or "2+1/3"; false for anything else.
bool ParseNumber(const std::string& text, double& value);

// "file:line: message", the one form every art parser reports in.
std::string LineError(const std::string& path, int number, const std::string& message);

// Reads the numeric key `key` of a line into value when present; checks it lies in [low, high].
// False (and an error naming file and line) for a malformed or out-of-range value.
bool ReadKey(const std::string& path, const TextLine& line, const std::string& key, double low,
             double high, double& value, std::string& error);

// Fails (naming file and line) when the line holds a key not in `allowed`.
bool CheckKeys(const std::string& path, const TextLine& line,
               const std::vector<std::string>& allowed, std::string& error);

}  // namespace mediagen
