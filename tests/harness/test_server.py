#!/usr/bin/env python3
"""Starts and stops the local servers the tests talk to, on 127.0.0.1 and a free port.

  test_server.py start NAME KIND ROOT STATE_DIR   serve ROOT; prints the port
  test_server.py stop NAME STATE_DIR              end it

KIND is one of
  http         Python's http.server
  ftp          pyftpdlib, users tester/secret (may write), reader/secret (may not store),
               noport/secret (every PORT refused) and anonymous; every command line it
               receives is appended to STATE_DIR/NAME.commands
  ftp-close    sends an FTP greeting and closes the connection
  ftp-silent   accepts connections and never says a word

The port is also written to STATE_DIR/NAME.port, so a test (native, or under Wine) can read
it; the server's process id goes to STATE_DIR/NAME.pid.
"""
import os
import signal
import subprocess
import sys
import time


def serve(kind, root, port_file):
    if kind == "http":
        import functools
        import http.server

        handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=root)
        handler.log_message = lambda *args: None
        server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        port = server.server_address[1]
        run = server.serve_forever
    elif kind == "ftp":
        import logging

        from pyftpdlib.authorizers import DummyAuthorizer
        from pyftpdlib.handlers import FTPHandler
        from pyftpdlib.servers import FTPServer

        logging.disable(logging.CRITICAL)
        authorizer = DummyAuthorizer()
        authorizer.add_user("tester", "secret", root, perm="elradfmwMT")
        authorizer.add_user("reader", "secret", root, perm="elr")
        authorizer.add_user("noport", "secret", root, perm="elradfmwMT")
        authorizer.add_anonymous(root, perm="elrw")
        commands_file = port_file[: -len(".port")] + ".commands"

        class Handler(FTPHandler):
            def pre_process_command(self, line, cmd, arg):
                with open(commands_file, "a") as f:
                    f.write(line + "\n")
                super().pre_process_command(line, cmd, arg)

            def ftp_PORT(self, line):
                if self.username == "noport":
                    self.respond("501 PORT refused here.")
                    return
                return super().ftp_PORT(line)

        handler = Handler
        handler.authorizer = authorizer
        handler.passive_ports = None
        server = FTPServer(("127.0.0.1", 0), handler)
        port = server.address[1]
        run = server.serve_forever
    elif kind in ("ftp-close", "ftp-silent"):
        import socket

        listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        listener.bind(("127.0.0.1", 0))
        listener.listen(16)
        port = listener.getsockname()[1]
        held = []

        def run():
            while True:
                connection, _ = listener.accept()
                if kind == "ftp-close":
                    connection.sendall(b"220 Hello, and goodbye.\r\n")
                    connection.close()
                else:
                    held.append(connection)  # open, and silent, until the server ends
    else:
        sys.exit(f"unknown server kind {kind}")
    tmp = port_file + ".tmp"
    with open(tmp, "w") as f:
        f.write(f"{port}\n")
    os.replace(tmp, port_file)
    run()


def start(name, kind, root, state):
    os.makedirs(state, exist_ok=True)
    port_file = os.path.join(state, name + ".port")
    pid_file = os.path.join(state, name + ".pid")
    stop(name, state)
    commands_file = os.path.join(state, name + ".commands")
    if os.path.exists(commands_file):
        os.remove(commands_file)  # only what this server's run heard
    # The server must not hold the caller's output open, or whoever reads it waits forever.
    with open(os.path.join(state, name + ".log"), "w") as log:
        child = subprocess.Popen(
            [sys.executable, os.path.abspath(__file__), "serve", kind, root, port_file],
            stdin=subprocess.DEVNULL, stdout=log, stderr=log, start_new_session=True)
    with open(pid_file, "w") as f:
        f.write(f"{child.pid}\n")
    deadline = time.time() + 15
    while time.time() < deadline:
        if os.path.exists(port_file):
            print(open(port_file).read().strip())
            return 0
        if child.poll() is not None:
            break
        time.sleep(0.05)
    sys.stderr.write(f"test_server: {kind} server {name} did not start\n")
    return 1


def stop(name, state):
    pid_file = os.path.join(state, name + ".pid")
    if os.path.exists(pid_file):
        try:
            os.kill(int(open(pid_file).read()), signal.SIGTERM)
        except (ProcessLookupError, ValueError):
            pass
        os.remove(pid_file)
    port_file = os.path.join(state, name + ".port")
    if os.path.exists(port_file):
        os.remove(port_file)
    return 0


if __name__ == "__main__":
    args = sys.argv[1:]
    if len(args) == 4 and args[0] == "serve":
        serve(args[1], args[2], args[3])
    elif len(args) == 5 and args[0] == "start":
        sys.exit(start(args[1], args[2], args[3], args[4]))
    elif len(args) == 3 and args[0] == "stop":
        sys.exit(stop(args[1], args[2]))
    else:
        sys.exit(__doc__)
