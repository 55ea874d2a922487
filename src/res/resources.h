#pragma once
// The program's resources: dialog templates, the main menu, the string table and the icon ids.
#include <string>
#include <vector>

#include "res/resource_types.h"

namespace larkspin {

// Dialog templates.
inline constexpr int kDialogAbout = 100;
inline constexpr int kDialogMain = 102;
inline constexpr int kDialogSend = 142;
inline constexpr int kDialogOpenAttachment = 164;
inline constexpr int kDialogAccount = 170;
inline constexpr int kDialogFileView = 10101;
inline constexpr int kDialogInput = 10102;
inline constexpr int kDialogGallery = 20000;  // the widget gallery, not part of the product

// The main window's section of the application profile: its template number in lower-case
// hexadecimal.
inline constexpr const char* kMainWindowSection = "66";
static_assert(kDialogMain == 0x66);

// Menus.
inline constexpr int kMenuMain = 141;

// The string table.
inline constexpr int kStringAboutMenu = 101;
inline constexpr int kStringVersion = 102;  // also the mailer named in sent mail
inline constexpr int kStringMailFooter = 103;
inline constexpr int kStringGreetingEnglish = 104;
inline constexpr int kStringPasswordPrompt = 106;
inline constexpr int kStringPasswordCaption = 107;
inline constexpr int kStringNoSelectionToReply = 133;
inline constexpr int kStringNoSelectionToForward = 134;
inline constexpr int kStringRemovedFromServer = 146;
inline constexpr int kStringOpenAttachment = 149;
inline constexpr int kStringAddSenderCaption = 150;
inline constexpr int kStringAddSenderPrompt = 151;
inline constexpr int kStringAttachmentsOpening = 152;
inline constexpr int kStringAttachmentsClosing = 153;
inline constexpr int kStringAttachmentNotFound = 155;
inline constexpr int kStringGreetingGerman = 157;
inline constexpr int kStringGreetingSpanish = 158;

// Icons: the application, the buttons of the main window, the list row states, attachments.
inline constexpr int kIconApplication = 128;
inline constexpr int kIconReset = 139;
inline constexpr int kIconForward = 147;
inline constexpr int kIconReplyTo = 148;
inline constexpr int kIconCompose = 149;
inline constexpr int kIconDelete = 150;
inline constexpr int kIconDownload = 152;
inline constexpr int kIconRowDeleteMark = 153;
inline constexpr int kIconRowOnServer = 154;
inline constexpr int kIconRowStored = 155;
inline constexpr int kIconDisconnect = 156;
inline constexpr int kIconRowDownloadMark = 157;
inline constexpr int kIconConnect = 158;
inline constexpr int kIconRowDownloadedAutomatically = 160;
inline constexpr int kIconAttachment = 165;

// The product's web site: the hyperlinks and the footer of sent mail.
inline constexpr const char* kProductWebAddress = "https://larkspin.example.org/";

// The template with this id; nullptr when there is none.
const DialogTemplate* FindDialogTemplate(int id);
const MenuTemplate* FindMenuTemplate(int id);
// The keys of the window made from the template; empty for a window without any.
const std::vector<Accelerator>& AcceleratorsOf(int template_id);
// The string table entry; empty when there is none.
std::string LoadResourceString(int id);

}  // namespace larkspin
