#!/usr/bin/env python3
"""The demo service behind a proxy that loses getnum.php's reply: the service grants and charges
the number, and the connection closes without a reply, as when the network drops it. The
end-to-end tests run the program against it to see that the granted number is not lost. Every
other request is forwarded as it is. The proxy stops the service when it is stopped.

    dropping_service.py --port PORT --database FILE --log FILE --service PROGRAM [OPTION...]
"""
import argparse
import http.server
import os
import signal
import subprocess
import sys
import threading
import urllib.error
import urllib.request

DROPPED = "getnum.php"


def start_service(options, extra):
    """Starts the demo service on a free port; its port once it listens."""
    service = subprocess.Popen(
        [options.service, "--port", "0", "--database", options.database, "--log", options.log]
        + extra,
        stdout=subprocess.PIPE, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL, text=True)
    signal.signal(signal.SIGTERM, lambda *_: (service.terminate(), os._exit(0)))
    for line in service.stdout:
        sys.stdout.write(line)
        if line.startswith("listening on 127.0.0.1:"):
            # Keep its output flowing, so that the service never waits on a full pipe.
            threading.Thread(target=lambda: [sys.stdout.write(rest) for rest in service.stdout],
                             daemon=True).start()
            return int(line.rsplit(":", 1)[1])
    sys.exit("the demo service did not start")


def handler_for(service_port):
    class Handler(http.server.BaseHTTPRequestHandler):
        def do_GET(self):
            url = "http://127.0.0.1:%d%s" % (service_port, self.path)
            try:
                with urllib.request.urlopen(url, timeout=30) as reply:
                    status, body = reply.status, reply.read()
            except urllib.error.HTTPError as error:
                status, body = error.code, error.read()
            if self.path.split("?")[0].endswith("/" + DROPPED):
                self.close_connection = True  # granted, and the reply is lost
                return
            self.send_response(status)
            self.send_header("Content-Type", "text/plain; charset=utf-8")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

        def log_message(self, *args):
            pass

    return Handler


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--database", required=True)
    parser.add_argument("--log", required=True)
    parser.add_argument("--service", required=True)
    options, extra = parser.parse_known_args()
    service_port = start_service(options, extra)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", options.port), handler_for(service_port))
    print("listening on 127.0.0.1:%d" % options.port, flush=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
