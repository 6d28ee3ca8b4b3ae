#!/usr/bin/env python3
"""The demo service reselling the numbers of the tests' fake provider. It starts the fake provider
on a free port with a new key, writes the key file (readable by its owner alone, as the service
demands) beside the database, and starts the service with that key file and the projects file
beside this script. The end-to-end tests run the program against the service and ask the fake
provider what the service told it: they find its address in e2e-provider.address and its key in
e2e-provider.key, both beside the database. Stopping this script stops both.

    reselling_service.py --port PORT --database FILE --log FILE --service PROGRAM
                         --provider PROGRAM [--provider-NAME VALUE...] [SERVICE OPTION...]

Each --provider-NAME VALUE goes to the fake provider as --NAME VALUE (--provider-sms-delay 2 is
its --sms-delay 2); every other option goes to the service.
"""
import argparse
import os
import secrets
import signal
import subprocess
import sys

PROJECTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "provider_projects.json")
PROVIDER_PREFIX = "--provider-"
STOP_SECONDS = 5
LISTENING = "listening on 127.0.0.1:"


def split_options(extra):
    """The fake provider's options, with their prefix taken off, and the service's."""
    provider, service = [], []
    index = 0
    while index < len(extra):
        if extra[index].startswith(PROVIDER_PREFIX) and index + 1 < len(extra):
            provider += ["--" + extra[index][len(PROVIDER_PREFIX):], extra[index + 1]]
            index += 2
        else:
            service.append(extra[index])
            index += 1
    return provider, service


def write_private(path, text):
    """Writes a file that its owner alone can read, whatever lay there before."""
    if os.path.exists(path):
        os.unlink(path)
    with os.fdopen(os.open(path, os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o600), "w") as file:
        file.write(text)


def stop(children, files):
    """Stops the children, the service first, and removes the files the tests read."""
    for child in reversed(children):
        child.terminate()
    for child in reversed(children):
        try:
            child.wait(STOP_SECONDS)
        except subprocess.TimeoutExpired:
            child.kill()
            child.wait()
    for path in files:
        if os.path.exists(path):
            os.unlink(path)


def start(command, children):
    """Starts a program that prints "listening on 127.0.0.1:PORT" once it serves, as the last of
    the children; the program and what it printed up to that line, or until it ended."""
    child = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                             stdin=subprocess.DEVNULL, text=True)
    children.append(child)
    printed = []
    for line in child.stdout:
        printed.append(line)
        if line.startswith(LISTENING):
            break
    return child, printed


def listening(printed):
    return bool(printed) and printed[-1].startswith(LISTENING)


def main():
    parser = argparse.ArgumentParser(allow_abbrev=False)
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--database", required=True)
    parser.add_argument("--log", required=True)
    parser.add_argument("--service", required=True)
    parser.add_argument("--provider", required=True)
    options, extra = parser.parse_known_args()
    provider_options, service_options = split_options(extra)
    for program in (options.service, options.provider):
        if not os.access(program, os.X_OK):
            sys.exit("no program at %s: build the native preset first" % program)
    folder = os.path.dirname(os.path.abspath(options.database))
    key_file = os.path.join(folder, "e2e-provider.key")
    address_file = os.path.join(folder, "e2e-provider.address")
    children = []
    files = [key_file, address_file]

    def stopped(*_):
        stop(children, files)
        os._exit(0)

    signal.signal(signal.SIGTERM, stopped)
    key = secrets.token_hex(16)
    _, printed = start([options.provider, "--port", "0", "--key", key] + provider_options,
                       children)
    if not listening(printed):
        stop(children, files)
        sys.exit("the fake provider did not start: " + "".join(printed))
    address = "http://" + printed[-1].split()[-1]
    write_private(key_file, key + "\n")
    write_private(address_file, address + "\n")

    service, printed = start(
        [options.service, "--port", str(options.port), "--database", options.database, "--log",
         options.log, "--upstream", address + "/stubs/handler_api.php", "--upstream-key-file",
         key_file, "--upstream-projects", PROJECTS] + service_options, children)
    # Pass on what the service prints until it ends; the fake provider prints nothing more.
    sys.stdout.write("".join(printed))
    sys.stdout.flush()
    for line in service.stdout:
        sys.stdout.write(line)
        sys.stdout.flush()
    stop(children, files)
    return service.wait()


if __name__ == "__main__":
    sys.exit(main())
