#include "ui/wx/wx_menu.h"

#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "ui/wx/wx_text.h"

namespace larkspin {

namespace {

// The toolkit reads the text after a tab as a keyboard shortcut and drops it when it is none (the
// address menu's "name<tab>address"): the tab is shown as a wide gap instead.
wxString MenuLabel(const std::string& text) {
  wxString label = ToWx(text);
  label.Replace("\t", "    ");
  return label;
}

void AppendCommand(wxMenu& menu, const MenuItem& item, CWxMenuIds& ids) {
  const wxItemKind kind = item.check_item || item.checked ? wxITEM_CHECK : wxITEM_NORMAL;
  // The toolkit shows the text after the tab as the item's key.
  const wxString shortcut = item.shortcut.empty() ? wxString() : "\t" + ToWx(item.shortcut);
  wxMenuItem* entry = menu.Append(wxID_ANY, MenuLabel(item.text) + shortcut, wxString(), kind);
  ids.Remember(entry->GetId(), item.id);
  if (entry->IsCheckable()) entry->Check(item.checked);
  entry->Enable(item.enabled);
}

wxMenu* BuildSubmenu(const std::vector<MenuItem>& items, CWxMenuIds& ids) {
  auto* menu = new wxMenu;
  for (const MenuItem& item : items) {
    if (item.separator) menu->AppendSeparator();
    else if (!item.children.empty()) menu->AppendSubMenu(BuildSubmenu(item.children, ids), ToWx(item.text));
    else AppendCommand(*menu, item, ids);
  }
  return menu;
}

}  // namespace

int CWxMenuIds::CommandOf(int toolkit_id) const {
  const auto found = commands_.find(toolkit_id);
  return found != commands_.end() ? found->second : 0;
}

wxMenu* BuildWxMenu(const std::vector<MenuItem>& items, CWxMenuIds& ids) {
  ids.Forget();
  return BuildSubmenu(items, ids);
}

CWxMenuStrip::CWxMenuStrip(wxWindow* parent, CWxMenuIds& ids) : wxPanel(parent, wxID_ANY), ids_(ids) {
  SetSizer(new wxBoxSizer(wxHORIZONTAL));
}

void CWxMenuStrip::SetItems(const std::vector<MenuItem>& top_level) {
  items_ = top_level;
  GetSizer()->Clear(true);
  titles_.clear();
  for (size_t i = 0; i < items_.size(); ++i) {
    auto* title = new wxStaticText(this, wxID_ANY, wxControl::RemoveMnemonics(ToWx(items_[i].text)));
    title->Bind(wxEVT_LEFT_DOWN, [this, i](wxMouseEvent&) { OpenMenu(i); });
    GetSizer()->Add(title, 0, wxALL, 4);
    titles_.push_back(title);
  }
  Layout();
}

bool CWxMenuStrip::OpenMenu(size_t position) {
  if (position >= items_.size()) return false;
  wxMenu* menu = BuildWxMenu(items_[position].children, ids_);
  wxWindow* top = wxGetTopLevelParent(this);
  const wxWindow* title = titles_[position];
  top->PopupMenu(menu, top->ScreenToClient(title->GetScreenPosition() + wxPoint(0, title->GetSize().y)));
  delete menu;
  return true;
}

}  // namespace larkspin
