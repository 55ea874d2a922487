#pragma once
// "larkspin sign-in --account N": signs an OAuth account in and stores its refresh token.
#include "cli/command_line.h"

namespace larkspin {

// The device flow where the provider has one (Microsoft, Custom with OAuthDeviceURL): the code
// and the page are printed and the provider is polled; otherwise the loopback flow, with the
// consent page opened by xdg-open (its address printed too). 0 when signed in, 1 when not (the
// reason on standard error), 2 for wrong arguments.
int RunSignInCommand(const CommandArguments& arguments);

}  // namespace larkspin
