#include "peek/mailbox_events.h"

#include "common/format.h"

namespace larkspin {

std::string ServerFailureText(const ServerFailure& failure) { return "Error " + failure.command + ": " + failure.reply; }

std::string LostConnectionText(const LostConnection& lost) {
  return FormatText("Connection to %s lost after %d of %d headers: %s", lost.host.c_str(), lost.listed, lost.count,
                    lost.reply.c_str());
}

std::string ConnectFailureText(const std::string& host, const std::string& reply) {
  return FormatText("Error connecting to %s: %s", host.c_str(), reply.c_str());
}

}  // namespace larkspin
