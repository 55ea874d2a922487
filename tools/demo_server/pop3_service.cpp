#include "demo_server/pop3_service.h"

#include "common/format.h"
#include "demo_server/pop3_session.h"

namespace larkspin::demo {

CPop3Service::CPop3Service(CDemoMailbox& mailbox, ActivityReport report)
    : mailbox_(mailbox), report_(std::move(report)) {}

bool CPop3Service::Start(int port, std::string& error) {
  return listener_.Start(port, [this](CLineConnection& connection) { Converse(connection); }, error);
}

void CPop3Service::Converse(CLineConnection& connection) {
  CPop3Session session(mailbox_, connection);
  session.Run();
  if (!report_ || !session.LoggedIn()) return;
  report_(FormatText("POP3: \"%s\" saw %zu messages and deleted %zu", PrintableText(session.Login()).c_str(),
                     session.MessageCountAtLogin(), session.DeletedAtQuit()));
}

}  // namespace larkspin::demo
