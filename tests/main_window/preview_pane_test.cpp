// The preview pane: the selected row's first lines fetched with TOP over the open connection,
// hidden by View > Preview (the list then takes its room), empty while the screen is locked.
#include <gmock/gmock.h>

#include "main_window/main_window_fixture.h"
#include "res/resources.h"
#include "support/fake_pop3_server.h"

namespace larkspin::test_support {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

constexpr const char* kMessage =
    "From: Anna <anna@example.org>\r\nTo: bob@example.org\r\nSubject: Plan\r\nDate: Mon, 2 Mar 2026 10:00:00 +0100\r\n"
    "MIME-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=\"b\"\r\n\r\n"
    "--b\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n"
    "Gr=C3=BC=C3=9Fe, the plan is attached.\r\n"
    "--b\r\nContent-Type: application/pdf; name=\"plan.pdf\"\r\nContent-Transfer-Encoding: base64\r\n\r\nJVBERi0=\r\n--b--\r\n";

class PreviewPaneTest : public MainWindowTest {
 protected:
  PreviewPaneTest() {
    server_.ServeMailbox({kMessage});
    server_.On("TOP 1 40", Reply("+OK\r\n" + std::string(kMessage) + ".\r\n"));
    Profile().WriteInt(kMainWindowSection, "preview", 1);
    WriteConfig("PeekTime=0\r\n", {"Home"}, AccountSection(1, server_.Port()));
  }
  std::string Pane() { return Window().Text(kPreviewPane); }
  FakePop3Server server_;
};

TEST_F(PreviewPaneTest, ASelectedRowShowsItsFirstLinesAndTheLockAndTheMenuHideThem) {
  ASSERT_TRUE(Open());
  ASSERT_TRUE(PeekByConnect());
  SelectRows({0});
  EXPECT_THAT(server_.ReceivedLines(), Contains("TOP 1 40"));
  EXPECT_THAT(Pane(), HasSubstr("Grüße, the plan is attached."));
  EXPECT_THAT(Pane(), HasSubstr("[plan.pdf, application/pdf]"));

  ASSERT_TRUE(Window().ChooseMenuItem(kCommandLockScreen));
  EXPECT_FALSE(Window().IsControlShown(kPreviewPane));
  EXPECT_EQ(Pane(), "");
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandLockScreen));
  EXPECT_TRUE(Window().IsControlShown(kPreviewPane));

  const Rect pane = Window().Control(kPreviewPane)->rect;
  ASSERT_TRUE(Window().ChooseMenuItem(kCommandPreview));
  EXPECT_FALSE(Window().IsControlShown(kPreviewPane));
  EXPECT_EQ(Window().Control(kHeaderList)->rect.bottom, pane.bottom);
  EXPECT_EQ(Profile().GetInt(kMainWindowSection, "preview", -1), 0);
}

}  // namespace
}  // namespace larkspin::test_support
