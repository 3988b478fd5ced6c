#pragma once

#include <string>

namespace tavi {

// Where a message for the player goes: a modal box, or standard error without a display.
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // Caption and text in Windows-1252.
  virtual void ShowMessage(const std::string& caption, const std::string& text) = 0;
};

}  // namespace tavi
