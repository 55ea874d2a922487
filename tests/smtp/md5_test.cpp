#include "smtp/md5.h"

#include <gtest/gtest.h>

#include <string>

#include "smtp/hmac_md5.h"

namespace larkspin {
namespace {

// The test suite of RFC 1321, appendix A.5.
TEST(Md5Test, MatchesTheRfc1321TestSuite) {
  EXPECT_EQ(DigestToHex(ComputeMd5("")), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(DigestToHex(ComputeMd5("a")), "0cc175b9c0f1b6a831c399e269772661");
  EXPECT_EQ(DigestToHex(ComputeMd5("abc")), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(DigestToHex(ComputeMd5("message digest")), "f96b697d7cb7938d525a2f31aaf161d0");
  EXPECT_EQ(DigestToHex(ComputeMd5("abcdefghijklmnopqrstuvwxyz")), "c3fcd3d76192e4007dfb496cca67e13b");
  EXPECT_EQ(DigestToHex(ComputeMd5("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789")),
            "d174ab98d277d9f5a5611c2c9f419d9f");
  EXPECT_EQ(DigestToHex(ComputeMd5(
                "12345678901234567890123456789012345678901234567890123456789012345678901234567890")),
            "57edf4a22be3c955ac49da2e2107b67a");
}

TEST(Md5Test, PaddingAtBlockEdges) {
  // 55 bytes fit the length into the first block; 56 and 64 need a second one.
  EXPECT_EQ(DigestToHex(ComputeMd5(std::string(55, 'a'))), "ef1772b6dff9a122358552954ad0df65");
  EXPECT_EQ(DigestToHex(ComputeMd5(std::string(56, 'a'))), "3b0c8ac703f828b04c6c197006d17218");
  EXPECT_EQ(DigestToHex(ComputeMd5(std::string(64, 'a'))), "014842d480b571495a4a0363793f7367");
}

// The HMAC-MD5 test cases of RFC 2202, section 2.
TEST(HmacMd5Test, MatchesTheRfc2202TestCases) {
  EXPECT_EQ(DigestToHex(ComputeHmacMd5(std::string(16, '\x0b'), "Hi There")), "9294727a3638bb1c13f48ef8158bfc9d");
  EXPECT_EQ(DigestToHex(ComputeHmacMd5("Jefe", "what do ya want for nothing?")), "750c783e6ab0b503eaa86e310a5db738");
  EXPECT_EQ(DigestToHex(ComputeHmacMd5(std::string(16, '\xaa'), std::string(50, '\xdd'))),
            "56be34521d144c88dbb8c733f0e8b3f6");
  std::string key4;
  for (char c = 0x01; c <= 0x19; ++c) key4 += c;
  EXPECT_EQ(DigestToHex(ComputeHmacMd5(key4, std::string(50, '\xcd'))), "697eaf0aca3a3aea3a75164746ffaa79");
  EXPECT_EQ(DigestToHex(ComputeHmacMd5(std::string(16, '\x0c'), "Test With Truncation")),
            "56461ef2342edc00f9bab995690efd4c");
  // Keys longer than the block are hashed first.
  EXPECT_EQ(DigestToHex(ComputeHmacMd5(std::string(80, '\xaa'), "Test Using Larger Than Block-Size Key - Hash Key First")),
            "6b1ab7fe4bd7bf8f0b62e6ce61b9d0cd");
  EXPECT_EQ(DigestToHex(ComputeHmacMd5(std::string(80, '\xaa'),
                                       "Test Using Larger Than Block-Size Key and Larger Than One Block-Size Data")),
            "6f630fad67cda0ee1fb1f562db3aa53e");
}

}  // namespace
}  // namespace larkspin
