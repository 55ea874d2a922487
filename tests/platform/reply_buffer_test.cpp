#include "platform/reply_buffer.h"

#include <cstring>

#include <gtest/gtest.h>

namespace larkspin {
namespace {

void Receive(CReplyBuffer& buffer, const std::string& bytes) {
  const std::span<char> space = buffer.ReceiveSpace();
  ASSERT_GE(space.size(), bytes.size());
  std::memcpy(space.data(), bytes.data(), bytes.size());
  buffer.Commit(bytes.size());
}

TEST(ReplyBufferTest, GrowsWhenFullAndHandsOverTheTextAfterTheStatusLine) {
  CReplyBuffer buffer(8);
  EXPECT_EQ(buffer.Room(), 7u);
  Receive(buffer, "+OK 12\r");
  EXPECT_EQ(buffer.Room(), 0u);
  ASSERT_TRUE(buffer.Grow(4));
  EXPECT_EQ(buffer.Capacity(), 12u);
  Receive(buffer, "\nbod");
  EXPECT_EQ(buffer.View(), "+OK 12\r\nbod");
  EXPECT_EQ(buffer.Room(), 0u);
  EXPECT_EQ(buffer.TakeFrom(8), "bod");
  EXPECT_EQ(buffer.Size(), 0u);
}

TEST(ReplyBufferTest, AnAnnouncedSizeIsOnlyAHint) {
  CReplyBuffer buffer(size_t{8} << 30);  // a peer claiming 8 GiB gets far less up front
  EXPECT_EQ(buffer.Capacity(), size_t{256} << 20);
  EXPECT_EQ(buffer.ReceiveSpace().size(), size_t{1} << 20);  // space is made ready a piece at a time
}

TEST(ReplyBufferTest, NeverGrowsPastItsLimit) {
  CReplyBuffer buffer(4, 10);
  Receive(buffer, "+OK");
  ASSERT_TRUE(buffer.Grow(100));
  EXPECT_EQ(buffer.Room(), 7u);  // exactly the limit's 10 bytes fit
  Receive(buffer, "1234567");
  EXPECT_FALSE(buffer.Grow(100));
  EXPECT_EQ(buffer.View(), "+OK1234567");
}

}  // namespace
}  // namespace larkspin
