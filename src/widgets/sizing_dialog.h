#pragma once
// The base of the resizable windows: anchored controls follow the right and bottom edges or
// stretch with the window, the window cannot be made smaller than it was created, and its
// position and size are kept in the application profile under GeometrySectionName() (keys CX,
// CY, X, Y), written only after the window has really been resized.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/profile_store.h"
#include "ui/dialog.h"

namespace larkspin {

// Anchor flags of AnchorControl.
enum AnchorFlag : unsigned {
  kAnchorMoveRight = 1,       // move horizontally with the right edge
  kAnchorMoveDown = 2,        // move vertically with the bottom edge
  kAnchorStretchRight = 4,    // the right side follows the right edge (before kAnchorMoveRight)
  kAnchorStretchDown = 8,     // the bottom side follows the bottom edge (before kAnchorMoveDown)
};

class CSizingDialog : public CDialog {
 public:
  CSizingDialog(int template_id, CDialog* parent, CProfileStore profile = CProfileStore());

  // Registers control_id to follow the edges as flags says; flags 0 registers nothing.
  void AnchorControl(int control_id, unsigned flags);
  virtual std::string GeometrySectionName() const;
  // Writes the geometry when the window has been resized since it was last saved, then forgets
  // the minimum and the last size.
  void SaveGeometry();

  void SetRememberGeometry(bool remember) { remember_geometry_ = remember; }
  const CProfileStore& Profile() const { return profile_; }

 protected:
  void OnCreate() override;
  bool OnInitDialog() override;
  void OnSize(SizeKind kind, int client_width, int client_height) override;
  void OnDestroy() override;

 private:
  void MoveAnchoredControls(int dx, int dy);

  bool remember_geometry_ = true;
  Size minimum_;
  Size last_;
  bool resized_ = false;
  std::vector<uint32_t> anchors_;
  CProfileStore profile_;
};

}  // namespace larkspin
