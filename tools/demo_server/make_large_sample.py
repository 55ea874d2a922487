#!/usr/bin/env python3
"""Writes the demo mailbox's large message: a short letter with a 3 MiB archive of photos
attached in base64. Made at build time so the repository stays small; the bytes are the same
every time (fixed seed). Usage: make_large_sample.py OUTPUT_FILE"""
import base64
import random
import sys

ATTACHMENT_BYTES = 3 * 1024 * 1024
BOUNDARY = "=_mixed_5d0c9e7713a4_site_photos"


def archive_bytes():
    # Looks like a ZIP archive to a file sniffer; the rest is noise, as compressed photos are.
    noise = random.Random(2026).randbytes(ATTACHMENT_BYTES - 4)
    return b"PK\x03\x04" + noise


def base64_lines(data):
    text = base64.b64encode(data).decode("ascii")
    return "".join(text[i:i + 76] + "\r\n" for i in range(0, len(text), 76))


def message():
    lines = [
        "Return-Path: <b.okafor@okafor-architekten.example>",
        "From: Bola Okafor <b.okafor@okafor-architekten.example>",
        "To: Robin Keller <robin.keller@larkspin.example>",
        "Subject: Site photos from the March site visit",
        "Date: Mon, 16 Mar 2026 17:45:09 +0100",
        "Message-ID: <site-photos-20260316@okafor-architekten.example>",
        "MIME-Version: 1.0",
        'Content-Type: multipart/mixed; boundary="%s"' % BOUNDARY,
        "",
        "--" + BOUNDARY,
        "Content-Type: text/plain; charset=us-ascii",
        "Content-Transfer-Encoding: 7bit",
        "",
        "Hello Robin,",
        "",
        "attached are all photos from today's walk through the building site,",
        "including the roof terrace and the new staircase. The archive is a",
        "bit large, sorry; the originals were even bigger.",
        "",
        "Best regards",
        "Bola",
        "",
        "--" + BOUNDARY,
        'Content-Type: application/zip; name="site-photos-2026-03-16.zip"',
        "Content-Transfer-Encoding: base64",
        'Content-Disposition: attachment; filename="site-photos-2026-03-16.zip"',
        "",
    ]
    closing = ["", "--" + BOUNDARY + "--", ""]
    return "\r\n".join(lines) + "\r\n" + base64_lines(archive_bytes()) + "\r\n".join(closing)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    with open(sys.argv[1], "wb") as out:
        out.write(message().encode("ascii"))


if __name__ == "__main__":
    main()
