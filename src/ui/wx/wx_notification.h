#pragma once
// Desktop notifications through the freedesktop notification service (libnotify). A click on
// the notification raises its owner's window. wx's own notification class cannot attach the
// "default" action that such a click triggers, so libnotify is used directly.
#include <string>

#include <wx/weakref.h>
#include <wx/window.h>

typedef struct _NotifyNotification NotifyNotification;

namespace larkspin {

class CWxNotifier {
 public:
  CWxNotifier() = default;
  ~CWxNotifier();
  CWxNotifier(const CWxNotifier&) = delete;
  CWxNotifier& operator=(const CWxNotifier&) = delete;

  // Shows title and text (plain UTF-8), replacing the notification shown before. False when
  // there is no notification service.
  bool Show(wxWindow* owner, const std::string& title, const std::string& text);

 private:
  static void OnClicked(NotifyNotification* notification, char* action, void* notifier);
  bool Connect();
  // The body as the service reads it: escaped where the service reads markup.
  std::string BodyOf(const std::string& text);

  NotifyNotification* notification_ = nullptr;
  wxWeakRef<wxWindow> owner_;
  bool initialised_ = false;
  int body_markup_ = -1;  // whether the service reads markup in bodies; -1 until asked
};

}  // namespace larkspin
