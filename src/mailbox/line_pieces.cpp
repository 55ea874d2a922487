#include "mailbox/line_pieces.h"

#include <algorithm>
#include <cstring>

namespace larkspin {

namespace {
constexpr size_t kBufferSize = 1 << 16;
}  // namespace

bool CLinePieceReader::Open(const std::string& path) {
  file_.reset(std::fopen(path.c_str(), "rb"));
  if (!file_) return false;
  buffer_ = std::make_unique<char[]>(kBufferSize);
  used_ = at_ = 0;
  return true;
}

bool CLinePieceReader::Fill() {
  used_ = std::fread(buffer_.get(), 1, kBufferSize, file_.get());
  at_ = 0;
  return used_ > 0;
}

int CLinePieceReader::PeekByte() {
  if (at_ == used_ && !Fill()) return EOF;
  return static_cast<unsigned char>(buffer_[at_]);
}

bool CLinePieceReader::Next(std::string& piece) {
  piece.clear();
  if (!file_) return false;
  while (piece.size() < kMaxPiece && (at_ < used_ || Fill())) {
    const char* start = buffer_.get() + at_;
    const size_t available = std::min(used_ - at_, kMaxPiece - piece.size());
    const void* line_feed = std::memchr(start, '\n', available);
    const size_t taken = line_feed ? static_cast<const char*>(line_feed) - start + 1 : available;
    piece.append(start, taken);
    at_ += taken;
    if (line_feed) {
      // A line end can only be the piece's last byte, so a CR LF pair can only stand there.
      if (piece.size() >= 2 && piece[piece.size() - 2] == '\r') piece.erase(piece.size() - 2, 1);
      return true;
    }
  }
  // A piece that fills up on the CR of a CR LF pair takes the pair as its line end.
  if (piece.size() == kMaxPiece && piece.back() == '\r' && PeekByte() == '\n') {
    piece.back() = '\n';
    ++at_;
  }
  return !piece.empty();
}

}  // namespace larkspin
