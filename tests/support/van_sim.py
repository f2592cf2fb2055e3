#!/usr/bin/env python3
"""VAN operator simulator for the tests, the driver checks and the benchmark.

Listens on 127.0.0.1 only and prints "PORT <n>" once it accepts connections.
Speaks the operator's side: the key frame (RSA-1024 OAEP/SHA-1 key block of a
SEED-128 key and IV), then SEED-128-CBC/PKCS#7 data frames of 1024-byte
messages. Faults are injected with options.
"""
import argparse
import json
import os
import socket
import sys
import threading
import time
import warnings

warnings.simplefilter("ignore")
from cryptography.hazmat.primitives import hashes, serialization  # noqa: E402
from cryptography.hazmat.primitives.asymmetric import padding, rsa  # noqa: E402
from cryptography.hazmat.primitives.ciphers import Cipher, algorithms, modes  # noqa: E402
from cryptography.hazmat.primitives import padding as sympad  # noqa: E402

FRAME = 1046
FIELDS = [("BizKind", 1), ("JobCode", 7), ("SenderCode", 4), ("ReceiverCode", 4), ("SendTime", 14),
          ("RecCount", 2), ("BlockNo", 7), ("RespCode", 2), ("DirFlag", 1), ("AuxInfo", 22),
          ("MsgData", 960)]


def parse(msg):
    out, pos = {}, 0
    for name, width in FIELDS:
        out[name] = msg[pos:pos + width]
        pos += width
    return out


def build(**f):
    out = b""
    for name, width in FIELDS:
        v = f.get(name, b"")
        if isinstance(v, str):
            v = v.encode("cp949")
        out += v[:width].ljust(width, b" ")
    assert len(out) == 1024
    return out


def recv_exact(conn, n):
    buf = b""
    while len(buf) < n:
        chunk = conn.recv(n - len(buf))
        if not chunk:
            return None
        buf += chunk
    return buf


class Session:
    def __init__(self, server, conn):
        self.s = server
        self.o = server.opts
        self.conn = conn
        self.key = self.iv = None
        self.wrong = 0
        self.pending = []      # blocks waiting for an acknowledgement
        self.upload_lines = 0
        self.upload_records = []
        self.upload_bank = ""
        self.blocks_seen = 0
        self.downloads = 0

    # -- wire -----------------------------------------------------------
    def send_raw(self, data):
        self.conn.sendall(data)

    def send_msg(self, **f):
        f.setdefault("SenderCode", "ZVAN")
        f.setdefault("ReceiverCode", self.company)
        f.setdefault("SendTime", time.strftime("%Y%m%d%H%M%S"))
        f.setdefault("RecCount", "00")
        f.setdefault("BlockNo", "0000001")
        f.setdefault("RespCode", "00")
        f.setdefault("DirFlag", " ")
        plain = build(**f)
        self.s.log({"dir": "sent", **{k: v.decode("cp949", "replace") if isinstance(v, bytes) else v
                                       for k, v in parse(plain).items() if k != "MsgData"},
                    "MsgData": parse(plain)["MsgData"].decode("cp949", "replace").rstrip()})
        p = sympad.PKCS7(128).padder()
        enc = Cipher(algorithms.SEED(self.key), modes.CBC(self.iv)).encryptor()
        body = enc.update(p.update(plain) + p.finalize()) + enc.finalize()
        assert len(body) == 1040
        self.send_raw(b"D01040" + body)

    def decrypt(self, body):
        dec = Cipher(algorithms.SEED(self.key), modes.CBC(self.iv)).decryptor()
        u = sympad.PKCS7(128).unpadder()
        return u.update(dec.update(body) + dec.finalize()) + u.finalize()

    # -- run ------------------------------------------------------------
    def run(self):
        self.company = "    "
        kf = recv_exact(self.conn, 134)
        if kf is None:
            return
        self.s.log({"dir": "recv", "frame": "key", "head": kf[:6].decode("latin1")})
        if self.o.silent:
            self.conn.recv(1)  # wait for the client to give up
            return
        if self.o.drop_on == "key":
            return
        try:
            secret = self.s.private_key.decrypt(kf[6:134], padding.OAEP(
                mgf=padding.MGF1(hashes.SHA1()), algorithm=hashes.SHA1(), label=None))
        except Exception:
            secret = b""
        if self.o.refuse_key or len(secret) != 32 or kf[:6] != b"S00128":
            self.send_raw(b"S00003ERR".ljust(FRAME, b"\0"))
            self.conn.recv(1)
            return
        self.key, self.iv = secret[:16], secret[16:]
        self.send_raw(b"S00002OK".ljust(FRAME, b"\0"))
        while True:
            frame = recv_exact(self.conn, FRAME)
            if frame is None:
                return
            if frame[:1] != b"D":
                self.s.log({"dir": "recv", "frame": "bad"})
                continue
            try:
                m = parse(self.decrypt(frame[6:]))
            except Exception:
                self.s.log({"dir": "recv", "frame": "undecryptable"})
                continue
            rec = {k: v.decode("cp949", "replace") for k, v in m.items() if k != "MsgData"}
            rec["MsgData"] = m["MsgData"].decode("cp949", "replace").rstrip()
            self.s.log({"dir": "recv", **rec})
            if not self.answer(m):
                return

    def inject(self, job):
        """Faults for a request; True when something was sent instead."""
        o = self.o
        if job == "0710100":
            self.blocks_seen += 1
            if o.drop_block == self.blocks_seen:
                raise ConnectionAbortedError
            if self.blocks_seen in o.fail_block:
                self.send_msg(BizKind="0", JobCode="0730100", DirFlag="S",
                              RespCode=o.fail_block[self.blocks_seen])
                return True
        if job in o.silent_on:
            return True
        if o.drop_on == job:
            raise ConnectionAbortedError
        if job in o.resp:
            self.send_msg(BizKind="0", JobCode=self.reply_code(job), RespCode=o.resp[job])
            return True
        if job in o.answer_as:
            for reply in o.answer_as[job].split(","):
                self.send_msg(BizKind="0", JobCode=reply)
            return True
        if o.unknown_on == job:
            self.send_msg(BizKind="0", JobCode="0999100")
            return True
        if o.garbage_on == job:
            self.send_raw(b"D01040" + os.urandom(1040))
            return True
        return False

    @staticmethod
    def reply_code(job):
        return job[:2] + str(int(job[2]) + 1) + job[3:] if job[2] in "0" else job

    def answer(self, m):
        job = m["JobCode"].decode("latin1")
        if job == "0800100":
            self.company = m["SenderCode"].decode("latin1")
        try:
            if self.inject(job):
                return True
        except ConnectionAbortedError:
            return False
        o = self.o
        if job == "0800100":  # log-on
            pwd = m["MsgData"][:10].decode("cp949").strip()
            comp = m["SenderCode"].decode("latin1").strip()
            if comp != o.company or pwd != o.password:
                self.wrong += 1
                code = "15" if self.wrong >= o.max_tries else "03"
                self.send_msg(BizKind="0", JobCode="0810100", RespCode=code)
                return code != "15" or o.keep_open_after_15
            for _ in range(o.repeat_logon_reply):
                self.send_msg(BizKind="0", JobCode="0810100", MsgData=o.notice)
        elif job == "0800900":  # log-off
            self.send_msg(BizKind="0", JobCode="0810900")
            if not o.keep_open_after_logoff:
                time.sleep(0.05)
                return False
        elif job == "0300100":  # password change
            cur = m["MsgData"][:10].decode("cp949").strip()
            new = m["MsgData"][10:20].decode("cp949").strip()
            if cur != o.password:
                self.send_msg(BizKind="3", JobCode="0310100", RespCode="11")
            else:
                o.password = new
                self.send_msg(BizKind="3", JobCode="0310100")
        elif job == "0600100":  # file list
            kind = m["MsgData"][16:17]
            entries = [e for e in self.s.entries if e[:1] == kind]
            if not entries:
                self.send_msg(BizKind="6", JobCode="0610100", RespCode="16")
                return True
            self.send_msg(BizKind="6", JobCode="0610100")
            self.queue_blocks("6", "0630100", entries, 41)
            self.next_block()
        elif job == "0400100":  # notice list
            self.send_msg(BizKind="4", JobCode="0410100")
            self.queue_blocks("4", "0430100", self.s.notices, 114)
            self.next_block()
        elif job in ("0620100", "0420100"):  # list acks
            self.next_block()
        elif job == "0500100":  # notice file
            text = self.s.notice_text
            chunks = [text[i:i + 960] for i in range(0, len(text), 960)] or [b""]
            self.pending = [dict(BizKind="5", JobCode="0520100" if i == 0 else "0530100", DirFlag="G", MsgData=c)
                            for i, c in enumerate(chunks)]
            self.pending.append(dict(BizKind="0", JobCode="0800800", DirFlag="G", MsgData=str(len(chunks))))
            self.next_block()
        elif job == "0510100":
            self.next_block()
        elif job == "0700100":  # transfer start
            if m["BizKind"] == b"Z":  # the SMS file: to the SMS service, with the password
                pwd = m["MsgData"][:10].decode("cp949").strip()
                if m["ReceiverCode"] != b"1098" or pwd != o.password:
                    self.send_msg(BizKind="Z", JobCode="0720100", DirFlag="S", RespCode="03")
                    return True
                self.upload_lines = 0
                self.upload_records = []
                self.upload_bank = "1098"
                self.send_msg(BizKind="Z", JobCode="0720100", DirFlag="S", SenderCode="1098")
            elif m["DirFlag"] == b"S":
                self.upload_lines = 0
                self.upload_records = []
                self.upload_bank = m["ReceiverCode"].decode("latin1")
                self.send_msg(BizKind=m["BizKind"], JobCode="0720100", DirFlag="S",
                              SenderCode=m["ReceiverCode"])
            else:
                k = self.downloads
                self.downloads += 1
                files = self.s.result_files
                recs = files[min(k, len(files) - 1)] if files else []
                totals = o.result_total or [-1]
                total = totals[min(k, len(totals) - 1)]
                bank = o.result_sender or m["ReceiverCode"]
                receiver = o.result_receiver or self.company
                reclen = len(recs[0]) if recs else 100
                per = max(1, 960 // reclen)
                self.pending = []
                for i in range(0, max(len(recs), 1), per):
                    part = recs[i:i + per]
                    self.pending.append(dict(BizKind=m["BizKind"], JobCode="0720100" if i == 0 else "0730100",
                                             DirFlag="R", SenderCode=bank, ReceiverCode=receiver,
                                             RecCount="%02d" % len(part), AuxInfo="%03d" % reclen,
                                             MsgData=b"".join(part)))
                self.pending.append(dict(BizKind="0", JobCode="0800800", DirFlag="R",
                                         MsgData=str(len(recs) if total < 0 else total)))
                self.next_block()
        elif job == "0710100":  # upload block or download acknowledgement
            if m["DirFlag"] == b"S":
                n = int(m["RecCount"])
                reclen = int(m["AuxInfo"][:3])
                self.upload_lines += n
                self.upload_records += [m["MsgData"][i * reclen:(i + 1) * reclen] for i in range(n)]
                self.send_msg(BizKind=m["BizKind"], JobCode="0730100", DirFlag="S",
                              SenderCode=m["ReceiverCode"])
            else:
                self.next_block()
        elif job == "0800800":  # client's transfer end
            count = int(m["MsgData"][:6])
            ok = count == self.upload_lines
            if ok and o.upload_dir:
                with self.s.lock:
                    self.s.upload_no += 1
                    path = os.path.join(o.upload_dir, "%03d_%s.txt" % (self.s.upload_no, self.upload_bank))
                with open(path + ".part", "wb") as f:
                    f.write(b"".join(r + b"\r\n" for r in self.upload_records))
                os.rename(path + ".part", path)
            self.send_msg(BizKind="0", JobCode="0810800", DirFlag="S", RespCode="00" if ok else "13")
        elif job == "0810800":  # client's transfer end reply
            pass
        else:
            self.send_msg(BizKind="0", JobCode=job, RespCode="01")
        return True

    def queue_blocks(self, biz, job, entries, length):
        per = 960 // length
        self.pending = []
        for i in range(0, max(len(entries), 1), per):
            part = entries[i:i + per]
            self.pending.append(dict(BizKind=biz, JobCode=job, RecCount="%02d" % len(part),
                                     AuxInfo=str(length), MsgData=b"".join(part)))

    def next_block(self):
        if self.pending:
            self.send_msg(**self.pending.pop(0))


class Server:
    def __init__(self, opts):
        self.opts = opts
        self.lock = threading.Lock()
        self.upload_no = 0
        if opts.private_key:
            with open(opts.private_key, "rb") as f:
                self.private_key = serialization.load_pem_private_key(f.read(), None)
        else:
            self.private_key = rsa.generate_private_key(public_exponent=65537, key_size=1024)
        if opts.public_key:
            with open(opts.public_key, "wb") as f:
                f.write(self.private_key.public_key().public_bytes(
                    serialization.Encoding.PEM, serialization.PublicFormat.SubjectPublicKeyInfo))
        self.transcript = open(opts.transcript, "a", encoding="utf-8") if opts.transcript else None
        self.entries = [e.encode("cp949").ljust(41)[:41] for e in opts.entry]
        self.notices = [e.encode("cp949").ljust(114)[:114] for e in opts.notice_entry]
        self.notice_text = opts.notice_text.encode("cp949")
        self.result_files = []
        for path in opts.result_file:
            with open(path, "rb") as f:
                self.result_files.append([line.rstrip(b"\r\n") for line in f if line.strip()])

    def log(self, rec):
        if self.transcript:
            with self.lock:
                self.transcript.write(json.dumps(rec, ensure_ascii=False) + "\n")
                self.transcript.flush()

    def serve(self):
        ls = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        ls.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        ls.bind(("127.0.0.1", self.opts.port))
        ls.listen(8)
        print("PORT %d" % ls.getsockname()[1], flush=True)
        while True:
            conn, _ = ls.accept()
            conn.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
            threading.Thread(target=self.handle, args=(conn,), daemon=True).start()

    def handle(self, conn):
        try:
            Session(self, conn).run()
        except (OSError, ValueError):
            pass
        finally:
            self.log({"dir": "closed"})
            try:
                conn.close()
            except OSError:
                pass


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--port", type=int, default=0)
    ap.add_argument("--private-key")
    ap.add_argument("--public-key", help="write the public key (PEM) here")
    ap.add_argument("--transcript", help="append every message as a JSON line")
    ap.add_argument("--company", default="A123")
    ap.add_argument("--password", default="pw1234")
    ap.add_argument("--max-tries", type=int, default=3)
    ap.add_argument("--notice", default="", help="text of the log-on reply")
    ap.add_argument("--repeat-logon-reply", type=int, default=1, help="send the log-on reply this many times")
    ap.add_argument("--refuse-key", action="store_true")
    ap.add_argument("--silent", action="store_true", help="never answer anything")
    ap.add_argument("--silent-on", action="append", default=[], help="never answer this job code (repeatable)")
    ap.add_argument("--drop-on", help="close the connection on this job code (or 'key')")
    ap.add_argument("--unknown-on", help="answer this job code with an unknown job code")
    ap.add_argument("--answer-as", action="append", default=[],
                    help="JOB=REPLY[,REPLY...]: answer JOB with these job codes (response code 00)")
    ap.add_argument("--garbage-on", help="answer this job code with an undecryptable frame")
    ap.add_argument("--resp", action="append", default=[], help="JOB=CODE: answer JOB with this response code")
    ap.add_argument("--keep-open-after-logoff", action="store_true")
    ap.add_argument("--keep-open-after-15", action="store_true")
    ap.add_argument("--entry", action="append", default=[], help="a 41-character file-list entry")
    ap.add_argument("--notice-entry", action="append", default=[], help="a 114-character notice entry")
    ap.add_argument("--notice-text", default="")
    ap.add_argument("--result-file", action="append", default=[],
                    help="records served for a download (the k-th download gets the k-th file, then the last)")
    ap.add_argument("--result-total", type=int, action="append", default=[],
                    help="total announced at the end of the k-th download (-1: the records sent)")
    ap.add_argument("--result-sender", help="SenderCode of the download blocks (default: the bank asked for)")
    ap.add_argument("--result-receiver", help="ReceiverCode of the download blocks (default: the company)")
    ap.add_argument("--upload-dir", help="write every confirmed upload here as NNN_BANK.txt")
    ap.add_argument("--drop-block", type=int, help="close the connection on the N-th TransferBlock received")
    ap.add_argument("--fail-block", action="append", default=[],
                    help="N:CODE: answer the N-th TransferBlock received with this response code")
    opts = ap.parse_args()
    opts.resp = dict(r.split("=", 1) for r in opts.resp)
    opts.answer_as = dict(r.split("=", 1) for r in opts.answer_as)
    opts.fail_block = {int(k): v for k, v in (f.split(":", 1) for f in opts.fail_block)}
    try:
        Server(opts).serve()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    sys.exit(main())
