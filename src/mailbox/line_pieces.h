#pragma once
// Reads a file as text lines the way a 256-byte line buffer sees it: CR LF pairs read as LF, and
// a line longer than 255 bytes comes in pieces, each piece taken as a line of its own.
#include <cstdio>
#include <memory>
#include <string>

namespace larkspin {

class CLinePieceReader {
 public:
  static constexpr size_t kMaxPiece = 255;

  // False when the file cannot be opened for reading.
  bool Open(const std::string& path);
  // The next piece: up to and including LF, or kMaxPiece bytes, or what is left before the end.
  // False at the end of the file.
  bool Next(std::string& piece);

 private:
  int PeekByte();
  bool Fill();

  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, FileCloser> file_;
  std::unique_ptr<char[]> buffer_;
  size_t used_ = 0;
  size_t at_ = 0;
};

}  // namespace larkspin
