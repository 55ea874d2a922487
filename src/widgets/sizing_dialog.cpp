#include "widgets/sizing_dialog.h"

#include "common/format.h"

namespace larkspin {

CSizingDialog::CSizingDialog(int template_id, CDialog* parent, CProfileStore profile)
    : CDialog(template_id, parent), profile_(std::move(profile)) {}

void CSizingDialog::AnchorControl(int control_id, unsigned flags) {
  if ((flags & 0xFFFF) == 0) return;
  anchors_.push_back((flags << 16) | (static_cast<uint32_t>(control_id) & 0xFFFF));
}

std::string CSizingDialog::GeometrySectionName() const { return FormatText("%x", TemplateId()); }

void CSizingDialog::OnCreate() {
  const Rect window = WindowRect();
  minimum_ = {window.Width(), window.Height()};
  SetMinimumSize(minimum_);
}

bool CSizingDialog::OnInitDialog() {
  if (!remember_geometry_) return true;
  const std::string section = GeometrySectionName();
  const int width = profile_.GetInt(section, "CX", 0);
  const int height = profile_.GetInt(section, "CY", 0);
  const int left = profile_.GetInt(section, "X", 0);
  const int top = profile_.GetInt(section, "Y", 0);
  if (width == 0 || height == 0) return true;
  last_ = ClientSize();
  MoveWindow({left, top, left + width, top + height});
  return true;
}

void CSizingDialog::OnSize(SizeKind kind, int client_width, int client_height) {
  if (kind == SizeKind::kMinimized) return;
  const int dx = client_width - last_.width;
  const int dy = client_height - last_.height;
  if (last_.width != 0) {
    resized_ = true;
    MoveAnchoredControls(dx, dy);
  }
  last_ = {client_width, client_height};
}

void CSizingDialog::MoveAnchoredControls(int dx, int dy) {
  for (const uint32_t anchor : anchors_) {
    const int id = static_cast<int>(anchor & 0xFFFF);
    const unsigned flags = anchor >> 16;
    if (flags == 0 || !HasItem(id)) continue;
    Rect rect = ItemRect(id);
    if (flags & kAnchorStretchRight) {
      rect.right += dx;
    } else if (flags & kAnchorMoveRight) {
      rect.left += dx;
      rect.right += dx;
    }
    if (flags & kAnchorStretchDown) {
      rect.bottom += dy;
    } else if (flags & kAnchorMoveDown) {
      rect.top += dy;
      rect.bottom += dy;
    }
    MoveItem(id, rect);
  }
}

void CSizingDialog::SaveGeometry() {
  if (remember_geometry_ && resized_ && last_.width != 0 && last_.height != 0) {
    const Rect window = WindowRect();
    const std::string section = GeometrySectionName();
    profile_.WriteInt(section, "CX", window.Width());
    profile_.WriteInt(section, "CY", window.Height());
    profile_.WriteInt(section, "X", window.left);
    profile_.WriteInt(section, "Y", window.top);
  }
  minimum_ = {};
  last_ = {};
  resized_ = false;
  SetMinimumSize(minimum_);
}

void CSizingDialog::OnDestroy() { SaveGeometry(); }

}  // namespace larkspin
