#include "app/output_file.h"

#include <cerrno>
#include <cstdarg>
#include <cstring>

#include "base/cp1252.h"
#include "base/error_log.h"
#include "base/translate.h"

namespace tavi {

OutputFile::OutputFile(const std::string& path, const char* failure)
    : file_(std::fopen(path.c_str(), "w")), path_(path), failure_(failure) {
  if (!file_) Fail();
}

void OutputFile::Print(const char* format, ...) {
  if (!file_) return;
  std::va_list arguments;
  va_start(arguments, format);
  const int written = std::vfprintf(file_, format, arguments);
  va_end(arguments);
  if (written < 0 || std::ferror(file_)) Fail();
}

void OutputFile::Flush() {
  if (file_ && std::fflush(file_) != 0) Fail();
}

bool OutputFile::Close() {
  // A full disk often shows only here, when the last buffer is written.
  Flush();
  if (file_ && std::fclose(file_) != 0) {
    file_ = nullptr;
    Fail();
  }
  file_ = nullptr;
  return !failed_;
}

void OutputFile::Fail() {
  const int error = errno;
  if (file_) std::fclose(file_);  // what is still buffered is lost anyway
  file_ = nullptr;
  if (!failed_) {
    WriteToStandardError("tavi: " + FillIn(Translate(failure_), {FileNameText(path_), std::strerror(error)}));
  }
  failed_ = true;
}

}  // namespace tavi
