#pragma once

#include <cstdio>
#include <string>

namespace tavi {

// A text file the run writes as it goes: the trace, a recorded demo. The first failure (opening,
// a write, the final flush) is reported on standard error and the file is given up; the game goes
// on, and Close tells whether everything arrived.
class OutputFile {
 public:
  // `failure` is the report's sentence for the catalogue, "%s" the file's name and then the reason.
  OutputFile(const std::string& path, const char* failure);
  ~OutputFile() { Close(); }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  bool Failed() const { return failed_; }
  void Print(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Hands what is written so far to the system, so it outlives a crash of the game.
  void Flush();
  // Flushes and closes; false when anything written since opening was lost.
  bool Close();

 private:
  void Fail();

  std::FILE* file_ = nullptr;
  std::string path_;
  const char* failure_;
  bool failed_ = false;
};

}  // namespace tavi
