#pragma once
// Printing through the toolkit's printing framework: the print dialog, then the document's pages.
#include <wx/window.h>

#include <string>

#include "ui/print.h"

namespace larkspin {

PrintOutcome PrintWithDialog(wxWindow* parent, CPrintDocument& document);

// The same pages without a dialog, as PostScript into the file at path (UTF-8), on the
// toolkit's PostScript printer at its default paper and resolution; for tests and scripts.
PrintOutcome PrintToPostScriptFile(CPrintDocument& document, const std::string& path);

}  // namespace larkspin
