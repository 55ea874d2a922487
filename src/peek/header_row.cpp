#include "peek/header_row.h"

#include <atomic>

namespace larkspin {

RowId NewRowId() {
  static std::atomic<RowId> next{1};
  return next++;
}

}  // namespace larkspin
