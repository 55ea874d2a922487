#include "mime/header_parameter.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/python_check.h"

namespace larkspin {
namespace {

using test_support::HexOf;
using test_support::RunPython;

// Content-Disposition values as mail programs write them; Python's get_filename() is the
// reference.
const std::vector<std::string> kDispositions = {
    "attachment; filename=plain.pdf",
    "attachment; filename=\"quoted name.pdf\"",
    "attachment; filename=\"with \\\"escaped\\\" quotes.txt\"",
    "attachment; filename*=UTF-8''%E2%82%AC%20Rechnung%20M%C3%A4rz.pdf",
    "attachment; filename*=utf-8'de'Gr%C3%BC%C3%9Fe.txt",
    "attachment; filename*=iso-8859-1''Gr%FC%DFe.txt",
    "attachment; filename*0*=UTF-8''%E6%97%A5%E6%9C%AC; filename*1*=%E8%AA%9E.txt",
    "attachment; filename*0=\"long \"; filename*1=\"name.txt\"",
    "attachment; size=12; FILENAME=upper.txt; creation-date=\"x; y\"",
    "inline; filename*=UTF-8''%F0%9F%98%80.png",
};

constexpr const char* kScript = R"(
import sys, email
for line in sys.stdin.read().split():
    value = bytes.fromhex(line).decode('utf-8')
    message = email.message_from_string('Content-Disposition: ' + value + '\n\n')
    print(message.get_filename().encode('utf-8').hex())
)";

TEST(HeaderParameterTest, FileNamesAsPythonsEmailPackageReadsThem) {
  std::string input;
  for (const std::string& value : kDispositions) input += HexOf(value) + "\n";
  int status = -1;
  std::istringstream lines(RunPython(kScript, input, &status));
  ASSERT_EQ(status, 0);
  for (const std::string& value : kDispositions) {
    std::string expected_hex;
    ASSERT_TRUE(lines >> expected_hex) << value;
    EXPECT_EQ(HexOf(ParameterValue(value, "filename")), expected_hex) << value;
  }
}

TEST(HeaderParameterTest, MissingParametersAndEncodedWordsInPlainValues) {
  EXPECT_EQ(ParameterValue("attachment", "filename"), "");
  EXPECT_EQ(ParameterValue("attachment; name=a.txt", "filename"), "");
  EXPECT_EQ(ParameterValue("application/pdf; name=\"=?UTF-8?B?w6Q=?=.pdf\"", "name"), "\xC3\xA4.pdf");
}

}  // namespace
}  // namespace larkspin
