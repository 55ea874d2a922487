#!/usr/bin/env python3
"""The Python side of the send benchmark: the same mail built with email and sent with smtplib.

  smtplib_send.py PORT USER PASSWORD ATTACHMENT    prints the seconds it took
"""
import os
import smtplib
import sys
import time
from email.message import EmailMessage


def build(path):
    message = EmailMessage()
    message["From"] = "Ann Lee <ann@example.org>"
    message["To"] = "bob@example.org"
    message["Subject"] = "Send benchmark"
    message.set_content("The attachment of the send benchmark.\n")
    with open(path, "rb") as attachment:
        message.add_attachment(attachment.read(), maintype="application", subtype="octet-stream",
                               filename=os.path.basename(path))
    return message


def main():
    port, user, password, path = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4]
    start = time.monotonic()
    with smtplib.SMTP("127.0.0.1", port, timeout=120) as client:
        client.login(user, password)
        client.send_message(build(path))
    print(f"{time.monotonic() - start:.3f}")


if __name__ == "__main__":
    main()
