#pragma once
// The main window's replaceable texts from language.ini: the menu, the buttons with their icons
// and tool tips, the column titles, and the first-use greeting chosen by the file's language.
#include <optional>
#include <string>
#include <vector>

#include "config/language_table.h"

namespace larkspin {

class CDialog;

// The hyperlink's text when language.ini has no "VisitLS".
inline constexpr const char* kDefaultVisitText = "Visit the Larkspin web site";
// The status line after a double-click on a message that is not stored while a peek runs.
inline constexpr const char* kOpenAfterPeekText = "The message can be opened when the peek has ended.";

struct MainWindowButton {
  int id;
  const char* key;  // caption in section "Buttons", tool tip in "Tooltips"
  int icon;         // 0: no icon
};

struct MainWindowColumn {
  const char* key;  // title in section "Headers"
  int default_width;
  int alignment;    // ListAlign
};

// The columns of the header list, in MainWindowColumns()'s order.
enum HeaderColumn : int { kFromColumn, kSubjectColumn, kDateColumn, kAccountColumn, kSizeColumn, kSignalsColumn };

// What the header list shows: the server's messages, the stored ones, the sent copies, or the
// drafts. The folder selector lists them in this order, by name.
// kDeleted lists deleted.log: what was deleted on the server, by hand or by rule.
enum class MailboxView { kOnline, kOffline, kSent, kDrafts, kDeleted };
inline constexpr MailboxView kMailboxViews[] = {MailboxView::kOnline, MailboxView::kOffline, MailboxView::kSent,
                                                MailboxView::kDrafts, MailboxView::kDeleted};

// The views filled from the account's files: every view but Online.
inline bool IsFolderView(MailboxView view) { return view != MailboxView::kOnline; }

// The view's name in the folder selector: "Online", "Offline", "Sent", "Drafts", "Deleted".
const char* MailboxViewName(MailboxView view);
// The view with that name; nullopt for any other text.
std::optional<MailboxView> MailboxViewNamed(const std::string& name);

// The nine command buttons in the order they are set up.
const std::vector<MainWindowButton>& MainWindowButtons();
// The columns of the header list: From, Subject, Date, Account, Size, and the screening's Signals
// (the rule that applies and the signals that hold).
const std::vector<MainWindowColumn>& MainWindowColumns();

// Replaces the menu bar's texts from section "Menu", in the table's order: top-level items by
// position, command items by id. Items keep their ids, submenus and check marks.
void ApplyMenuTexts(CDialog& window, const CLanguageTable& language);

// The string resource of the first-use greeting for the language ("en", "de", "es"; any other
// language gets the English one).
int GreetingStringId(const std::string& language);

}  // namespace larkspin
