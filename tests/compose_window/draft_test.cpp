// Drafts in the compose window: the question at Close and its three answers, when it is not
// asked, a draft opened again, and a draft that is sent.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/message_box.h"
#include "compose/draft_file.h"
#include "compose_window/compose_window_fixture.h"
#include "res/control_ids.h"

namespace larkspin::test_support {
namespace {

const char* const kQuestion = "Save this message as a draft?";

std::vector<std::string> Drafts(const TempFolder& folder) {
  std::vector<std::string> paths;
  for (const auto& entry : std::filesystem::directory_iterator(folder.File("mailbox1/drafts")))
    paths.push_back(entry.path().string());
  return paths;
}

void TypeMessage(CHeadlessWindow& window) {
  window.Type(kSendToField, "bob@example.org, carl@example.org");
  window.Type(kSendCcField, "cc@example.org");
  window.Type(kSendBccField, "bcc@example.org");
  window.Type(kSendSubjectField, "Plans");
  window.Type(kSendMessageText, "Typed text\r\n");
  window.Type(kSendAttachField, "a.txt,b.txt");
}

using DraftTest = ComposeWindowTest;

TEST_F(DraftTest, TheQuestionAtCloseSavesAndClosesDiscardsAndClosesOrGoesBackToTheWindow) {
  const struct {
    const char* name;
    int answer;
    bool by_escape;
    bool closes;
    size_t drafts;
  } cases[] = {
      {"Yes at Close", kButtonYes, false, true, 1},
      {"Yes at Escape", kButtonYes, true, true, 1},
      {"No", kButtonNo, false, true, 0},
      {"Cancel", kButtonCancel, true, false, 0},
  };
  for (const auto& c : cases) {
    const size_t boxes_before = backend_.MessageBoxes().size();
    Compose([&](CHeadlessWindow& window) {
      TypeMessage(window);
      window.SetFocus(kSendSubjectField);
      backend_.QueueMessageBoxAnswer(c.answer);
      c.by_escape ? window.PressEscape() : window.Click(kSendCloseButton);
      EXPECT_EQ(window.HasEnded(), c.closes) << c.name;
      if (window.HasEnded()) return;
      EXPECT_EQ(window.FocusedControl(), kSendSubjectField) << c.name;
      EXPECT_EQ(window.Text(kSendToField), "bob@example.org, carl@example.org") << c.name;
      EXPECT_EQ(window.Text(kSendMessageText), "Typed text\r\n") << c.name;
      EXPECT_EQ(window.Text(kSendAttachField), "a.txt,b.txt") << c.name;
      backend_.QueueMessageBoxAnswer(kButtonNo);
    });
    ASSERT_GT(backend_.MessageBoxes().size(), boxes_before) << c.name;
    const ShownMessageBox& box = backend_.MessageBoxes()[boxes_before];
    EXPECT_EQ(box.text, kQuestion) << c.name;
    EXPECT_EQ(box.style, unsigned{kBoxYesNoCancel | kBoxIconQuestion}) << c.name;
    const std::vector<std::string> drafts = Drafts(folder_);
    ASSERT_EQ(drafts.size(), c.drafts) << c.name;
    for (const std::string& path : drafts) {
      const ComposedMail saved = ReadDraft(ReadFile(path));
      EXPECT_EQ(saved.to, "bob@example.org, carl@example.org");
      EXPECT_EQ(saved.cc, "cc@example.org");
      EXPECT_EQ(saved.bcc, "bcc@example.org");
      EXPECT_EQ(saved.subject, "Plans");
      EXPECT_EQ(saved.text, "Typed text\r\n");
      EXPECT_EQ(saved.attachments, "a.txt,b.txt");
      std::filesystem::remove(path);
    }
  }
  EXPECT_EQ(server_.ReceivedData().size(), 0u);
}

TEST_F(DraftTest, AWindowAsItOpenedWasSentOrDiffersOnlyInPriorityAsksNothing) {
  const struct {
    const char* name;
    std::function<void(CHeadlessWindow&)> act;
    size_t boxes;  // the send's success box
  } cases[] = {
      {"untouched reply", [](CHeadlessWindow&) {}, 0},
      {"priority only", [](CHeadlessWindow& window) { window.ChooseEntry(kSendPrioritySelector, kPriorityHigh); }, 0},
      {"sent", [](CHeadlessWindow& window) { TypeMessage(window); window.Type(kSendAttachField, ""); window.Click(kSendButton); }, 1},
  };
  for (const auto& c : cases) {
    const size_t boxes_before = backend_.MessageBoxes().size();
    Compose(c.act, "bob@example.org", "RE: Plans", kComposeReply, "quoted text");
    EXPECT_EQ(backend_.MessageBoxes().size(), boxes_before + c.boxes) << c.name;
  }
  EXPECT_TRUE(Drafts(folder_).empty());
}

// A termination signal ends the program while the window is open: nobody can answer the
// question, so a changed message is kept as a draft and an unchanged one leaves none.
TEST_F(DraftTest, TheProgramsEndKeepsAChangedMessageAsADraftWithoutAsking) {
  for (const bool typed : {false, true}) {
    const size_t boxes_before = backend_.MessageBoxes().size();
    Compose([&](CHeadlessWindow& window) {
      if (typed) TypeMessage(window);
      window.Dialog().HandleProgramEnd();
      EXPECT_TRUE(window.HasEnded());
    });
    EXPECT_EQ(backend_.MessageBoxes().size(), boxes_before);
    ASSERT_EQ(Drafts(folder_).size(), typed ? 1u : 0u);
  }
  EXPECT_EQ(ReadDraft(ReadFile(Drafts(folder_)[0])).subject, "Plans");
}

TEST_F(DraftTest, AReopenedDraftShowsItsFieldsAsksNothingUnchangedAndIsOverwrittenWhenChanged) {
  Compose(TypeMessage);  // Yes, the default answer, saves it
  ASSERT_EQ(Drafts(folder_).size(), 1u);
  const std::string path = Drafts(folder_)[0];
  const size_t boxes = backend_.MessageBoxes().size();
  ComposeDraft(path, [](CHeadlessWindow& window) {
    EXPECT_EQ(window.Text(kSendToField), "bob@example.org, carl@example.org");
    EXPECT_EQ(window.Text(kSendCcField), "cc@example.org");
    EXPECT_EQ(window.Text(kSendBccField), "bcc@example.org");
    EXPECT_EQ(window.Text(kSendSubjectField), "Plans");
    EXPECT_EQ(window.Text(kSendMessageText), "Typed text\r\n");  // no signature, no colours
    EXPECT_EQ(window.Text(kSendAttachField), "a.txt,b.txt");
  });
  EXPECT_EQ(backend_.MessageBoxes().size(), boxes);
  ComposeDraft(path, [](CHeadlessWindow& window) { window.Type(kSendSubjectField, "Changed plans"); });
  EXPECT_EQ(backend_.MessageBoxes().size(), boxes + 1);
  EXPECT_EQ(Drafts(folder_), std::vector<std::string>{path});
  EXPECT_EQ(ReadDraft(ReadFile(path)).subject, "Changed plans");
}

TEST_F(DraftTest, ASentDraftIsRemovedAndItsWindowAsksNothingAtClose) {
  Compose([](CHeadlessWindow& window) {
    TypeMessage(window);
    window.Type(kSendAttachField, "");
  });
  ASSERT_EQ(Drafts(folder_).size(), 1u);
  const size_t boxes = backend_.MessageBoxes().size();
  ComposeDraft(Drafts(folder_)[0], [](CHeadlessWindow& window) { EXPECT_TRUE(window.Click(kSendButton)); });
  EXPECT_EQ(server_.ReceivedData().size(), 1u);
  EXPECT_EQ(backend_.MessageBoxes().size(), boxes + 1);  // the success box alone
  EXPECT_TRUE(Drafts(folder_).empty());
}

TEST_F(DraftTest, ADraftGivenAnotherIdentityMovesToThatAccountsDraftsFolder) {
  Compose(TypeMessage);
  ASSERT_EQ(Drafts(folder_).size(), 1u);
  host_.prompt.answers = {"walter", "pw"};
  ComposeDraft(Drafts(folder_)[0], [](CHeadlessWindow& window) { window.ChooseEntry(kSendIdentitySelector, 1); });
  EXPECT_TRUE(Drafts(folder_).empty());
  std::vector<std::string> moved;
  for (const auto& entry : std::filesystem::directory_iterator(folder_.File("mailbox2/drafts")))
    moved.push_back(entry.path().string());
  ASSERT_EQ(moved.size(), 1u);
  EXPECT_EQ(ReadDraft(ReadFile(moved[0])).subject, "Plans");
}

}  // namespace
}  // namespace larkspin::test_support
