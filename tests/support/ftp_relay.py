#!/usr/bin/python3
# A faulty network for tests: listens on 127.0.0.1 (a free port) in front of an FTP server's
# control port and passes everything on, except where a rule or chance says otherwise. Passive
# data connections go straight to the server.
#
#   ftp_relay.py --to PORT --log FILE [--rule ACTION:VERB:NAME:WHICH[:SECONDS]]... [--cut-share P]
#                [--seed N]
#
# A rule acts on the commands VERB whose argument ends in a name matching NAME (a shell pattern;
# empty: any), counted over all connections; WHICH lists the counts it acts on ("1,3") or "all".
#   swallow  the command is passed on, its reply never comes back, the connection closes 1 s later
#   hold     the reply comes back SECONDS later
#   cut      the connection closes at once; the command never reaches the server
# With --cut-share P a share P of the connections is cut at a random command (passed on or not).
# Prints "ready port=N" once it listens; FILE gets one line per connection ("open N") and per
# fault ("swallow N VERB ARG", "hold ...", "cut ..."). With VORLAN_RELAY_TRACE=FILE in the
# environment every command and fault is also added to that file, with the time.
import argparse
import asyncio
import fnmatch
import os
import random
import time


class Rule:
    def __init__(self, text):
        parts = text.split(":")
        self.action, self.verb, self.name, which = parts[:4]
        self.seconds = float(parts[4]) if len(parts) > 4 else 3.0
        self.which = None if which == "all" else {int(n) for n in which.split(",")}
        self.seen = 0

    def hits(self, verb, arg):
        if verb != self.verb or not fnmatch.fnmatchcase(arg.rsplit("/", 1)[-1], self.name or "*"):
            return False
        self.seen += 1
        return self.which is None or self.seen in self.which


class Relay:
    def __init__(self, args):
        self.to = args.to
        self.rules = [Rule(r) for r in args.rule]
        self.share = args.cut_share
        self.random = random.Random(args.seed)
        self.log = open(args.log, "a", buffering=1)
        self.count = 0
        trace = os.environ.get("VORLAN_RELAY_TRACE")
        self.trace = open(trace, "a", buffering=1) if trace else None

    def note(self, *words):
        self.log.write(" ".join(str(w) for w in words) + "\n")
        if self.trace:
            self.trace.write("%.3f %d " % (time.time(), self.to) + " ".join(str(w) for w in words) + "\n")

    async def serve(self, client_r, client_w):
        self.count += 1
        n = self.count
        self.note("open", n)
        try:
            server_r, server_w = await asyncio.open_connection("127.0.0.1", self.to)
        except OSError:
            client_w.close()
            return
        # This connection's random cut: at which command, and whether that command goes on first.
        cut_at = self.random.randint(1, 60) if self.random.random() < self.share else 0
        cut_passes = self.random.random() < 0.5
        state = {"mute": False, "delay": 0.0}

        def close():
            for w in (client_w, server_w):
                w.close()

        async def down():
            try:
                while data := await server_r.read(65536):
                    if state["delay"]:
                        await asyncio.sleep(state["delay"])
                        state["delay"] = 0.0
                    if not state["mute"]:
                        client_w.write(data)
                        await client_w.drain()
            except (OSError, asyncio.IncompleteReadError):
                pass
            close()

        async def up():
            commands = 0
            try:
                while line := await client_r.readline():
                    commands += 1
                    words = line.decode("latin-1").rstrip("\r\n").split(" ", 1)
                    verb, arg = words[0].upper(), words[1] if len(words) > 1 else ""
                    acting = [r for r in self.rules if r.hits(verb, arg)]  # each rule counts on its own
                    action = acting[0] if acting else None
                    if self.trace:
                        self.note("command", n, verb, arg)
                    if commands == cut_at:
                        self.note("cut", n, verb, arg, "passed" if cut_passes else "kept")
                        if cut_passes:
                            server_w.write(line)
                            await server_w.drain()
                        break
                    if action and action.action == "cut":
                        self.note("cut", n, verb, arg, "kept")
                        break
                    if action and action.action == "hold":
                        self.note("hold", n, verb, arg)
                        state["delay"] = action.seconds
                    if action and action.action == "swallow":
                        self.note("swallow", n, verb, arg)
                        state["mute"] = True
                    server_w.write(line)
                    await server_w.drain()
                    if state["mute"]:
                        await asyncio.sleep(1.0)
                        break
            except OSError:
                pass
            close()

        await asyncio.gather(down(), up())


async def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--to", type=int, required=True)
    ap.add_argument("--log", required=True)
    ap.add_argument("--rule", action="append", default=[])
    ap.add_argument("--cut-share", type=float, default=0.0)
    ap.add_argument("--seed", type=int, default=1)
    relay = Relay(ap.parse_args())
    server = await asyncio.start_server(relay.serve, "127.0.0.1", 0)
    print("ready port=%d" % server.sockets[0].getsockname()[1], flush=True)
    await server.serve_forever()


if __name__ == "__main__":
    asyncio.run(main())
