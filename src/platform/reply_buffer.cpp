#include "platform/reply_buffer.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace larkspin {

namespace {
// A first size announced by a peer is only a hint: a huge one must not be allocated up front.
constexpr size_t kMaxFirstSize = size_t{256} << 20;
}

CReplyBuffer::CReplyBuffer(size_t first_size) : capacity_(std::clamp<size_t>(first_size, 2, kMaxFirstSize)) {
  data_.reset(new char[capacity_]);
  data_[0] = '\0';
}

void CReplyBuffer::Commit(size_t count) {
  used_ += count;
  data_[used_] = '\0';
}

bool CReplyBuffer::Grow(size_t step) {
  if (capacity_ >= kMaxReplyBytes) return false;
  const size_t grown = std::min(kMaxReplyBytes, capacity_ + std::max(step, capacity_ / 2));
  std::unique_ptr<char[]> larger(new (std::nothrow) char[grown]);
  if (!larger) return false;
  std::memcpy(larger.get(), data_.get(), used_ + 1);
  data_ = std::move(larger);
  capacity_ = grown;
  return true;
}

}  // namespace larkspin
