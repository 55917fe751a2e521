#!/usr/bin/env python3
"""A small HTTPS server for the online-library tests. Usage:
  https_server.py PORT CERT KEY LOG REDIRECT_BASE   (REDIRECT_BASE: where /redirect/... points)
  https_server.py PORT - - LOG silent               (accepts connections and never answers)
Every request is logged as one JSON line: method, path, headers, body. Paths:
  .../datasheets/<name>/download   200 with a PDF body for names starting "dv06", else 404
  /redirect/<rest>                 302 to REDIRECT_BASE + <rest>
  /redirect-plain/<rest>           302 to the same server over plain http
  /loop                            302 to itself, forever
  /endless                         200 with a body that never ends
  /huge                            200 announcing a body of 100 MB (Content-Length), then closing
  /echo                            200 with the request body"""
import http.server
import json
import socket
import ssl
import sys
import threading
import time

port, cert, key, log, extra = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4], sys.argv[5]
lock = threading.Lock()

if extra == "silent":
    s = socket.socket()
    s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    s.bind(("127.0.0.1", port))
    s.listen(16)
    held = []
    while True:
        conn, _ = s.accept()
        held.append(conn)  # kept open, never answered

PDF = b"%PDF-1.4\n1 0 obj << /Type /Catalog >> endobj\ntrailer << /Root 1 0 R >>\n%%EOF\n"


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def record(self, body=b""):
        entry = {"method": self.command, "path": self.path, "headers": {k: v for k, v in self.headers.items()},
                 "body": body.decode("utf-8", "replace")}
        with lock, open(log, "a") as f:
            f.write(json.dumps(entry) + "\n")

    def reply(self, status, body, headers=()):
        self.send_response(status)
        for k, v in headers:
            self.send_header(k, v)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        self.record()
        parts = self.path.split("/")
        if self.path.startswith("/redirect/"):
            self.reply(302, b"", [("Location", extra + self.path[len("/redirect/"):])])
        elif self.path.startswith("/redirect-plain/"):
            rest = self.path[len("/redirect-plain/"):]
            self.reply(302, b"", [("Location", "http://127.0.0.1:%d/%s" % (port, rest))])
        elif self.path == "/loop":
            self.reply(302, b"", [("Location", "/loop")])
        elif self.path == "/huge":
            self.send_response(200)
            self.send_header("Content-Length", str(100 * 1024 * 1024))
            self.end_headers()
            self.wfile.write(b"x" * 1024)
            self.close_connection = True
        elif self.path == "/endless":
            self.send_response(200)
            self.end_headers()
            chunk = b"x" * 65536
            try:
                while True:
                    self.wfile.write(chunk)
            except OSError:
                pass
        elif len(parts) >= 3 and parts[-1] == "download" and parts[-3] == "datasheets":
            if parts[-2].startswith("dv06"):
                self.reply(200, PDF, [("Content-Type", "application/pdf")])
            else:
                self.reply(404, b"not found")
        else:
            self.reply(404, b"not found")

    def do_POST(self):
        body = self.rfile.read(int(self.headers.get("Content-Length", "0")))
        self.record(body)
        self.reply(200, body)


server = http.server.ThreadingHTTPServer(("127.0.0.1", port), Handler)
context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(cert, key)
server.socket = context.wrap_socket(server.socket, server_side=True)
server.serve_forever()
