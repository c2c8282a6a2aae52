#!/usr/bin/env python3
"""Independent reader and writer of profile files, using Python's plistlib.

check FILE EXPECTED_JSON  -- FILE has the full shape; EXPECTED_JSON maps a class key to
                             its used entries; every other slot must be 0 / "".
write FILE ENTRIES_JSON   -- writes a file of the same shape holding the given entries.
"""
import json
import plistlib
import sys

CLASSES = ("RGB", "SIM", "DST")
INTS = ("IndexOnDevice", "InMenu", "ProfileClass", "Location")
STRINGS = ("FileName", "ProfileName")
SLOTS = 500


def key(field, slot):
    return "%s%04d" % (field, slot)


def check(path, expected):
    with open(path, "rb") as f:
        root = plistlib.load(f)
    problems = []
    if set(root) != set(CLASSES) | {"PlistVersion"}:
        problems.append("root keys %s" % sorted(root))
    if root.get("PlistVersion") != 1 or type(root.get("PlistVersion")) is not int:
        problems.append("PlistVersion %r" % root.get("PlistVersion"))
    for cls in CLASSES:
        d = root.get(cls, {})
        entries = expected.get(cls, [])
        if set(d) != {"iNum"} | set(INTS) | set(STRINGS):
            problems.append("%s keys %s" % (cls, sorted(d)))
            continue
        if d["iNum"] != len(entries) or type(d["iNum"]) is not int:
            problems.append("%s iNum %r, expected %d" % (cls, d["iNum"], len(entries)))
        for field in INTS + STRINGS:
            sub = d[field]
            want_keys = {key(field, s) for s in range(SLOTS)}
            if set(sub) != want_keys:
                problems.append("%s.%s has %d keys, not the 500 slot keys" % (cls, field, len(sub)))
                continue
            kind = int if field in INTS else str
            for slot in range(SLOTS):
                value = sub[key(field, slot)]
                if type(value) is not kind:
                    problems.append("%s.%s slot %d is %s" % (cls, field, slot, type(value).__name__))
                    break
                want = entries[slot][field] if slot < len(entries) else kind()
                if value != want:
                    problems.append("%s.%s slot %d is %r, expected %r" % (cls, field, slot, value, want))
    for p in problems[:20]:
        print(p)
    print("OK" if not problems else "FAILED")
    return 0 if not problems else 1


def write(path, entries):
    root = {"PlistVersion": 1}
    for cls in CLASSES:
        used = entries.get(cls, [])
        d = {"iNum": len(used)}
        for field in INTS + STRINGS:
            empty = 0 if field in INTS else ""
            d[field] = {key(field, s): (used[s][field] if s < len(used) else empty)
                        for s in range(SLOTS)}
        root[cls] = d
    with open(path, "wb") as f:
        plistlib.dump(root, f, fmt=plistlib.FMT_XML)
    return 0


if __name__ == "__main__":
    command, path, data = sys.argv[1], sys.argv[2], json.loads(sys.argv[3])
    sys.exit({"check": check, "write": write}[command](path, data))
