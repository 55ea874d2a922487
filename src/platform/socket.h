#pragma once
// Thin POSIX stream-socket calls shared by the POP3 and SMTP links: IPv4 connect by dotted
// address or host name, whole sends that never raise SIGPIPE, and time-limited readiness waits.
#include <cstddef>
#include <string>
#include <sys/types.h>

namespace larkspin {

constexpr int kInvalidSocket = -1;

// A new IPv4 TCP socket, or kInvalidSocket.
int CreateStreamSocket();

// Binds the socket to a local address (dotted IPv4 first, else resolved by name) and port 0
// before connecting. False when the address cannot be resolved (last error
// kErrorInvalidArgument) or the bind fails.
bool BindStreamSocket(int socket, const std::string& local_address);

// Connects to host (dotted IPv4 first, else resolved by name, first address) and port. On
// failure returns false and describes the cause in error_text; an unresolvable host also sets
// the last error to kErrorInvalidArgument.
bool ConnectStreamSocket(int socket, const std::string& host, int port, std::string& error_text);

// Sends every byte, repeating short sends; false on the first error. A closed peer never
// raises SIGPIPE.
// Sends each write at once instead of holding it back to join later ones (Nagle's algorithm):
// a command sent ahead of earlier replies must not wait for the acknowledgement of the one before.
void SendAtOnce(int socket);
bool SendAll(int socket, const char* data, size_t length);

enum class WaitResult { kReadable, kTimedOut, kFailed };
// Waits until the socket has data (or the peer closed) for at most timeout_ms.
WaitResult WaitForReadable(int socket, unsigned timeout_ms);

// One receive call: the count, 0 when the peer closed, negative on error.
ssize_t ReceiveSome(int socket, char* buffer, size_t size);

void CloseSocket(int& socket);

}  // namespace larkspin
