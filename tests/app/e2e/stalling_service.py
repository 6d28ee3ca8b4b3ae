#!/usr/bin/env python3
"""A service that grants numbers but never answers an SMS request in time: it holds every
getsms.php request for 25 seconds. The end-to-end tests run the program against it to see that a
hanging poll leaves the window usable. Its held.php says that the account holds no number, so that
the program asks for one.

    stalling_service.py --port PORT [--database FILE] [--log FILE]   (the last two are ignored)
"""
import argparse
import http.server
import sys
import time

REPLIES = {
    "login.php": "demo,demo123,12.00,TAddr,VM8K2Q,f6,f7,demo@example.com",
    "getkf.php": "@velmora_kf",
    "getxm.php": "微信-1.2,QQ-1.0",
    "getnum.php": "1,13800138000,10.80",
    "held.php": "0",
}
STALL_SECONDS = 25


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        endpoint = self.path.split("?")[0].rsplit("/", 1)[-1]
        if endpoint == "getsms.php":
            time.sleep(STALL_SECONDS)
            body = "0"
        else:
            body = REPLIES.get(endpoint, "")
        data = body.encode("utf-8")
        self.send_response(200 if endpoint in REPLIES or endpoint == "getsms.php" else 404)
        self.send_header("Content-Type", "text/plain; charset=utf-8")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def log_message(self, *args):
        pass


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--database")
    parser.add_argument("--log")
    options = parser.parse_args()
    server = http.server.ThreadingHTTPServer(("127.0.0.1", options.port), Handler)
    print("listening on 127.0.0.1:%d" % options.port, flush=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
