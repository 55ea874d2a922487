#pragma once
// Printing through the toolkit's printing framework: the print dialog, then the document's pages.
#include <wx/window.h>

#include "ui/print.h"

namespace larkspin {

PrintOutcome PrintWithDialog(wxWindow* parent, CPrintDocument& document);

}  // namespace larkspin
