#include "ui/wx/wx_notification.h"

#include <libnotify/notify.h>

#include <cstring>

#include <wx/toplevel.h>

namespace larkspin {

namespace {
constexpr const char* kApplicationName = "Larkspin";
constexpr const char* kNotificationIcon = "mail-message-new";

// Whether the service lists the capability in its answer to GetCapabilities.
bool ServiceHasCapability(const char* capability) {
  GList* capabilities = notify_get_server_caps();
  bool found = false;
  for (GList* item = capabilities; item; item = item->next)
    found = found || std::strcmp(static_cast<const char*>(item->data), capability) == 0;
  g_list_free_full(capabilities, g_free);
  return found;
}
}  // namespace

CWxNotifier::~CWxNotifier() {
  if (notification_) g_object_unref(notification_);
  if (initialised_) notify_uninit();
}

bool CWxNotifier::Connect() {
  if (!initialised_) initialised_ = notify_init(kApplicationName);
  return initialised_;
}

std::string CWxNotifier::BodyOf(const std::string& text) {
  if (body_markup_ < 0) body_markup_ = ServiceHasCapability("body-markup") ? 1 : 0;
  if (!body_markup_) return text;
  // A subject such as "<b>Win" or "Tom & Jerry" is text, never markup.
  gchar* escaped = g_markup_escape_text(text.c_str(), -1);
  std::string body = escaped;
  g_free(escaped);
  return body;
}

bool CWxNotifier::Show(wxWindow* owner, const std::string& title, const std::string& text) {
  if (!Connect()) return false;
  const std::string body = BodyOf(text);
  if (!notification_) {
    notification_ = notify_notification_new(title.c_str(), body.c_str(), kNotificationIcon);
    notify_notification_set_category(notification_, "email.arrived");
    notify_notification_set_hint(notification_, "desktop-entry", g_variant_new_string("larkspin"));
    // "default" is the action a click on the notification itself triggers.
    notify_notification_add_action(notification_, "default", "Show Larkspin", &CWxNotifier::OnClicked, this,
                                   nullptr);
  } else {
    notify_notification_update(notification_, title.c_str(), body.c_str(), kNotificationIcon);
  }
  owner_ = owner;
  GError* error = nullptr;
  const bool shown = notify_notification_show(notification_, &error);
  if (error) g_error_free(error);
  // Without a service, the next notification asks again (a service may have started meanwhile).
  if (!shown) body_markup_ = -1;
  return shown;
}

void CWxNotifier::OnClicked(NotifyNotification* /*notification*/, char* /*action*/, void* notifier) {
  wxWindow* owner = static_cast<CWxNotifier*>(notifier)->owner_.get();
  if (!owner) return;
  if (wxTopLevelWindow* frame = dynamic_cast<wxTopLevelWindow*>(owner)) frame->Iconize(false);
  owner->Raise();
}

}  // namespace larkspin
