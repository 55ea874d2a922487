#pragma once
// The program's icons by resource id: the desktop theme's icons through the toolkit's art
// provider, or a small drawn stand-in when the theme has none.
#include <wx/bitmap.h>
#include <wx/icon.h>

namespace larkspin {

wxBitmap IconBitmap(int icon_id, int size);
wxIcon WindowIcon(int icon_id);

}  // namespace larkspin
