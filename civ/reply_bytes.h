// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A reply buffer read by byte position, counted from 1 as the CI-V layouts are written
// ("the frequency is in bytes 13 to 15"). A position beyond the end of the buffer holds no
// byte: a reply cut short by the reply window simply lacks the bytes it did not deliver.
#include <cstddef>
#include <string>

namespace tavrin {

class ReplyBytes {
 public:
  explicit ReplyBytes(const std::string& bytes) : bytes_(bytes) {}

  [[nodiscard]] std::size_t Size() const { return bytes_.size(); }
  // Whether the buffer reaches position `position`.
  [[nodiscard]] bool Has(std::size_t position) const {
    return position >= 1 && position <= bytes_.size();
  }
  // The byte at `position` (1-based); 0 when the buffer does not reach it.
  [[nodiscard]] unsigned char At(std::size_t position) const {
    return Has(position) ? static_cast<unsigned char>(bytes_[position - 1]) : 0;
  }
  // Whether the byte at `position` is there and equals `value`.
  [[nodiscard]] bool Is(std::size_t position, unsigned char value) const {
    return Has(position) && At(position) == value;
  }
  // Bytes `first` to `last` inclusive as a byte string (the buffer must reach `last`).
  [[nodiscard]] std::string Range(std::size_t first, std::size_t last) const {
    return Has(last) && first >= 1 && first <= last ? bytes_.substr(first - 1, last - first + 1)
                                                    : std::string();
  }

 private:
  const std::string& bytes_;
};

}  // namespace tavrin
