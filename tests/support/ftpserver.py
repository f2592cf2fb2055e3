#!/usr/bin/env python3
"""A local FTP server for the upload tests.

usage: ftpserver.py HOME USER PASSWORD LOGFILE
Binds 127.0.0.1 on a free port, prints "PORT <n>" once it listens, and
appends every command it receives ("CMD ARG") to LOGFILE.
"""
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    home, user, password, logfile = sys.argv[1:5]
    auth = DummyAuthorizer()
    auth.add_user(user, password, home, perm="elradfmwMT")

    class Handler(FTPHandler):
        authorizer = auth

        def pre_process_command(self, line, cmd, arg):
            with open(logfile, "a") as f:
                f.write("%s %s\n" % (cmd, arg if cmd != "PASS" else "****"))
            return super().pre_process_command(line, cmd, arg)

    Handler.passive_ports = None
    server = FTPServer(("127.0.0.1", 0), Handler)
    print("PORT %d" % server.address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    import logging
    logging.basicConfig(level=logging.ERROR)
    main()
