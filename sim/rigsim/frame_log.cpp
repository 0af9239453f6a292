// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/rigsim/frame_log.h"

#include <cerrno>
#include <cstring>

namespace tavrin::rigsim {

FrameLog::~FrameLog() {
  if (file_ != nullptr) std::fclose(file_);
}

bool FrameLog::Open(const std::string& path, std::string& error) {
  file_ = std::fopen(path.c_str(), "w");
  if (file_ == nullptr) error = "cannot write " + path + ": " + std::strerror(errno);
  return file_ != nullptr;
}

void FrameLog::Add(const std::string& bytes) {
  if (file_ == nullptr) return;
  pending_ += bytes;
  // A frame runs from its first FE to the next FD; bytes before an FE are line noise.
  for (;;) {
    const std::size_t start = pending_.find('\xFE');
    if (start == std::string::npos) {
      pending_.clear();
      return;
    }
    const std::size_t end = pending_.find('\xFD', start);
    if (end == std::string::npos) {
      pending_.erase(0, start);
      return;
    }
    for (std::size_t i = start; i <= end; ++i) {
      std::fprintf(file_, i == start ? "%02X" : " %02X", static_cast<unsigned char>(pending_[i]));
    }
    std::fputc('\n', file_);
    std::fflush(file_);
    pending_.erase(0, end + 1);
  }
}

}  // namespace tavrin::rigsim
