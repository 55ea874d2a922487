#pragma once
// The growing buffer one server reply is read into. It starts at a size chosen from what is
// known before the read and grows geometrically, so a large reply costs few copies; its bytes
// are not zero-filled, so a large first buffer costs only the memory actually received.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace larkspin {

class CReplyBuffer {
 public:
  // Upper bound of one reply; a longer one fails cleanly instead of exhausting memory.
  static constexpr size_t kMaxReplyBytes = size_t{1} << 31;

  explicit CReplyBuffer(size_t first_size);

  // Room a receive may fill, keeping one byte for the terminating NUL.
  size_t Room() const { return capacity_ > used_ + 1 ? capacity_ - used_ - 1 : 0; }
  char* End() { return data_.get() + used_; }
  void Commit(size_t count);
  // Grows by at least step (and by half the size at least); false when the limit or memory is reached.
  bool Grow(size_t step);

  std::string_view View() const { return {data_.get(), used_}; }
  size_t Size() const { return used_; }
  size_t Capacity() const { return capacity_; }
  void DropSuffix(size_t count) { used_ -= count; data_[used_] = '\0'; }

 private:
  std::unique_ptr<char[]> data_;
  size_t capacity_;
  size_t used_ = 0;
};

}  // namespace larkspin
