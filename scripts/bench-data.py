#!/usr/bin/env python3
"""Lays out what scripts/bench measures on, under OUT:

  sample/       a copy of the sample installation (examples/)
  large/        the sample grown to 10,000 catalogue entries, 200 zone
                directories holding 2,000 difference files, 1,000 action keys
                and 200 upgrade statements
  large-first.plan, large-second.plan
                the floor's operations (tests/bench/InitFloor.cpp) for a first
                and an unchanged second start of the large installation: the
                documents a start reads, the files it copies, the host file it
                writes, the statements it runs
  errmsg-gb2312.xml, errmsg-utf8.xml
                the large catalogue in both encodings

    scripts/bench-data.py EXAMPLES OUT
"""
import os
import re
import shutil
import sys

examples, out = sys.argv[1], sys.argv[2]


def write(path, text, codec="gbk"):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(text.replace("\n", "\r\n").encode(codec))


def catalogue(declared):
    lines = ['<?xml version="1.0" encoding="%s"?>' % declared, "<ERRORLIST>"]
    for i in range(10000):
        lines.append("  <ERROR><CODE>%d</CODE><MSG>第%d号错误：操作未能完成，请检查税控IC卡与读卡器后重试。</MSG>"
                     "<moduleType>%d</moduleType><insideCode>E%05d</insideCode></ERROR>" % (71000000 + i, i, i % 9, i))
    lines.append("</ERRORLIST>")
    return "\n".join(lines) + "\n"


shutil.rmtree(out, ignore_errors=True)
os.makedirs(out)
write(os.path.join(out, "errmsg-gb2312.xml"), catalogue("GB2312"))
write(os.path.join(out, "errmsg-utf8.xml"), catalogue("UTF-8"), "utf-8")
shutil.copytree(examples, os.path.join(out, "sample"))
root = os.path.join(out, "large")
shutil.copytree(examples, root)

app = os.path.join(root, "WSCBS")
diff = os.path.join(app, "AppComs", "difference")
write(os.path.join(app, "errmsg.xml"), catalogue("GB2312"))

# 200 zone directories, all matching the sample's zone 1330106, with 10
# files and 5 parameters each: 2,000 files copied on a first start.
prefixes = ["3", "33", "330", "3301", "33010", "330106"]
for z in range(200):
    prefix = prefixes[z % len(prefixes)]
    name = "%s-z%03d" % (prefix, z)
    body = ['<?xml version="1.0" encoding="GB2312"?>', '<SYSDIFFERENCE ZCODE="%s">' % prefix, "  <DIFF-PARAMETERS>"]
    for p in range(5):
        body.append("    <DIFF-PARAMETER><NAME>Zone%03dParam%d</NAME><TYPE>%s</TYPE><VALUE>%d</VALUE></DIFF-PARAMETER>"
                    % (z, p, ["string", "integer", "boolean", "float", ""][p], p))
    body.append("  </DIFF-PARAMETERS>")
    body.append("  <DIFF-FILES>")
    for f in range(10):
        file_name = "zone%03d_%02d.dat" % (z, f)
        body.append("    <DIFF-FILE><NAME>%s</NAME><TYPE>0</TYPE><TARGETDIR>Regional\\%s</TARGETDIR></DIFF-FILE>"
                    % (file_name, name))
        write(os.path.join(diff, name, file_name), ("区域%s的差异化数据 %d\n" % (name, f)) * 40)
    body.append("  </DIFF-FILES>")
    body.append("</SYSDIFFERENCE>")
    write(os.path.join(diff, name, "SysDifference.xml"), "\n".join(body) + "\n")
    os.makedirs(os.path.join(app, "Regional", name), exist_ok=True)

# 1,000 action keys in 100 sections.
action = []
for s in range(100):
    action.append("[WSCBS9%02d-01]" % s)
    for k in range(10):
        action.append("Key%d=动作%d-%d" % (k, s, k))
write(os.path.join(app, "action.ini"), "\n".join(action) + "\n")

# 200 upgrade statements.
update = ["[MSACCESS]"]
for i in range(100):
    update.append("t%03d=CREATE TABLE cs_measure_%03d (id Integer, mc Text(40))" % (i, i))
    update.append("i%03d=INSERT INTO cs_measure_%03d VALUES (%d, '测量%d')" % (i, i, i, i))
write(os.path.join(app, "dataupdate.ini"), "\n".join(update) + "\n")


# The floor's plans. Zone 1330106 under the strip switch 0 matches the
# directories whose prefix starts "330106"; kind 1 takes a GS_Differ folder
# where a zone directory has one.
def win(path):
    return path.replace("/", "\\")


def element(block, name):
    found = re.search(r"<%s>(.*?)</%s>" % (name, name), block, re.S)
    return found.group(1).strip() if found else ""


def copies(folder_rel):
    """The (source, target) pairs that a configuration's DIFF-FILEs copy."""
    config = os.path.join(diff, folder_rel, "SysDifference.xml")
    with open(config, "rb") as f:
        text = f.read().decode("gbk")
    pairs = []
    files = re.search(r"<DIFF-FILES>(.*?)</DIFF-FILES>", text, re.S)
    for item in re.findall(r"<DIFF-FILE>(.*?)</DIFF-FILE>", files.group(1) if files else "", re.S):
        name, kind, target = element(item, "NAME"), element(item, "TYPE"), element(item, "TARGETDIR")
        target_rel = os.path.join("WSCBS", target.replace("\\", "/")) if target else "WSCBS"
        source = os.path.join(diff, folder_rel, name)
        if kind == "0":
            pairs.append((source, os.path.join(root, target_rel, name)))
        else:
            for dirpath, _, names in os.walk(source):
                for n in sorted(names):
                    inner = os.path.relpath(os.path.join(dirpath, n), source)
                    pairs.append((os.path.join(dirpath, n), os.path.join(root, target_rel, inner)))
    return pairs


configs = [""]
for entry in sorted(os.listdir(diff)):
    prefix = entry.split("-", 1)[0]
    if prefix and "330106".startswith(prefix) and os.path.isdir(os.path.join(diff, entry)):
        kind = os.path.join(entry, "GS_Differ")
        configs.append(kind if os.path.isdir(os.path.join(diff, kind)) else entry)

reads = [os.path.join(diff, c, "SysDifference.xml") for c in configs
         if os.path.isfile(os.path.join(diff, c, "SysDifference.xml"))]
reads += [os.path.join(app, "action.ini"), os.path.join(root, "host", "action.ini"),
          os.path.join(app, "errmsg.xml"), os.path.join(app, "UserConfig.ini")]
first_copies = [pair for c in configs for pair in copies(c)]
statements = []
with open(os.path.join(app, "dataupdate.ini"), "rb") as f:
    for line in f.read().decode("gbk").splitlines()[1:]:
        if "=" in line and line.split("=", 1)[1]:
            statements.append(line.split("=", 1)[1])


def rel(path):
    return win(os.path.relpath(path, root))


def plan(name, first):
    lines = ["read\t" + rel(p) for p in reads]
    if first:
        lines.append("read\t" + rel(os.path.join(app, "dataupdate.ini")))
        lines += ["copy\t%s\t%s" % (rel(s), rel(t)) for s, t in first_copies]
        # The host's action file, once, at the size of the merged one.
        lines.append("write\t%s\t%s" % (rel(os.path.join(root, "host", "action.ini")),
                                        rel(os.path.join(app, "action.ini"))))
        lines.append("open\tWSCBS\\wscbs.db\tWSCBS\\wscbs.sql")
        lines += ["sql\t" + s for s in statements]
    write(os.path.join(out, name), "\n".join(lines) + "\n")


plan("large-first.plan", True)
plan("large-second.plan", False)
print("laid out %s: %d documents read, %d files copied, %d statements" %
      (out, len(reads) + 1, len(first_copies), len(statements)))
