#!/usr/bin/env python3
"""Differential check of two project-file readers: `tak parse` and `tak format` of an old and a
new build over generated files (sections, control sections, quoting, continuations, CRLF, bad
quotes, stray lines, bytes that are not UTF-8) must give the same bytes and exit status.

    reader_differential.py OLD_TAK NEW_TAK [COUNT]
"""
import os
import random
import subprocess
import sys
import tempfile

WORDS = ["a", "lib", "x y", "it's", 'say "hi"', "", "C:\\tools\\", "\udcff\udcfe", "\t", "{c}",
         "END_GLOBAL", "value\\", "\x01\x1f", "ÄÖ", "'", '"']


def word(rng):
    w = rng.choice(WORDS) if rng.random() < 0.3 else "".join(
        rng.choice("abcXYZ_019 '\"\\{}\t") for _ in range(rng.randint(0, 8)))
    return w


def quoted(rng, text):
    q = rng.choice(["'", '"', ""])
    if q and q in text and rng.random() < 0.9:
        q = "'" if q == '"' else '"'
    return q + text + q if q else text.replace(" ", "_")


def generate(rng):
    out = []
    if rng.random() < 0.5:
        out.append("{ comment }")
    for _ in range(rng.randint(0, 6)):
        name = rng.choice(["GLOBAL", "Global", "rulex", "P" + str(rng.randint(0, 3)), "A B"])
        control = "_CONTROL_SETTINGS" if rng.random() < 0.25 else ""
        out.append("START_" + name + control + rng.choice(["", " ", " {x}", "  extra"]))
        for _ in range(rng.randint(0, 12)):
            r = rng.random()
            if r < 0.04:
                out.append(rng.choice(["", "  ", "stray", "lone{c}", "END_OTHER"]))
                continue
            dname = rng.choice(["d" + str(rng.randint(0, 5)), "D1", "'q name'", '"dq"',
                                word(rng).replace(" ", "").replace("'", "").replace('"', "")])
            if rng.random() < 0.02:
                dname = "'open"
            values = [quoted(rng, word(rng)) for _ in range(rng.randint(0, 4))]
            line = dname + ("\t" if rng.random() < 0.1 else " ") + " ".join(values)
            if rng.random() < 0.15:
                line += " \\" + rng.choice(["\n next", "\n", "\n 'q' r \\\n s"])
            out.append(line)
        if rng.random() < 0.9:
            out.append("END_" + name + control)
        out.append("")
    text = rng.choice(["\n", "\r\n"]).join(out)
    if rng.random() < 0.5:
        text += "\n"
    return text.encode("utf-8", "surrogateescape") if isinstance(text, str) else text


def run(tak, args, env):
    p = subprocess.run([tak] + args, capture_output=True, env=env, timeout=60)
    return p.returncode, p.stdout, p.stderr


def main():
    old, new = sys.argv[1], sys.argv[2]
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 2000
    rng = random.Random(16)
    differences = 0
    with tempfile.TemporaryDirectory() as folder:
        env = dict(os.environ, TMPDIR=folder)
        path = os.path.join(folder, "g.tak")
        for i in range(count):
            data = generate(rng)
            with open(path, "wb") as f:
                f.write(data)
            for args in (["parse", path], ["parse", path, "-level", "0"],
                         ["parse", path, "-level", "3"], ["format", path],
                         ["format", path, "-level", "3"]):
                if run(old, args, env) != run(new, args, env):
                    differences += 1
                    keep = os.path.join(tempfile.gettempdir(), "differential-%d.tak" % i)
                    with open(keep, "wb") as f:
                        f.write(data)
                    print("differs:", " ".join(args[:1] + args[2:]), "kept as", keep)
                    break
    print("%d files, %d differences" % (count, differences))
    return 1 if differences else 0


if __name__ == "__main__":
    sys.exit(main())
