#pragma once
// The main window's log: larkspin.log of the working directory, opened at the start and again
// after the log was viewed or emptied.
namespace larkspin {

// Opens the log; one that cannot be opened is said in a box ("Couldn't open LogFile."). Whether
// it is open.
bool OpenLogOrShowFailure();

}  // namespace larkspin
