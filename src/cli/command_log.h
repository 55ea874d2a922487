#pragma once
// The command line's log: larkspin.log of the working directory, as the window keeps it.
namespace larkspin {

// Opens the log; one that cannot be opened is said on standard error ("Couldn't open LogFile.",
// the window's box text), and the command goes on without it.
void OpenCommandLog();

}  // namespace larkspin
