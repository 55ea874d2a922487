#pragma once
// The growing buffer one server reply is read into. It starts at a size chosen from what is
// known before the read and grows geometrically, so a large reply costs few copies. Its space is
// reserved up front but filled only as bytes arrive, so a large first size costs only the memory
// actually received, and a finished reply can be taken out as a string without a copy.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace larkspin {

class CReplyBuffer {
 public:
  // Upper bound of any reply; a longer one fails cleanly instead of exhausting memory.
  static constexpr size_t kMaxReplyBytes = size_t{1} << 31;

  // A buffer for a reply of at most limit bytes (kMaxReplyBytes at most).
  explicit CReplyBuffer(size_t first_size, size_t limit = kMaxReplyBytes);

  // Room left before the buffer must grow, keeping one byte for a terminating NUL.
  size_t Room() const { return capacity_ > used_ + 1 ? capacity_ - used_ - 1 : 0; }
  // Where the next receive may write: the room left, at most 1 MiB at a time.
  std::span<char> ReceiveSpace();
  void Commit(size_t count) { used_ += count; }
  // Grows by at least step (and by half the size at least), never past the limit; false when the
  // buffer already holds the limit or memory runs out.
  bool Grow(size_t step);

  std::string_view View() const { return {data_.data(), used_}; }
  size_t Size() const { return used_; }
  size_t Capacity() const { return capacity_; }
  size_t Limit() const { return limit_; }
  void DropSuffix(size_t count) { used_ -= count; }
  // The bytes from offset on, taking the buffer's storage; the buffer is empty afterwards.
  std::string TakeFrom(size_t offset);

 private:
  std::string data_;  // the bytes received, then space made ready for the next receive
  size_t limit_;
  size_t capacity_;  // at most limit_ + 1: the limit's bytes and the NUL
  size_t used_ = 0;
};

}  // namespace larkspin
