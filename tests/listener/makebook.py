# SPDX-License-Identifier: GPL-3.0-or-later
"""A small DAISY 2.02 book for the listener's session: an NCC with headings on
two levels and pages, one SMIL per heading, a text document and WAV audio
(quiet tones), written into a folder."""

import math
import wave
from pathlib import Path

TITLE = "Die Reise zum Meer"
# (level, heading, sentences of its text); every heading starts on a new page.
CHAPTERS = [
    (1, TITLE, [TITLE, "Eine Erzählung in vier Teilen."]),
    (1, "Aufbruch", ["Am Morgen packten wir die Koffer.", "Der Zug fuhr um acht Uhr.",
                     "Niemand sprach ein Wort."]),
    (1, "Unterwegs", ["Die Felder zogen vorbei.", "Im Speisewagen gab es Suppe.",
                      "Dann kam der Regen."]),
    (2, "Der Bahnhof", ["Der Bahnhof war leer.", "Eine Möwe saß auf dem Dach."]),
    (1, "Am Meer", ["Das Wasser war kalt.", "Wir blieben bis zum Abend.",
                    "Am Ende fanden wir eine Muschel."]),
]
# Long enough that playing does not move on while a step waits for Orca.
SENTENCE_SECONDS = 30.0
# The book's first phrase, its title, is short as on a real book: Korvin plays
# it as the title cue once the book is open and answers no screen reader while
# it does, so a long one left Orca seconds behind.
TITLE_SECONDS = 1.5
RATE = 8000


def _wav(path, seconds, pitch):
    frames = int(seconds * RATE)
    with wave.open(str(path), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(1)
        out.setframerate(RATE)
        out.writeframes(bytes(128 + int(8 * math.sin(2 * math.pi * pitch * i / RATE)) for i in range(frames)))


def _seconds(value):
    whole = int(value)
    return f"{whole // 3600:02d}:{whole % 3600 // 60:02d}:{whole % 60:02d}"


def _lengths(number, sentences):
    """Seconds of each sentence of chapter `number` (from 1)."""
    return [TITLE_SECONDS if number == 1 and index == 0 else SENTENCE_SECONDS for index in range(len(sentences))]


def make_book(folder):
    """Writes the book into `folder` (created) and returns the path of its ncc.html."""
    folder = Path(folder)
    folder.mkdir(parents=True, exist_ok=True)
    total = sum(sum(_lengths(number, sentences)) for number, (_, _, sentences) in enumerate(CHAPTERS, start=1))
    ncc_body, text_body = [], []
    elapsed = 0.0
    for number, (level, heading, sentences) in enumerate(CHAPTERS, start=1):
        smil = f"kap{number}.smil"
        audio = f"kap{number}.wav"
        lengths = _lengths(number, sentences)
        seconds = sum(lengths)
        _wav(folder / audio, seconds, 300 + 40 * number)
        ncc_body.append(f'<h{level} id="h{number}"><a href="{smil}#p{number}_0">{heading}</a></h{level}>')
        ncc_body.append(f'<span class="page-normal" id="s{number}"><a href="{smil}#p{number}_0">{number}</a></span>')
        text_body.append(f'<h{level} id="t{number}_0">{heading}</h{level}>')
        pars = []
        for index, sentence in enumerate(sentences):
            if index:
                text_body.append(f'<p id="t{number}_{index}">{sentence}</p>')
            begin = sum(lengths[:index])
            end = begin + lengths[index]
            pars.append(f'<par endsync="last" id="p{number}_{index}">\n'
                        f'<text src="text.html#t{number}_{index}" id="x{number}_{index}" />\n'
                        f'<audio src="{audio}" clip-begin="npt={begin:.3f}s" clip-end="npt={end:.3f}s" '
                        f'id="a{number}_{index}" />\n</par>')
        (folder / smil).write_text(
            '<?xml version="1.0" encoding="utf-8"?>\n<smil>\n<head>\n'
            f'<meta name="ncc:totalElapsedTime" content="{_seconds(elapsed)}" />\n'
            f'<meta name="ncc:timeInThisSmil" content="{_seconds(seconds)}" />\n'
            f'</head>\n<body>\n<seq dur="{seconds:.3f}s">\n' + "\n".join(pars) + "\n</seq>\n</body>\n</smil>\n",
            encoding="utf-8")
        elapsed += seconds
    (folder / "text.html").write_text(
        '<?xml version="1.0" encoding="utf-8"?>\n<html>\n<head>\n<meta http-equiv="Content-Type" '
        'content="text/html; charset=utf-8" />\n'
        f"<title>{TITLE}</title>\n</head>\n<body>\n" + "\n".join(text_body) + "\n</body>\n</html>\n",
        encoding="utf-8")
    ncc = folder / "ncc.html"
    ncc.write_text(
        '<?xml version="1.0" encoding="utf-8"?>\n<html>\n<head>\n'
        '<meta http-equiv="Content-Type" content="text/html; charset=utf-8" />\n'
        f"<title>{TITLE}</title>\n"
        f'<meta name="dc:title" content="{TITLE}" />\n'
        '<meta name="dc:date" content="2026-12-08" />\n'
        '<meta name="dc:identifier" content="listener-session-book" />\n'
        '<meta name="ncc:charset" content="utf-8" />\n'
        '<meta name="ncc:multimediaType" content="audioFullText" />\n'
        f'<meta name="ncc:tocItems" content="{2 * len(CHAPTERS)}" />\n'
        f'<meta name="ncc:pageNormal" content="{len(CHAPTERS)}" />\n'
        f'<meta name="ncc:totalTime" content="{_seconds(total)}" />\n'
        '<meta name="ncc:setInfo" content="1 of 1" />\n'
        "</head>\n<body>\n" + "\n".join(ncc_body) + "\n</body>\n</html>\n",
        encoding="utf-8")
    return ncc
