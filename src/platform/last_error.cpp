#include "platform/last_error.h"

namespace larkspin {

namespace {
thread_local int last_error_code = kErrorNone;
}

void SetLastErrorCode(int code) { last_error_code = code; }
int LastErrorCode() { return last_error_code; }

}  // namespace larkspin
