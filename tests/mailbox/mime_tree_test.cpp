#include "mailbox/mime_tree.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "mailbox/mime_header.h"
#include "support/python_check.h"

namespace larkspin {
namespace {

using test_support::HexOf;
using test_support::RunPython;

// The text with every LF turned into CR LF, as POP3 delivers it.
std::string Crlf(std::string_view text) {
  std::string out;
  for (const char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return out;
}

struct ExpectedLeaf {
  std::string content_type;
  std::string bytes;
  bool is_attachment = false;
  std::string file_name = {};
};

struct TreeCase {
  std::string name;
  std::string message;
  std::vector<ExpectedLeaf> leaves;
  int plain_text;
  int html_text;
  bool python_agrees = true;  // Python's email package reads it the same way
};

const std::vector<TreeCase>& TreeCases() {
  static const std::vector<TreeCase> cases = {
      {"alternative nested in mixed, with a base64 attachment",
       Crlf("Content-Type: multipart/mixed; boundary=\"outer\"\n\npreamble\n--outer\n"
            "Content-Type: multipart/alternative; boundary=inner\n\n--inner\nContent-Type: text/plain; charset=utf-8\n\n"
            "Hello\n--inner\nContent-Type: text/html\n\n<p>Hello</p>\n--inner--\n\n--outer\n"
            "Content-Type: application/pdf; name=\"a.pdf\"\nContent-Disposition: attachment\n"
            "Content-Transfer-Encoding: base64\n\nJVBERi0x\nLjQ=\n--outer--\nepilogue\n"),
       {{"text/plain", "Hello"}, {"text/html", "<p>Hello</p>"}, {"application/pdf", "%PDF-1.4", true, "a.pdf"}},
       0, 1},
      {"related with start takes the named root only",
       Crlf("Content-Type: multipart/related; boundary=r; start=\"<root@x>\"\n\n--r\nContent-Type: text/html\n"
            "Content-ID: <other@x>\n\n<p>other</p>\n--r\nContent-Type: text/plain\nContent-ID: <root@x>\n\nroot\n--r\n"
            "Content-Type: image/png\nContent-ID: <img@x>\n\nPNG\n--r--\n"),
       {{"text/html", "<p>other</p>"}, {"text/plain", "root"}, {"image/png", "PNG"}},
       1, -1},
      {"related without start takes its first part, inside an alternative",
       Crlf("Content-Type: multipart/alternative; boundary=a\n\n--a\nContent-Type: multipart/related; boundary=r\n\n"
            "--r\nContent-Type: text/html\n\n<b>x</b>\n--r\nContent-Type: text/plain\n\nnot the root\n--r--\n--a--\n"),
       {{"text/html", "<b>x</b>"}, {"text/plain", "not the root"}},
       -1, 0},
      {"signed with its signature leaf",
       Crlf("Content-Type: multipart/signed; protocol=\"application/pgp-signature\"; micalg=pgp-sha256;\n"
            " boundary=\"sig\"\n\n--sig\nContent-Type: text/plain\n\nSigned text\n--sig\n"
            "Content-Type: application/pgp-signature; name=\"signature.asc\"\n\n-----BEGIN PGP SIGNATURE-----\n--sig--\n"),
       {{"text/plain", "Signed text"}, {"application/pgp-signature", "-----BEGIN PGP SIGNATURE-----", false, "signature.asc"}},
       0, -1},
      {"report with delivery status and the returned message kept as received",
       Crlf("Content-Type: multipart/report; report-type=delivery-status; boundary=rep\n\n--rep\n\nDelivery failed.\n"
            "--rep\nContent-Type: message/delivery-status\n\nReporting-MTA: dns; mx.example\n\nFinal-Recipient: rfc822; a@b\n"
            "--rep\nContent-Type: message/rfc822\nContent-Transfer-Encoding: 7bit\n\nSubject: returned\n"
            "Content-Transfer-Encoding: base64\n\nSGVsbG8=\n--rep--\n"),
       {{"text/plain", "Delivery failed."},
        {"message/delivery-status", Crlf("Reporting-MTA: dns; mx.example\n\nFinal-Recipient: rfc822; a@b")},
        {"message/rfc822", Crlf("Subject: returned\nContent-Transfer-Encoding: base64\n\nSGVsbG8=")}},
       0, -1},
      {"digest parts default to message/rfc822",
       Crlf("Content-Type: multipart/digest; boundary=d\n\n--d\n\nSubject: one\n\nfirst\n--d\nContent-Type: text/plain\n\n"
            "typed\n--d\nContent-Type: nonsense\n\ninvalid type\n--d--\n"),
       {{"message/rfc822", Crlf("Subject: one\n\nfirst")}, {"text/plain", "typed"}, {"text/plain", "invalid type"}},
       1, -1},
      {"missing close delimiter ends the last part at the end",
       Crlf("Content-Type: multipart/mixed; boundary=b\n\n--b\n\none\n--b\nContent-Type: text/html\n\ntwo\n\n"),
       {{"text/plain", "one"}, {"text/html", "two\r\n"}},
       0, 1},
      {"a multipart without boundary is one text leaf",
       Crlf("Content-Type: multipart/mixed\n\n--b\n\nbody\n"),
       {{"text/plain", Crlf("--b\n\nbody\n")}},
       0, -1, false},
      {"a multipart whose boundary never occurs is one text leaf, decoded",
       Crlf("Content-Type: multipart/mixed; boundary=zz\nContent-Transfer-Encoding: quoted-printable\n\n--b\n\nGr=C3=BC=\nsse\n"),
       {{"text/plain", Crlf("--b\n\nGr\xC3\xBCsse\n")}},
       0, -1, false},
      {"quoted boundary with special characters and transport padding",
       Crlf("Content-Type: multipart/mixed;\n\tboundary=\"=_a'(b) c:d?\"\n\n--=_a'(b) c:d? \t\nContent-Type: text/plain\n\n"
            "padded\n--=_a'(b) c:d?x\nstill the part\n--=_a'(b) c:d?--  \nafter\n"),
       {{"text/plain", Crlf("padded\n--=_a'(b) c:d?x\nstill the part")}},
       0, -1},
      {"transfer encodings of the leaves",
       Crlf("Content-Type: multipart/mixed; boundary=e\n\n--e\nContent-Transfer-Encoding: Quoted-Printable\n\n"
            "caf=C3=A9 =3D soft=\n break\n--e\nContent-Transfer-Encoding: BASE64\n\nw6Q=\n--e\n"
            "Content-Transfer-Encoding: 7bit\n\nseven =C3\n--e\nContent-Transfer-Encoding: 8bit\n\n\xC3\xA4 eight\n--e\n"
            "Content-Type: application/octet-stream\nContent-Transfer-Encoding: binary\n\n\x01\x02\r\x03\n--e--\n"),
       {{"text/plain", "caf\xC3\xA9 = soft break"},
        {"text/plain", "\xC3\xA4"},
        {"text/plain", "seven =C3"},
        {"text/plain", "\xC3\xA4 eight"},
        {"application/octet-stream", "\x01\x02\r\x03"}},
       0, -1},
      {"an attachment-only message",
       Crlf("Content-Type: application/pdf\nContent-Disposition: attachment; filename*=UTF-8''R%C3%A9sum%C3%A9.pdf\n"
            "Content-Transfer-Encoding: base64\n\nJVBE\n"),
       {{"application/pdf", "%PD", true, "R\xC3\xA9sum\xC3\xA9.pdf"}},
       -1, -1},
      {"text with disposition attachment is not the text",
       Crlf("Content-Type: multipart/mixed; boundary=t\n\n--t\nContent-Type: text/plain; name=\"=?UTF-8?Q?n=C3=B6tes?=.txt\"\n"
            "Content-Disposition: ATTACHMENT\n\nnotes\n--t\nContent-Type: text/plain\nContent-Disposition: inline\n\nbody\n"
            "--t--\n"),
       {{"text/plain", "notes", true, "n\xC3\xB6tes.txt"}, {"text/plain", "body"}},
       1, -1},
      {"bare LF line ends, a part without headers and a part whose first line is no header",
       "Content-Type: multipart/mixed; boundary=lf\n\n--lf\n\nno headers\n--lf\nnot a header\nContent-Type: text/html\n\n"
       "x\n--lf--\n",
       {{"text/plain", "no headers"}, {"text/plain", "not a header\nContent-Type: text/html\n\nx"}},
       0, -1},
      {"an enclosing delimiter ends an inner part, and repeated delimiters start no parts",
       Crlf("Content-Type: multipart/mixed; boundary=out\n\n--out\n--out\nContent-Type: multipart/alternative; boundary=in\n\n"
            "--in\n\ninner\n--out\nContent-Type: text/html\n\n<i>last</i>\n--out--\n"),
       {{"text/plain", "inner"}, {"text/html", "<i>last</i>"}},
       0, 1},
      {"a close delimiter before any part keeps the whole body as text",
       Crlf("Content-Type: multipart/mixed; boundary=c\n\npreamble\n--c--\n--c\n\nkept\n"),
       {{"text/plain", Crlf("preamble\n--c--\n--c\n\nkept\n")}},
       0, -1, false},
      {"folded and repeated fields: the first occurrence counts, malformed lines are skipped",
       Crlf("From someone\n:no name\n continued\nContent-Type: multipart/mixed;\n boundary=\"f\"\nContent-Type: text/plain\n\n"
            "--f\nContent-Disposition: attachment\nContent-Disposition: inline\nContent-Type: text/plain\n\nx\n--f--\n"),
       {{"text/plain", "x", true}},
       -1, -1},
      {"a single-part message keeps its whole body",
       Crlf("Subject: hi\nContent-Type: TEXT/HTML; charset=\"iso-8859-1\"\n\n<p>body</p>\n\n"),
       {{"text/html", Crlf("<p>body</p>\n\n")}},
       -1, 0},
  };
  return cases;
}

TEST(MimeTreeTest, SplitsEachMessageOfTheTableIntoItsLeaves) {
  for (const TreeCase& test : TreeCases()) {
    SCOPED_TRACE(test.name);
    const MimeMessage message = ReadMimeTree(test.message);
    ASSERT_EQ(message.leaves.size(), test.leaves.size());
    for (size_t i = 0; i < test.leaves.size(); ++i) {
      SCOPED_TRACE(i);
      const MimeLeaf& leaf = message.leaves[i];
      EXPECT_EQ(leaf.content_type, test.leaves[i].content_type);
      EXPECT_EQ(LeafBytes(leaf), test.leaves[i].bytes);
      EXPECT_EQ(leaf.is_attachment, test.leaves[i].is_attachment);
      EXPECT_EQ(leaf.file_name, test.leaves[i].file_name);
      EXPECT_EQ(leaf.position, static_cast<int>(i) + 1);
    }
    EXPECT_EQ(message.plain_text, test.plain_text);
    EXPECT_EQ(message.html_text, test.html_text);
  }
}

TEST(MimeTreeTest, CharsetIsTheParameterAsWritten) {
  const std::vector<TreeCase> cases = TreeCases();
  const MimeMessage message = ReadMimeTree(cases.front().message);
  EXPECT_EQ(message.leaves[0].charset, "utf-8");
  EXPECT_EQ(message.leaves[1].charset, "");
  EXPECT_TRUE(message.problems.empty());
}

// For every message: a line "count plain html", then per leaf "type attachment name payload" in
// hex (payload "-" for message/* parts, which Python parses further).
constexpr const char* kPythonLeaves = R"(
import sys, email, email.policy
def leaves(part, out):
    if part.get_content_maintype() == 'multipart' and part.is_multipart():
        for sub in part.get_payload():
            leaves(sub, out)
    else:
        out.append(part)
def index(out, part):
    return next((i for i, leaf in enumerate(out) if leaf is part), -1)
for line in sys.stdin.read().split():
    message = email.message_from_bytes(bytes.fromhex(line), policy=email.policy.default)
    out = []
    leaves(message, out)
    print(len(out), index(out, message.get_body(('plain',))), index(out, message.get_body(('html',))))
    for leaf in out:
        payload = '-' if leaf.get_content_maintype() == 'message' else leaf.get_payload(decode=True).hex()
        print(leaf.get_content_type(), int(leaf.is_attachment()), (leaf.get_filename() or '').encode().hex() or '-',
              payload or '-')
)";

std::string OrDash(const std::string& hex) { return hex.empty() ? "-" : hex; }

TEST(MimeTreeTest, LeavesAndTextChoiceAgreeWithPythonsEmailPackage) {
  std::string input;
  for (const TreeCase& test : TreeCases())
    if (test.python_agrees) input += HexOf(test.message) + "\n";
  int status = -1;
  std::istringstream python(RunPython(kPythonLeaves, input, &status));
  ASSERT_EQ(status, 0);
  for (const TreeCase& test : TreeCases()) {
    if (!test.python_agrees) continue;
    SCOPED_TRACE(test.name);
    const MimeMessage message = ReadMimeTree(test.message);
    size_t count = 0;
    int plain = 0, html = 0;
    ASSERT_TRUE(python >> count >> plain >> html);
    EXPECT_EQ(message.plain_text, plain);
    EXPECT_EQ(message.html_text, html);
    ASSERT_EQ(message.leaves.size(), count);
    for (const MimeLeaf& leaf : message.leaves) {
      std::string type, attachment, name, payload;
      ASSERT_TRUE(python >> type >> attachment >> name >> payload);
      EXPECT_EQ(leaf.content_type, type);
      EXPECT_EQ(leaf.is_attachment, attachment == "1") << type;
      EXPECT_EQ(OrDash(HexOf(leaf.file_name)), name) << type;
      if (payload == "-" && leaf.content_type.starts_with("message/")) continue;
      EXPECT_EQ(OrDash(HexOf(LeafBytes(leaf))), payload) << type;
    }
  }
}

std::string NestedMultiparts(size_t depth, std::string_view innermost) {
  std::string message;
  for (size_t level = 0; level < depth; ++level)
    message += "Content-Type: multipart/mixed; boundary=b" + std::to_string(level) + "\r\n\r\n--b" +
               std::to_string(level) + "\r\n";
  return message + "\r\n" + std::string(innermost);
}

TEST(MimeTreeTest, NestingPastTheLimitKeepsTheRestAsOneLeafAndSaysSo) {
  const std::string within_text = NestedMultiparts(kMaxMimeNesting, "deep");
  const MimeMessage within = ReadMimeTree(within_text);
  ASSERT_EQ(within.leaves.size(), 1u);
  EXPECT_EQ(LeafBytes(within.leaves[0]), "deep");
  EXPECT_TRUE(within.problems.empty());

  const std::string past_text = NestedMultiparts(kMaxMimeNesting + 5, "deep");
  const MimeMessage past = ReadMimeTree(past_text);
  ASSERT_EQ(past.leaves.size(), 1u);
  EXPECT_EQ(past.leaves[0].content_type, "multipart/mixed");
  EXPECT_TRUE(LeafBytes(past.leaves[0]).starts_with("--b32\r\nContent-Type: multipart/mixed; boundary=b33"));
  EXPECT_TRUE(LeafBytes(past.leaves[0]).ends_with("deep"));
  EXPECT_EQ(past.problems, std::vector<std::string>{"MIME parts nested deeper than 32 levels: the rest is kept as one part"});
}

TEST(MimeTreeTest, LeavesPastTheLimitAreKeptAsOneLeafAndSaySo) {
  std::string message = "Content-Type: multipart/mixed; boundary=m\r\n\r\n";
  for (size_t i = 0; i < kMaxMimeLeaves + 3; ++i) message += "--m\r\n\r\n" + std::to_string(i) + "\r\n";
  message += "--m--\r\n";
  const MimeMessage read = ReadMimeTree(message);
  ASSERT_EQ(read.leaves.size(), kMaxMimeLeaves + 1);
  EXPECT_EQ(LeafBytes(read.leaves[kMaxMimeLeaves - 1]), std::to_string(kMaxMimeLeaves - 1));
  EXPECT_EQ(LeafBytes(read.leaves.back()), "--m\r\n\r\n10000\r\n--m\r\n\r\n10001\r\n--m\r\n\r\n10002\r\n--m--\r\n");
  EXPECT_EQ(read.leaves.back().position, static_cast<int>(kMaxMimeLeaves) + 1);
  ASSERT_EQ(read.problems.size(), 1u);
  EXPECT_TRUE(read.problems[0].starts_with("More than 10000 MIME parts"));
}

TEST(MimeTreeTest, AnOverlongHeaderFieldIsCutAndSaysSo) {
  const std::string name(kMaxFieldBytes, 'n');
  const std::string text = "Content-Type: text/plain\r\nContent-Disposition: attachment; filename=" + name + "\r\n\r\nbody";
  const MimeMessage message = ReadMimeTree(text);
  ASSERT_EQ(message.leaves.size(), 1u);
  EXPECT_TRUE(message.leaves[0].is_attachment);
  EXPECT_EQ(LeafBytes(message.leaves[0]), "body");
  EXPECT_EQ(message.leaves[0].file_name.size(), kMaxFieldBytes - std::string_view("attachment; filename=").size());
  ASSERT_EQ(message.problems.size(), 1u);
}

}  // namespace
}  // namespace larkspin
