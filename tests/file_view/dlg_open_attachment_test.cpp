#include "file_view/dlg_open_attachment.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "res/control_ids.h"
#include "res/resources.h"
#include "support/temp_folder.h"
#include "ui/headless/headless_backend.h"

namespace larkspin {
namespace {

class OpenAttachmentTest : public ::testing::Test {
 protected:
  OpenAttachmentTest() {
    mkdir(attach_.c_str(), 0755);
    test_support::WriteFile(attach_ + "/b.pdf", "b");
    test_support::WriteFile(attach_ + "/a.png", "a");
    mkdir((attach_ + "/sub").c_str(), 0755);
  }
  // Runs the picker on the attach folder with script; answers how it ended.
  int Run(CHeadlessBackend::ModalScript script) {
    backend_.QueueModalScript(std::move(script));
    return picker_.DoModal();
  }
  static std::vector<std::string> Names(CHeadlessWindow& window) {
    std::vector<std::string> names;
    for (const ListRow& row : window.List(kAttachmentFileList)->Rows()) names.push_back(row.texts.at(0));
    std::sort(names.begin(), names.end());
    return names;
  }

  test_support::TempFolder folder_;
  std::string attach_ = folder_.File("attach");
  CHeadlessBackend backend_;
  CScopedUiBackend installed_{backend_};
  CDlgOpenAttachment picker_{attach_, "*", kIconAttachment};
};

TEST_F(OpenAttachmentTest, FilesAreListedWithTheIconAndOkWaitsForAName) {
  EXPECT_EQ(Run([](CHeadlessWindow& window) {
              EXPECT_EQ(window.Title(), "Open attachment");
              EXPECT_EQ(Names(window), (std::vector<std::string>{"a.png", "b.pdf"})) << "the sub-folder is not listed";
              CListModel& list = *window.List(kAttachmentFileList);
              EXPECT_EQ(list.ImageList(), std::vector<int>{kIconAttachment});
              for (const ListRow& row : list.Rows()) EXPECT_EQ(row.image, 0);
              EXPECT_FALSE(window.Click(kIdOk)) << "OK is disabled";
              window.Type(kAttachmentNameField, "x");
              EXPECT_TRUE(window.IsEnabled(kIdOk));
              window.Type(kAttachmentNameField, "");
              EXPECT_FALSE(window.IsEnabled(kIdOk)) << "clearing the field disables OK again";
            }),
            kIdCancel);
}

TEST_F(OpenAttachmentTest, ATypedNameGetsTheExtensionAndAPickedOneStaysAsItIs) {
  EXPECT_EQ(Run([](CHeadlessWindow& window) {
              window.Type(kAttachmentNameField, "notes");
              window.Click(kIdOk);
            }),
            kIdOk);
  EXPECT_EQ(picker_.Result(), "notes.*");
  EXPECT_EQ(picker_.GetPath(), attach_ + "/notes.*");

  std::string clicked;
  EXPECT_EQ(Run([&](CHeadlessWindow& window) {
              window.SelectRows(kAttachmentFileList, {1});
              clicked = window.Text(kAttachmentNameField);
              EXPECT_TRUE(window.IsEnabled(kIdOk));
              window.Click(kIdOk);
            }),
            kIdOk);
  EXPECT_EQ(picker_.Result(), clicked);
  EXPECT_EQ(picker_.GetPath(), attach_ + "/" + clicked);
}

TEST_F(OpenAttachmentTest, ADoubleClickEndsWithOkAndOnEmptySpaceKeepsThePreviousResult) {
  std::string picked;
  EXPECT_EQ(Run([&](CHeadlessWindow& window) {
              window.SelectRows(kAttachmentFileList, {0});
              picked = window.Text(kAttachmentNameField);
              window.SelectRows(kAttachmentFileList, {});
              EXPECT_TRUE(window.IsEnabled(kIdOk)) << "the field still holds the name";
              window.DoubleClick(kAttachmentFileList);
            }),
            kIdOk);
  EXPECT_EQ(picker_.Result(), picked);
}

TEST_F(OpenAttachmentTest, AMissingFolderIsToldAndEndsWithCancel) {
  CDlgOpenAttachment missing(folder_.File("nothing"), "*", kIconAttachment);
  EXPECT_EQ(missing.DoModal(), kIdCancel);
  ASSERT_EQ(backend_.MessageBoxes().size(), 1u);
  EXPECT_EQ(backend_.MessageBoxes()[0].text, "Directory " + folder_.File("nothing") + " does not exist");
  EXPECT_EQ(backend_.MessageBoxes()[0].caption, "Custom Open File Dialog");
}

}  // namespace
}  // namespace larkspin
