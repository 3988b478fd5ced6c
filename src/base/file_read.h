#pragma once

#include <cstddef>
#include <string>

namespace tavi {

// Reads the whole file at `path` (a file-system path) into `bytes`, but only a regular file of
// at most `maxBytes`: a FIFO, a device such as /dev/zero or a directory is refused without
// blocking, and a file that grows while it is read is refused once it passes the limit. On failure
// `bytes` is left alone and `error` (Windows-1252) reads "NAME: what is wrong", NAME being `name`
// (a media name), or FileNameText(path) when `name` is empty.
bool ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes,
                     std::string& error, const std::string& name = {});

}  // namespace tavi
