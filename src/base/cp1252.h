#pragma once

#include <string>

namespace tavi {

// Converts Windows-1252 text (the game's texts and media names) to UTF-8.
std::string Cp1252ToUtf8(const std::string& text);
// Converts UTF-8 to Windows-1252; a character it lacks, or a broken sequence, becomes '?'.
std::string Utf8ToCp1252(const std::string& text);

// A file name as the file system gives it (UTF-8 bytes, or any bytes at all) as text for a message.
// Messages are Windows-1252 like every text of the program and become UTF-8 only where they leave
// it (standard error, error.log, message boxes); the portable Error.txt keeps Windows-1252. This
// is the one way a path enters a message: a character Windows-1252 has becomes its byte, so
// "jürgen" reads right in both encodings; anything else becomes an escape that reads the same in
// both: a character Windows-1252 lacks as \u65E5 (\U0001F600 above \uFFFF), a byte that is no
// UTF-8 as \xFC, and a control character as \x0A (a line break would split a line of the log).
std::string FileNameText(const std::string& fileName);

}  // namespace tavi
