#include "mailbox/line_pieces.h"

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

int CLinePieceReader::GetByte() {
  const int byte = PeekByte();
  if (byte != EOF) ++at_;
  return byte;
}

bool CLinePieceReader::Next(std::string& piece) {
  piece.clear();
  if (!file_) return false;
  while (piece.size() < kMaxPiece) {
    int byte = GetByte();
    if (byte == EOF) break;
    if (byte == '\r' && PeekByte() == '\n') byte = GetByte();
    piece += static_cast<char>(byte);
    if (byte == '\n') break;
  }
  return !piece.empty();
}

}  // namespace larkspin
