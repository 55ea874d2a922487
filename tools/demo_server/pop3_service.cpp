#include "demo_server/pop3_service.h"

#include "common/format.h"
#include "demo_server/pop3_session.h"

namespace larkspin::demo {

namespace {
// A login as typed by a client, safe to print on a terminal.
std::string Printable(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return text;
}
}  // namespace

CPop3Service::CPop3Service(CDemoMailbox& mailbox, ActivityReport report)
    : mailbox_(mailbox), report_(std::move(report)) {}

bool CPop3Service::Start(int port, std::string& error) {
  return listener_.Start(port, [this](CLineConnection& connection) { Converse(connection); }, error);
}

void CPop3Service::Converse(CLineConnection& connection) {
  CPop3Session session(mailbox_, connection);
  session.Run();
  if (!report_ || !session.LoggedIn()) return;
  report_(FormatText("POP3: \"%s\" saw %zu messages and deleted %zu", Printable(session.Login()).c_str(),
                     session.MessageCountAtLogin(), session.DeletedAtQuit()));
}

}  // namespace larkspin::demo
