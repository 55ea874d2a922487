# The corpus download test's Python side, in two modes read from the first line of standard input.
#
#   prepare            then "corpus FOLDER" and "folder FOLDER": writes every corpus message with
#                      CR LF line ends into FOLDER, followed by the large messages made here at
#                      run time, and prints their paths in server order.
#   preview            then "port N", "lines K", "previews FOLDER" and one "message NAME" per
#                      message: FOLDER/N.out holds what "larkspin preview" printed for message N
#                      with PreviewLines=K. A message whose body has at most K lines must preview
#                      as its download would be stored (the text Python chooses, the type of every
#                      other part in order); a longer one must preview the beginning of that.
#   check              then "port N", "work FOLDER", "prepared FOLDER" and one "message NAME" per
#                      message: fetches each message from the POP3 server (user "user", password
#                      "secret") exactly as Larkspin received it, reads it with the email package,
#                      and checks what "larkspin download" printed (FOLDER/cli.out) and stored in
#                      the work folder. The summary also counts the messages the server sent back
#                      byte for byte as prepared.
#
# check and preview print one line per violation and a summary, and exits 1 when there is any violation.
import email
import glob
import html
import os
import poplib
import random
import re
import sys
from email.policy import default

ABSOLUTE_NAME = "/tmp/larkspin-corpus-absolute-name.txt"
# The files the test's RunLarkspin keeps in the working folder beside config.ini.
HARNESS_FILES = {"cli.in", "cli.out", "cli.err", "cli.log"}
HEADER_LABELS = ["From: ", "To: ", "Cc: ", "Sent: ", "Subject: ", "Priority: "]


# ---------------------------------------------------------------------------------------------
# prepare

def crlf(data):
    return re.sub(rb"(?<!\r)\n", b"\r\n", data)


def random_bytes(rnd, size):
    return rnd.getrandbits(8 * size).to_bytes(size, "little")


def base64_lines(data, width=76):
    import base64
    text = base64.b64encode(data)
    return b"\r\n".join(text[i:i + width] for i in range(0, len(text), width))


def large_messages():
    rnd = random.Random(20260309)
    head = ("From: Archive Robot <archive@larkspin.example>\r\nTo: robin.keller@larkspin.example\r\n"
            "Subject: %s\r\nDate: %s\r\nMessage-ID: <%s@larkspin.example>\r\nMIME-Version: 1.0\r\n"
            "X-Mailer: Microsoft Outlook 16.0\r\n")
    pdf = b"%PDF-1.7\n" + random_bytes(rnd, 3 * 1024 * 1024)
    yield "large-base64-pdf", (head % ("Scans of the whole year", "Thu, 26 Feb 2026 18:00:00 +0100", "large-1") +
        'Content-Type: multipart/mixed; boundary="----=_NextPart_000_0099_01DCA700.11223344"\r\n\r\n'
        "This is a multipart message in MIME format.\r\n\r\n"
        "------=_NextPart_000_0099_01DCA700.11223344\r\nContent-Type: text/plain; charset=\"utf-8\"\r\n"
        "Content-Transfer-Encoding: quoted-printable\r\n\r\nAnbei alle Scans des Jahres (3 MB).\r\n\r\n"
        "------=_NextPart_000_0099_01DCA700.11223344\r\nContent-Type: application/pdf; name=\"invoice.pdf\"\r\n"
        "Content-Transfer-Encoding: base64\r\nContent-Disposition: attachment; filename=\"invoice.pdf\"\r\n\r\n"
        ).encode() + base64_lines(pdf) + b"\r\n\r\n------=_NextPart_000_0099_01DCA700.11223344--\r\n"

    # A long log in 8bit whose lines often begin with "." (dot-stuffed by the server), and the
    # same log as quoted-printable.
    log_lines = []
    for i in range(20000):
        start = "." if i % 3 == 0 else ("..." if i % 7 == 0 else "")
        log_lines.append("%s%05d Prüfung läuft — %s" % (start, i, "x" * rnd.randrange(0, 90)))
    log = ("\r\n".join(log_lines) + "\r\n").encode("utf-8")
    import quopri
    yield "large-dotted-log", (head % ("Logs with dots", "Thu, 26 Feb 2026 18:05:00 +0100", "large-2") +
        'Content-Type: multipart/mixed; boundary="dotted-log-boundary"\r\n\r\n'
        "--dotted-log-boundary\r\nContent-Type: text/plain; charset=utf-8\r\n\r\n"
        ".A text that begins with a dot.\r\n..And a line with two.\r\n\r\n"
        "--dotted-log-boundary\r\nContent-Type: text/plain; charset=utf-8; name=\"pruefung.log\"\r\n"
        "Content-Disposition: attachment; filename=\"pruefung.log\"\r\nContent-Transfer-Encoding: 8bit\r\n\r\n"
        ).encode() + log + (
        "\r\n--dotted-log-boundary\r\nContent-Type: text/plain; charset=utf-8; name=\"pruefung-qp.log\"\r\n"
        "Content-Disposition: attachment; filename=\"pruefung-qp.log\"\r\n"
        "Content-Transfer-Encoding: quoted-printable\r\n\r\n").encode() + crlf(quopri.encodestring(log)) + (
        b"\r\n--dotted-log-boundary--\r\n")

    # Many inline images that all carry the same name.
    parts = []
    for i in range(12):
        image = b"\x89PNG\r\n\x1a\n" + random_bytes(rnd, 500 + 37 * i)
        parts.append(("--many-images\r\nContent-Type: image/png; name=\"image001.png\"\r\n"
                      "Content-Disposition: inline; filename=\"image001.png\"\r\n"
                      "Content-Transfer-Encoding: base64\r\n\r\n").encode() + base64_lines(image) + b"\r\n")
    yield "many-image001", (head % ("Twelve times image001.png", "Thu, 26 Feb 2026 18:10:00 +0100", "large-3") +
        'Content-Type: multipart/mixed; boundary="many-images"\r\n\r\n'
        "--many-images\r\nContent-Type: text/plain; charset=us-ascii\r\n\r\nTwelve pictures, one name.\r\n"
        ).encode() + b"".join(parts) + b"--many-images--\r\n"


def prepare(settings):
    paths = []
    for source in sorted(glob.glob(os.path.join(settings["corpus"], "*.eml"))):
        with open(source, "rb") as stream:
            data = crlf(stream.read())
        paths.append(os.path.join(settings["folder"], os.path.basename(source)))
        with open(paths[-1], "wb") as out:
            out.write(data)
    for name, data in large_messages():
        paths.append(os.path.join(settings["folder"], "generated-%s.eml" % name))
        with open(paths[-1], "wb") as out:
            out.write(data)
    print("\n".join(paths))


# ---------------------------------------------------------------------------------------------
# What the download must produce, read from the bytes the server sends

def fetch_messages(port, count):
    poplib._MAXLINE = 1 << 24
    server = poplib.POP3("127.0.0.1", port, timeout=30)
    server.user("user")
    server.pass_("secret")
    on_server = server.stat()[0]
    raw = [b"\r\n".join(server.retr(n)[1]) + b"\r\n" for n in range(1, min(count, on_server) + 1)]
    server.quit()
    return on_server, raw


def is_leaf(part):
    # A message/* part is not entered: Python parses it into a list, but it is one file.
    return part.get_content_maintype() == "message" or not part.is_multipart()


def split_lines(data):
    return re.findall(rb"[^\r\n]*(?:\r\n|\r|\n)|[^\r\n]+$", data)


def header_and_body(raw):
    """The body of a part or message: after the first empty line (all of it when it begins with one)."""
    offset = 0
    for line in split_lines(raw):
        offset += len(line)
        if line in (b"\r\n", b"\n", b"\r"):
            return raw[offset:]
    return b""


def strip_line_end(data):
    for end in (b"\r\n", b"\n", b"\r"):
        if data.endswith(end):
            return data[:-len(end)]
    return data


def raw_children(body, boundary):
    """The raw parts between the delimiter lines of boundary, as RFC 2046 reads them: the line end
    before a delimiter belongs to the delimiter."""
    delimiter = re.compile(rb"--" + re.escape(boundary.encode("utf-8", "surrogateescape")) + rb"(--)?[ \t]*(?:\r\n|\r|\n)?$")
    parts, current = [], None
    for line in split_lines(body):
        found = delimiter.match(line)
        if found:
            if current is not None:
                parts.append(strip_line_end(b"".join(current)))
            current = None if found.group(1) else []
            if found.group(1):
                break
        elif current is not None:
            current.append(line)
    if current is not None:
        parts.append(b"".join(current))
    return parts


def leaves_with_raw_bodies(part, raw_body, leaves):
    """Appends (leaf, raw body or None) in order. The raw body is located by walking the same
    delimiters as Python's parser did; None where the walk and Python's tree disagree."""
    if is_leaf(part):
        leaves.append((part, raw_body))
        return
    children = part.get_payload()
    raws = raw_children(raw_body, part.get_boundary()) if raw_body is not None and part.get_boundary() else []
    if len(raws) != len(children):
        raws = [None] * len(children)
    for child, raw in zip(children, raws):
        leaves_with_raw_bodies(child, header_and_body(raw) if raw is not None else None, leaves)


def same_message(raw_body, parsed):
    """Whether raw_body reads as the message Python put into a message/* part: the checker's own
    guard that it located the right bytes."""
    if raw_body is None or not isinstance(parsed.get_payload(), list) or not parsed.get_payload():
        return False
    inner = parsed.get_payload()[0]
    again = email.message_from_bytes(raw_body, policy=default)
    return (again.items() == inner.items() and
            [p.get_content_type() for p in again.walk()] == [p.get_content_type() for p in inner.walk()])


class Expected:
    """What one message must become: its plain text (or None), its HTML text (or None), and one
    (content, description) per attachment in order; content None when the checker could not
    tell it."""

    def __init__(self, raw):
        self.msg = email.message_from_bytes(raw, policy=default)
        self.plain = self.msg.get_body(("plain",))
        self.html = None if self.plain is not None else self.msg.get_body(("html",))
        body_part = self.plain if self.plain is not None else self.html
        leaves = []
        leaves_with_raw_bodies(self.msg, header_and_body(raw), leaves)
        self.attachments = []
        self.problems = []
        # A multipart Python could not split (no boundary, or one that never occurs) is a leaf of
        # its whole body; where the message has no other text, Larkspin keeps that body as its text.
        self.unsplit_text = None
        for leaf, raw_body in leaves:
            if leaf is body_part:
                continue
            kind = leaf.get_content_type()
            if body_part is None and self.unsplit_text is None and leaf.get_content_maintype() == "multipart":
                self.unsplit_text = (leaf.get_payload(decode=True) or b"").decode("utf-8", "replace")
                continue
            if leaf.get_content_maintype() == "message":
                if not same_message(raw_body, leaf):
                    self.problems.append("checker cannot locate the body of %s part %d" % (kind, len(self.attachments) + 1))
                    raw_body = None
                self.attachments.append((raw_body, kind))
            else:
                self.attachments.append((leaf.get_payload(decode=True) or b"", kind))

    def plain_text(self):
        """get_content() of the plain body, or None when there is none or its charset is unknown."""
        if self.plain is None:
            return None
        try:
            return self.plain.get_content()
        except LookupError:
            return None


# ---------------------------------------------------------------------------------------------
# What Larkspin printed and stored

def printed_lines(out):
    rows = {}
    for line in out.split("\n"):
        if not line:
            continue
        fields = line.split("\t")
        rows.setdefault(fields[0], []).append(fields)
    return rows


def comparable(text):
    text = text.replace("\r\n", "\n").replace("\r", "\n")
    return "\n".join(line.rstrip(" \t") for line in text.split("\n")).rstrip()


def first_difference(got, expected):
    got_lines, expected_lines = got.split("\n"), expected.split("\n")
    for number, (a, b) in enumerate(zip(got_lines, expected_lines), 1):
        if a != b:
            return "line %d is %r, expected %r" % (number, a[:80], b[:80])
    if len(got_lines) > len(expected_lines):
        return "%d lines, expected %d; extra line %r" % (len(got_lines), len(expected_lines), got_lines[len(expected_lines)][:80])
    return "%d lines, expected %d; missing line %r" % (len(got_lines), len(expected_lines), expected_lines[len(got_lines)][:80])


def readable_words(html_part):
    """Words of four letters or more that a reader sees in an HTML body."""
    try:
        source = html_part.get_content()
    except LookupError:
        return []
    source = re.sub(r"(?is)<(head|style|script)\b.*?</\1\s*>", " ", source)
    return re.findall(r"\w{4,}", html.unescape(re.sub(r"(?s)<[^>]*>", " ", source)))


class Checker:
    def __init__(self, work, names):
        self.work = work
        self.names = names
        self.violations = []
        self.stored_files = {}
        self.all_names = {}
        self.figures = {"own_file": 0, "attachments": 0, "intact": 0, "texts": 0, "texts_match": 0}

    def report(self, number, text):
        self.violations.append("message %d (%s): %s" % (number, self.names[number - 1], text))

    def check_message(self, number, expected, rows):
        for problem in expected.problems:
            self.report(number, problem)
        if len(rows) != 1:
            self.report(number, "%d result lines printed, expected 1" % len(rows))
            return
        fields = rows[0] + [""] * (4 - len(rows[0]))
        result, stored, names = fields[1], fields[2], [n for n in fields[3].split(",") if n] if fields[3] else []
        wanted = len(expected.attachments)
        if result != str(wanted):
            self.report(number, "result %s, expected %d attachment files" % (result or "(none)", wanted))
        content = self.check_stored_file(number, stored)
        self.check_names(number, names, wanted)
        self.check_attachments(number, expected, names)
        if content is not None:
            self.check_file_layout(number, content, names)
            self.check_text(number, expected, content)

    def check_stored_file(self, number, stored):
        if not stored.startswith("mailbox1/") or "/../" in stored:
            self.report(number, "stored file %r is not in mailbox1/" % stored)
            return None
        path = os.path.join(self.work, stored)
        if not os.path.isfile(path):
            self.report(number, "stored file %s does not exist" % stored)
            return None
        if stored in self.stored_files:
            self.report(number, "stored file %s was already printed for message %d" % (stored, self.stored_files[stored]))
            return None
        self.stored_files[stored] = number
        self.figures["own_file"] += 1
        with open(path, "rb") as stream:
            return stream.read()

    def check_names(self, number, names, wanted):
        if len(names) != wanted:
            self.report(number, "%d attachment names printed, expected %d" % (len(names), wanted))
        taken = []
        for name in names:
            if "/" in name or any(ord(c) < 32 or ord(c) == 127 for c in name) or len(name.encode()) > 255:
                self.report(number, "attachment name %r is not a plain file name of at most 255 bytes" % name)
            elif not os.path.isfile(os.path.join(self.work, "mailbox1/attach", name)):
                self.report(number, "attachment %r is not in mailbox1/attach" % name)
            if name in self.all_names:
                taken.append("%r (message %d)" % (name, self.all_names[name]))
            self.all_names.setdefault(name, number)
        if taken:
            self.report(number, "attachment names printed before: " + ", ".join(taken))

    def stored_attachment(self, name):
        path = os.path.join(self.work, "mailbox1/attach", name)
        if "/" in name or not os.path.isfile(path):
            return None
        with open(path, "rb") as stream:
            return stream.read()

    def check_attachments(self, number, expected, names):
        """By order when the counts agree; otherwise says which parts are in none of the files."""
        stored = [self.stored_attachment(name) for name in names]
        by_order = len(names) == len(expected.attachments)
        for index, (content, kind) in enumerate(expected.attachments):
            self.figures["attachments"] += 1
            if content is None:
                continue
            # A message/* part may keep the line end of its last line, which RFC 2046 gives to the delimiter.
            accepted = [content, content + b"\r\n"] if kind.startswith("message/") else [content]
            if any(data in accepted for data in stored):
                self.figures["intact"] += 1
            if not by_order:
                if not any(data in accepted for data in stored):
                    self.report(number, "attachment %d (%s, %d bytes) is in none of the printed files" % (index + 1, kind, len(content)))
                continue
            data = stored[index]
            if data is None or data in accepted:
                continue
            at = next((i for i, (a, b) in enumerate(zip(data, content)) if a != b), min(len(data), len(content)))
            self.report(number, "attachment %d (%s, %s) differs: %d bytes, expected %d, first difference at byte %d"
                        % (index + 1, names[index], kind, len(data), len(content), at))

    def check_file_layout(self, number, content, names):
        bare = re.search(rb"\r(?!\n|\r\n<<Attachments: )|(?<!\r)\n", content)
        if bare:
            self.report(number, "message file has a line end other than CR LF at byte %d" % bare.start())
        lines = content.split(b"\r\n")
        has_cc = len(lines) > 2 and lines[2].startswith(b"Cc: ")
        labels = [label for label in HEADER_LABELS if label != "Cc: " or has_cc]
        for index, label in enumerate(labels):
            if index >= len(lines) or not lines[index].startswith(label.encode()):
                self.report(number, "message file line %d does not begin with %r" % (index + 1, label))
                return
        if len(lines) <= len(labels) or lines[len(labels)] != b"":
            self.report(number, "message file has no empty line after its header lines")
        closing = b"\r\r\n<<Attachments: " + b"".join(n.encode() + b"," for n in names) + b">>"
        has_line = b"\r\r\n<<Attachments: " in content
        if names and not (content.endswith(closing) or content.endswith(closing + b"\r\n")):
            self.report(number, "message file does not end with the attachment line of the printed names")
        elif not names and has_line:
            self.report(number, "message file has an attachment line but no attachment names were printed")

    def check_text(self, number, expected, content):
        start = content.find(b"\r\n\r\n")
        end = content.rfind(b"\r\r\n<<Attachments: ")
        body = content[start + 4:end if end > start else len(content)] if start >= 0 else b""
        try:
            text = body.decode("utf-8")
        except UnicodeDecodeError as error:
            self.report(number, "stored text is not UTF-8 (byte %d)" % error.start)
            text = body.decode("utf-8", "replace")
        plain = expected.plain_text()
        if plain is not None:
            self.figures["texts"] += 1
            got, wanted = comparable(text), comparable(plain)
            if got == wanted:
                self.figures["texts_match"] += 1
            else:
                self.report(number, "text differs: " + first_difference(got, wanted))
        elif expected.unsplit_text is not None:
            self.figures["texts"] += 1
            if comparable(text) == comparable(expected.unsplit_text):
                self.figures["texts_match"] += 1
            else:
                self.report(number, "text of the unsplit multipart differs: " + first_difference(comparable(text), comparable(expected.unsplit_text)))
        elif expected.html is not None:
            leftovers = re.findall(r"(?i)<(?:p|br|div|td|html|body)\b|&(?:nbsp|euro|ouml|amp|uuml);", text)
            missing = [word for word in readable_words(expected.html) if word not in text]
            if leftovers or missing or not text.strip():
                self.report(number, "HTML text is not readable text: markup %s, missing words %s" % (leftovers[:3], missing[:5]))

    def check_folder(self, expected_names):
        attach = os.path.join(self.work, "mailbox1/attach")
        entries = os.listdir(attach) if os.path.isdir(attach) else []
        for entry in entries:
            if not os.path.isfile(os.path.join(attach, entry)):
                self.violations.append("mailbox1/attach/%r is not a file" % entry)
            elif any(ord(c) < 32 or ord(c) == 127 for c in entry) or len(os.fsencode(entry)) > 255:
                self.violations.append("mailbox1/attach/%r has a control character or over 255 bytes" % entry)
        files = [e for e in entries if os.path.isfile(os.path.join(attach, e))]
        if len(files) != len(self.all_names):
            self.violations.append("mailbox1/attach holds %d files, %d distinct names were printed" % (len(files), len(self.all_names)))
        for root, folders, found in os.walk(self.work):
            relative = os.path.relpath(root, self.work)
            if relative == "mailbox1" or relative.startswith("mailbox1" + os.sep):
                continue
            for name in found:
                if relative != "." or name not in HARNESS_FILES | {"config.ini", "larkspin.log"}:
                    self.violations.append("written outside the account folder: %s" % os.path.normpath(os.path.join(relative, name)))
        if os.path.exists(ABSOLUTE_NAME):
            self.violations.append("written outside the account folder: %s" % ABSOLUTE_NAME)
            os.remove(ABSOLUTE_NAME)


def check(settings, names):
    work = settings["work"]
    with open(os.path.join(work, "cli.out"), encoding="utf-8", errors="replace") as stream:
        rows = printed_lines(stream.read())
    on_server, raw = fetch_messages(int(settings["port"]), len(names))
    checker = Checker(work, names)
    if on_server != len(names):
        checker.violations.append("the server holds %d messages, the corpus %d" % (on_server, len(names)))
    unchanged = 0
    for number, data in enumerate(raw, 1):
        with open(os.path.join(settings["prepared"], names[number - 1]), "rb") as stream:
            unchanged += stream.read() == data
        checker.check_message(number, Expected(data), rows.pop(str(number), []))
    for number in rows:
        checker.violations.append("result line for message %s, which was not asked for" % number)
    checker.check_folder(names)
    for violation in checker.violations:
        print(violation)
    f = checker.figures
    print("summary: %d messages (%d served as prepared), %d stored in a file of their own; %d of %d attachments intact; "
          "%d of %d plain texts match; %d violations"
          % (len(names), unchanged, f["own_file"], f["intact"], f["attachments"], f["texts_match"], f["texts"], len(checker.violations)))
    return 1 if checker.violations else 0


# ---------------------------------------------------------------------------------------------
# What "larkspin preview" printed

def printed_preview(out):
    """The text and the attachment types: the trailing lines that hold a tab name attachments."""
    lines = out.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    split = len(lines)
    while split > 0 and "\t" in lines[split - 1]:
        split -= 1
    return "\n".join(lines[:split]), [line.split("\t")[1] for line in lines[split:]]


def as_printed(text):
    """Text as the command line prints it: line by line, control characters as blanks."""
    lines = re.split(r"\r\n|\r|\n", text)
    return "\n".join(re.sub(r"[\x00-\x1f\x7f-\x9f]", " ", line) for line in lines)


def preview_problem(expected, text, types, whole):
    """What is wrong with a preview of expected, or None; a preview of part of the body must
    agree with the beginning: all but its last line, which may be cut anywhere."""
    wanted_types = [kind for _, kind in expected.attachments]
    if types != wanted_types[:len(types)] or (whole and len(types) != len(wanted_types)):
        return "attachment types %s, expected %s" % (types, wanted_types)
    plain = expected.plain_text()
    if plain is None and expected.unsplit_text is not None:
        plain = expected.unsplit_text
    got = comparable(text)
    if plain is not None:
        wanted = comparable(as_printed(plain))
        if whole and got != wanted:
            return "text differs: " + first_difference(got, wanted)
        head = got.rsplit("\n", 1)[0] if "\n" in got else ""
        if not whole and not wanted.startswith(head):
            return "text is not the beginning of the message's text: " + first_difference(head, wanted)
        return None
    if expected.html is not None:
        leftovers = re.findall(r"(?i)<(?:p|br|div|td|html|body)\b|&(?:nbsp|euro|ouml|amp|uuml);", text)
        missing = [word for word in readable_words(expected.html) if word not in text] if whole else []
        if leftovers or missing or not text.strip():
            return "HTML text is not readable text: markup %s, missing words %s" % (leftovers[:3], missing[:5])
    return None


def check_previews(settings, names):
    on_server, raw = fetch_messages(int(settings["port"]), len(names))
    lines = int(settings["lines"])
    violations, whole_count = [], 0
    for number, data in enumerate(raw, 1):
        with open(os.path.join(settings["previews"], "%d.out" % number), encoding="utf-8", errors="replace") as stream:
            text, types = printed_preview(stream.read())
        whole = header_and_body(data).count(b"\n") <= lines
        whole_count += whole
        problem = preview_problem(Expected(data), text, types, whole)
        if problem:
            violations.append("message %d (%s): %s" % (number, names[number - 1], problem))
    for violation in violations:
        print(violation)
    print("summary: %d previews (%d of whole messages), %d violations" % (len(raw), whole_count, len(violations)))
    return 1 if violations or on_server != len(names) else 0


def main():
    lines = sys.stdin.read().split("\n")
    settings, names = {}, []
    for line in lines[1:]:
        key, _, value = line.partition(" ")
        if key == "message":
            names.append(value)
        elif key:
            settings[key] = value
    if lines[0] == "prepare":
        prepare(settings)
        return 0
    if lines[0] == "preview":
        return check_previews(settings, names)
    return check(settings, names)


sys.exit(main())
