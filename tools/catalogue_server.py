#!/usr/bin/env python3
"""Serves a replay catalogue over HTTP on 127.0.0.1, for tests of live mode.

The catalogue is the directory that `shelfix.exe --catalogue` replays:
DIR/index.tsv with lines ADDRESS<TAB>FILE. A request is answered with the
first line whose ADDRESS has the request's path and query: an ADDRESS that
starts with "/" is that path and query, a whole address stands for its path
and query on this server. Pages go out as they are stored, byte for byte;
an address not listed gets 404.

The server binds port 0 unless told otherwise, so the system picks a free
port; it prints "port N" on standard output and, with --port-file, writes N
into that file (whole, through a rename) once it is listening. It stops by
itself after --lifetime seconds.

Fault switches, for the failure branches of a run:
  --fault slow       wait --delay seconds, then answer normally
  --fault 500        answer 500 Internal Server Error
  --fault drop       close the connection without answering
  --fault truncate   send the headers and half of the page, then close
  --fault-path P     fault only requests whose path and query start with P
  --fault-count N    fault only the first N requests that --fault-path lets
                     through, then answer normally
  --redirect         answer every request outside /moved/ with 302 to the
                     same path under /moved/, and serve /moved/X as X
  --log FILE         append one line per request: seconds since start,
                     method, path and query, what was done, User-Agent
"""

import argparse
import os
import socket
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

MOVED = "/moved"


def read_index(directory):
    """The (path and query, file) pairs of DIR/index.tsv, in order."""
    entries = []
    with open(os.path.join(directory, "index.tsv"), "rb") as index:
        for raw in index.read().decode("utf-8").splitlines():
            if not raw or raw.startswith("#"):
                continue
            address, _, name = raw.partition("\t")
            if "://" in address:
                parts = urllib.parse.urlsplit(address)
                address = parts.path + ("?" + parts.query if parts.query else "")
            entries.append((address, os.path.join(directory, name)))
    return entries


class Faults:
    """Which requests are faulted; counts across the handler threads."""

    def __init__(self, args):
        self.kind = args.fault
        self.path = args.fault_path
        self.remaining = args.fault_count
        self.delay = args.delay
        self.lock = threading.Lock()

    def take(self, target):
        if not self.kind or not target.startswith(self.path):
            return None
        with self.lock:
            if self.remaining is not None:
                if self.remaining <= 0:
                    return None
                self.remaining -= 1
        return self.kind


def make_handler(entries, faults, redirect, log, started):
    log_lock = threading.Lock()

    class Handler(BaseHTTPRequestHandler):
        # One request per connection, so that a fault cannot linger.
        protocol_version = "HTTP/1.0"

        def log_message(self, *args):
            pass

        def note(self, what):
            if not log:
                return
            agent = self.headers.get("User-Agent", "")
            line = "%.3f\t%s\t%s\t%s\t%s\n" % (
                time.monotonic() - started, self.command, self.path, what, agent)
            with log_lock, open(log, "a", encoding="utf-8") as out:
                out.write(line)

        def page_for(self, target):
            for address, path in entries:
                if address == target:
                    with open(path, "rb") as page:
                        return page.read()
            return None

        def send_page(self, body, status=200, head_only=False):
            self.send_response(status)
            self.send_header("Content-Type", "text/html; charset=utf-8")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            if not head_only:
                self.wfile.write(body)

        def drop(self):
            self.close_connection = True
            try:
                self.connection.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass

        def answer(self, head_only):
            target = self.path
            if redirect and not target.startswith(MOVED + "/"):
                self.note("302")
                self.send_response(302)
                self.send_header("Location", MOVED + target)
                self.send_header("Content-Length", "0")
                self.end_headers()
                return
            if redirect:
                target = target[len(MOVED):]
            body = self.page_for(target)
            fault = faults.take(target)
            if fault == "slow":
                self.note("slow")  # on arrival: the client may give up
                time.sleep(faults.delay)
            elif fault == "500":
                self.note("500")
                self.send_page(b"<html>server error</html>", 500, head_only)
                return
            elif fault == "drop":
                self.note("drop")
                self.drop()
                return
            if body is None:
                self.note("404")
                self.send_page(b"<html>not found</html>", 404, head_only)
                return
            if fault == "truncate" and not head_only:
                self.note("truncate")
                self.send_response(200)
                self.send_header("Content-Type", "text/html; charset=utf-8")
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body[: len(body) // 2])
                self.wfile.flush()
                self.drop()
                return
            if fault != "slow":
                self.note("200")
            try:
                self.send_page(body, 200, head_only)
            except (BrokenPipeError, ConnectionResetError):
                pass  # the client gave up waiting

        def do_GET(self):
            self.answer(head_only=False)

        def do_HEAD(self):
            self.answer(head_only=True)

    return Handler


def write_port_file(path, port):
    temporary = path + ".new"
    with open(temporary, "w", encoding="ascii") as out:
        out.write("%d\n" % port)
    os.replace(temporary, path)


def parse_arguments(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("catalogue", help="replay catalogue directory")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--port-file")
    parser.add_argument("--lifetime", type=float, default=120.0,
                        help="seconds until the server stops by itself")
    parser.add_argument("--fault", choices=["slow", "500", "drop", "truncate"])
    parser.add_argument("--fault-path", default="/")
    parser.add_argument("--fault-count", type=int)
    parser.add_argument("--delay", type=float, default=5.0)
    parser.add_argument("--redirect", action="store_true")
    parser.add_argument("--log")
    return parser.parse_args(argv)


def main(argv):
    args = parse_arguments(argv)
    entries = read_index(args.catalogue)
    started = time.monotonic()
    handler = make_handler(entries, Faults(args), args.redirect, args.log,
                           started)
    server = ThreadingHTTPServer(("127.0.0.1", args.port), handler)
    server.daemon_threads = True
    port = server.server_address[1]
    if args.port_file:
        write_port_file(args.port_file, port)
    print("port %d" % port, flush=True)
    stopper = threading.Timer(args.lifetime, server.shutdown)
    stopper.daemon = True
    stopper.start()
    try:
        server.serve_forever(poll_interval=0.1)
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
