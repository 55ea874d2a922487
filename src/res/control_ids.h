#pragma once
// The control and command ids of the program's windows, one enum per window: the templates, the
// menu and the windows name them from here. The standard buttons OK (1) and Cancel (2) are the
// ui layer's kIdOk and kIdCancel. Names are unique across all windows.

namespace larkspin {

// The main window (template 102).
enum MainWindowControl : int {
  kConnectButton = 1000,
  kDeleteButton = 1001,
  kDisconnectButton = 1002,
  kHeaderList = 1003,
  kCloseButton = 1004,
  kStatusLine = 1005,
  kResetButton = 1007,
  kAccountSelector = 1008,
  kWebLink = 1010,
  kProgressBar = 1013,
  kAboutButton = 1014,
  kComposeButton = 1028,
  kReplyToButton = 1033,
  kForwardButton = 1041,
  kDownloadButton = 1046,
  kFolderSelector = 1048,
  kFolderLabel = 1049,
  kAccountLabel = 1060,
  kPreviewPane = 1070,  // the first lines of the selected message, fetched without downloading it
};

// The main window's menu (141) and the header list's pop-up menu. The Message menu's other
// commands are the ids of the buttons they stand for.
enum MainWindowCommand : int {
  kCommandMarkForDeletion = 101,
  kCommandResetMail = 102,
  kCommandMarkForDownload = 103,
  kCommandAddSender = 109,
  kCommandBlockSender = 110,
  kCommandBlockDomain = 111,
  kCommandAllowSender = 112,
  kCommandWhy = 113,
  kCommandExit = 32771,
  kCommandInfo = 32772,
  kCommandProperties = 32773,
  kCommandUnlockAccount = 32774,
  kCommandOffline = 32777,
  kCommandOnline = 32778,
  kCommandResetLogin = 32780,
  kCommandResetPassword = 32781,
  kCommandLockScreen = 32782,
  kCommandDownloadAll = 32783,
  kCommandAddressBook = 32784,
  kCommandSignature = 32785,
  kCommandLogfile = 32786,
  kCommandEmptyLogfile = 32787,
  kCommandSent = 32788,
  kCommandAttachments = 32789,
  kCommandDrafts = 32790,
  kCommandOpenMessage = 32791,
  kCommandAccounts = 32795,
  kCommandReloadSettings = 32796,
  kCommandRules = 32797,
  kCommandDeleted = 32798,
  kCommandPreview = 32799,
};

// The about box (template 100).
enum AboutBoxControl : int {
  kAboutWebLink = 1010,
  kAboutVersionLabel = 1011,
  kAboutDescriptionLabel = 1012,
  kAboutDisclaimerButton = 1015,
};

// The send window (template 142). The "..." buttons beside To, cc and bcc open the address menu.
enum SendWindowControl : int {
  kSendBccLabel = 1017,
  kSendToField = 1025,
  kSendCcField = 1026,
  kSendMessageText = 1027,
  kSendButton = 1029,
  kSendSubjectField = 1030,
  kSendCloseButton = 1031,
  kSendNewButton = 1032,
  kSendPrintButton = 1035,
  kSendToAddressButton = 1038,
  kSendCcAddressButton = 1039,
  kSendAttachField = 1043,
  kSendAttachButton = 1044,
  kSendBccField = 1051,
  kSendBccAddressButton = 1052,
  kSendIdentitySelector = 1059,
  kSendIdentityLabel = 1061,
  kSendToLabel = 1062,
  kSendCcLabel = 1063,
  kSendAttachLabel = 1064,
  kSendSubjectLabel = 1065,
  kSendPriorityLabel = 1066,
  kSendPrioritySelector = 1067,
};

// The open-attachment dialog (template 164).
enum OpenAttachmentControl : int {
  kAttachmentFileList = 1054,
  kAttachmentNameField = 1055,
  kAttachmentSpareField = 1056,  // nothing reads or fills it
};

// The file view (template 10101).
enum FileViewControl : int {
  kFileViewText = 1024,
  kFileViewAttachmentSelector = 1057,
  kFileViewOpenButton = 1058,
  kFileViewCloseButton = 11000,
  kFileViewPrintButton = 11002,
  kFileViewStatusLine = 11003,
};

// The input box (template 10102).
enum InputBoxControl : int {
  kInputRememberBox = 1047,
  kInputField = 11004,
  kInputPrompt = 11005,
};

// The account dialog (template 170). OK is its Save button, Cancel its Close button.
enum AccountDialogControl : int {
  kAccountChoice = 1200,
  kAccountNameField = 1201,
  kAccountFullNameField = 1202,
  kAccountAddressField = 1203,
  kAccountPop3HostField = 1204,
  kAccountPop3PortField = 1205,
  kAccountPop3SecurityChoice = 1206,
  kAccountLoginField = 1207,
  kAccountPasswordField = 1208,
  kAccountRememberBox = 1209,
  kAccountSmtpHostField = 1210,
  kAccountSmtpPortField = 1211,
  kAccountSmtpSecurityChoice = 1212,
  kAccountAuthenticationChoice = 1213,
  kAccountStatusLine = 1214,
  kAccountTestButton = 1215,
  kAccountRemoveButton = 1216,
  kAccountPop3SignInChoice = 1217,
  kAccountOAuthProviderChoice = 1218,
  kAccountOAuthClientIdField = 1219,
  kAccountOAuthClientSecretField = 1220,
  kAccountOAuthAuthorizeUrlField = 1221,
  kAccountOAuthTokenUrlField = 1222,
  kAccountOAuthDeviceUrlField = 1223,
  kAccountOAuthScopesField = 1224,
  kAccountSignInButton = 1225,
  kAccountFirstLabel = 1230,  // the labels beside the fields take the ids from here on
};

// The widget gallery (template 20000), not part of the product.
enum GalleryControl : int {
  kGalleryInputButton = 20001,
  kGalleryList = 20003,
  kGalleryLink = 20010,
  kGalleryProgress = 20013,
  kGalleryRichText = 20024,
};

}  // namespace larkspin
