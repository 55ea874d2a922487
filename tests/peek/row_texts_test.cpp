#include "peek/row_texts.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace larkspin {
namespace {

using test_support::ScopedWorkingDirectory;
using test_support::TempFolder;

// The row texts of a message listed with that header.
RowTexts RowTextsOf(const std::string& header, uint32_t size, const std::string& account,
                    TextEncoding encoding = TextEncoding::kClassic) {
  return MakeRowTexts(MakePeekedMessage(1, "", size, header, encoding), account);
}

TEST(SenderTest, NameBlankAndBracketedAddressSplitIntoDisplayNameAndAddress) {
  const std::string sender = DecodedSender("\"Anna Berg\" <anna@example.org>");
  EXPECT_EQ(sender, "Anna Berg <anna@example.org>");
  EXPECT_EQ(SenderDisplayName(sender), "Anna Berg");
  EXPECT_EQ(SenderAddress(sender), "anna@example.org");
}

TEST(SenderTest, ANameRightBeforeTheBracketLosesItsLastCharacter) {
  EXPECT_EQ(SenderDisplayName("Anna<anna@example.org>"), "Ann");
}

TEST(SenderTest, AFieldStartingWithTheBracketOrWithoutOneIsKeptWhole) {
  EXPECT_EQ(SenderDisplayName("<anna@example.org>"), "<anna@example.org>");
  EXPECT_EQ(SenderAddress("<anna@example.org>"), "anna@example.org");
  EXPECT_EQ(SenderDisplayName("anna@example.org"), "anna@example.org");
  EXPECT_EQ(SenderAddress("anna@example.org"), "anna@example.org");
  EXPECT_EQ(SenderAddress("Anna <>"), "Anna <>");
}

TEST(SenderTest, AnEncodedNameDropsTheAddressWithTheRestOfTheField) {
  const std::string sender = DecodedSender("\"=?iso-8859-1?q?J=F6rg?=\" <j@example.org>");
  EXPECT_EQ(sender, "J\xF6rg");
  EXPECT_EQ(SenderDisplayName(sender), "J\xF6rg");
  EXPECT_EQ(SenderAddress(sender), "J\xF6rg");
}

TEST(SizeTextTest, WholeKilobytesRoundedToNearest) {
  EXPECT_EQ(SizeText(0), "0k");
  EXPECT_EQ(SizeText(1023), "1k");
  EXPECT_EQ(SizeText(1024), "1k");
  EXPECT_EQ(SizeText(1600), "2k");
  EXPECT_EQ(SizeText(4294967295u), "4194304k");
}

TEST(RowTextsTest, MakesTheColumnTextsAndTheFileIdOfAPeekedHeader) {
  TempFolder folder;
  ScopedWorkingDirectory in_folder(folder.Path());
  const RowTexts texts = RowTextsOf("Return-Path: <x@example.org>\r\n"
                                             "From: \"Berg, Anna\" <anna@example.org>\r\n"
                                             "Subject: Re: =?iso-8859-1?q?Gr=FC=DFe?= again\r\n"
                                             "Date: Tue, 2 Mar 2004 10:11:12 +0100\r\n"
                                             "Content-Type: text/plain\r\n",
                                      2048, "Home");
  EXPECT_EQ(texts.from, "Berg, Anna");
  EXPECT_EQ(texts.subject, "Gr\xFC\xDF"
                           "e");
  EXPECT_EQ(texts.date, "02.03.2004 10:11:12 +0100");
  EXPECT_EQ(texts.account, "Home");
  EXPECT_EQ(texts.size, "2k");
  EXPECT_EQ(texts.sender_address, "anna@example.org");
  EXPECT_EQ(texts.file_id, "02_03_2004_10_11_12_+0100");
  EXPECT_EQ(texts.local_file, "");
}

TEST(RowTextsTest, Utf8RowTextsDecodeEveryEncodedWordAndAreValidUtf8) {
  TempFolder folder;
  ScopedWorkingDirectory in_folder(folder.Path());
  const RowTexts texts = RowTextsOf("From: =?UTF-8?B?0J7Qu9C10L3QsA==?= <olena@example.org>\r\n"
                                             "Subject: Re: =?utf-8?q?Gr=C3=BC=C3=9Fe?=\r\n =?UTF-8?B?8J+OiQ==?= again\r\n"
                                             "Date: Tue, 2 M\xE4r 2004 10:11:12 +0100\r\n",
                                      2048, "B\xFCro", TextEncoding::kUtf8);
  EXPECT_EQ(texts.encoding, TextEncoding::kUtf8);
  EXPECT_EQ(texts.from, "\xD0\x9E\xD0\xBB\xD0\xB5\xD0\xBD\xD0\xB0");
  EXPECT_EQ(texts.sender_address, "olena@example.org");
  EXPECT_EQ(texts.subject, "Re: Gr\xC3\xBC\xC3\x9F" "e\xF0\x9F\x8E\x89 again");
  EXPECT_EQ(texts.date, "02.00.2004 10:11:12 +0100");
  EXPECT_EQ(texts.account, "B\xC3\xBCro");
}

TEST(RowTextsTest, OnlyUtf8RowsReadTheDateAsRfc5322WritesIt) {
  const std::string header = "Date: 3 Mar 2026 21:17:44 +0100 (CET)\r\n";
  const RowTexts modern = RowTextsOf(header, 1, "Home", TextEncoding::kUtf8);
  EXPECT_EQ(modern.date, "03.03.2026 21:17:44 +0100");
  EXPECT_EQ(modern.file_id, "03_03_2026_21_17_44_+0100");
  const RowTexts classic = RowTextsOf(header, 1, "Home");
  EXPECT_EQ(classic.date, "Mar.00.21:17:44 +0100 (CET)");
  EXPECT_EQ(classic.file_id, "Mar_00_21_17_44_+0100_(CET)");
}

TEST(RowTextsTest, AHeaderWithoutFieldsGivesEmptyTextsAndTheMissingDateId) {
  TempFolder folder;
  ScopedWorkingDirectory in_folder(folder.Path());
  const RowTexts texts = RowTextsOf("X-Other: 1\r\n", 0, "n/a");
  EXPECT_EQ(texts.from, "");
  EXPECT_EQ(texts.sender_address, "");
  EXPECT_EQ(texts.subject, "");
  EXPECT_EQ(texts.date, ".00. ");
  EXPECT_EQ(texts.file_id, "_00__");
}

}  // namespace
}  // namespace larkspin
