// The account dialog's OAuth fields and Sign in..., against a local token endpoint; the browser is
// the test, which comes back from the consent page as a browser would.
#include <unistd.h>

#include <gmock/gmock.h>

#include <mutex>

#include "account_dialog/dlg_account.h"
#include "common/message_box.h"
#include "config/oauth_access.h"
#include "config/oauth_token_store.h"
#include "res/control_ids.h"
#include "support/consent_browser.h"
#include "support/fake_http_server.h"
#include "support/temp_folder.h"
#include "ui/headless/headless_backend.h"

namespace larkspin {
namespace {

using test_support::FakeHttpServer;
using test_support::HttpAnswer;
using test_support::HttpExchange;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr std::chrono::seconds kPatience{10};

bool PortTakesConnections(int port) {
  const int connection = test_support::ConnectToLoopback(port);
  if (connection >= 0) ::close(connection);
  return connection >= 0;
}

class DlgAccountOAuthTest : public ::testing::Test {
 protected:
  void Configure(const std::string& account_keys) {
    test_support::WriteFile("config.ini", "[System]\r\nAccounts=1\r\n[Users]\r\nAccount1=Work\r\n[Account1]\r\n"
                                          "POP3Host=127.0.0.1\r\nMailAddress=anna@example.org\r\n" +
                                              account_keys);
  }
  void ConfigureOAuth(bool device_flow) {
    Configure("POP3Auth=OAuth2\r\nOAuthProvider=Custom\r\nOAuthClientId=larkspin-test\r\n"
              "OAuthAuthorizeURL=https://auth.example/authorize\r\nOAuthTokenURL=" + provider_.Url("/token") + "\r\n" +
              (device_flow ? "OAuthDeviceURL=" + provider_.Url("/device") + "\r\n" : std::string()));
  }
  std::string StatusOf(CHeadlessWindow& window) { return window.Text(kAccountStatusLine); }
  bool WaitForStatus(CHeadlessWindow& window, const std::string& start) {
    return backend_.RunUntil([&] { return StatusOf(window).starts_with(start); }, kPatience);
  }
  std::string ConsentUrl() {
    std::lock_guard lock(mutex_);
    return opened_.empty() ? std::string() : opened_.back();
  }

  test_support::TempFolder folder_;
  test_support::ScopedWorkingDirectory here_{folder_.Path()};
  CHeadlessBackend backend_;
  CScopedUiBackend installed_{backend_};
  std::mutex mutex_;
  std::vector<std::string> opened_;  // the pages the sign-in opened
  FakeHttpServer provider_{[](const HttpExchange& exchange) {
    if (exchange.path == "/device")
      return HttpAnswer{200, R"({"device_code":"dc","user_code":"WDJB-MJHT","verification_uri":"https://example.org/device","interval":1})"};
    const bool known = exchange.form.count("code") ? exchange.form.at("code") == "c0de" : true;
    if (!known) return HttpAnswer{400, R"({"error":"invalid_grant","error_description":"Bad code."})"};
    return HttpAnswer{200, R"({"access_token":"at","expires_in":3600,"refresh_token":"rt-of-the-dialog"})"};
  }};
};

TEST_F(DlgAccountOAuthTest, OnlyTheFieldsTheChosenSignInUsesAreEnabled) {
  Configure("");
  const struct {
    int pop3_sign_in;    // 0 Password, 1 OAuth 2.0
    int authentication;  // 0 None, 1 AUTH LOGIN, 4 OAuth 2.0
    int provider;        // 0 Google, 1 Microsoft, 2 Custom
    bool provider_fields;
    bool custom_fields;
    bool password;
  } cases[] = {
      {0, 0, 2, false, false, true}, {1, 0, 0, true, false, false}, {1, 1, 2, true, true, true},
      {0, 4, 1, true, false, true},  {1, 4, 2, true, true, false},
  };
  CDlgAccount dialog(nullptr, 1);
  backend_.QueueModalScript([&](CHeadlessWindow& window) {
    EXPECT_FALSE(window.Control(kAccountSignInButton)->enabled) << "a password account has nothing to sign in";
    for (const auto& c : cases) {
      window.ChooseEntry(kAccountPop3SignInChoice, c.pop3_sign_in);
      window.ChooseEntry(kAccountAuthenticationChoice, c.authentication);
      window.ChooseEntry(kAccountOAuthProviderChoice, c.provider);
      const std::string which = std::to_string(c.pop3_sign_in) + std::to_string(c.authentication) + std::to_string(c.provider);
      for (const int id : {kAccountOAuthProviderChoice, kAccountOAuthClientIdField, kAccountOAuthClientSecretField,
                           kAccountSignInButton})
        EXPECT_EQ(window.Control(id)->enabled, c.provider_fields) << which << " control " << id;
      for (const int id : {kAccountOAuthAuthorizeUrlField, kAccountOAuthTokenUrlField, kAccountOAuthDeviceUrlField,
                           kAccountOAuthScopesField})
        EXPECT_EQ(window.Control(id)->enabled, c.custom_fields) << which << " control " << id;
      EXPECT_EQ(window.Control(kAccountPasswordField)->enabled, c.password) << which;
      EXPECT_EQ(window.Control(kAccountRememberBox)->enabled, c.password) << which;
    }
  });
  backend_.QueueMessageBoxAnswer(kButtonNo);  // the unsaved changes at the end
  dialog.DoModal();
}

TEST_F(DlgAccountOAuthTest, TheOAuthKeysAreSavedWholeAndReadBackAndAPasswordAccountGetsNone) {
  Configure("");
  const std::string long_url = "https://auth.example/" + std::string(300, 't');
  const std::string long_scopes = "https://mail.example/pop " + std::string(200, 's') + " offline_access";
  const struct {
    const char* name;
    int pop3_sign_in;
    std::vector<std::pair<int, std::string>> typed;
    std::vector<std::string> file_has;
    std::vector<std::string> file_lacks;
  } cases[] = {
      {"Custom", 1,
       {{kAccountOAuthClientIdField, "id-" + std::string(150, 'i')}, {kAccountOAuthClientSecretField, "s3cret"},
        {kAccountOAuthAuthorizeUrlField, long_url}, {kAccountOAuthTokenUrlField, long_url + "/token"},
        {kAccountOAuthDeviceUrlField, long_url + "/device"}, {kAccountOAuthScopesField, long_scopes}},
       {"POP3Auth=OAuth2", "OAuthProvider=Custom", "OAuthTokenURL=" + long_url + "/token", "OAuthScopes=" + long_scopes},
       {}},
      {"Password", 0, {}, {"[Account2]\r\nFullName="}, {"POP3Auth", "OAuth"}},
  };
  for (const auto& c : cases) {
    Configure("");
    CDlgAccount dialog(nullptr, 2);
    backend_.QueueModalScript([&](CHeadlessWindow& window) {
      window.Type(kAccountNameField, c.name);
      window.Type(kAccountPop3HostField, "pop.example.org");
      window.ChooseEntry(kAccountPop3SignInChoice, c.pop3_sign_in);
      if (c.pop3_sign_in == 1) window.ChooseEntry(kAccountOAuthProviderChoice, 2);
      for (const auto& [id, text] : c.typed) window.Type(id, text);
      ASSERT_TRUE(window.Click(kIdOk));
      EXPECT_EQ(StatusOf(window), "Saved as account 2.");
      window.ChooseEntry(kAccountChoice, 0);
      window.ChooseEntry(kAccountChoice, 1);
      for (const auto& [id, text] : c.typed) EXPECT_EQ(window.Text(id), text) << c.name << " control " << id;
      EXPECT_EQ(window.Control(kAccountPop3SignInChoice)->selection, c.pop3_sign_in);
      window.PressEscape();
    });
    dialog.DoModal();
    const std::string file = test_support::ReadFile("config.ini");
    for (const std::string& part : c.file_has) EXPECT_THAT(file, HasSubstr(part)) << c.name;
    for (const std::string& part : c.file_lacks) EXPECT_THAT(file, Not(HasSubstr(part))) << c.name;
  }
}

TEST_F(DlgAccountOAuthTest, SignInRunsWhileTheDialogWorksAndStopsWhenPressedAgainOrClosed) {
  enum class Ending { kBrowserComesBack, kPressAgain, kClose };
  const struct {
    bool device_flow;
    Ending ending;
    const char* status;  // the status line's start at the end, or "" when the dialog closed
    const char* stored;  // the refresh token kept
  } cases[] = {
      {false, Ending::kBrowserComesBack, "Account 1 is signed in.", "rt-of-the-dialog"},
      {false, Ending::kPressAgain, "Sign-in stopped.", ""},
      {true, Ending::kBrowserComesBack, "Account 1 is signed in.", "rt-of-the-dialog"},
      {true, Ending::kClose, "", ""},
  };
  for (const auto& c : cases) {
    ConfigureOAuth(c.device_flow);
    ForgetAccessTokens();
    opened_.clear();
    CDlgAccount dialog(nullptr, 1);
    dialog.SetPageOpener([this](const std::string& url) {
      std::lock_guard lock(mutex_);
      opened_.push_back(url);
      return true;
    });
    backend_.QueueModalScript([&](CHeadlessWindow& window) {
      ASSERT_TRUE(window.Click(kAccountSignInButton));
      ASSERT_TRUE(WaitForStatus(window, c.device_flow ? "To sign in, enter the code WDJB-MJHT at https://example.org/device"
                                                      : "Waiting for the sign-in in the browser..."))
          << StatusOf(window);
      EXPECT_EQ(window.Text(kAccountSignInButton), "Stop sign-&in");
      window.Type(kAccountFullNameField, "Anna");  // the dialog works while the sign-in waits
      window.Type(kAccountFullNameField, "");
      const std::string consent_url = ConsentUrl();
      switch (c.ending) {
        case Ending::kBrowserComesBack:
          if (!c.device_flow) test_support::ComeBackFromConsent(consent_url, "code=c0de");
          EXPECT_TRUE(WaitForStatus(window, c.status)) << StatusOf(window);
          break;
        case Ending::kPressAgain:
          ASSERT_TRUE(window.Click(kAccountSignInButton));
          EXPECT_EQ(StatusOf(window), c.status);
          EXPECT_FALSE(PortTakesConnections(test_support::RedirectPortOf(consent_url))) << "the listener closed";
          break;
        case Ending::kClose:
          window.PressEscape();
          EXPECT_TRUE(window.HasEnded());
          return;
      }
      EXPECT_EQ(window.Text(kAccountSignInButton), "Sign &in...");
      window.PressEscape();
    });
    const auto start = std::chrono::steady_clock::now();
    dialog.DoModal();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << "nothing waited out its time";
    EXPECT_EQ(ReadRefreshToken("Account1").password, c.stored);
    if (c.device_flow) {
      EXPECT_EQ(ConsentUrl(), "https://example.org/device") << "the code's page opened";
    }
  }
}

TEST_F(DlgAccountOAuthTest, AnUnsavedAccountIsSavedBeforeItSignsIn) {
  ConfigureOAuth(false);
  const struct {
    int answer;
    bool started;
  } cases[] = {{kButtonNo, false}, {kButtonYes, true}};
  for (const auto& c : cases) {
    CDlgAccount dialog(nullptr, 1);
    dialog.SetPageOpener([](const std::string&) { return true; });
    backend_.QueueMessageBoxAnswer(c.answer);
    backend_.QueueModalScript([&](CHeadlessWindow& window) {
      window.Type(kAccountFullNameField, "Anna Changed");
      ASSERT_TRUE(window.Click(kAccountSignInButton));
      EXPECT_EQ(window.Text(kAccountSignInButton) == "Stop sign-&in", c.started);
      if (c.started) {
        EXPECT_TRUE(WaitForStatus(window, "Waiting for the sign-in")) << StatusOf(window);
      }
      window.PressEscape();
      if (!window.HasEnded()) window.PressEscape();
    });
    backend_.QueueMessageBoxAnswer(kButtonNo);  // closing with the change still unsaved
    dialog.DoModal();
    EXPECT_EQ(test_support::ReadFile("config.ini").find("Anna Changed") != std::string::npos, c.started);
  }
}

}  // namespace
}  // namespace larkspin
