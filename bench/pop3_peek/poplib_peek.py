#!/usr/bin/env python3
"""The poplib side of the POP3 peek benchmark. Times itself and prints the wall seconds, the
bytes received, and its own processor seconds in that span.

  poplib_peek.py peek PORT USER PASSWORD    login, STAT, LIST, TOP n 0 for every message, QUIT
  poplib_peek.py retr PORT USER PASSWORD    login, RETR 1, QUIT
  poplib_peek.py login PORT USER PASSWORD   login and QUIT only (the memory baseline)
"""
import poplib
import sys
import time


def log_in(port, user, password):
    client = poplib.POP3("127.0.0.1", port, timeout=60)
    client.user(user)
    client.pass_(password)
    return client


def peek(client):
    count, _ = client.stat()
    client.list()
    header_bytes = 0
    for n in range(1, count + 1):
        _, lines, _ = client.top(n, 0)
        # The same count the C++ side makes: header lines with their CRLF, without the empty line.
        header_bytes += sum(len(line) + 2 for line in lines[:-1])
    return header_bytes


def retrieve(client):
    _, lines, octets = client.retr(1)
    return octets


def main():
    if len(sys.argv) != 5 or sys.argv[1] not in ("peek", "retr", "login"):
        sys.exit(__doc__)
    mode, port, user, password = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
    start = time.perf_counter()
    cpu_start = time.process_time()
    client = log_in(port, user, password)
    received = {"peek": peek, "retr": retrieve, "login": lambda _: 0}[mode](client)
    client.quit()
    print("%.6f %d %.6f" % (time.perf_counter() - start, received, time.process_time() - cpu_start))


if __name__ == "__main__":
    main()
