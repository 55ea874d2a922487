// The compose window on the headless backend against the fake SMTP server: what Send hands the
// engine and what the user sees of it, the connection's life, identity, New and Attach.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/message_box.h"
#include "compose_window/compose_window_fixture.h"
#include "res/control_ids.h"
#include "support/temp_folder.h"

namespace larkspin::test_support {
namespace {

const char* const kNotFound = "The attached file was not found - Message not sent.";

std::vector<std::string> SentCopies(const TempFolder& folder) {
  std::vector<std::string> paths;
  for (const auto& entry : std::filesystem::directory_iterator(folder.File("mailbox1/sent")))
    paths.push_back(entry.path().string());
  return paths;
}

using DlgSendTest = ComposeWindowTest;

TEST_F(DlgSendTest, SendsToEveryAddressAndKeepsTheCopyWhileTheEditorKeepsItsUmlauts) {
  Compose([](CHeadlessWindow& window) {
    window.Type(kSendToField, "bob@example.org; carl@example.org");
    window.Type(kSendCcField, "Just A Name");
    window.Type(kSendSubjectField, "Gr\xFC\xDF" "e");
    window.Type(kSendMessageText, "Sch\xF6n\r\n");
    EXPECT_TRUE(window.Click(kSendButton));
    EXPECT_EQ(window.Text(kSendMessageText), "Sch\xF6n\r\n");
    EXPECT_EQ(window.Text(kSendSubjectField), "Gr\xFC\xDF" "e");
  });
  EXPECT_EQ(Envelope(), (std::vector<std::string>{"MAIL FROM:<anna@example.org>", "RCPT TO:<bob@example.org>",
                                                  "RCPT TO:<carl@example.org>", "DATA"}));
  const std::string data = server_.ReceivedData().at(0);
  EXPECT_NE(data.find("To: bob@example.org <bob@example.org>, carl@example.org <carl@example.org>\r\n"),
            std::string::npos);
  EXPECT_NE(data.find("Subject: Gruesse\r\n"), std::string::npos);
  EXPECT_NE(data.find("Schoen\r\n"), std::string::npos);
  EXPECT_EQ(MessageBoxTexts(), std::vector<std::string>{"Message 'Gruesse' successfully sent to "
                                                        "'bob@example.org,carl@example.org' via '127.0.0.1'."});
  EXPECT_EQ(backend_.MessageBoxes()[0].style, unsigned{kBoxIconInformation});
  EXPECT_EQ(backend_.ResponsiveRuns(), 1);
  EXPECT_EQ(backend_.WaitCursorShows(), 1);
  EXPECT_EQ(backend_.WaitCursorDepth(), 0);
  ASSERT_EQ(SentCopies(folder_).size(), 1u);
  EXPECT_TRUE(ReadFile(SentCopies(folder_)[0]).starts_with("To: bob@example.org, carl@example.org\r\nCc: JustAName\r\n"));
}

// In Modern mode the window reads what was typed as UTF-8 and hands the engine that encoding, so a
// subject and text outside Windows-1252 go out in UTF-8 and are shown whole in the success box.
TEST_F(DlgSendTest, InModernModeTypedTextOutsideWindows1252GoesOutInUtf8) {
  host_.encoding = TextEncoding::kUtf8;
  const std::string subject = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";  // Cyrillic "Privet"
  Compose([&](CHeadlessWindow& window) {
    window.Type(kSendToField, "bob@example.org");
    window.Type(kSendSubjectField, subject);
    window.Type(kSendMessageText, subject + "\r\n");
    EXPECT_TRUE(window.Click(kSendButton));
  });
  const std::string data = server_.ReceivedData().at(0);
  EXPECT_NE(data.find("Subject: =?utf-8?q?=D0=9F=D1=80"), std::string::npos) << data;
  EXPECT_NE(data.find("charset=utf-8"), std::string::npos) << data;
  ASSERT_EQ(MessageBoxTexts().size(), 1u);
  EXPECT_NE(MessageBoxTexts()[0].find("'" + subject + "'"), std::string::npos);
}

TEST_F(DlgSendTest, AttachmentsGoInTypedOrderAndAMissingFileOrFolderRefusesTheSendKeepingTheFields) {
  WriteFile(folder_.File("one.txt"), "first");
  WriteFile(folder_.File("two.txt"), "second");
  const std::string refused = "two.txt,gone.txt,one.txt," + folder_.Path();
  Compose([&](CHeadlessWindow& window) {
    window.Type(kSendToField, "bob@example.org");
    window.Type(kSendSubjectField, "Gr\xFC\xDF" "e");
    window.Type(kSendMessageText, "Sch\xF6n\r\n");
    window.Type(kSendAttachField, refused);
    window.Click(kSendButton);
    EXPECT_EQ(window.Text(kSendSubjectField), "Gr\xFC\xDF" "e");
    EXPECT_EQ(window.Text(kSendMessageText), "Sch\xF6n\r\n");
    EXPECT_EQ(window.Text(kSendAttachField), refused);
    window.Type(kSendAttachField, "two.txt,one.txt");
    window.Click(kSendButton);
  });
  EXPECT_EQ(MessageBoxTexts(), (std::vector<std::string>{std::string(kNotFound) + "\n\ngone.txt\n" + folder_.Path(),
                                                         "Message 'Gruesse' successfully sent to 'bob@example.org' "
                                                         "via '127.0.0.1'."}));
  ASSERT_EQ(server_.ReceivedData().size(), 1u);
  const std::string data = server_.ReceivedData().at(0);
  EXPECT_LT(data.find("filename=\"two.txt\""), data.find("filename=\"one.txt\""));
  ASSERT_EQ(SentCopies(folder_).size(), 1u);
}

// The window's refusals and failures: a box, never the success box; the log where designed. A
// message that was typed and not sent is offered as a draft at Close.
TEST_F(DlgSendTest, FailuresAreShownAsFailures) {
  struct Case {
    const char* name;
    std::string to;
    std::function<void()> arrange;
    std::vector<std::string> boxes;
    std::string logged;
    bool keeps_connection;
  };
  const std::vector<Case> cases = {
      {"empty To", "", [] {}, {"No recipient has been entered."}, "", false},
      {"CR LF in To", "bob@example.org\r\nRCPT TO:<eve@example.org>", [] {},
       {"Failed to send message.\n\nReason: A command was not sent because a value in it holds a line break."},
       "Failed to send the message.", true},
      {"refused recipient", "bob@example.org", [&] { server_.On("RCPT", Reply("550 no such user\r\n"), 1); },
       {"Failed to send message.\n\nReason: 550 no such user"}, "Failed to send the message.\n\nReason: 550 no such user\n\nCode: 550", true},
      {"refused greeting", "bob@example.org", [&] { server_.On("HELO", Reply("554 go away\r\n"), 1); },
       {"Failed to connect to SMTP server '127.0.0.1'.\n\nReason: 554 go away"},
       "Failed to connect to SMTP server '127.0.0.1'.", false},
  };
  const std::string draft_question = "Save this message as a draft?";
  for (Case test : cases) {
    SCOPED_TRACE(test.name);
    if (!test.to.empty()) test.boxes.push_back(draft_question);
    const size_t boxes_before = backend_.MessageBoxes().size();
    test.arrange();
    Compose([&](CHeadlessWindow& window) {
      window.Type(kSendToField, test.to);
      window.Click(kSendButton);
      if (test.to.empty()) EXPECT_EQ(window.FocusedControl(), kSendToField);
    });
    const std::vector<std::string> texts = MessageBoxTexts();
    EXPECT_EQ(std::vector<std::string>(texts.begin() + static_cast<long>(boxes_before), texts.end()), test.boxes);
    EXPECT_EQ(had_connection_, test.keeps_connection);
    if (!test.logged.empty()) EXPECT_NE(LogText().find(test.logged), std::string::npos);
  }
  const std::vector<std::string> envelope = Envelope();
  EXPECT_EQ(std::find(envelope.begin(), envelope.end(), "RCPT TO:<eve@example.org>"), envelope.end());
  EXPECT_FALSE(std::filesystem::exists(folder_.File("mailbox1/sent")) && !SentCopies(folder_).empty());
}

TEST_F(DlgSendTest, AFailedConnectDropsTheConnectionAndTheNextSendConnectsAnew) {
  server_.On("HELO", Reply("554 not now\r\n"), 1);
  Compose([&](CHeadlessWindow& window) {
    window.Type(kSendToField, "bob@example.org");
    window.Click(kSendButton);
    EXPECT_FALSE(static_cast<CDlgSend&>(window.Dialog()).HasConnection());
    window.Click(kSendButton);
  });
  EXPECT_EQ(server_.ConnectionCount(), 2);
  EXPECT_EQ(server_.ReceivedData().size(), 1u);
}

TEST_F(DlgSendTest, TheSuccessBoxShowsALongSubjectWhole) {
  const std::string subject(600, 's');
  Compose([&](CHeadlessWindow& window) {
    window.Type(kSendToField, "bob@example.org");
    window.Click(kSendButton);
  }, "", subject);
  EXPECT_EQ(MessageBoxTexts().at(0), "Message '" + subject + "' successfully sent to 'bob@example.org' via '127.0.0.1'.");
}

TEST_F(DlgSendTest, StartsWithTheCurrentIdentityAndChangesItAskingForAMissingLogin) {
  host_.prompt.answers = {"walter", "pw"};
  Compose([&](CHeadlessWindow& window) {
    EXPECT_EQ(window.Title(), "Sending Mail thru [Home @ 127.0.0.1]");
    EXPECT_EQ(window.Control(kSendIdentitySelector)->entries, (std::vector<std::string>{"Home", "Work"}));
    EXPECT_EQ(window.ComboSelection(kSendIdentitySelector), 0);
    EXPECT_TRUE(host_.prompt.captions.empty());
    window.ChooseEntry(kSendIdentitySelector, 1);
    EXPECT_EQ(host_.prompt.captions.size(), 2u);
    EXPECT_EQ(window.Title(), "Sending Mail thru [Work @ 127.0.0.1]");
    EXPECT_EQ(static_cast<CDlgSend&>(window.Dialog()).Identity().login, "walter");
  });
  EXPECT_EQ(host_.loads, (std::vector<int>{1, 2, 1}));  // open, change, and the main window's own at Close
}

TEST_F(DlgSendTest, FocusTextAndSignatureFollowTheOpener) {
  WriteFile(folder_.File("signature.txt"), "-- Anna");
  struct Case {
    ComposeMode mode;
    std::string subject;
    std::string initial_text;
    int focus;
    std::string blue_text;
  };
  for (const Case& test : std::vector<Case>{{kComposeNew, "", "", kSendToField, "-- Anna"},
                                            {kComposeReply, "RE: x", "quoted", kSendMessageText, "quoted"},
                                            {kComposeForward, "FWD: x", "", kSendToField, ""}}) {
    Compose([&](CHeadlessWindow& window) {
      EXPECT_EQ(window.FocusedControl(), test.focus);
      const HeadlessControl& editor = *window.Control(kSendMessageText);
      EXPECT_TRUE(editor.enabled && !editor.read_only);
      EXPECT_EQ(editor.background, Rgb(235, 235, 210));
      const std::vector<RichTextRun> runs = window.RichRuns(kSendMessageText);
      if (test.blue_text.empty()) {
        EXPECT_TRUE(runs.empty());
        return;
      }
      ASSERT_EQ(runs.size(), 2u);
      EXPECT_EQ(runs[0].text, "\r\n\r\n");
      EXPECT_EQ(runs[1].text, test.blue_text);
      EXPECT_EQ(runs[1].colour, Rgb(0, 0, 255));
      EXPECT_EQ(runs[1].face, "Arial");
    }, "", test.subject, test.mode, test.initial_text);
  }
}

// Modern holds the signature as UTF-8 whether the file is UTF-8 or an earlier Windows-1252 one;
// Classic keeps the file's bytes.
TEST_F(DlgSendTest, TheSignatureIsHeldInTheModesEncoding) {
  struct Case {
    TextEncoding encoding;
    std::string file;
    std::string held;
  };
  const std::string utf8 = "Gr\xC3\xBC\xC3\x9F" "e \xE2\x80\x93 \xD0\x9E\xD0\xBB\xD0\xB5\xD0\xBD\xD0\xB0";
  for (const Case& test : std::vector<Case>{{TextEncoding::kUtf8, utf8, utf8},
                                            {TextEncoding::kUtf8, "Gr\xFC\xDF" "e \x96", "Gr\xC3\xBC\xC3\x9F" "e \xE2\x80\x93"},
                                            {TextEncoding::kClassic, "Gr\xFC\xDF" "e \x96", "Gr\xFC\xDF" "e \x96"}}) {
    host_.encoding = test.encoding;
    WriteFile(folder_.File("signature.txt"), test.file);
    Compose([&](CHeadlessWindow& window) {
      const std::vector<RichTextRun> runs = window.RichRuns(kSendMessageText);
      ASSERT_EQ(runs.size(), 2u);
      EXPECT_EQ(runs[1].text, test.held);
    });
  }
}

TEST_F(DlgSendTest, NewClearsTheFieldsAndStartsAgainWithTheSignature) {
  Compose([](CHeadlessWindow& window) {
    for (const int id : {kSendToField, kSendCcField, kSendBccField, kSendSubjectField, kSendAttachField})
      window.Type(id, "something");
    window.ChooseEntry(kSendPrioritySelector, 0);
    window.Click(kSendNewButton);
    for (const int id : {kSendToField, kSendCcField, kSendBccField, kSendSubjectField, kSendAttachField})
      EXPECT_EQ(window.Text(id), "");
    EXPECT_EQ(window.Text(kSendMessageText), "\r\n\r\n  \r\n");  // no signature.txt: the placeholder
    EXPECT_EQ(window.ComboSelection(kSendPrioritySelector), 1);
    EXPECT_EQ(window.FocusedControl(), kSendToField);
  }, "", "subject");
}

TEST_F(DlgSendTest, AttachPutsTheChosenFileFirstAndCancelKeepsTheField) {
  backend_.QueueFileToOpen("/home/anna/new.pdf");
  backend_.QueueFileToOpen(std::nullopt);
  Compose([](CHeadlessWindow& window) {
    window.Type(kSendAttachField, "old.txt");
    window.Click(kSendAttachButton);
    EXPECT_EQ(window.Text(kSendAttachField), "/home/anna/new.pdf,old.txt");
    window.Click(kSendAttachButton);
    EXPECT_EQ(window.Text(kSendAttachField), "/home/anna/new.pdf,old.txt");
  });
}

}  // namespace
}  // namespace larkspin::test_support
