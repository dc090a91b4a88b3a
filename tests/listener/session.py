#!/usr/bin/python3
"""A listener's session with Korvin, heard through the real Orca: in German and
again in English, driven by keys alone, each step checked against what Orca
said. Run inside desktop.sh: session.py KORVIN [TRANSCRIPT]. Exit 0 when every
step was heard as expected; the transcript lists each step with what Orca said."""

import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from listener import (Heard, Korvin, Orca, SpeechServer, Transcript, keys, no_other_orca,  # noqa: E402
                      remove, time_label, type_text, workspace)
from makebook import TITLE, make_book  # noqa: E402

# Steps of commands that are still to come; each is switched on by taking its
# name out of this set once the command exists.
PENDING = set()

# What the listener hears of Korvin itself, in its two languages.
TEXTS = {
    "de": {"tree": "Überschriften", "open": "Öffnen", "browse": r"Ein Buch suchen", "reading": r"Buch öffnen.*Buch wird geöffnet",
           "change": r"Wechseln grayed", "skip": r"Überspringen grayed", "german": "Deutsch",
           "english": "English", "bookmarks": "Lesezeichen", "search": [r"Suche\W.*dialog", r"Suchbegriff.*text"],
           "results": "Suchergebnisse", "searching": r"alert Suche läuft", "found": "Das Suchergebnis ist", "pageprompt": r"Seitenzahl", "entries": r"Einträge in diesem Buch",
           "text": r"Text read only", "nolevel": r"Keine weitere Überschrift der Ebene 2",
           "where": r"Überschrift 3 von 5: Unterwegs\. Seite 3\.", "sleep15": r"15 Minuten\W+not selected radio button",
           "sleepoff": r"Aus\W+selected radio button", "sleepleft": r"Schlaf-Timer endet in 0 Stunden, (30|29) Minuten"},
    "en": {"tree": "Headings", "open": "Open", "browse": r"Browse for a book", "reading": r"Open book.*Opening book",
           "change": r"Change grayed", "skip": r"Skip grayed", "german": "Deutsch", "english": "English",
           "bookmarks": "Bookmarks", "search": [r"Search\W.*dialog", r"search item.*text"], "results": "Search results", "searching": r"alert Searching", "found": "The search result is",
           "pageprompt": r"page number", "entries": r"entries in this book", "text": r"Text read only",
           "nolevel": r"No further heading of level 2", "where": r"heading 3 of 5: Unterwegs\. Page 3\.",
           "sleep15": r"15 minutes\W+not selected radio button", "sleepoff": r"Off\W+selected radio button",
           "sleepleft": r"sleep timer ends in 0 hours, (30|29) minutes"},
}
HEADINGS = ["Aufbruch", "Unterwegs", "Der Bahnhof", "Am Meer"]


class Session:
    def __init__(self, program, folder, transcript):
        self.program = program
        self.folder = folder
        self.heard = transcript
        self.home = folder / "home"
        self.home.mkdir()
        self.book = make_book(folder / "book")
        self.app = None

    def step(self, name, *presses, expect=(), timeout=10.0):
        """Presses the keys of a step, then waits for each expected utterance in turn."""
        self.heard.step(name)
        try:
            keys(*presses)
            said = [self.heard.expect(pattern, timeout) for pattern in expect]
        finally:
            self.heard.close_step()
        return said

    def open_daisy_menu(self, language):
        """Alt+D, until Orca names the menu's first item. Under Xvfb the menu
        now and then closes as it opens, when the window is still taking the
        focus back from a control; a listener would press again, so does this."""
        first = r"\b" + TEXTS[language]["open"]
        self.heard.settle()
        for _ in range(3):
            self.heard.step("Alt+D")
            keys("alt+d")
            try:
                self.heard.expect(first, 4)
                return
            except Heard:
                keys("Escape", "Escape")
                self.heard.settle()
            finally:
                self.heard.close_step()
        raise Heard("the DAISY menu did not open on Alt+D")

    def close_menus(self, language):
        """Escape until Orca is back on the tree (each Escape closes one level)."""
        self.heard.step("Escape out of the menus")
        try:
            for _ in range(4):
                keys("Escape")
                try:
                    self.heard.expect(TEXTS[language]["tree"], 2.5)
                    return
                except Heard:
                    continue
            raise Heard("Escape did not lead back to the tree")
        finally:
            self.heard.close_step()

    def start(self, language):
        # Now and then, right after Orca has started, the program's first
        # window reaches no screen reader at all (no event of it arrives);
        # started once more, it does.
        for attempt in range(2):
            self.app = Korvin(self.program, self.home, self.folder)
            try:
                self.step("start", expect=[r"Korvin 2\.0\.1 frame", TEXTS[language]["tree"]], timeout=12)
                break
            except Heard:
                if attempt:
                    raise
                self.app.stop()
        # The first key after the window shows only wakes the screen reader up.
        self.heard.step("settle")
        keys("Escape")
        self.heard.settle()
        self.heard.close_step()

    def exit(self):
        self.heard.step("exit: Alt+F4")
        keys("alt+F4")
        ended = self.app.wait_ended(15)
        self.heard.close_step()
        if not ended:
            raise Heard("Korvin did not end on Alt+F4")
        self.app = None

    def open_book(self, language, heading):
        texts = TEXTS[language]
        self.step("open: Ctrl+O", "ctrl+o", expect=[texts["browse"]])
        self.heard.step("type the book's path, Enter")
        type_text(str(self.book))
        keys("Return")
        try:
            # The tree has the focus on the book's first heading, its title,
            # or where the book was left. (The reading box is checked on Alt+L:
            # after the file dialog Orca is often still busy with that
            # dialog's events while the box shows.)
            self.heard.expect(heading, 20)
        finally:
            self.heard.close_step()

    def tree(self):
        # A book opened again goes back to its place: Home is the title.
        self.step("End in the tree", "End", expect=[HEADINGS[-1]])
        self.step("Home", "Home", expect=[TITLE])
        self.step("Down in the tree", "Down", expect=[HEADINGS[0]])
        self.step("Down again", "Down", expect=[HEADINGS[1]])
        self.step("Up", "Up", expect=[HEADINGS[0]])

    def phrases(self):
        # Orca stays quiet on P and Shift+P (the book's sound is what the
        # listener hears); the player's time shows the sentence, 30 s each.
        def in_second_sentence():
            end = time.monotonic() + 4
            while time.monotonic() < end:
                minutes, seconds = time_label().split(" /")[0].split(":")
                if 29 <= int(minutes) * 60 + int(seconds) < 59:
                    return True
                time.sleep(0.1)
            return False

        self.step("P", "p")
        if not in_second_sentence():
            raise Heard(f"P did not go to the second sentence: {time_label()}")
        self.step("P", "p")
        self.step("Shift+P", "shift+p")
        if not in_second_sentence():
            raise Heard(f"Shift+P did not go back to the second sentence: {time_label()}")
        if self.heard.since_step():
            raise Heard(f"Orca spoke over the book: {self.heard.since_step()!r}")

    def pages(self, language):
        if "pages" in PENDING:
            return
        self.step("S to the next page", "s", expect=[HEADINGS[1]])
        self.step("Shift+S back", "shift+s", expect=[HEADINGS[0]])
        self.step("Alt+S asks for a page", "alt+s", expect=[TEXTS[language]["pageprompt"]])
        self.heard.step("page 4, Enter")
        type_text("4")
        keys("Return")
        try:
            self.heard.expect(HEADINGS[2], 10)
        finally:
            self.heard.close_step()

    def bookmarks(self, language):
        self.step("to the first chapter", "Home", "Down", expect=[HEADINGS[0]])
        self.step("Ctrl+M sets a bookmark", "ctrl+m")
        self.step("Down to another heading", "Down", expect=[HEADINGS[1]])
        self.step("M goes to the bookmark", "m", expect=[HEADINGS[0]])
        self.step("Tab to the bookmarks", "Tab", "Tab", "Tab",
                  expect=[TEXTS[language]["bookmarks"], r"\d+ items?"])
        self.step("back to the tree", "shift+Tab", "shift+Tab", "shift+Tab",
                  expect=[TEXTS[language]["tree"]])

    def search(self, language):
        texts = TEXTS[language]
        # Suche is the menu left of "?", which is left of DAISY; "im Buch" its third item.
        self.open_daisy_menu(language)
        self.step("the search menu", "Left", "Left", "Down", "Down")
        self.step("search the book", "Return", expect=texts["search"])
        self.heard.step("type a term, Enter")
        type_text("Suppe")
        keys("Return")
        try:
            # The count of the hits. (The wait window before it is up for
            # less than a second on this book; Orca, still busy with the
            # dialog, says it only now and then.)
            self.heard.expect(texts["found"] + r"\W+1\b", 15)
        finally:
            self.heard.close_step()
        self.step("OK", "Return", expect=[texts["tree"]])
        self.step("R to the hit", "r", expect=[HEADINGS[1]])

    def information(self, language):
        if "information" in PENDING:
            return
        self.open_daisy_menu(language)
        # Von Liste, Letztes, Wechseln (grayed items are reached too), Buch-Information.
        self.step("an information message", "Down", "Down", "Down", "Down", "Right", "Down",
                  "Return", expect=[TEXTS[language]["entries"]])
        self.step("its OK", "Return", expect=[TEXTS[language]["tree"]])

    def views(self, language):
        if "views" in PENDING:
            return
        self.step("T to the text", "t", expect=[TEXTS[language]["text"]])
        self.step("N back to the tree", "n", expect=[TEXTS[language]["tree"], HEADINGS[1]])

    def levels(self, language):
        # The digits are keys by their place: Shift+1 is the key of 1 with Shift.
        self.step("2 to the next heading of level 2", "2", expect=[HEADINGS[2]])
        self.step("Shift+1 back to one of level 1", "shift+1", expect=[HEADINGS[1]])
        self.step("Shift+2: none before", "shift+2", expect=[TEXTS[language]["nolevel"]])
        self.step("its OK", "Return", expect=[TEXTS[language]["tree"]])

    def where_am_i(self, language):
        self.step("I: where am I", "i", expect=[TEXTS[language]["where"]])
        self.step("its OK", "Return", expect=[TEXTS[language]["tree"]])

    def sleep_timer(self, language):
        texts = TEXTS[language]
        self.open_daisy_menu(language)
        # Audio is two menus right of DAISY; above its last item (an option)
        # stands the sleep timer's submenu, whose last item is "Aus".
        self.step("Audio: the sleep timer", "Escape", "Right", "Right", "Down", "Up", "Up", "Right",
                  expect=[texts["sleep15"]])
        self.step("Aus is checked", "Up", expect=[texts["sleepoff"]])
        self.step("choose 30 minutes", "Down", "Down", "Return", expect=[texts["tree"]])
        self.step("I tells the sleep timer", "i", expect=[texts["sleepleft"]])
        self.step("its OK", "Return", expect=[texts["tree"]])

    def menus(self, language):
        texts = TEXTS[language]
        self.open_daisy_menu(language)
        self.step("DAISY menu: a grayed item", "Down", "Down", "Down", expect=[texts["change"]])
        # Escape leaves the bar on DAISY; Right moves on, Down opens Navigation.
        self.step("Navigation: a grayed submenu", "Escape", "Right", "Down", "Down", "Down", "Down",
                  expect=[texts["skip"]])
        self.close_menus(language)
        # Deutsch comes first, then English; the current one carries the radio
        # check (after the first start, which has no settings yet, neither does).
        checked = {"de": "not selected", "en": "not selected"}
        if self.language_set:
            checked[language] = "selected"
        self.open_daisy_menu(language)
        self.step("Sprache: Deutsch", "Up", "Up", "Right",
                         expect=[rf"Deutsch\W+{checked['de']} radio button"])
        self.step("English", "Down", expect=[rf"English\W+{checked['en']} radio button"])

    def switch_language(self, language):
        """Chooses the other language in the open language menu."""
        new = "en" if language == "de" else "de"
        if new == "de":
            keys("Up")
        self.step("choose " + new, "Return", expect=[TEXTS[new]["tree"]])
        return new

    def resume(self, language):
        self.start(language)
        self.step("Alt+L back to the place left", "alt+l",
                  expect=[TEXTS[language]["reading"], HEADINGS[1]], timeout=15)

    def run_language(self, language, fresh):
        if fresh:
            self.start(language)
        self.language_set = not fresh
        self.open_book(language, TITLE if fresh else HEADINGS[1])
        self.tree()
        self.phrases()
        self.pages(language)
        self.bookmarks(language)
        self.search(language)
        self.information(language)
        self.views(language)
        self.levels(language)
        self.where_am_i(language)
        self.sleep_timer(language)
        self.menus(language)
        new = self.switch_language(language)
        self.exit()
        self.resume(new)
        return new

    def close(self):
        if self.app:
            self.app.stop()


def main():
    program = Path(sys.argv[1]).resolve()
    out = Path(sys.argv[2]) if len(sys.argv) > 2 else None
    folder = workspace()
    started = time.monotonic()
    speech = SpeechServer(folder)
    no_other_orca(120)
    orca = Orca(folder, speech)
    heard = Transcript(speech.said)
    session = Session(program, folder, heard)
    failure = None
    try:
        heard.step("Orca starts")
        heard.expect("Screen reader on", 20)
        # It says so just before it listens to the applications' events.
        heard.settle(quiet=1.0)
        heard.close_step()
        language = session.run_language("de", fresh=True)
        session.run_language(language, fresh=False)
    except Exception as error:  # a failed step, or the harness itself
        failure = error
    finally:
        session.close()
        orca.stop()
        speech.stop()
    text = "\n".join(heard.log) + f"\n== {time.monotonic() - started:.0f} s\n"
    if out:
        out.write_text(text, encoding="utf-8")
    print(text)
    if failure:
        print(f"FAILED: {failure}\n(Orca's debug log and Korvin's output: {folder})", file=sys.stderr)
        return 1
    remove(folder)
    return 0


if __name__ == "__main__":
    sys.exit(main())
