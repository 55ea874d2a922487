// The dialog templates, in dialog units, as the windows were laid out.
#include <array>

#include "res/control_ids.h"
#include "res/resources.h"

namespace larkspin {

namespace {

ControlTemplate Control(int id, ControlKind kind, int x, int y, int w, int h, const char* text, unsigned style) {
  return {id, kind, x, y, w, h, text, style};
}
ControlTemplate Button(int id, int x, int y, int w, int h, const char* text, unsigned style = kStyleNone) {
  return Control(id, ControlKind::kPushButton, x, y, w, h, text, style);
}
ControlTemplate Label(int id, int x, int y, int w, int h, const char* text, unsigned style = kStyleNone) {
  return Control(id, ControlKind::kStatic, x, y, w, h, text, style);
}
ControlTemplate Edit(int id, int x, int y, int w, int h, unsigned style = kStyleNone) {
  return Control(id, ControlKind::kEdit, x, y, w, h, "", style);
}
ControlTemplate DropDown(int id, int x, int y, int w, int h, unsigned style = kStyleNone) {
  return Control(id, ControlKind::kDropDownList, x, y, w, h, "", style);
}
ControlTemplate CheckBox(int id, int x, int y, int w, int h, const char* text) {
  return Control(id, ControlKind::kCheckBox, x, y, w, h, text, kStyleNone);
}
ControlTemplate ListView(int id, int x, int y, int w, int h, unsigned style) {
  return Control(id, ControlKind::kListView, x, y, w, h, "", style);
}
ControlTemplate RichEdit(int id, int x, int y, int w, int h, unsigned style) {
  return Control(id, ControlKind::kRichEdit, x, y, w, h, "", style);
}
ControlTemplate ProgressBar(int id, int x, int y, int w, int h) {
  return Control(id, ControlKind::kProgressBar, x, y, w, h, "", kStyleNone);
}

const unsigned kSizableWindow = kDialogResizable | kDialogMinimizeBox | kDialogMaximizeBox;

DialogTemplate AboutBox() {
  return {kDialogAbout, "About Larkspin", 235, 83, kDialogResizable, {
    Label(kAboutVersionLabel, 10, 10, 215, 8, "Larkspin, Version 0.97 (5.28.19)"),
    Label(kAboutDescriptionLabel, 10, 22, 215, 8, "Peeks into POP3 mailboxes before anything is downloaded."),
    Label(kAboutWebLink, 10, 36, 215, 8, "", kStyleNotify),
    Button(kAboutDisclaimerButton, 122, 60, 50, 16, "&Disclaimer"),
    Button(kIdOk, 178, 60, 50, 16, "OK", kStyleDefaultButton),
  }};
}

DialogTemplate MainWindow() {
  return {kDialogMain, "Larkspin", 474, 281, kSizableWindow, {
    Button(kConnectButton, 7, 28, 77, 26, "&Connect", kStyleDefaultButton),
    Button(kDownloadButton, 91, 28, 79, 26, "Down&load"),
    Button(kDeleteButton, 176, 28, 78, 26, "D&elete"),
    Button(kResetButton, 258, 28, 77, 26, "&Reset"),
    Button(kDisconnectButton, 341, 28, 78, 26, "&Disconnect", kStyleDisabled),
    Button(kCloseButton, 424, 28, 40, 26, "Close"),
    Button(kComposeButton, 7, 236, 75, 25, "C&ompose"),
    Button(kReplyToButton, 87, 236, 74, 25, "Reply &To"),
    Button(kForwardButton, 170, 236, 76, 25, "&Forward"),
    ListView(kHeaderList, 7, 70, 457, 104, kStyleReportView),
    Edit(kPreviewPane, 7, 177, 457, 51, kStyleReadOnly | kStyleMultiLine),
    DropDown(kAccountSelector, 341, 7, 123, 119),
    DropDown(kFolderSelector, 150, 7, 85, 66),
    Label(kFolderLabel, 119, 11, 26, 8, "Folder:", kStyleRightAligned),
    Label(kAccountLabel, 273, 10, 62, 8, "Active account:", kStyleRightAligned),
    Edit(kStatusLine, 7, 266, 267, 12, kStyleReadOnly),
    ProgressBar(kProgressBar, 280, 265, 184, 10),
    Label(kWebLink, 7, 11, 103, 8, "", kStyleNotify),
    Button(kAboutButton, 31, 7, 11, 12, "About...", kStyleHidden),
  }};
}

DialogTemplate SendWindow() {
  return {kDialogSend, "Send Mail", 386, 281, kSizableWindow, {
    Label(kSendIdentityLabel, 7, 11, 33, 8, "Identity:"),
    DropDown(kSendIdentitySelector, 44, 7, 313, 57),
    Label(kSendToLabel, 7, 36, 33, 8, "To:"),
    Edit(kSendToField, 44, 30, 313, 14),
    Button(kSendToAddressButton, 361, 30, 15, 14, "..."),
    Label(kSendCcLabel, 7, 56, 33, 8, "cc:"),
    Edit(kSendCcField, 44, 49, 109, 14),
    Button(kSendCcAddressButton, 159, 49, 12, 14, "..."),
    Label(kSendBccLabel, 234, 56, 15, 8, "bcc:"),
    Edit(kSendBccField, 254, 49, 103, 14),
    Button(kSendBccAddressButton, 361, 49, 15, 14, "..."),
    Label(kSendAttachLabel, 7, 75, 33, 8, "Attach:"),
    Edit(kSendAttachField, 44, 69, 313, 14),
    Button(kSendAttachButton, 361, 69, 15, 14, "..."),
    Label(kSendSubjectLabel, 7, 96, 33, 8, "Subject:"),
    Edit(kSendSubjectField, 44, 90, 232, 14),
    Label(kSendPriorityLabel, 280, 96, 26, 8, "Prio:", kStyleRightAligned),
    DropDown(kSendPrioritySelector, 310, 91, 66, 46),  // room for "Normal" beside the toolkit's arrow
    RichEdit(kSendMessageText, 7, 113, 369, 134, kStyleMultiLine),
    Button(kSendButton, 7, 254, 58, 20, "&Send"),
    Button(kSendNewButton, 73, 254, 56, 20, "&New"),
    Button(kSendPrintButton, 137, 254, 57, 20, "&Print", kStyleDisabled),
    Button(kSendCloseButton, 318, 254, 58, 20, "&Close"),
  }};
}

DialogTemplate OpenAttachment() {
  return {kDialogOpenAttachment, "Open Attachment", 266, 149, kDialogPlain, {
    Button(kIdOk, 209, 103, 50, 19, "OK", kStyleDefaultButton),
    Button(kIdCancel, 209, 122, 50, 20, "Cancel"),
    ListView(kAttachmentFileList, 7, 7, 252, 93, kStyleSingleSelection),
    Edit(kAttachmentNameField, 7, 106, 198, 12),
    Edit(kAttachmentSpareField, 7, 124, 198, 12),
  }};
}

DialogTemplate FileView() {
  return {kDialogFileView, "", 404, 249, kSizableWindow, {
    RichEdit(kFileViewText, 7, 7, 382, 200, kStyleMultiLine),
    Button(kFileViewCloseButton, 329, 213, 60, 18, "&Close", kStyleDefaultButton),
    Button(kFileViewPrintButton, 7, 213, 60, 18, "&Print"),
    Label(kFileViewStatusLine, 7, 236, 382, 11, "", kStyleSunken),
    DropDown(kFileViewAttachmentSelector, 82, 216, 151, 64, kStyleSorted),
    Button(kFileViewOpenButton, 239, 213, 60, 18, "&Open"),
  }};
}

DialogTemplate InputBox() {
  return {kDialogInput, "Input", 186, 86, kDialogPlain, {
    Label(kInputPrompt, 7, 15, 172, 8, ""),
    Edit(kInputField, 7, 35, 172, 14),
    Button(kIdOk, 74, 59, 50, 20, "OK", kStyleDefaultButton),
    Button(kIdCancel, 129, 59, 50, 20, "Cancel"),
    CheckBox(kInputRememberBox, 7, 69, 62, 10, "Remember"),
  }};
}

// Labels at the left, fields beside them; port fields beside their hosts.
DialogTemplate AccountDialog() {
  return {kDialogAccount, "Accounts", 512, 234, kDialogPlain, {
    Label(kAccountFirstLabel + 0, 7, 9, 60, 8, "Account:"),
    DropDown(kAccountChoice, 70, 7, 180, 80),
    Label(kAccountFirstLabel + 1, 7, 28, 60, 8, "Name:"),
    Edit(kAccountNameField, 70, 26, 180, 13),
    Label(kAccountFirstLabel + 2, 7, 44, 60, 8, "Full name:"),
    Edit(kAccountFullNameField, 70, 42, 180, 13),
    Label(kAccountFirstLabel + 3, 7, 60, 60, 8, "Address:"),
    Edit(kAccountAddressField, 70, 58, 180, 13),
    Label(kAccountFirstLabel + 4, 7, 80, 60, 8, "POP3 server:"),
    Edit(kAccountPop3HostField, 70, 78, 110, 13),
    Label(kAccountFirstLabel + 5, 184, 80, 18, 8, "Port:"),
    Edit(kAccountPop3PortField, 204, 78, 46, 13),
    Label(kAccountFirstLabel + 6, 7, 96, 60, 8, "Security:"),
    DropDown(kAccountPop3SecurityChoice, 70, 94, 70, 60),
    Label(kAccountFirstLabel + 7, 7, 112, 60, 8, "Login:"),
    Edit(kAccountLoginField, 70, 110, 110, 13),
    Label(kAccountFirstLabel + 8, 7, 128, 60, 8, "Password:"),
    Edit(kAccountPasswordField, 70, 126, 110, 13, kStylePassword),
    CheckBox(kAccountRememberBox, 184, 127, 66, 10, "Re&member"),
    Label(kAccountFirstLabel + 9, 7, 148, 60, 8, "SMTP server:"),
    Edit(kAccountSmtpHostField, 70, 146, 110, 13),
    Label(kAccountFirstLabel + 10, 184, 148, 18, 8, "Port:"),
    Edit(kAccountSmtpPortField, 204, 146, 46, 13),
    Label(kAccountFirstLabel + 11, 7, 164, 60, 8, "Security:"),
    DropDown(kAccountSmtpSecurityChoice, 70, 162, 70, 60),
    Label(kAccountFirstLabel + 12, 7, 180, 60, 8, "Authentication:"),
    DropDown(kAccountAuthenticationChoice, 70, 178, 110, 80),
    Label(kAccountFirstLabel + 13, 262, 28, 60, 8, "POP3 sign-in:"),
    DropDown(kAccountPop3SignInChoice, 324, 26, 80, 40),
    Label(kAccountFirstLabel + 14, 262, 44, 60, 8, "OAuth provider:"),
    DropDown(kAccountOAuthProviderChoice, 324, 42, 80, 50),
    Label(kAccountFirstLabel + 15, 262, 60, 60, 8, "Client id:"),
    Edit(kAccountOAuthClientIdField, 324, 58, 181, 13),
    Label(kAccountFirstLabel + 16, 262, 80, 60, 8, "Client secret:"),
    Edit(kAccountOAuthClientSecretField, 324, 78, 181, 13),
    Label(kAccountFirstLabel + 17, 262, 96, 60, 8, "Authorize URL:"),
    Edit(kAccountOAuthAuthorizeUrlField, 324, 94, 181, 13),
    Label(kAccountFirstLabel + 18, 262, 112, 60, 8, "Token URL:"),
    Edit(kAccountOAuthTokenUrlField, 324, 110, 181, 13),
    Label(kAccountFirstLabel + 19, 262, 128, 60, 8, "Device URL:"),
    Edit(kAccountOAuthDeviceUrlField, 324, 126, 181, 13),
    Label(kAccountFirstLabel + 20, 262, 148, 60, 8, "Scopes:"),
    Edit(kAccountOAuthScopesField, 324, 146, 181, 13),
    Button(kAccountSignInButton, 324, 162, 70, 16, "Sign &in..."),
    Label(kAccountStatusLine, 7, 198, 498, 11, "", kStyleSunken),
    Button(kAccountTestButton, 7, 214, 50, 16, "&Test"),
    Button(kAccountRemoveButton, 62, 214, 50, 16, "Remo&ve"),
    Button(kIdOk, 400, 214, 50, 16, "&Save", kStyleDefaultButton),
    Button(kIdCancel, 455, 214, 50, 16, "&Close"),
  }};
}

// Not part of the product: one of each widget, for looking at them in a real window.
DialogTemplate Gallery() {
  return {kDialogGallery, "Larkspin widget gallery", 330, 230, kSizableWindow, {
    Label(kGalleryLink, 7, 7, 200, 8, "", kStyleNotify),
    ListView(kGalleryList, 7, 20, 316, 80, kStyleReportView),
    ProgressBar(kGalleryProgress, 7, 106, 316, 10),
    RichEdit(kGalleryRichText, 7, 122, 316, 76, kStyleMultiLine),
    Button(kGalleryInputButton, 7, 206, 70, 18, "&Input..."),
    Button(kIdCancel, 253, 206, 70, 18, "&Close"),
  }};
}

const std::array<DialogTemplate, 8>& AllTemplates() {
  static const std::array<DialogTemplate, 8> templates = {AboutBox(),   MainWindow(), SendWindow(), OpenAttachment(),
                                                          FileView(),   InputBox(),   Gallery(),    AccountDialog()};
  return templates;
}

}  // namespace

const DialogTemplate* FindDialogTemplate(int id) {
  for (const DialogTemplate& layout : AllTemplates())
    if (layout.id == id) return &layout;
  return nullptr;
}

}  // namespace larkspin
