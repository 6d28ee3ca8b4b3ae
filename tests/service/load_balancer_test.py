#!/usr/bin/env python3
"""The sample nginx configuration (deploy/nginx/velmora.conf) in front of two velmora-service
processes on one PostgreSQL database, all started by the test on loopback ports and stopped at the
end, whatever happens.

nginx runs as a private instance in a folder of its own (as nobody when the test runs as root),
with the sample rendered for the run's ports and paths. The test checks that requests reach both
processes; that nginx keeps the service's bounds (no POST, a trickled head cut at 10 seconds, no
huge target); that a request a process got and dropped is repeated on the other only when it
cannot have acted; that a killed process fails no client while the other is up; and a load of
40 clients that register, log in, get and release numbers and submit and delete orders while
one process is killed with SIGKILL and started again. After the load every acknowledged step is in
the database, every balance is its start less the acknowledged charges plus the acknowledged
refunds, no number was held by two accounts, and no client saw failures for longer than the
restart took.

    load_balancer_test.py --sample FILE --service PROGRAM --folder FOLDER [--serve N]

The database is VELMORA_TEST_POSTGRES_URI (ctest's postgres_cluster fixture starts it); the test
works in a schema of its own there, dropped at the end.

With --serve N the script checks nothing: it starts N processes (1 or 2) behind the rendered
sample for a benchmark, gets the demo account a number whose SMS and end are a day away, prints
one line, nginx's port and the getsms.php target of that number, and keeps everything up until
its standard input closes.
"""
import argparse
import contextlib
import glob
import http.client
import http.server
import itertools
import json
import os
import random
import re
import secrets
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse

CLIENTS = 40
LOAD_SECONDS = 18
KILL_AT_SECONDS = 6
DOWN_SECONDS = 2
START_BALANCE = 10000  # hundredths
SMS_DELAY_SECONDS = 1
# What a benchmark's number waits for: nothing that comes during its run.
DAY_SECONDS = 86400
NUMBER_CYCLES_A_ROUND = 4
# Longest a client waits for an answer to one step, however many tries it takes.
STEP_DEADLINE_SECONDS = 30
# A process killed in the middle of a step may have sent its commit: PostgreSQL completes it, so
# what became of a lost step is asked a moment later.
SETTLE_SECONDS = 0.2
HEAD_SECONDS = 10
FRONT = "/E/qx/"
SUPPORT_CONTACT = "@velmora_kf"
LISTENING = "listening on 127.0.0.1:"
RUN_RECORD = "load-balancer.run"
# The folders a run makes under the system's temporary folder.
FOLDER_PREFIX = "velmora-lb-"
# The password of the requests that must fail to sign in: none of nginx's logs may show it.
WRONG_PASSWORD = "wrong" + secrets.token_hex(4)
# A step that acts, made with that password: it passes through nginx as any getnum.php and changes
# nothing, however often it runs.
REFUSED_NUMBER_REQUEST = {"username": "demo", "password": WRONG_PASSWORD, "xm": "QQ", "dq": "",
                          "yys": ""}


class Checks:
    """Collects the outcome of each check; a failure is reported and the run goes on."""

    def __init__(self):
        self.passed = 0
        self.failed = 0
        self.lock = threading.Lock()

    def expect(self, condition, what):
        with self.lock:
            if condition:
                self.passed += 1
            else:
                self.failed += 1
                print("FAIL: " + what, flush=True)
        return condition


def render(sample, values):
    """The sample with the first argument of each line marked "# site: NAME" replaced by
    values[NAME]. Every mark must have a value and every value its one mark, so that a changed
    sample fails here rather than running with a value of the sample's own."""
    marked = re.compile(r"^(\s*\w+\s+)([^\s;]+)(.*#\s*site:\s*(.+?)\s*)$")
    lines = []
    seen = []
    for line in sample.splitlines():
        match = marked.match(line)
        if match:
            name = match.group(4)
            if name not in values:
                raise ValueError("the sample marks '%s', which the test does not set" % name)
            seen.append(name)
            line = match.group(1) + values[name] + match.group(3)
        lines.append(line)
    if sorted(seen) != sorted(values):
        raise ValueError("the sample marks %s, not once each of %s" % (seen, sorted(values)))
    return "\n".join(lines) + "\n"


def unprivileged():
    """The command prefix that runs a program as nobody when the test runs as root."""
    if os.geteuid() != 0:
        return []
    return ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"]


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def wait_for_port(port, process, seconds=10):
    """Whether the port takes connections before the process ends or the time runs out."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline and process.poll() is None:
        try:
            socket.create_connection(("127.0.0.1", port), timeout=1).close()
            return True
        except OSError:
            time.sleep(0.05)
    return False


class Nginx:
    """A private nginx in a folder of its own under the system's temporary folder (where the user
    nobody reaches it, unlike the build folder), serving the rendered sample on 127.0.0.1:port."""

    def __init__(self, sample, port, services, record):
        self.port = port
        self.folder = tempfile.mkdtemp(prefix=FOLDER_PREFIX + "nginx.")
        record.add_folder(self.folder)
        os.chmod(self.folder, 0o755)
        os.mkdir(os.path.join(self.folder, "logs"))
        if os.geteuid() == 0:
            shutil.chown(os.path.join(self.folder, "logs"), "nobody", "nogroup")
        values = {"listen": "127.0.0.1:%d" % port, "access log": self.path("logs/access.log"),
                  "error log": self.path("logs/error.log")}
        for name, service_port in zip(("first process", "second process"), services):
            values[name] = "127.0.0.1:%d" % service_port
        self.write("velmora.conf", render(sample, values))
        # What nginx needs to run without root: its pid file, logs and temporary files inside
        # the prefix, and -e for the log it opens before it reads the configuration.
        temporary = "\n".join("  %s_temp_path %s;" % (kind, self.path("logs/" + kind))
                              for kind in ("client_body", "proxy", "fastcgi", "uwsgi", "scgi"))
        self.write("nginx.conf", """pid %s;
error_log %s info;
worker_processes 1;
events { worker_connections 1024; }
http {
%s
  access_log off;
  include %s;
}
""" % (self.path("logs/nginx.pid"), self.path("logs/main-error.log"), temporary,
       self.path("velmora.conf")))
        self.command = unprivileged() + ["nginx", "-p", self.folder, "-e",
                                         self.path("logs/startup.log"), "-c",
                                         self.path("nginx.conf")]
        self.process = None

    def path(self, name):
        return os.path.join(self.folder, name)

    def write(self, name, text):
        with open(self.path(name), "w") as file:
            file.write(text)

    def check(self):
        """nginx -t: its exit status and what it said."""
        checked = subprocess.run(self.command + ["-t"], stdin=subprocess.DEVNULL,
                                 capture_output=True, text=True)
        return checked.returncode, checked.stderr

    def start(self, record):
        self.process = subprocess.Popen(self.command + ["-g", "daemon off;"],
                                        stdin=subprocess.DEVNULL)
        record.add_pid(self.process.pid)
        if not wait_for_port(self.port, self.process):
            raise RuntimeError("nginx did not start: " + self.log("startup.log") +
                               self.log("main-error.log"))

    def log(self, name):
        try:
            with open(self.path("logs/" + name), errors="replace") as file:
                return file.read()
        except OSError:
            return ""

    def stop(self):
        if self.process:
            stop_process(self.process)
            self.process = None

    def remove(self):
        self.stop()
        shutil.rmtree(self.folder, ignore_errors=True)


def stop_process(process, signal_number=signal.SIGTERM):
    if process.poll() is None:
        process.send_signal(signal_number)
    try:
        return process.wait(5)
    except subprocess.TimeoutExpired:
        process.kill()
        return process.wait()


class Service:
    """One velmora-service process on a loopback port: started again on the same port after
    kill(). Its output is passed on to standard error as it comes (a sanitizer's report among
    it), so that it never waits on a full pipe. `options` are further command-line options."""

    def __init__(self, program, database, log, record, options):
        self.program, self.database, self.log, self.record = program, database, log, record
        self.options = options
        self.port = 0
        self.process = None

    def start(self):
        self.process = subprocess.Popen(
            [self.program, "--port", str(self.port), "--database", self.database, "--log",
             self.log, "--connections-per-address", "512"] + self.options,
            stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
            text=True)
        self.record.add_pid(self.process.pid)
        printed = []
        for line in self.process.stdout:
            printed.append(line)
            if line.startswith(LISTENING):
                self.port = int(line.rsplit(":", 1)[1])
                threading.Thread(target=self.pass_on, args=(self.process.stdout,),
                                 daemon=True).start()
                return
        raise RuntimeError("the service did not start: " + "".join(printed))

    def kill(self):
        stop_process(self.process, signal.SIGKILL)

    @staticmethod
    def pass_on(output):
        for line in output:
            sys.stderr.write(line)
            sys.stderr.flush()

    def stop(self):
        """The exit status after SIGTERM: 0 for a process that ended in order."""
        return stop_process(self.process) if self.process else 0

    def requests(self):
        """The request lines the process has logged."""
        with open(self.log, errors="replace") as file:
            return file.read().splitlines()


class RunRecord:
    """What the run started, in the build folder: a run killed before its end has its processes
    and folders removed by the next one."""

    def __init__(self, folder):
        self.path = os.path.join(folder, RUN_RECORD)
        self.lock = threading.Lock()
        self.started = {"pids": [], "folders": []}

    def clear_leftovers(self):
        try:
            with open(self.path) as file:
                left = json.load(file)
        except (OSError, ValueError):
            return
        # nginx's master ends its workers on SIGTERM; SIGKILL would leave them.
        pids = [pid for pid in left.get("pids", []) if self.ours(pid, left.get("folders", []))]
        for signal_number in (signal.SIGTERM, signal.SIGKILL):
            for pid in pids:
                try:
                    os.kill(pid, signal_number)
                except OSError:
                    pass
            deadline = time.monotonic() + 5
            while time.monotonic() < deadline and any(self.ours(pid, left["folders"])
                                                      for pid in pids):
                time.sleep(0.1)
        for folder in left.get("folders", []):
            if os.path.basename(folder).startswith(FOLDER_PREFIX):
                shutil.rmtree(folder, ignore_errors=True)
        os.unlink(self.path)

    @staticmethod
    def ours(pid, folders):
        """Whether the process is one the run started: nginx runs in one of its folders, and the
        service logs into one."""
        try:
            with open("/proc/%d/cmdline" % pid, "rb") as file:
                command = file.read().decode(errors="replace")
        except OSError:
            return False
        return any(folder in command for folder in folders)

    def add_pid(self, pid):
        self.add("pids", pid)

    def add_folder(self, folder):
        self.add("folders", folder)

    def add(self, kind, value):
        with self.lock:
            self.started[kind].append(value)
            with open(self.path, "w") as file:
                json.dump(self.started, file)

    def close(self):
        if os.path.exists(self.path):
            os.unlink(self.path)


class Sql:
    """One psql session for the whole run: statements go in one at a time, rows come back as
    lists of fields."""

    END = "-- end of rows --"

    def __init__(self, uri):
        self.session = subprocess.Popen(
            [psql_program(), "-X", "-q", "-A", "-t", "-F", "\t", "-v", "ON_ERROR_STOP=1", uri],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.lock = threading.Lock()
        self.rows("SET client_min_messages TO warning")

    def rows(self, statement):
        with self.lock:
            self.session.stdin.write(statement + ";\n\\echo '%s'\n" % self.END)
            self.session.stdin.flush()
            rows = []
            for line in self.session.stdout:
                line = line.rstrip("\n")
                if line == self.END:
                    return rows
                if line:
                    rows.append(line.split("\t"))
            raise RuntimeError("psql ended at: " + statement)

    def close(self):
        self.session.stdin.close()
        self.session.wait(10)


def psql_program():
    found = sorted(glob.glob("/usr/lib/postgresql/*/bin/psql"),
                   key=lambda path: [int(part) for part in re.findall(r"\d+", path)])
    return found[-1] if found else "psql"


def amount(text):
    """Hundredths of a decimal text such as "12", "1.2" or "10.80"."""
    whole, _, fraction = text.partition(".")
    return int(whole) * 100 + int((fraction + "00")[:2])


def target(endpoint, **query):
    return FRONT + endpoint + "?" + urllib.parse.urlencode(query, quote_via=urllib.parse.quote)


def exchange(port, request_target, method="GET", body=None, timeout=20):
    """(status, headers, body) of one request on a connection of its own; None when no reply
    came."""
    connection = http.client.HTTPConnection("127.0.0.1", port, timeout=timeout)
    try:
        connection.request(method, request_target, body=body)
        reply = connection.getresponse()
        return reply.status, reply.headers, reply.read().decode("utf-8", "replace")
    except (OSError, http.client.HTTPException):
        return None
    finally:
        connection.close()


class LostReplies:
    """Between some clients and nginx: passes each request on and its reply back, but loses the
    reply to every third step that acts once nginx has answered it, as a network may, so that the
    clients find out what became of many steps that were done, not only of those the killed
    process took with it. A lost reply comes as a 502 that the client tells by its mark."""

    MARK = "X-Lost-Reply"
    ACTING = ("getnum.php", "release.php", "restpay.php", "delpay.php", "restuser.php")

    def __init__(self, port):
        losses = itertools.count()

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                reply = exchange(port, self.path)
                endpoint = self.path.split("?")[0].rsplit("/", 1)[-1]
                if reply and endpoint in LostReplies.ACTING and next(losses) % 3 == 0:
                    reply = (502, {LostReplies.MARK: "1"}, "")
                status, headers, body = reply or (502, {}, "")
                self.send_response(status)
                if LostReplies.MARK in headers:
                    self.send_header(LostReplies.MARK, "1")
                self.send_header("Content-Length", str(len(body.encode())))
                self.end_headers()
                self.wfile.write(body.encode())

            def log_message(self, *_):
                pass

        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.port = self.server.server_address[1]
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def close(self):
        self.server.shutdown()
        self.server.server_close()


class Client:
    """One user of the load: its steps, as the real client makes them, on a connection it keeps,
    and what it was told. A step whose reply is lost is asked after (held.php, getpay.php, a
    login for the balance) before it is made again, so that every step is counted exactly once."""

    def __init__(self, index, port, prices, sql, stop, checks):
        self.index, self.port, self.prices, self.sql = index, port, prices, sql
        self.stop, self.checks = stop, checks
        self.connection = None
        # name -> password, hundredths charged and refunded, the balance, the pending order
        self.accounts = {}
        self.holdings = []  # (number, held from, held until): monotonic times
        self.failures = []  # monotonic times of replies that did not come
        self.stretch = 0.0  # the longest time from a failure to the next reply
        self.failing_since = None
        self.requests = 0
        # Steps whose reply was lost, by what the client then found: done, or not done.
        self.lost_steps = {True: 0, False: 0}
        self.lost_replies = 0  # by LostReplies
        self.random = random.Random(index)

    def ask(self, endpoint, **query):
        """The body of the reply; None when no reply came (no answer, or nginx's 502 or 504)."""
        self.requests += 1
        if self.connection is None:
            self.connection = http.client.HTTPConnection("127.0.0.1", self.port, timeout=20)
        try:
            self.connection.request("GET", target(endpoint, **query))
            reply = self.connection.getresponse()
            body = reply.read().decode("utf-8", "replace")
        except (OSError, http.client.HTTPException):
            self.connection.close()
            self.connection = None
            return self.failed()
        if reply.will_close:
            self.connection.close()
            self.connection = None
        if reply.getheader(LostReplies.MARK):
            self.lost_replies += 1
            return None
        if reply.status >= 500:
            return self.failed()
        if self.failing_since is not None:
            self.stretch = max(self.stretch, time.monotonic() - self.failing_since)
            self.failing_since = None
        if reply.status != 200:
            self.fault("%s answered HTTP %d" % (endpoint, reply.status))
        return body

    def failed(self):
        now = time.monotonic()
        self.failures.append(now)
        if self.failing_since is None:
            self.failing_since = now
        return None

    def until_answered(self, endpoint, **query):
        """Asks again until a reply comes (only for steps that read)."""
        deadline = time.monotonic() + STEP_DEADLINE_SECONDS
        while time.monotonic() < deadline:
            body = self.ask(endpoint, **query)
            if body is not None:
                return body
            time.sleep(0.1)
        raise RuntimeError("no reply to %s for %d seconds" % (endpoint, STEP_DEADLINE_SECONDS))

    def fault(self, what):
        self.checks.expect(False, "client %d: %s" % (self.index, what))

    def run(self):
        try:
            round_number = 0
            while not self.stop.is_set():
                self.account_round(round_number)
                round_number += 1
        except Exception as error:  # a client that cannot go on is a failure, not a hang
            self.fault("stopped: %r" % error)

    def account_round(self, round_number):
        name = "lb%02dr%d%s" % (self.index, round_number, secrets.token_hex(3))
        password = secrets.token_hex(6)
        if not self.register(name, password):
            return
        account = self.accounts[name]
        self.fund(name)
        credentials = {"username": name, "password": password}
        record = self.until_answered("login.php", **credentials).split(",")
        if not (len(record) == 8 and amount(record[2]) == START_BALANCE):
            self.fault("login of %s answered %s" % (name, record))
            return
        for cycle in range(NUMBER_CYCLES_A_ROUND):
            if self.stop.is_set() and cycle > 0:
                break
            project = ("QQ", "Steam")[cycle % 2]
            self.number_cycle(account, credentials, project, wait_for_sms=self.random.random() < .5)
            self.order_cycle(account, credentials, keep=cycle == NUMBER_CYCLES_A_ROUND - 1)

    def register(self, name, password):
        """Registers the account; a lost reply is answered by registering again: the name is the
        client's own, so "taken" then means the first request did it."""
        deadline = time.monotonic() + STEP_DEADLINE_SECONDS
        lost = False
        while time.monotonic() < deadline:
            body = self.ask("restuser.php", username=name, password=password,
                            sj=str(11111 + self.index), email="")
            if body == "2" or (body == "1" and lost):
                if lost:
                    self.lost_steps[body == "1"] += 1
                self.accounts[name] = {"password": password, "charged": 0, "refunded": 0,
                                       "order": None, "balance": START_BALANCE}
                return True
            if body is not None:
                self.fault("registration of %s answered %r" % (name, body))
                return False
            lost = True
            time.sleep(SETTLE_SECONDS)
        self.fault("registration of %s had no reply" % name)
        return False

    def fund(self, name):
        rows = self.sql.rows("UPDATE accounts SET balance = '%d.%02d' WHERE name = '%s' "
                             "RETURNING name" % (START_BALANCE // 100, START_BALANCE % 100, name))
        if rows != [[name]]:
            raise RuntimeError("could not fund %s: %s" % (name, rows))

    def held(self, credentials):
        """The number the account holds, or None."""
        body = self.until_answered("held.php", **credentials)
        if body.startswith("1,"):
            return body.split(",")[1]
        if body != "0":
            raise RuntimeError("held.php answered %r" % body)
        return None

    def balance(self, credentials):
        return amount(self.until_answered("login.php", **credentials).split(",")[2])

    def number_cycle(self, account, credentials, project, wait_for_sms):
        price = self.prices[project]
        body = self.ask("getnum.php", xm=project, dq="", yys="", **credentials)
        if body is not None and body.startswith("1,"):
            number, reply_balance = body.split(",")[1], amount(body.split(",")[2])
            if reply_balance != account["balance"] - price:
                self.fault("getnum.php left %d, expected %d" % (reply_balance,
                                                                account["balance"] - price))
        else:
            if body not in (None, "2"):
                self.fault("getnum.php answered %r" % body)
            time.sleep(SETTLE_SECONDS)
            number = self.held(credentials)
            if body is None:
                self.lost_steps[number is not None] += 1
            if number is None:
                return  # not granted, not charged
            if body is not None:
                self.fault("getnum.php answered %r, yet the account holds %s" % (body, number))
        account["charged"] += price
        account["balance"] -= price
        held_from = time.monotonic()
        sms_seen = wait_for_sms and self.wait_for_sms(credentials, number)
        self.holdings.append((number, held_from, time.monotonic()))
        self.release(account, credentials, number, price, sms_seen)

    def wait_for_sms(self, credentials, number):
        deadline = time.monotonic() + SMS_DELAY_SECONDS + STEP_DEADLINE_SECONDS
        while time.monotonic() < deadline:
            body = self.until_answered("getsms.php", hm=number, **credentials)
            if body.startswith("1,"):
                return True
            if body != "0":
                self.fault("getsms.php answered %r for a held number" % body)
                return False
            time.sleep(0.3)
        self.fault("the SMS of %s did not come" % number)
        return False

    def release(self, account, credentials, number, price, sms_seen):
        deadline = time.monotonic() + STEP_DEADLINE_SECONDS
        while time.monotonic() < deadline:
            body = self.ask("release.php", hm=number, **credentials)
            if body is not None and body.startswith("1,"):
                left = amount(body.split(",")[1])
                break
            time.sleep(SETTLE_SECONDS)
            released = self.held(credentials) != number
            if body is None:
                self.lost_steps[released] += 1
            if released:
                left = self.balance(credentials)
                break
        else:
            self.fault("%s was not released" % number)
            return
        refund = left - account["balance"]
        if refund not in ((0,) if sms_seen else (0, price)):
            self.fault("the release of %s moved the balance by %d (price %d, SMS %s)" %
                       (number, refund, price, "shown" if sms_seen else "not shown"))
            return
        account["refunded"] += refund
        account["balance"] = left

    def order(self, credentials):
        """The order number of the account's pending order, or None."""
        body = self.until_answered("getpay.php", **credentials)
        return None if body == "0" else body.split("-")[2]

    def order_cycle(self, account, credentials, keep):
        number = "%d%d" % (self.index, self.random.randrange(10 ** 9))
        if not self.acted(credentials, lambda: self.ask(
                "restpay.php", username=credentials["username"], qt="10", cd=number,
                time="2026/12/9 10:00", password=credentials["password"]), number):
            self.fault("order %s was not submitted" % number)
            return
        account["order"] = number
        if keep and self.random.random() < .5:
            return
        if not self.acted(credentials, lambda: self.ask("delpay.php", **credentials), None):
            self.fault("order %s was not deleted" % number)
            return
        account["order"] = None

    def acted(self, credentials, step, pending_after):
        """Makes an order step until getpay.php shows its result: the pending order's number
        afterwards, or None."""
        deadline = time.monotonic() + STEP_DEADLINE_SECONDS
        while time.monotonic() < deadline:
            body = step()
            if body == "1":
                return True
            time.sleep(SETTLE_SECONDS)
            done = self.order(credentials) == pending_after
            if body is None:
                self.lost_steps[done] += 1
            if done:
                return True
        return False


def check_config(checks, nginx):
    status, said = nginx.check()
    checks.expect(status == 0 and "syntax is ok" in said, "nginx -t: " + said)


def check_both_answer(checks, port, services):
    before = [len(service.requests()) for service in services]
    replies = [exchange(port, target("getkf.php", round=str(i))) for i in range(20)]
    checks.expect(all(reply and reply[2] == SUPPORT_CONTACT for reply in replies),
                  "getkf.php through nginx: %s" % replies)
    grown = [len(service.requests()) - count for service, count in zip(services, before)]
    checks.expect(all(grown) and sum(grown) == 20, "requests each process got: %s" % grown)


def trickled_head(port):
    """Seconds from the connection's start until nginx closed it, while its request head came a
    byte every half second."""
    with socket.create_connection(("127.0.0.1", port)) as connection:
        started = time.monotonic()
        connection.sendall(b"GET " + FRONT.encode() + b"getkf.php HTTP/1.1\r\nX-Slow: ")
        connection.settimeout(0.5)
        while time.monotonic() - started < HEAD_SECONDS * 2:
            try:
                connection.sendall(b"a")
                if not connection.recv(100):
                    break
            except socket.timeout:
                continue
            except OSError:
                break
        return time.monotonic() - started


def padded(length):
    """A getkf.php target of `length` bytes."""
    bare = target("getkf.php", pad="")
    return bare + "a" * (length - len(bare))


def check_bounds(checks, port, services):
    """Only what keeps within the bounds reaches a process."""
    before = sum(len(service.requests()) for service in services)
    posted = exchange(port, target("getkf.php"), method="POST", body=b"x" * 5)
    checks.expect(posted and posted[0] == 405 and posted[1].get("Allow") == "GET, HEAD",
                  "a POST: %s" % str(posted and posted[:2]))
    carrying = exchange(port, target("getkf.php"), body=b"x" * 2048)
    checks.expect(carrying and carrying[0] == 413, "a GET with a body: %s" %
                  (carrying and carrying[0]))
    # The longest request line one large buffer takes: "GET ", the target, " HTTP/1.1" and its
    # line end in 4 KB.
    longest = exchange(port, padded(4081))
    checks.expect(longest and longest[2] == SUPPORT_CONTACT,
                  "a target of 4081 bytes: %s" % (longest and longest[0]))
    for length in (4082, 64 * 1024):
        refused = exchange(port, padded(length))
        checks.expect(refused and refused[0] == 414, "a target of %d bytes: %s" %
                      (length, refused and refused[0]))
    elsewhere = exchange(port, "/index.php")
    checks.expect(elsewhere and elsewhere[0] == 404, "outside the endpoints: %s" %
                  (elsewhere and elsewhere[0]))
    reached = sum(len(service.requests()) for service in services) - before
    checks.expect(reached == 1, "requests the bounds let through: %d, expected 1" % reached)


class DroppingPeer:
    """A process that takes each request and closes its connection without a reply, as one
    killed while it answers; it keeps the request lines it got."""

    def __init__(self):
        self.listener = socket.create_server(("127.0.0.1", 0))
        self.port = self.listener.getsockname()[1]
        self.lines = []
        threading.Thread(target=self.serve, daemon=True).start()

    def serve(self):
        while True:
            try:
                connection, _ = self.listener.accept()
            except OSError:
                return
            with connection:
                head = b""
                while b"\r\n\r\n" not in head:
                    part = connection.recv(4096)
                    if not part:
                        break
                    head += part
                self.lines.append(head.split(b"\r\n")[0].decode(errors="replace"))

    def close(self):
        self.listener.close()


def check_dropped_request(checks, sample, service, record):
    """With a peer that drops what it gets beside a process: a step that only reads is repeated on
    the process; a step that acts is not, and the client is told 502."""
    peer = DroppingPeer()
    try:
        for endpoint, query, repeated in (
                ("getkf.php", {}, True),
                ("getnum.php", REFUSED_NUMBER_REQUEST, False)):
            # A fresh nginx for each: the peer that failed is passed over for a while.
            port = free_port()
            nginx = Nginx(sample, port, (peer.port, service.port), record)
            try:
                nginx.start(record)
                replies = {}
                for probe in range(10):
                    marker = "probe%d%s" % (probe, endpoint.split(".")[0])
                    replies[marker] = exchange(port, target(endpoint, mark=marker, **query))
                    if any(marker in line for line in peer.lines):
                        break
                dropped = [marker for marker in replies if
                           any(marker in line for line in peer.lines)]
                if not checks.expect(len(dropped) == 1, "the peer got %s" % peer.lines):
                    continue
                reply = replies[dropped[0]]
                on_process = any(dropped[0] in line for line in service.requests())
                if repeated:
                    checks.expect(reply and reply[2] == SUPPORT_CONTACT and on_process,
                                  "%s dropped by a peer: %s, repeated: %s" % (endpoint, reply,
                                                                              on_process))
                else:
                    checks.expect(reply and reply[0] == 502 and not on_process,
                                  "%s dropped by a peer: %s, repeated: %s" % (endpoint, reply,
                                                                              on_process))
            finally:
                nginx.remove()
    finally:
        peer.close()


def check_killed_process(checks, port, services):
    """One process killed: every request goes to the other, also a step that acts (the
    connection to the dead one is refused, so it never got the request)."""
    services[1].kill()
    replies = []
    for probe in range(10):
        replies.append(exchange(port, target("getnum.php", mark="k%d" % probe,
                                             **REFUSED_NUMBER_REQUEST)))
        replies.append(exchange(port, target("getkf.php", mark="k%d" % probe)))
    checks.expect(all(reply and reply[0] == 200 and reply[2] in ("9", SUPPORT_CONTACT)
                      for reply in replies),
                  "with one process killed: %s" % [reply and reply[0] for reply in replies])
    services[1].start()
    # nginx passes over a process that failed for a while: the load needs both again.
    served = len(services[1].requests())
    deadline = time.monotonic() + 15
    while len(services[1].requests()) == served and time.monotonic() < deadline:
        exchange(port, target("getkf.php"))
        time.sleep(0.2)
    checks.expect(len(services[1].requests()) > served, "the restarted process got no request")


def project_prices(port):
    reply = exchange(port, target("getxm.php"))
    return {item.rsplit("-", 1)[0]: amount(item.rsplit("-", 1)[1])
            for item in reply[2].split(",")}


def run_load(checks, port, services, sql):
    """The clients against nginx while the second process is killed and started again."""
    prices = project_prices(port)
    stop = threading.Event()
    losing = LostReplies(port)
    clients = [Client(index, losing.port if index % 4 == 0 else port, prices, sql, stop, checks)
               for index in range(CLIENTS)]
    # Daemons, so that an interrupted run ends without them.
    threads = [threading.Thread(target=client.run, daemon=True) for client in clients]
    started = time.monotonic()
    served_at_start = len(services[1].requests())
    for thread in threads:
        thread.start()
    time.sleep(KILL_AT_SECONDS)
    killed_at = time.monotonic()
    services[1].kill()
    served_before = len(services[1].requests()) - served_at_start
    time.sleep(DOWN_SECONDS)
    services[1].start()
    restarted_at = time.monotonic()
    restarted_log = len(services[1].requests())
    time.sleep(max(0, LOAD_SECONDS - (time.monotonic() - started)))
    stop.set()
    for thread in threads:
        thread.join(STEP_DEADLINE_SECONDS * 4)
    elapsed = time.monotonic() - started
    checks.expect(not any(thread.is_alive() for thread in threads), "a client did not end")
    checks.expect(served_before > 0 and len(services[1].requests()) > restarted_log,
                  "the killed process served before and after its restart")
    restart = restarted_at - killed_at
    failures = [moment for client in clients for moment in client.failures]
    checks.expect(all(killed_at <= moment <= restarted_at for moment in failures),
                  "failures outside the restart: %s" %
                  [round(moment - killed_at, 2) for moment in failures])
    stretch = max(client.stretch for client in clients)
    checks.expect(stretch <= restart, "a client failed for %.2f s, the restart took %.2f s" %
                  (stretch, restart))
    requests = sum(client.requests for client in clients)
    losing.close()
    lost = [sum(client.lost_steps[done] for client in clients) for done in (True, False)]
    checks.expect(lost[0] > 0, "no lost step was found done")
    print("load: %d clients, %d requests in %.1f s (%.0f a second), %d accounts, %d failed "
          "requests, %d lost steps found done and %d not done, longest failing %.2f s, "
          "restart %.2f s" % (CLIENTS, requests, elapsed, requests / elapsed,
                              sum(len(client.accounts) for client in clients), len(failures),
                              lost[0], lost[1], stretch, restart), flush=True)
    check_database(checks, clients, sql)
    return [account["password"] for client in clients for account in client.accounts.values()]


def check_database(checks, clients, sql):
    accounts = {name: account for client in clients for name, account in client.accounts.items()}
    stored = {row[0]: amount(row[1]) for row in
              sql.rows("SELECT name, balance FROM accounts WHERE name LIKE 'lb%'")}
    checks.expect(set(stored) == set(accounts), "accounts: %d registered, %d stored, missing %s" %
                  (len(accounts), len(stored), sorted(set(accounts) - set(stored))[:5]))
    expected = {name: START_BALANCE - account["charged"] + account["refunded"]
                for name, account in accounts.items()}
    wrong = ["%s: %s stored, %d expected" % (name, stored.get(name), expected[name])
             for name in accounts if stored.get(name) != expected[name]]
    checks.expect(not wrong, "balances: %s" % wrong[:5])
    refunded = sum(1 for account in accounts.values() if account["refunded"])
    charged = sum(1 for account in accounts.values() if account["charged"] >
                  account["refunded"])
    checks.expect(refunded and charged, "accounts refunded %d, charged %d: the load should "
                                        "have both" % (refunded, charged))
    orders = {row[0]: row[1] for row in sql.rows('SELECT "user", number FROM orders')}
    expected = {name: account["order"] for name, account in accounts.items() if account["order"]}
    checks.expect(orders == expected, "orders: %d stored, %d expected" % (len(orders),
                                                                         len(expected)))
    doubled = sql.rows('SELECT number FROM leases GROUP BY number HAVING count(*) > 1')
    left = sql.rows('SELECT number, "user" FROM leases')
    checks.expect(not doubled and not left, "numbers still held: %s" % left)
    holdings = sorted((number, start, end, client.index) for client in clients
                      for number, start, end in client.holdings)
    overlapping = [(first[0], first[3], second[3]) for first, second in zip(holdings, holdings[1:])
                   if first[0] == second[0] and second[1] < first[2]]
    checks.expect(not overlapping, "numbers held by two clients at once: %s" % overlapping)


@contextlib.contextmanager
def deployment(options, database, processes, service_options):
    """The processes, not yet started, on a fresh schema of the database, and a psql session on
    it; at the end the processes are stopped and the schema, their logs and the run's record
    removed, whatever happened."""
    record = RunRecord(options.folder)
    record.clear_leftovers()
    schema = "lb_" + secrets.token_hex(6)
    admin = Sql(database)
    admin.rows("CREATE SCHEMA " + schema)
    location = database + "?options=-csearch_path%3D" + schema
    sql = Sql(location)
    logs = tempfile.mkdtemp(prefix=FOLDER_PREFIX + "logs.")
    record.add_folder(logs)
    services = [Service(options.service, location, os.path.join(logs, "service%d.log" % i),
                        record, service_options) for i in range(1, processes + 1)]
    try:
        yield record, services, sql
    finally:
        for service in services:
            service.stop()
        sql.close()
        admin.rows("DROP SCHEMA %s CASCADE" % schema)
        admin.close()
        shutil.rmtree(logs, ignore_errors=True)
        record.close()


def check(options, sample, database):
    checks = Checks()
    with deployment(options, database, 2, ["--sms-delay", str(SMS_DELAY_SECONDS)]) as (
            record, services, sql):
        nginx = None
        try:
            for service in services:
                service.start()
            port = free_port()
            nginx = Nginx(sample, port, [service.port for service in services], record)
            check_config(checks, nginx)
            nginx.start(record)
            trickle = {}
            trickling = threading.Thread(
                target=lambda: trickle.update(seconds=trickled_head(port)))
            trickling.start()
            check_both_answer(checks, port, services)
            check_bounds(checks, port, services)
            check_dropped_request(checks, sample, services[0], record)
            check_killed_process(checks, port, services)
            passwords = run_load(checks, port, services, sql)
            trickling.join()
            checks.expect(HEAD_SECONDS - 1 <= trickle.get("seconds", 0) <= HEAD_SECONDS + 2,
                          "a trickled head was cut after %.1f s" % trickle.get("seconds", 0))
            logged = "".join(nginx.log(name) for name in ("access.log", "error.log",
                                                          "main-error.log"))
            checks.expect(not any(password in logged for password in passwords + [WRONG_PASSWORD]),
                          "nginx's logs hold passwords")
            # What a sanitizer found fails a process's exit.
            statuses = [service.stop() for service in services]
            checks.expect(statuses == [0, 0], "the processes ended with %s" % statuses)
        finally:
            if nginx:
                nginx.remove()
    print("%d passed, %d failed" % (checks.passed, checks.failed))
    return 1 if checks.failed else 0


def serve(options, sample, database):
    """The --serve mode: the sample in front of the processes until standard input closes. With
    one process, both of the sample's servers are that process."""
    service_options = ["--sms-delay", str(DAY_SECONDS), "--number-expiry", str(DAY_SECONDS)]
    with deployment(options, database, options.serve, service_options) as (record, services, _):
        nginx = None
        try:
            for service in services:
                service.start()
            port = free_port()
            ports = [service.port for service in services]
            nginx = Nginx(sample, port, (ports * 2)[:2], record)
            nginx.start(record)
            account = {"username": "demo", "password": "demo123"}
            given = exchange(port, target("getnum.php", xm="QQ", dq="", yys="", **account))
            if not (given and given[0] == 200 and given[2].startswith("1,")):
                raise RuntimeError("the demo account got no number: %s" % (given,))
            number = given[2].split(",")[1]
            print("%d %s" % (port, target("getsms.php", hm=number, **account)), flush=True)
            sys.stdin.read()
        finally:
            if nginx:
                nginx.remove()
    return 0


def main():
    parser = argparse.ArgumentParser(allow_abbrev=False)
    parser.add_argument("--sample", required=True)
    parser.add_argument("--service", required=True)
    parser.add_argument("--folder", required=True)
    parser.add_argument("--serve", type=int, choices=(1, 2))
    options = parser.parse_args()
    database = os.environ.get("VELMORA_TEST_POSTGRES_URI")
    if not database:
        sys.exit("VELMORA_TEST_POSTGRES_URI is not set: run the test with ctest, whose "
                 "postgres_cluster fixture starts the database")
    # A signal ends the run through its clean-up.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    with open(options.sample) as file:
        sample = file.read()
    return (serve if options.serve else check)(options, sample, database)


if __name__ == "__main__":
    sys.exit(main())
