#pragma once
// Printing through the toolkit's printing framework: the print dialog, then the document's pages.
#include <wx/window.h>

namespace larkspin {

class CPrintDocument;

// False when the user cancelled or the printer could not be used.
bool PrintWithDialog(wxWindow* parent, CPrintDocument& document);

}  // namespace larkspin
