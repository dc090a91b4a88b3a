#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Compares what two builds of korvin print for `--dump-book` on many books.

    bench/dump_compare.py OLD_KORVIN NEW_KORVIN [--writer KORVIN_WRITE_BOOK] [--books DIR]...

A change meant to make the reading or the dump faster must leave every byte
the listener's tables hold as it was. The books compared:

  * the manuals in resources/documents,
  * every book folder (DAISY 2.02 or DAISY 3) under each --books DIR
    (default: ../shared/books beside the repository, when present),
  * the fuzz corpus of the book reader (each input cut at the byte 0x01 into
    ncc.html and 1.smil to 8.smil, and again into book.opf, book.ncx and
    2.smil to 8.smil, as the fuzz target reads it),
  * odd books written here: code pages, headings over several lines, further
    clips, classes, file names in another letter case, missing files, CR and
    NUL bytes, escapes,
  * with --writer, the benchmarks' generated book of 3,000 headings, one of
    a single heading and the generated DAISY 3 book.

Each book is dumped by its folder and by its NCC's or package's path; a
missing book as well. Standard output, standard error and the exit status
must agree.
Prints one line per difference and a summary; exits 1 when anything differs.
"""
import argparse
import os
import pathlib
import subprocess
import sys
import tempfile

REPO = pathlib.Path(__file__).resolve().parent.parent


def is_book_file(name):
    return name.lower() == "ncc.html" or name.lower().endswith(".opf")


def book_folders(root):
    """Folders under root that hold an ncc.html in any letter case or a package."""
    found = []
    for folder, _, files in os.walk(root):
        if any(is_book_file(name) for name in files):
            found.append(pathlib.Path(folder))
    return sorted(found)


def unpack_fuzz_input(data, folder):
    """The input as a DAISY 2.02 book in folder/2 and as a DAISY 3 book in folder/3."""
    parts = data.split(b"\x01")
    smils = [f"{i}.smil" for i in range(2, 9)]
    for kind, names in (("2", ["ncc.html", "1.smil"] + smils), ("3", ["book.opf", "book.ncx"] + smils)):
        (folder / kind).mkdir(parents=True)
        for name, part in zip(names, parts):
            (folder / kind / name).write_bytes(part)
    return [folder / "2", folder / "3"]


def ncc(head, body, line_end=b"\r\n"):
    lines = [b'<?xml version="1.0" encoding="utf-8"?>', b"<html>", b"<head>"] + head + [b"</head>", b"<body>"]
    lines += body + [b"</body>", b"</html>"]
    return line_end.join(lines) + line_end


def smil(head, body, line_end=b"\r\n"):
    lines = [b"<smil>", b"<head>"] + head + [b"</head>", b"<body>", b"<seq>"] + body + [b"</seq>", b"</body>",
                                                                                        b"</smil>"]
    return line_end.join(lines) + line_end


def meta(name, content):
    return b'<meta name="' + name + b'" content="' + content + b'" />'


def par(pid, text, clips, required=b""):
    lines = [b'<par endsync="last"' + (b' system-required="' + required + b'"' if required else b"") +
             b' id="' + pid + b'">']
    if text:
        lines.append(b'<text src="' + text + b'" id="t_' + pid + b'" />')
    for src, begin, end in clips:
        lines.append(b'<audio src="' + src + b'" clip-begin="npt=' + begin + b's" clip-end="npt=' + end +
                     b's" id="a_' + pid + b'" />')
    lines.append(b"</par>")
    return lines


def odd_books(root):
    """Small books that take the reader's less common paths."""
    books = {}
    common_head = [meta(b"dc:title", b"Odd"), meta(b"dc:date", b"2024-02-03"), meta(b"ncc:tocItems", b"9"),
                   meta(b"dc:identifier", b"odd\\1\t2"), meta(b"ncc:totalTime", b"1:00:00")]
    smil_a = smil([meta(b"ncc:timeInThisSmil", b"0:00:30")],
                  par(b"p1", b"text.html#t1", [(b"a.mp3", b"0.000", b"1.500"), (b"a.mp3", b"1.500", b"3.000")],
                      b"footnote-on") +
                  par(b"p2", b"", [(b"b.mp3", b"0", b"2.25")], b"sidebar-on") +
                  [b'<text src="ncc.html#x" id="late" />'] +
                  par(b"p3", b"TEXT.HTML#t3", [(b"c.mp3", b"3.000", b"4.000")], b"prodnote-on pagenumber-on"))
    smil_b = smil([meta(b"ncc:totalElapsedTime", b"0:00:30"), meta(b"time-in-this-smil", b"12:00:00.500")],
                  [b'<audio src="before.mp3" clip-begin="npt=0s" clip-end="npt=1s" />'] +
                  [b'<par id="multi">', b'<text', b' src="x.html#y" id="z" />',
                   b'<audio src="m.mp3" clip-begin="npt=1.0s" clip-end="npt=2.0s" />',
                   b'<audio src="m.mp3" clip-begin="npt=2.0s" clip-end="npt=3.0s" /></par>'] +
                  [b'<PAR ID="UPPER"><TEXT SRC="Up.html#A" ID="B"/><AUDIO SRC="Up.MP3" CLIP-BEGIN="npt=0s" '
                   b'CLIP-END="npt=1s"/></PAR>'])
    utf8_body = [
        b'<h1 id="h1"><a href="a.smil#p1">Eins \xc3\x84 \\ Tab\there</a></h1>',
        b'<span class="page-normal" id="pg1"><a href="a.smil#p1">1</a></span>',
        b'<span class="page-front" id="pg2"><a href="a.smil#p2">ii</a></span>',
        b'<h3 id="h2"><a href="B.SMIL#p">Zwei</a></h3>',
        b'<div class="group" id="g1"><a href="b.smil#multi">Gr\xc3\xbcppe</a></div>',
        b'<h2 id="h3"><a href="missing.smil#p">Fehlt',
        b'noch</a>',
        b'</h2>',
        b'<hr /><h1 id="hidden"><a href="a.smil#p1">Hidden</a></h1>',
        b'<h4 id="h4"><a rel="next" href="sub/c.smil#p">Vier<span>inner</span></a></h4>',
        b'<h6 id="h6"><a href="a.smil#p1"><span class="x">Sechs</span></a></h6>',
        b'<h1/>',
    ]
    books["utf8"] = {"ncc.html": ncc(common_head + [meta(b"ncc:charset", b"utf-8"), meta(b"ncc:setInfo",
                                                                                          b"1 of 2")], utf8_body),
                     "a.smil": smil_a, "b.smil": smil_b,
                     "sub/C.SMIL": smil([], par(b"p", b"t.html#1", [(b"c.mp3", b"0", b"1")]))}
    books["windows-1252"] = {
        "NCC.HTML": ncc(common_head + [meta(b"ncc:charset", b"windows-1252")],
                        [b'<h1 id="h"><a href="a.smil#p1">\x80uro \x93quoted\x94 \xe4\x81</a></h1>',
                         b'<div class="group"><a href="a.smil#p1">\xc4rger \x9f</a></div>']),
        "A.SMIL": smil_a}
    books["iso-8859-2"] = {
        "ncc.html": ncc(common_head + [meta(b"ncc:charset", b"iso-8859-2")],
                        [b'<h1 id="h"><a href="a.smil#p1">\xb1\xe6\xea\xb3 \xa1</a></h1>']), "a.smil": smil_a}
    books["koi8-r"] = {
        "ncc.html": ncc(common_head + [meta(b"ncc:charset", b"koi8-r")],
                        [b'<h1 id="h"><a href="a.smil#p1">\xf0\xd2\xc9\xd7\xc5\xd4</a></h1>']), "a.smil": smil_a}
    books["no-charset-latin1"] = {
        "ncc.html": ncc(common_head, [b'<h1 id="h"><a href="a.smil#p1">Gr\xf6\xdfe \xff</a></h1>',
                                      b'<h2 id="i"><a href="a.smil#p2">\xc3\xa4 valid</a></h2>']),
        "a.smil": smil_a}
    books["cr-only-and-nul"] = {
        "ncc.html": ncc(common_head, [b'<h1 id="h"><a href="a.smil#p1">Null\x00Byte</a></h1>'], b"\r"),
        "a.smil": smil_a.replace(b"\r\n", b"\n")}
    books["heading-to-the-end"] = {
        "ncc.html": ncc(common_head, [b'<h1 id="h"><a href="a.smil#p1">Never', b"closed"]).rstrip(b"\r\n") +
        b"\r\n" + b"x" * 70000, "a.smil": smil_a}
    books["long-lines"] = {
        "ncc.html": ncc(common_head, [b'<h1 id="h"><a href="a.smil#p1">' + b"Lang " * 20000 + b"</a></h1>"] +
                        [b'<span class="page-normal"><a href="a.smil#p1">' + str(i).encode() + b"</a></span>"
                         for i in range(50)]),
        "a.smil": smil([], par(b"p" * 5000, b"t.html#" + b"f" * 5000, [(b"x.mp3", b"0", b"1")]))}
    books["empty-ncc"] = {"ncc.html": b""}
    books["head-only"] = {"ncc.html": b"<html><head>" + meta(b"dc:title", b"Kopf") + b"</head></html>"}
    for name, files in books.items():
        for relative, data in files.items():
            path = root / "odd" / name / relative
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_bytes(data)
    return sorted((root / "odd").iterdir())


def dump(korvin, argument):
    environment = dict(os.environ, LANG="C.UTF-8")
    environment.pop("LC_ALL", None)
    run = subprocess.run([korvin, "--dump-book", str(argument)], capture_output=True, env=environment,
                         timeout=600)
    return run.returncode, run.stdout, run.stderr


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("old")
    parser.add_argument("new")
    parser.add_argument("--writer", help="korvin_write_book of the bench build")
    parser.add_argument("--books", action="append", help="a folder of sample books (more than one may be given)")
    options = parser.parse_args()

    with tempfile.TemporaryDirectory(prefix="korvin-dump-compare-") as temporary:
        root = pathlib.Path(temporary)
        books = book_folders(REPO / "resources" / "documents")
        shared = options.books if options.books else [REPO.parent / "shared" / "books"]
        for folder in shared:
            if pathlib.Path(folder).is_dir():
                books += book_folders(folder)
            else:
                print(f"no sample books in {folder}: left out")
        for index, entry in enumerate(sorted((REPO / "fuzz" / "corpus").iterdir())):
            target = root / "fuzz" / f"{index:02d}-{entry.name}"
            books += unpack_fuzz_input(entry.read_bytes(), target)
        books += odd_books(root)
        if options.writer:
            for name, headings in (("generated-3000", "3000"), ("generated-1", "1")):
                subprocess.run([options.writer, str(root / name), headings], check=True, stdout=subprocess.DEVNULL)
                books.append(root / name)
            subprocess.run([options.writer, "--daisy3", str(root / "generated-daisy3")], check=True,
                           stdout=subprocess.DEVNULL)
            books.append(root / "generated-daisy3")

        arguments = [root / "missing"]
        for book in books:
            arguments.append(book)
            nccs = [name for name in os.listdir(book) if is_book_file(name)]
            arguments += [book / name for name in nccs]
        differences = 0
        for argument in arguments:
            old = dump(options.old, argument)
            new = dump(options.new, argument)
            if old != new:
                differences += 1
                what = [label for label, a, b in zip(("exit status", "output", "errors"), old, new) if a != b]
                print(f"DIFFERS ({', '.join(what)}): {argument}")
        print(f"{len(arguments)} dumps of {len(books)} books compared, {differences} differ")
        return 1 if differences else 0


if __name__ == "__main__":
    sys.exit(main())
