#pragma once
// Which accounts a command-line peek visits ("--account N", "--all", or the window's selection),
// and the plan of such a peek.
#include <vector>

#include "cli/command_line.h"
#include "config/input_prompt.h"
#include "peek/mailbox_session.h"

namespace larkspin {

struct PeekScopeChoice {
  std::vector<int> accounts;  // empty when config.ini has none
  bool all_accounts = false;
};

// No arguments: the entry the window's account selector stands on; "--all"; "--account N".
// False for anything else.
bool ParsePeekScope(const CommandArguments& arguments, PeekScopeChoice& choice);

// The command line's peek of account_number (or of every account): the headers only, without a
// wait, a question, a mark carried out or a download; new mail is counted, so no seen-ids file is
// read or written. UIDL is asked only with ask_unique_ids.
PeekPlan CommandLinePlan(int account_number, bool all_accounts, CInputPrompt& no_prompt, bool ask_unique_ids);

}  // namespace larkspin
