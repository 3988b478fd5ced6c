#include "base/file_read.h"
#include "platform/platform.h"

namespace tavi {

bool ReadMediaFile(const std::string& mediaName, std::size_t maxBytes, std::string& bytes, std::string& error) {
  return ReadRegularFile(ResolveMediaPath(mediaName), maxBytes, bytes, error, mediaName);
}

}  // namespace tavi
