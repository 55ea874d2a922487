#pragma once
// Dates in list cells, as the sortable list reads them: the list's own "dd.mm.yyyy hh:mm:ss"
// and a few other common forms, after the zone part has been cut off.
#include <optional>
#include <string>

namespace larkspin {

// Days since 30 December 1899 00:00 with the time as a fraction; nullopt when the text is not
// a date. The text is cut before the first "-", or else "+", "GMT" or "EDT", together with the
// character in front of that marker.
std::optional<double> ParseListDate(const std::string& text);

}  // namespace larkspin
