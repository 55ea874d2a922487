#include "platform/reply_buffer.h"

#include <algorithm>
#include <new>

namespace larkspin {

namespace {
// A first size announced by a peer is only a hint: a huge one must not be reserved up front.
constexpr size_t kMaxFirstSize = size_t{256} << 20;
// Space made ready (zero-filled) for one receive.
constexpr size_t kReceiveWindow = size_t{1} << 20;
}  // namespace

CReplyBuffer::CReplyBuffer(size_t first_size, size_t limit)
    : limit_(std::clamp<size_t>(limit, 1, kMaxReplyBytes)),
      capacity_(std::clamp<size_t>(first_size, 2, std::min(kMaxFirstSize, limit_ + 1))) {
  data_.reserve(capacity_);
}

std::span<char> CReplyBuffer::ReceiveSpace() {
  const size_t size = std::min(Room(), kReceiveWindow);
  if (data_.size() < used_ + size) data_.resize(used_ + size);
  return {data_.data() + used_, size};
}

bool CReplyBuffer::Grow(size_t step) {
  if (capacity_ > limit_) return false;
  const size_t grown = std::min(limit_ + 1, capacity_ + std::max(step, capacity_ / 2));
  try {
    data_.resize(used_);
    data_.reserve(grown);
  } catch (const std::bad_alloc&) {
    return false;
  }
  capacity_ = grown;
  return true;
}

std::string CReplyBuffer::TakeFrom(size_t offset) {
  data_.resize(used_);
  data_.erase(0, std::min(offset, used_));
  used_ = 0;
  return std::move(data_);
}

}  // namespace larkspin
