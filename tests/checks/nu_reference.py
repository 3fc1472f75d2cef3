#!/usr/bin/env python3
"""The rows `velmarin-cli --nu` should print, read with Python's json module from
vnu's own answer. Usage: nu_reference.py JAVA VNU_JAR FILE..."""
import json
import os
import subprocess
import sys
import urllib.parse


def kind(message):
    if message.get("type") == "info":
        return "警告" if message.get("subType") == "warning" else "情報"
    return "エラー"


def row(message):
    line = message.get("firstLine", message.get("lastLine"))
    column = message.get("firstColumn")
    breaks = {0x0D: " ", 0x0A: " ", 0x2028: " ", 0x2029: " "}
    text = kind(message) + ": " + message.get("message", "").translate(breaks)
    if line is None:
        return text
    place = "行 %d" % line
    if column is not None:
        place += " 位置%d - " % column
    return place + text


def main():
    java, jar, files = sys.argv[1], sys.argv[2], sys.argv[3:]
    paths = [os.path.abspath(f) for f in files]
    done = subprocess.run([java, "-jar", jar, "--format", "json", "--exit-zero-always"] + paths,
                          stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, check=True)
    rows = {path: [] for path in paths}
    for message in json.loads(done.stderr)["messages"]:
        path = urllib.parse.unquote(urllib.parse.urlparse(message["url"]).path)
        rows[path].append(row(message))
    out = []
    for name, path in zip(files, paths):
        out.append("情報: チェックしたHTML: " + name)
        out.extend(rows[path])
    sys.stdout.write("".join(line + "\n" for line in out))


main()
