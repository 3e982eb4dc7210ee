#!/usr/bin/env python3
"""A stand-in for SQL Server in tests: a small TDS 7.x server on loopback.

It is a test double, not a database. It speaks enough of the protocol for a
real TDS client (FreeTDS, reached through ODBC) to log in and send batches:
pre-login without encryption, LOGIN7 checked against a fixed table of logins
with their server roles, and SQL batches. It answers the rights check the way
SQL Server evaluates it for each login, refuses CREATE DATABASE for a database
that exists (error 1801), "use" of one that does not (911) and CREATE TABLE of
a table that exists (2714, answered statement by statement as SQL Server does
within a batch), and accepts everything else. Every login, batch
and closed session is appended to a log file, so tests can read exactly what
arrived.

Log lines (tab separated, one per event, flushed before the reply is sent):
  login  <session> <user> ok|fail [<TDS version acknowledged>]
  batch  <session> <user> <batch text as hex of its UTF-16LE bytes>
  close  <session>
"""
import argparse
import os
import re
import socket
import socketserver
import struct
import sys
import threading
import time

# Login name (case-insensitive, as with SQL Server's default collation) ->
# (password, server roles). None: a login without a row of its own in
# syslogins (as when a Windows group grants the access), so every role flag
# the rights check selects stays null.
LOGINS = {
    "sa": ("Sa_Pass1", {"sysadmin"}),
    "secadmin": ("Sec_Pass1", {"securityadmin"}),
    "secdbc": ("Both_Pass1", {"securityadmin", "dbcreator"}),
    "creator": ("Creator_Pass1", {"dbcreator"}),
    "plain": ("Plain_Pass1", set()),
    "grouped": ("Group_Pass1", None),
    "o'neil;{x": (" p;w=d{1", {"sysadmin"}),
}
DATABASES = {"master", "tempdb", "model", "msdb", "existing"}
SERVER_NAME = "QVTDS"
RIGHTS_CHECK_MARK = "raiserror('Login must have sysadmin or, securityadmin and dbcreator role',18,1)"

PKT_BATCH, PKT_REPLY, PKT_ATTENTION, PKT_LOGIN7, PKT_PRELOGIN = 0x01, 0x04, 0x06, 0x10, 0x12
DONE_FINAL, DONE_MORE, DONE_ERROR, DONE_ATTN = 0x00, 0x01, 0x02, 0x20

state_lock = threading.Lock()
databases = {d.lower() for d in DATABASES}
tables = set()  # (database, table), lower case
log_lock = threading.Lock()
log_path = None
session_ids = iter(range(1, 1 << 30))


def log(*fields):
    with log_lock:
        with open(log_path, "a", encoding="utf-8") as f:
            f.write("\t".join(str(x) for x in fields) + "\n")
            f.flush()
            os.fsync(f.fileno())


def b_varchar(text):
    data = text.encode("utf-16-le")
    return bytes([len(text)]) + data


def us_varchar(text):
    return struct.pack("<H", len(text)) + text.encode("utf-16-le")


class Session(socketserver.BaseRequestHandler):
    def setup(self):
        self.request.settimeout(30)
        self.sid = next(session_ids)
        self.user = None
        self.roles = set()
        self.database = "master"
        self.tds72 = True
        self.packet_size = 4096

    # --- packets -------------------------------------------------------
    def recv_exact(self, n):
        buf = b""
        while len(buf) < n:
            chunk = self.request.recv(n - len(buf))
            if not chunk:
                raise EOFError
            buf += chunk
        return buf

    def recv_message(self):
        """One message, reassembled from its packets; (type, payload)."""
        payload, kind = b"", None
        for _ in range(100000):
            header = self.recv_exact(8)
            kind, status, length = header[0], header[1], struct.unpack(">H", header[2:4])[0]
            if length < 8:
                raise EOFError
            payload += self.recv_exact(length - 8)
            if status & 0x01:
                return kind, payload
        raise EOFError

    def send_message(self, kind, payload):
        room = max(512, self.packet_size) - 8
        chunks = [payload[i:i + room] for i in range(0, len(payload), room)] or [b""]
        for n, chunk in enumerate(chunks):
            last = n == len(chunks) - 1
            header = struct.pack(">BBHHBB", kind, 1 if last else 0, len(chunk) + 8, 0, (n + 1) & 0xFF, 0)
            self.request.sendall(header + chunk)

    # --- tokens --------------------------------------------------------
    def message_token(self, token, number, state, severity, text, line=1):
        body = struct.pack("<IBB", number, state, severity) + us_varchar(text) + b_varchar(SERVER_NAME) + b_varchar("")
        body += struct.pack("<I", line) if self.tds72 else struct.pack("<H", line)
        return bytes([token]) + struct.pack("<H", len(body)) + body

    def error(self, number, state, severity, text, line=1):
        return self.message_token(0xAA, number, state, severity, text, line)

    def info(self, number, text):
        return self.message_token(0xAB, number, 1, 0, text)

    def envchange(self, kind, new, old):
        body = bytes([kind]) + b_varchar(new) + b_varchar(old)
        return b"\xE3" + struct.pack("<H", len(body)) + body

    def done(self, status, rows=0):
        count = struct.pack("<Q", rows) if self.tds72 else struct.pack("<I", rows)
        return b"\xFD" + struct.pack("<HH", status, 0) + count

    # --- protocol ------------------------------------------------------
    def handle(self):
        try:
            kind, data = self.recv_message()
            if kind == PKT_PRELOGIN:
                self.send_message(PKT_REPLY, self.prelogin_reply())
                kind, data = self.recv_message()
            if kind != PKT_LOGIN7 or not self.login(data):
                return
            for _ in range(100000):
                kind, data = self.recv_message()
                if kind == PKT_BATCH:
                    self.send_message(PKT_REPLY, self.batch(data))
                elif kind == PKT_ATTENTION:
                    self.send_message(PKT_REPLY, self.done(DONE_ATTN))
                else:
                    self.send_message(PKT_REPLY, self.error(
                        8009, 1, 16, "The stand-in only accepts SQL batches.") + self.done(DONE_ERROR))
        except (EOFError, OSError, socket.timeout):
            pass
        finally:
            log("close", self.sid)

    def prelogin_reply(self):
        # VERSION, ENCRYPTION = not supported, INSTOPT, THREADID (empty), MARS off.
        options = [(0x00, struct.pack(">IH", 0x10000FA0, 0)), (0x01, b"\x02"), (0x02, b"\x00"),
                   (0x03, b""), (0x04, b"\x00")]
        offset = len(options) * 5 + 1
        head, body = b"", b""
        for token, value in options:
            head += struct.pack(">BHH", token, offset + len(body), len(value))
            body += value
        return head + b"\xFF" + body

    def login(self, data):
        (tds_version,) = struct.unpack_from("<I", data, 4)
        (self.packet_size,) = struct.unpack_from("<I", data, 8)
        self.packet_size = min(max(self.packet_size, 512), 32767)

        def field(at):
            offset, count = struct.unpack_from("<HH", data, at)
            return data[offset:offset + 2 * count]

        # TDS version as the client sends it: 0x74000004 little endian for 7.4.
        major = tds_version >> 24
        acked = {0x74: 0x74000004, 0x73: 0x730B0003, 0x72: 0x72090002, 0x71: 0x71000001}.get(major, 0x71000001)
        self.tds72 = acked >= 0x72000000
        user = field(40).decode("utf-16-le")
        raw = field(44)
        password = bytes((((b ^ 0xA5) << 4) | ((b ^ 0xA5) >> 4)) & 0xFF for b in raw).decode("utf-16-le")
        entry = LOGINS.get(user.lower())
        if entry is None or entry[0] != password:
            log("login", self.sid, user, "fail")
            self.send_message(PKT_REPLY, self.error(18456, 1, 14, "Login failed for user '%s'." % user)
                              + self.done(DONE_ERROR))
            return False
        self.user = user
        self.roles = entry[1]
        self.database = "master"
        log("login", self.sid, user, "ok", "%08x" % acked)
        name = "Microsoft SQL Server"
        ack_body = b"\x01" + struct.pack(">I", acked) + b_varchar(name) + bytes([16, 0, 0x0F, 0xA0])
        reply = (self.envchange(1, "master", "") + self.info(5701, "Changed database context to 'master'.")
                 + self.envchange(2, "us_english", "") + self.info(5703, "Changed language setting to us_english.")
                 + b"\xAD" + struct.pack("<H", len(ack_body)) + ack_body
                 + self.envchange(4, str(self.packet_size), "4096") + self.done(DONE_FINAL))
        self.send_message(PKT_REPLY, reply)
        return True

    def batch(self, data):
        if self.tds72 and len(data) >= 4:
            (headers,) = struct.unpack_from("<I", data, 0)
            data = data[headers:]
        text = data.decode("utf-16-le", errors="replace")
        log("batch", self.sid, self.user, data.hex())
        stripped = text.lstrip()
        if RIGHTS_CHECK_MARK in text:
            return self.rights_check()
        if stripped[:17].upper() == "CREATE DATABASE [":
            name = bracketed(stripped[16:])
            with state_lock:
                if name is not None and name.lower() in databases:
                    return self.error(1801, 3, 16, "Database '%s' already exists. Choose a different database name."
                                      % name) + self.done(DONE_ERROR)
                if name is not None:
                    databases.add(name.lower())
            return self.done(DONE_FINAL)
        reply, failed = b"", False
        if stripped[:5].lower() == "use [":
            name = bracketed(stripped[4:])
            with state_lock:
                known = name is not None and name.lower() in databases
            if not known:
                return self.error(911, 1, 16, "Database '%s' does not exist. Make sure that the name is entered "
                                  "correctly." % name) + self.done(DONE_ERROR)
            reply += (self.envchange(1, name, self.database) + self.info(5701, "Changed database context to '%s'."
                                                                         % name) + self.done(DONE_MORE))
            self.database = name
        # Each table is created once per database; the answer comes statement by statement.
        for match in re.finditer(r"CREATE TABLE \[dbo\]\.\[([^\]]+)\]", text):
            key = (self.database.lower(), match.group(1).lower())
            with state_lock:
                exists = key in tables
                tables.add(key)
            if exists:
                failed = True
                reply += self.error(2714, 6, 16, "There is already an object named '%s' in the database."
                                    % match.group(1)) + self.done(DONE_MORE | DONE_ERROR)
            else:
                reply += self.done(DONE_MORE)
        return reply + self.done(DONE_ERROR if failed else DONE_FINAL)

    def rights_check(self):
        roles = self.roles
        if roles is None:  # no row: @a, @b1, @b2 stay null, the condition is not true
            return self.done(DONE_FINAL)
        if "sysadmin" in roles or {"securityadmin", "dbcreator"} <= roles:
            return self.done(DONE_FINAL)
        return self.error(50000, 1, 18, "Login must have sysadmin or, securityadmin and dbcreator role", 6) \
            + self.done(DONE_ERROR)


def bracketed(text):
    """The name in a leading [...] with "]]" undoubled, or None."""
    if not text.startswith("["):
        return None
    name, i = "", 1
    while i < len(text):
        if text[i] == "]":
            if text[i + 1:i + 2] == "]":
                name += "]"
                i += 2
                continue
            return name
        name += text[i]
        i += 1
    return None


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    global log_path
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port-file", required=True, help="where to write the port once listening")
    parser.add_argument("--log", required=True, help="file the events are appended to")
    parser.add_argument("--lifetime", type=float, default=900, help="seconds after which the server ends itself")
    args = parser.parse_args()
    log_path = args.log
    open(log_path, "a").close()
    server = Server(("127.0.0.1", 0), Session)
    port = server.server_address[1]
    tmp = args.port_file + ".tmp"
    with open(tmp, "w") as f:
        f.write("%d\n" % port)
    os.replace(tmp, args.port_file)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    time.sleep(args.lifetime)
    server.shutdown()
    return 0


if __name__ == "__main__":
    sys.exit(main())
