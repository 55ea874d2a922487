#include "file_view/dlg_file_view.h"

#include <gtest/gtest.h>

#include "res/control_ids.h"
#include "res/resources.h"
#include "support/temp_folder.h"
#include "ui/control_state.h"
#include "ui/headless/headless_backend.h"

namespace larkspin {
namespace {

constexpr const char* kTwoAttachments =
    "From: Anna Berg <anna@example.org>\r\nSubject: Plans\r\n\r\nSee the plans.\r\n"
    "<<Attachments: zeta-plan.pdf,Agenda.txt,>>\r\n";

class FileViewTest : public ::testing::Test {
 protected:
  FileViewTest() {
    test_support::WriteFile(folder_.File("language.ini"),
                       "[Buttons]\nPrintRead=Print\nCloseRead=Close\nOpenAttach=Open\n");
    view_.SetOpener([this](const std::string& path) { opened_.push_back(path); });
  }

  // Sets a message up on the modeless view and shows it.
  CHeadlessWindow& ShowMessage(const std::string& name, const std::string& content, const std::string& folder) {
    if (!content.empty()) test_support::WriteFile(folder_.File(name), content);
    if (!view_.IsWindow()) EXPECT_TRUE(view_.Create());
    view_.SetFileName(folder_.File(name));
    view_.SetSender("Anna Berg");
    view_.SetSubject("Plans");
    view_.SetAttachmentFolder(folder);
    view_.ShowFile();
    return *backend_.WindowOf(view_);
  }
  std::vector<std::string> Entries(CHeadlessWindow& window) { return window.Control(kFileViewAttachmentSelector)->entries; }

  test_support::TempFolder folder_;
  test_support::ScopedWorkingDirectory here_{folder_.Path()};
  CHeadlessBackend backend_;
  CScopedUiBackend installed_{backend_};
  CDlgFileView view_{nullptr, CProfileStore(folder_.File("profile.ini"))};
  std::vector<std::string> opened_;
};

TEST_F(FileViewTest, AMessageWithTwoAttachmentsShowsItsTextSortedNamesAndOpensThemInTheAttachFolder) {
  test_support::WriteFile(folder_.File("config.ini"), "[Font]\nStyleView=DejaVu Sans\nSizeView=24\n");
  CHeadlessWindow& window = ShowMessage("msg1.txt", kTwoAttachments, "/w/mailbox1");
  EXPECT_EQ(window.Title(), "Message From:Anna Berg (Plans)");
  EXPECT_EQ(window.Text(kFileViewStatusLine), "Ready - Number of attachments: 2");
  EXPECT_EQ(Entries(window), (std::vector<std::string>{"Agenda.txt", "zeta-plan.pdf"}));
  EXPECT_EQ(window.Text(kFileViewAttachmentSelector), "Agenda.txt");
  EXPECT_EQ(view_.AttachmentCount(), 2);
  const std::vector<RichTextRun> runs = window.RichRuns(kFileViewText);
  ASSERT_FALSE(runs.empty());
  EXPECT_EQ(runs.front().face, "DejaVu Sans");
  EXPECT_EQ(runs.front().half_points, 24);
  EXPECT_NE(window.Text(kFileViewText).find("See the plans."), std::string::npos);
  EXPECT_TRUE(window.IsEnabled(kFileViewText));
  EXPECT_TRUE(window.Control(kFileViewText)->read_only);
  EXPECT_EQ(window.Control(kFileViewText)->background, Rgb(235, 235, 210));
  EXPECT_EQ(window.Text(kFileViewPrintButton), "Print");
  EXPECT_EQ(window.Icon(), kIconApplication);

  ASSERT_TRUE(window.ChooseEntry(kFileViewAttachmentSelector, 1));
  ASSERT_TRUE(window.Click(kFileViewOpenButton));
  EXPECT_EQ(opened_, (std::vector<std::string>{"/w/mailbox1/attach/zeta-plan.pdf"}));
  EXPECT_TRUE(backend_.MessageBoxes().empty());
}

TEST_F(FileViewTest, AnAttachmentNameOpensWithTheBytesTheMessageFileHolds) {
  const std::string utf8_name = "Angebot \xE2\x80\x93 B\xC3\xBCro M\xC3\xBCnchen \xE2\x84\x96" "7.pdf";
  const std::string ansi_name = "Gr\xFC\xDF" "e.txt";
  CHeadlessWindow& window = ShowMessage("msg2.txt", "Subject: Offer\r\n\r\nSee it.\r\n<<Attachments: " + ansi_name +
                                                        "," + utf8_name + ",>>\r\n", "/w/mailbox1");
  for (const int index : {0, 1}) {
    ASSERT_TRUE(window.ChooseEntry(kFileViewAttachmentSelector, index));
    ASSERT_TRUE(window.Click(kFileViewOpenButton));
  }
  EXPECT_EQ(opened_, (std::vector<std::string>{"/w/mailbox1/attach/" + utf8_name, "/w/mailbox1/attach/" + ansi_name}));
}

TEST_F(FileViewTest, WithoutAnAttachmentLineTheListIsEmptyAndOpenDoesNothing) {
  CHeadlessWindow& window = ShowMessage("plain.txt", "Subject: Hi\r\n\r\nJust text.\r\n", "/w/mailbox1");
  EXPECT_EQ(window.Text(kFileViewStatusLine), "Ready - Number of attachments: 0");
  EXPECT_TRUE(Entries(window).empty());
  EXPECT_EQ(window.Control(kFileViewAttachmentSelector)->selection, -1);
  ASSERT_TRUE(window.Click(kFileViewOpenButton));
  EXPECT_TRUE(opened_.empty());
  EXPECT_NE(window.Text(kFileViewText).find("Just text."), std::string::npos);
}

TEST_F(FileViewTest, ListedNamesThatLeaveTheAttachFolderAreRefusedWithAMessage) {
  CHeadlessWindow& window =
      ShowMessage("evil.txt", "body\r\n<<Attachments: ../../config.ini,/etc/passwd,ok.txt,>>\r\n", "/w/mailbox1");
  for (int entry = 0; entry < 2; ++entry) {
    ASSERT_TRUE(window.ChooseEntry(kFileViewAttachmentSelector, entry));
    ASSERT_TRUE(window.Click(kFileViewOpenButton));
  }
  EXPECT_TRUE(opened_.empty());
  ASSERT_EQ(backend_.MessageBoxes().size(), 2u);
  EXPECT_NE(backend_.MessageBoxes()[0].text.find("'../../config.ini' does not name a file"), std::string::npos);
  ASSERT_TRUE(window.ChooseEntry(kFileViewAttachmentSelector, 2));
  ASSERT_TRUE(window.Click(kFileViewOpenButton));
  EXPECT_EQ(opened_, (std::vector<std::string>{"/w/mailbox1/attach/ok.txt"}));
}

TEST_F(FileViewTest, ASentCopyOpensItsAttachmentsByThePathsAsTyped) {
  CHeadlessWindow& window = ShowMessage("sent.txt", "body\r\n<<Attachments: /home/anna/minutes.pdf,>>\r\n", "");
  ASSERT_TRUE(window.Click(kFileViewOpenButton));
  EXPECT_EQ(opened_, (std::vector<std::string>{"/home/anna/minutes.pdf"}));
}

TEST_F(FileViewTest, AFileLongerThanTheTextLimitIsCutTenBytesBelowIt) {
  const std::string content(70000, 'x');
  CHeadlessWindow& window = ShowMessage("long.txt", content, "");
  EXPECT_EQ(window.Control(kFileViewText)->text_limit, 65536);
  EXPECT_EQ(window.Text(kFileViewText).size(), 65526u);
  EXPECT_TRUE(backend_.MessageBoxes().empty());
}

TEST_F(FileViewTest, AMissingFileGivesItsBoxAnEmptyViewAndStillTheCaption) {
  ShowMessage("first.txt", kTwoAttachments, "/w/mailbox1");
  view_.SetSender("Bert");
  CHeadlessWindow& window = ShowMessage("gone.txt", "", "/w/mailbox1");
  ASSERT_EQ(backend_.MessageBoxes().size(), 1u);
  EXPECT_EQ(backend_.MessageBoxes()[0].text, "Could not open file for reading: " + folder_.File("gone.txt"));
  EXPECT_EQ(window.Text(kFileViewText), "");
  EXPECT_TRUE(Entries(window).empty());
  EXPECT_EQ(window.Title(), "Message From:Anna Berg (Plans)");
  EXPECT_EQ(window.Text(kFileViewStatusLine), "Ready - Number of attachments: 0");
}

TEST_F(FileViewTest, WithoutAFileNameNothingIsLoaded) {
  ASSERT_TRUE(view_.Create());
  view_.ShowWindow(true);
  ASSERT_EQ(backend_.MessageBoxes().size(), 1u);
  EXPECT_EQ(backend_.MessageBoxes()[0].text, "CDlgFileView: Filename not properly set");
  EXPECT_EQ(backend_.WindowOf(view_)->Title(), "");
}

TEST_F(FileViewTest, CloseHidesTheReusedViewAndTheNextMessageShowsOnlyItsOwnTextAndAttachments) {
  CHeadlessWindow& window = ShowMessage("msg1.txt", kTwoAttachments, "/w/mailbox1");
  ASSERT_TRUE(window.Click(kFileViewCloseButton));
  EXPECT_FALSE(window.IsShown());
  ShowMessage("msg2.txt", "Second message.\r\n<<Attachments: only.doc,>>\r\n", "/w/mailbox1");
  EXPECT_TRUE(window.IsShown());
  EXPECT_EQ(window.Text(kFileViewText).find("See the plans."), std::string::npos);
  EXPECT_NE(window.Text(kFileViewText).find("Second message."), std::string::npos);
  EXPECT_EQ(Entries(window), (std::vector<std::string>{"only.doc"}));

  ShowMessage("msg3.txt", "Third, shown while the view is open.\r\n", "/w/mailbox1");
  EXPECT_EQ(window.Text(kFileViewText).find("Second message."), std::string::npos);
  EXPECT_TRUE(Entries(window).empty());
}

TEST_F(FileViewTest, PrintSendsTheFileToThePrinterAndTellsAPrinterError) {
  CHeadlessWindow& window = ShowMessage("msg1.txt", kTwoAttachments, "");
  CHeadlessPrinter printer({2000, 2000}, 10, 10, 300);
  backend_.QueuePrinter(&printer);
  ASSERT_TRUE(window.Click(kFileViewPrintButton));
  ASSERT_EQ(printer.Pages().size(), 1u);
  EXPECT_EQ(printer.Pages()[0][0].text, folder_.File("msg1.txt"));
  EXPECT_EQ(window.Text(kFileViewStatusLine), "Printing...done");

  backend_.QueuePrintFailure();
  ASSERT_TRUE(window.Click(kFileViewPrintButton));
  EXPECT_EQ(window.Text(kFileViewStatusLine), "Printing...failed");
  ASSERT_EQ(backend_.MessageBoxes().size(), 1u);
  EXPECT_NE(backend_.MessageBoxes()[0].text.find("printer reported an error"), std::string::npos);
}

TEST_F(FileViewTest, MissingLanguageTextsShowThePlaceholderAndTheModalUseEndsWithClose) {
  test_support::WriteFile(folder_.File("language.ini"), "");
  test_support::WriteFile(folder_.File("disclaimer.txt"), "Use at your own risk.\r\n");
  CDlgFileView modal;
  modal.SetFileName("disclaimer.txt");
  modal.SetSender("Larkspin");
  modal.SetSubject("Disclaimer");
  backend_.QueueModalScript([](CHeadlessWindow& window) {
    EXPECT_EQ(window.Title(), "Message From:Larkspin (Disclaimer)");
    EXPECT_EQ(window.Text(kFileViewCloseButton), "n/a");
    EXPECT_EQ(window.Text(kFileViewText), "Use at your own risk.\r\n");
    window.Click(kFileViewCloseButton);
  });
  EXPECT_EQ(modal.DoModal(), kIdOk);
}

}  // namespace
}  // namespace larkspin
