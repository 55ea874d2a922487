#include "smtp/mime_boundary.h"

#include <uuid/uuid.h>

namespace larkspin {

std::string NewMimeBoundary() {
  uuid_t uuid;
  uuid_generate(uuid);
  char text[37];
  uuid_unparse_lower(uuid, text);
  return text;
}

}  // namespace larkspin
