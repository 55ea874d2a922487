# The Python side of the download benchmark: poplib fetches message 1, the email package parses
# it and every part with a file name is written to OUTDIR.
#
#   python3 poplib_extract.py PORT USER PASSWORD OUTDIR
import email
import os
import poplib
import sys

port, user, password, outdir = sys.argv[1:5]
pop = poplib.POP3("127.0.0.1", int(port), timeout=60)
pop.user(user)
pop.pass_(password)
_, lines, _ = pop.retr(1)
pop.quit()
message = email.message_from_bytes(b"\r\n".join(lines) + b"\r\n")
del lines
for part in message.walk():
    name = part.get_filename() or part.get_param("name")
    if part.is_multipart() or not name:
        continue
    with open(os.path.join(outdir, name), "wb") as out:
        out.write(part.get_payload(decode=True))
