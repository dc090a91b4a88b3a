#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Builds Korvin's bundled manuals, DAISY 2.02 talking books, from their text.

    scripts/make-manual.py [de] [en]

reads resources/manual/manual_<lang>.txt (the format is described at the top
of each file) and replaces the book in resources/documents/Manuals/<LANG>/DAISY/
with a new one: ncc.html, content.html, and one SMIL file and one MP3 file per
heading. Without arguments both languages are built.

Every sentence is spoken by espeak-ng into a WAV file of its own; the phrases
of a heading are joined, with pauses, into one WAV file and encoded by lame as
a mono MP3 of 32 kbit/s at 22.05 kHz. The clip times in the SMIL files are
counted in samples of the joined WAV file, so they are exact.

An MP3 decoder gives lame's encoder delay and its own, together 1105
samples of silence, before the sound: MP3 files carry no length of their own,
and the LAME tag that could tell a decoder to drop them does not fit into the
small frames of 32 kbit/s at 22.05 kHz (lame leaves it out; `-t` makes that
explicit). So every clip time is shifted by those 1105 samples, except the
first clip's begin, which stays at 0 and holds the delay. When ffmpeg (the
decoder library the player uses) is present, the script checks each MP3: the
decoded sound must be the WAV sound 1105 samples later, and the decoded file
must not end before the last clip.

Needs python3 and the commands espeak-ng and lame (Debian packages espeak-ng
and lame); they are needed only to rebuild the manuals, never by the program
or its tests. The books are committed, so a build never runs this script.

The readers of the player take books line by line, so the files are written
with one element per line and attributes in double quotes; headings of the
NCC carry nothing the reader could mistake for a page, a group or a change
marker.
"""

from __future__ import annotations

import argparse
import array
import html
import re
import shutil
import subprocess
import sys
import tempfile
import wave
from dataclasses import dataclass, field
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
SOURCES = ROOT / "resources" / "manual"
MANUALS = ROOT / "resources" / "documents" / "Manuals"

SAMPLE_RATE = 22050
BITRATE_KBPS = 32
# Samples quieter than this (of 32767) at either end of a spoken phrase are
# cut off, so that the pauses between phrases are the ones chosen below.
SILENCE_LEVEL = 250
LEAD_IN = 0.015
TAIL = 0.040
PAUSE_AFTER_HEADING = 0.7
PAUSE_AFTER_SENTENCE = 0.3
PAUSE_AFTER_PARAGRAPH = 0.6
PAUSE_AT_END = 0.9
# Samples of silence an MP3 decoder gives before the first sample lame was fed
# (encoder delay 576 + decoder delay 529), in a file without a LAME tag.
MP3_DELAY = 1105

GENERATOR = "Korvin make-manual.py"
REQUIRED_VALUES = ("title", "identifier", "date", "language", "voice")


class SourceError(Exception):
    pass


@dataclass
class Section:
    level: int
    title: str
    paragraphs: list[list[str]] = field(default_factory=list)


@dataclass
class Manual:
    values: dict[str, str]
    spoken: list[tuple[str, str]]
    sections: list[Section]


@dataclass
class Phrase:
    number: int  # gives the ids: text element k0001, par par0001, ...
    text: str
    pause: float
    samples: array.array = field(default_factory=lambda: array.array("h"))


def parse_source(path: Path) -> Manual:
    values: dict[str, str] = {}
    spoken: list[tuple[str, str]] = []
    sections: list[Section] = []
    paragraph_open = False
    for number, raw in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        line = raw.strip()
        where = f"{path.name}:{number}"
        if line.startswith("#"):
            continue
        if not line:
            paragraph_open = False
            continue
        if line.startswith("@say "):
            text, sep, say = line[5:].partition(" = ")
            if not sep or not text.strip():
                raise SourceError(f"{where}: expected '@say text = spoken'")
            spoken.append((text.strip(), say.strip()))
            continue
        if line.startswith("@"):
            name, _, value = line[1:].partition(" ")
            values[name] = value.strip()
            continue
        heading = re.fullmatch(r"(=+)\s+(.+)", line)
        if heading:
            level = len(heading.group(1))
            title = heading.group(2).strip()
            if level > 6 or (sections and level > sections[-1].level + 1) or (not sections and level != 1):
                raise SourceError(f"{where}: heading level {level} does not follow the one before")
            # The NCC reader takes a title as written, up to the first "</",
            # and the tree shows it unescaped: keep markup characters out.
            if any(c in title for c in '<>&"'):
                raise SourceError(f"{where}: a heading may not contain < > & or \"")
            sections.append(Section(level, title))
            paragraph_open = False
            continue
        if not sections:
            raise SourceError(f"{where}: text before the first heading")
        if not paragraph_open:
            sections[-1].paragraphs.append([])
            paragraph_open = True
        sections[-1].paragraphs[-1].append(line)
    for name in REQUIRED_VALUES:
        if not values.get(name):
            raise SourceError(f"{path.name}: @{name} is missing")
    for name, value in values.items():
        if '"' in value or "<" in value or "&" in value:
            raise SourceError(f"{path.name}: @{name} may not contain \" < or &")
    if not sections:
        raise SourceError(f"{path.name}: no heading")
    # Longer texts first, so that a text inside a longer one does not win.
    spoken.sort(key=lambda pair: len(pair[0]), reverse=True)
    return Manual(values, spoken, sections)


def spoken_form(text: str, spoken: list[tuple[str, str]]) -> str:
    if not spoken:
        return text
    pattern = re.compile("|".join(re.escape(key) for key, _ in spoken))
    table = dict(spoken)
    return pattern.sub(lambda match: table[match.group(0)], text)


def speak(text: str, manual: Manual, wav_path: Path) -> array.array:
    command = ["espeak-ng", "-b", "1", "-v", manual.values["voice"], "-w", str(wav_path), "--stdin"]
    if manual.values.get("rate"):
        command[1:1] = ["-s", manual.values["rate"]]
    subprocess.run(command, input=spoken_form(text, manual.spoken).encode("utf-8"), check=True)
    with wave.open(str(wav_path), "rb") as wav:
        if (wav.getnchannels(), wav.getsampwidth(), wav.getframerate()) != (1, 2, SAMPLE_RATE):
            raise RuntimeError(f"espeak-ng wrote {wav.getparams()}, expected mono 16 bit {SAMPLE_RATE} Hz")
        samples = array.array("h", wav.readframes(wav.getnframes()))
    if sys.byteorder != "little":
        samples.byteswap()
    loud = [i for i, value in enumerate(samples) if abs(value) > SILENCE_LEVEL]
    if not loud:
        raise RuntimeError(f"espeak-ng said nothing for {text!r}")
    first = max(0, loud[0] - int(LEAD_IN * SAMPLE_RATE))
    last = min(len(samples), loud[-1] + 1 + int(TAIL * SAMPLE_RATE))
    return samples[first:last]


def npt(samples: int) -> str:
    """Clip time in seconds with three decimals, rounded down, so that a clip
    never ends after the sound it points into."""
    milliseconds = samples * 1000 // SAMPLE_RATE
    return f"{milliseconds // 1000}.{milliseconds % 1000:03d}"


def clock(samples: int) -> str:
    seconds = (samples + SAMPLE_RATE // 2) // SAMPLE_RATE
    return f"{seconds // 3600:02d}:{seconds // 60 % 60:02d}:{seconds % 60:02d}"


def attribute(value: str) -> str:
    return html.escape(value, quote=True)


def phrases_of(manual: Manual) -> list[list[Phrase]]:
    result = []
    number = 0
    for section in manual.sections:
        number += 1
        phrases = [Phrase(number, section.title, PAUSE_AFTER_HEADING)]
        for paragraph in section.paragraphs:
            for position, sentence in enumerate(paragraph):
                number += 1
                last = position == len(paragraph) - 1
                phrases.append(Phrase(number, sentence, PAUSE_AFTER_PARAGRAPH if last else PAUSE_AFTER_SENTENCE))
        phrases[-1].pause = PAUSE_AT_END
        result.append(phrases)
    # Ids of four digits and file names of three keep every id and name the
    # same length: the search in the text finds a phrase by the first place
    # its id occurs in the document, so no id may be part of another.
    if number > 9999 or len(manual.sections) > 999:
        raise SourceError("more than 9999 phrases or 999 headings")
    return result


def write_wav(path: Path, samples: array.array) -> None:
    data = samples
    if sys.byteorder != "little":
        data = array.array("h", samples)
        data.byteswap()
    with wave.open(str(path), "wb") as wav:
        wav.setnchannels(1)
        wav.setsampwidth(2)
        wav.setframerate(SAMPLE_RATE)
        wav.writeframes(data.tobytes())


def encode_mp3(wav_path: Path, mp3_path: Path) -> None:
    subprocess.run(["lame", "--quiet", "-t", "-m", "m", "-b", str(BITRATE_KBPS), "-q", "2",
                    str(wav_path), str(mp3_path)], check=True)


def check_mp3(mp3_path: Path, written: array.array) -> str:
    """Decodes the MP3 with ffmpeg and checks that it holds the written sound
    MP3_DELAY samples late and lasts at least as long as its clips. Returns a
    note for the report; without ffmpeg, says so."""
    if not shutil.which("ffmpeg"):
        return "not decoded (no ffmpeg)"
    result = subprocess.run(["ffmpeg", "-v", "error", "-i", str(mp3_path), "-f", "s16le", "-ac", "1",
                             "-ar", str(SAMPLE_RATE), "-"], capture_output=True, check=True)
    decoded = array.array("h", result.stdout)
    if sys.byteorder != "little":
        decoded.byteswap()
    if len(decoded) < len(written) + MP3_DELAY:
        raise RuntimeError(f"{mp3_path.name}: decodes to {len(decoded)} samples, "
                           f"fewer than the {len(written) + MP3_DELAY} its clips need")
    # The offset at which a stretch of speech differs least; a least-difference
    # match, unlike a correlation, does not lock onto a pitch period.
    start = next(i for i, value in enumerate(written) if abs(value) > 4 * SILENCE_LEVEL)
    window = written[start:start + 2000]
    best_offset, best_error = 0, None
    for offset in range(0, 2 * MP3_DELAY):
        error = sum((a - b) ** 2 for a, b in zip(window, decoded[start + offset:start + offset + len(window)]))
        if best_error is None or error < best_error:
            best_offset, best_error = offset, error
    if abs(best_offset - MP3_DELAY) > 2:
        raise RuntimeError(f"{mp3_path.name}: the sound starts {best_offset} samples late, "
                           f"not {MP3_DELAY}; the clip times would not match it")
    return f"decoded {len(decoded)} samples, sound {best_offset} samples late"


def smil_text(manual: Manual, section: Section, phrases: list[Phrase], audio: str,
              elapsed: int, length: int) -> str:
    """`elapsed` and `length` in samples of the MP3 timeline."""
    v = manual.values
    lines = [
        '<?xml version="1.0" encoding="utf-8"?>',
        '<!DOCTYPE smil PUBLIC "-//W3C//DTD SMIL 1.0//EN" "http://www.w3.org/TR/REC-smil/SMIL10.dtd">',
        "<smil>",
        "<head>",
        '<meta name="dc:format" content="Daisy 2.02" />',
        f'<meta name="dc:identifier" content="{v["identifier"]}" />',
        f'<meta name="dc:title" content="{v["title"]}" />',
        f'<meta name="title" content="{attribute(section.title)}" />',
        f'<meta name="ncc:generator" content="{GENERATOR}" />',
        f'<meta name="ncc:totalElapsedTime" content="{clock(elapsed)}" />',
        f'<meta name="ncc:timeInThisSmil" content="{clock(length)}" />',
        "<layout>",
        '<region id="txtView" />',
        "</layout>",
        "</head>",
        "<body>",
        f'<seq dur="{npt(length)}s">',
    ]
    begin = 0
    end = MP3_DELAY
    for phrase in phrases:
        end += len(phrase.samples)
        n = phrase.number
        lines += [
            f'<par endsync="last" id="par{n:04d}">',
            f'<text src="content.html#k{n:04d}" id="txt{n:04d}" />',
            f'<audio src="{audio}" clip-begin="npt={npt(begin)}s" clip-end="npt={npt(end)}s" id="aud{n:04d}" />',
            "</par>",
        ]
        begin = end
    lines += ["</seq>", "</body>", "</smil>", ""]
    return "\n".join(lines)


def content_text(manual: Manual, all_phrases: list[list[Phrase]], smil_names: list[str]) -> str:
    v = manual.values
    lang = v["language"]
    lines = [
        '<?xml version="1.0" encoding="utf-8"?>',
        '<!DOCTYPE html PUBLIC "-//W3C//DTD XHTML 1.0 Transitional//EN" '
        '"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd">',
        f'<html xmlns="http://www.w3.org/1999/xhtml" lang="{lang}" xml:lang="{lang}">',
        "<head>",
        '<meta http-equiv="Content-Type" content="text/html; charset=utf-8" />',
        f"<title>{v['title']}</title>",
        f'<meta name="dc:title" content="{v["title"]}" />',
        f'<meta name="dc:identifier" content="{v["identifier"]}" />',
        f'<meta name="dc:language" content="{lang}" />',
        "</head>",
        "<body>",
    ]
    paragraph_number = 0
    for section, phrases, smil in zip(manual.sections, all_phrases, smil_names):
        heading = phrases[0]
        lines.append(f'<h{section.level} id="k{heading.number:04d}"><a href="{smil}#par{heading.number:04d}">'
                     f"{html.escape(section.title, quote=False)}</a></h{section.level}>")
        rest = iter(phrases[1:])
        for paragraph in section.paragraphs:
            paragraph_number += 1
            # A paragraph stays on one line: the book search joins a
            # document's lines without a blank.
            spans = " ".join(f'<span id="k{p.number:04d}">{html.escape(p.text, quote=False)}</span>'
                             for p in (next(rest) for _ in paragraph))
            lines.append(f'<p id="para{paragraph_number:03d}">{spans}</p>')
    lines += ["</body>", "</html>", ""]
    return "\n".join(lines)


def ncc_text(manual: Manual, all_phrases: list[list[Phrase]], smil_names: list[str],
             total: int, file_count: int) -> str:
    v = manual.values
    lang = v["language"]
    depth = max(section.level for section in manual.sections)
    metas = [
        ("dc:creator", v.get("creator", "")),
        ("dc:date", v["date"]),
        ("dc:format", "Daisy 2.02"),
        ("dc:identifier", v["identifier"]),
        ("dc:language", lang),
        ("dc:publisher", v.get("publisher", "")),
        ("dc:title", v["title"]),
        ("ncc:charset", "utf-8"),
        ("ncc:depth", str(depth)),
        ("ncc:files", str(file_count)),
        ("ncc:footnotes", "0"),
        ("ncc:generator", GENERATOR),
        ("ncc:maxPageNormal", "0"),
        ("ncc:multimediaType", "audioFullText"),
        ("ncc:narrator", "eSpeak NG"),
        ("ncc:pageFront", "0"),
        ("ncc:pageNormal", "0"),
        ("ncc:pageSpecial", "0"),
        ("ncc:prodNotes", "0"),
        ("ncc:setInfo", "1 of 1"),
        ("ncc:sidebars", "0"),
        ("ncc:tocItems", str(len(manual.sections))),
        ("ncc:totalTime", clock(total)),
    ]
    lines = [
        '<?xml version="1.0" encoding="utf-8"?>',
        '<!DOCTYPE html PUBLIC "-//W3C//DTD XHTML 1.0 Transitional//EN" '
        '"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd">',
        f'<html xmlns="http://www.w3.org/1999/xhtml" lang="{lang}" xml:lang="{lang}">',
        "<head>",
        '<meta http-equiv="Content-Type" content="text/html; charset=utf-8" />',
        f"<title>{v['title']}</title>",
    ]
    lines += [f'<meta name="{name}" content="{value}" />' for name, value in metas]
    lines += ["</head>", "<body>"]
    for index, (section, phrases, smil) in enumerate(zip(manual.sections, all_phrases, smil_names)):
        title_class = ' class="title"' if index == 0 else ""
        lines.append(f'<h{section.level}{title_class} id="nav{index + 1:03d}">'
                     f'<a href="{smil}#par{phrases[0].number:04d}">{section.title}</a></h{section.level}>')
    lines += ["</body>", "</html>", ""]
    return "\n".join(lines)


def build(language: str) -> None:
    source = SOURCES / f"manual_{language}.txt"
    target = MANUALS / language.upper() / "DAISY"
    manual = parse_source(source)
    all_phrases = phrases_of(manual)
    count = len(manual.sections)
    smil_names = [f"{i + 1:03d}.smil" for i in range(count)]
    audio_names = [f"{i + 1:03d}.mp3" for i in range(count)]

    with tempfile.TemporaryDirectory(prefix="korvin-manual-") as temp:
        work = Path(temp)
        book = work / "book"
        book.mkdir()
        elapsed = 0
        report = []
        for section, phrases, smil, audio in zip(manual.sections, all_phrases, smil_names, audio_names):
            joined = array.array("h")
            for phrase in phrases:
                phrase.samples = speak(phrase.text, manual, work / "phrase.wav")
                phrase.samples.extend([0] * int(phrase.pause * SAMPLE_RATE))
                joined.extend(phrase.samples)
            wav_path = work / f"{audio}.wav"
            write_wav(wav_path, joined)
            encode_mp3(wav_path, book / audio)
            note = check_mp3(book / audio, joined)
            length = MP3_DELAY + len(joined)
            (book / smil).write_text(smil_text(manual, section, phrases, audio, elapsed, length),
                                     encoding="utf-8")
            report.append((section.title, len(phrases), length, note, (book / audio).stat().st_size))
            elapsed += length
        (book / "content.html").write_text(content_text(manual, all_phrases, smil_names), encoding="utf-8")
        file_count = 2 + 2 * count
        (book / "ncc.html").write_text(ncc_text(manual, all_phrases, smil_names, elapsed, file_count),
                                       encoding="utf-8")

        if target.exists():
            shutil.rmtree(target)
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copytree(book, target)

    size = sum(p.stat().st_size for p in target.iterdir())
    print(f"{target.relative_to(ROOT)}: {count} headings, {clock(elapsed)} of speech, {size} bytes")
    for title, phrase_count, samples, note, mp3_size in report:
        print(f"  {title}: {phrase_count} phrases, clips end at {npt(samples)} s ({samples} samples), "
              f"{mp3_size} bytes; {note}")


def main() -> int:
    parser = argparse.ArgumentParser(description="Rebuild Korvin's DAISY manuals from their text.")
    parser.add_argument("languages", nargs="*", metavar="LANGUAGE", help="de or en; default: both")
    args = parser.parse_args()
    unknown = [language for language in args.languages if language not in ("de", "en")]
    if unknown:
        parser.error(f"unknown language {unknown[0]!r}; choose de or en")
    missing = [tool for tool in ("espeak-ng", "lame") if not shutil.which(tool)]
    if missing:
        print(f"make-manual: {' and '.join(missing)} not found; install the Debian packages espeak-ng and lame",
              file=sys.stderr)
        return 1
    try:
        for language in args.languages or ["de", "en"]:
            build(language)
    except SourceError as error:
        print(f"make-manual: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
