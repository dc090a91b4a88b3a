# SPDX-License-Identifier: GPL-3.0-or-later
"""What a listener hears: the Orca screen reader with its speech written to a
file, and the Korvin program driven by keys alone. Used by session.py inside
desktop.sh."""

import contextlib
import fcntl
import json
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent


class Heard(AssertionError):
    """Orca did not say what a step expected."""


class SpeechServer:
    """A private Speech Dispatcher whose only voice writes each utterance to a
    file (said.sh) instead of playing it: no sound hardware is needed, and
    what Orca said can be read back at once."""

    def __init__(self, folder):
        self.said = folder / "said.txt"
        self.said.touch()
        conf = folder / "speechd"
        (conf / "modules").mkdir(parents=True)
        (conf / "speechd.conf").write_text(
            'AddModule "said" "sd_generic" "said.conf"\nDefaultModule said\nDefaultLanguage "en"\n'
            'SymbolsPreproc "no"\nDefaultPunctuationMode "none"\nAudioOutputMethod "alsa"\nAudioALSADevice "null"\n')
        (conf / "modules" / "said.conf").write_text(
            f'GenericExecuteSynth "{HERE / "said.sh"} {self.said} \\\'$DATA\\\'"\n'
            'AddVoice "en" "MALE1" "en"\nAddVoice "de" "MALE1" "de"\n'
            'GenericLanguage "en" "en" "utf-8"\nGenericLanguage "de" "de" "utf-8"\n'
            'DefaultVoice "en"\n')
        self.socket = folder / "speechd.sock"
        self.process = subprocess.Popen(
            ["speech-dispatcher", "-s", "-t", "0", "-C", str(conf), "-L", str(folder), "-P",
             str(folder / "speechd.pid"), "-c", "unix_socket", "-S", str(self.socket)],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_until(self.socket.exists, 10, "the speech server did not open its socket")

    def stop(self):
        end_process(self.process)


class Orca:
    """The real Orca with a fresh profile (speech on, no key echo, no braille)."""

    def __init__(self, folder, speech):
        home = folder / "orca-home"
        settings = home / ".local" / "share" / "orca"
        settings.mkdir(parents=True)
        quiet = {"enableSpeech": True, "enableBraille": False, "enableKeyEcho": False,
                 "enableEchoByCharacter": False, "enableEchoByWord": False, "enableTutorialMessages": False}
        (settings / "user-settings.conf").write_text(json.dumps(
            {"general": quiet, "keybindings": {}, "pronunciations": {},
             "profiles": {"default": dict(quiet, profile=["Default", "default"])}}))
        env = dict(os.environ, HOME=str(home), XDG_DATA_HOME=str(home / ".local" / "share"),
                   XDG_CONFIG_HOME=str(home / ".config"), SPEECHD_ADDRESS=f"unix_socket:{speech.socket}")
        self.debug = folder / "orca-debug.txt"
        self.process = subprocess.Popen(["orca", "-d", "braille", f"--debug-file={self.debug}"], env=env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                        start_new_session=True)
        lag()

    def stop(self):
        # Orca handles SIGINT only when an event wakes it; whatever is left
        # after a moment is ended for good (its profile is thrown away).
        end_process(self.process, first=signal.SIGINT, grace=2)


class Transcript:
    """Orca's utterances as they arrive, one a line, and the steps between them."""

    def __init__(self, said):
        self.said = said
        self.lines = []
        self.mark = 0
        self.log = []
        self.started = time.monotonic()

    def _read(self):
        text = self.said.read_text(encoding="utf-8", errors="replace")
        complete = text[: text.rfind("\n") + 1]
        self.lines = complete.splitlines()

    def step(self, name):
        self._read()
        self.mark = len(self.lines)
        self.log.append(f"== {name}  [{time.monotonic() - self.started:.1f} s]")

    def since_step(self):
        self._read()
        return self.lines[self.mark:]

    def expect(self, pattern, timeout=8.0):
        """Waits until an utterance since the step began matches `pattern` (a
        regular expression, searched); returns it."""
        wanted = re.compile(pattern)
        end = time.monotonic() + timeout
        while True:
            lines = self.since_step()
            for line in lines:
                if wanted.search(line):
                    return line
            # One announcement may reach the speech server in parts.
            joined = " ".join(line.strip() for line in lines)
            if wanted.search(joined):
                return joined
            if time.monotonic() > end:
                raise Heard(f"expected Orca to say /{pattern}/; it said {self.since_step()!r}")
            time.sleep(0.05)

    def settle(self, quiet=0.6, timeout=6.0):
        """Waits until Orca has said nothing new for `quiet` seconds."""
        end = time.monotonic() + timeout
        count, since = len(self.since_step()), time.monotonic()
        while time.monotonic() < end:
            time.sleep(0.05)
            now = len(self.since_step())
            if now != count:
                count, since = now, time.monotonic()
            elif time.monotonic() - since >= quiet:
                return

    def close_step(self):
        self.log.extend("   » " + line for line in self.since_step())


class Korvin:
    """The program, started with its own state folder and without sound."""

    def __init__(self, program, home, folder, book=None):
        env = dict(os.environ, KORVIN_MPV_OPTIONS="ao=null")
        args = [str(program), "--home", str(home)] + ([str(book)] if book else [])
        self.log = open(folder / "korvin.log", "ab")
        # KORVIN_LISTENER_LATE_BUS=1 holds back where the accessibility bus is
        # until the window is active, as a busy desktop may: Orca must hear of
        # the window all the same. (Now and then the program asks for the
        # address before it shows the window; it gets it after 10 s.)
        held = accessibility_bus_launcher() if os.environ.get("KORVIN_LISTENER_LATE_BUS") == "1" else None
        if held:
            os.kill(held, signal.SIGSTOP)
        try:
            self.process = subprocess.Popen(args, env=env, stdout=self.log, stderr=self.log)
            if held:
                end = time.monotonic() + 10
                while not active_window().startswith("Korvin") and time.monotonic() < end:
                    time.sleep(0.05)
                time.sleep(0.5)  # time for the program to take the activation in first
        finally:
            if held:
                os.kill(held, signal.SIGCONT)
        lag()

    def running(self):
        return self.process.poll() is None

    def wait_ended(self, timeout):
        try:
            self.process.wait(timeout)
            return True
        except subprocess.TimeoutExpired:
            return False

    def stop(self):
        end_process(self.process, grace=3)
        self.log.close()


def diagnosis(folder, app):
    """What stood when a step failed, in a few lines for whoever reads only the
    end of the test command's output: whether Korvin still runs (and which
    window has the focus), and the end of its output."""
    lines = []
    if app is None:
        lines.append("Korvin: not started")
    elif app.running():
        try:
            lines.append(f"Korvin: running; active window {active_window()!r}; focus {focus()!r}")
        except Exception as error:  # the accessibility bus itself may be what failed
            lines.append(f"Korvin: running; its focus could not be read ({error})")
    else:
        lines.append(f"Korvin: ended with status {app.process.returncode}")
    lines.append(accessibility_bus())
    return lines + ["korvin.log: " + line for line in tail(folder / "korvin.log", 8)]


def accessibility_bus():
    """Which applications the accessibility bus knows, and whether anyone
    (Orca) listens there for windows that become active."""
    try:
        import pyatspi
        desktop = pyatspi.Registry.getDesktop(0)
        apps = [desktop.getChildAtIndex(i).name for i in range(desktop.childCount)]
        address = subprocess.run(["gdbus", "call", "--session", "--dest", "org.a11y.Bus", "--object-path",
                                  "/org/a11y/bus", "--method", "org.a11y.Bus.GetAddress"],
                                 capture_output=True, text=True, timeout=10).stdout
        address = re.search(r"'([^']*)'", address).group(1)
        events = subprocess.run(["gdbus", "call", "--address", address, "--dest", "org.a11y.atspi.Registry",
                                 "--object-path", "/org/a11y/atspi/registry", "--method",
                                 "org.a11y.atspi.Registry.GetRegisteredEvents"],
                                capture_output=True, text=True, timeout=10).stdout
        listened = "'Window:Activate" in events or "'Window:'" in events
        return f"accessibility bus: applications {apps}; window activation listened to: {listened}"
    except Exception as error:
        return f"accessibility bus: could not be read ({error})"


def orca_diagnosis(orca):
    """What Orca last did with the applications' events, as far as it wrote
    its debug log out (an Orca that had to be killed keeps the rest)."""
    wanted = re.compile(r"window:activate|focus:|Exception|Traceback|SPEECH OUTPUT|Ignoring|ORCA:")
    return ["orca: " + line[:160] for line in tail(orca.debug, 12, wanted)]


def tail(path, count, wanted=None):
    """The last `count` lines of a file (those `wanted` matches), read from its end."""
    try:
        with open(path, "rb") as file:
            file.seek(0, os.SEEK_END)
            file.seek(max(0, file.tell() - 512 * 1024))
            text = file.read().decode("utf-8", errors="replace")
    except OSError:
        return []
    lines = [line for line in text.splitlines() if line.strip() and (wanted is None or wanted.search(line))]
    return lines[-count:]


def keys(*names):
    """Presses keys as a person would (xdotool key names, "ctrl+o")."""
    for name in names:
        *modifiers, key = name.split("+")
        if not modifiers:
            subprocess.run(["xdotool", "key", key], check=True)
        else:
            # Held as a hand holds them: a menu opened by Alt+letter closes
            # again when Alt comes up before the menu has shown.
            subprocess.run(["xdotool", "keydown", "+".join(modifiers)], check=True)
            subprocess.run(["xdotool", "key", key], check=True)
            time.sleep(0.15)
            subprocess.run(["xdotool", "keyup", "+".join(modifiers)], check=True)
        time.sleep(0.05)


@contextlib.contextmanager
def holding(modifier):
    """Holds a modifier down (xdotool name, "alt") while the block runs: as a
    hand holds it until what it was pressed for has happened."""
    subprocess.run(["xdotool", "keydown", modifier], check=True)
    try:
        yield
    finally:
        subprocess.run(["xdotool", "keyup", modifier], check=True)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "15", text], check=True)


def wait_until(condition, timeout, message):
    end = time.monotonic() + timeout
    while not condition():
        if time.monotonic() > end:
            raise Heard(message)
        time.sleep(0.05)


def end_process(process, first=signal.SIGTERM, grace=3):
    if process.poll() is not None:
        return
    process.send_signal(first)
    try:
        process.wait(grace)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def lag():
    """KORVIN_LISTENER_LAG=SECONDS holds the harness still right after it has
    started Orca or Korvin, as a busy machine may hold it: what they say
    meanwhile must still count for the step that started them."""
    seconds = float(os.environ.get("KORVIN_LISTENER_LAG") or 0)
    if seconds > 0:
        time.sleep(seconds)


def accessibility_bus_launcher():
    """The process that tells programs where the accessibility bus is."""
    out = subprocess.run(["gdbus", "call", "--session", "--dest", "org.freedesktop.DBus", "--object-path",
                          "/org/freedesktop/DBus", "--method", "org.freedesktop.DBus.GetConnectionUnixProcessID",
                          "org.a11y.Bus"], capture_output=True, text=True, check=True).stdout
    return int(re.search(r"\d+", out.split()[-1]).group())


def active_window():
    return subprocess.run(["xdotool", "getactivewindow", "getwindowname"], capture_output=True,
                          text=True).stdout.strip()


def one_orca(timeout):
    """Orca refuses to start while another Orca of this user runs (another
    desktop on this machine may have one). Runs that start Orca queue on one
    lock file, so two of them never both find no Orca and then start one
    each; an Orca started without the lock is waited for as well. The lock is
    held until the returned file is closed."""
    lock = open("/tmp/with-orca.lock", "a")
    user = str(os.getuid())
    end = time.monotonic() + timeout
    while True:
        try:
            fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
            if subprocess.run(["pgrep", "-u", user, "-x", "orca"], stdout=subprocess.DEVNULL).returncode != 0:
                return lock
            fcntl.flock(lock, fcntl.LOCK_UN)
        except BlockingIOError:
            pass
        if time.monotonic() > end:
            lock.close()
            raise Heard("another Orca of this user kept running")
        time.sleep(0.5)


def workspace():
    return Path(tempfile.mkdtemp(prefix="korvin-listener-"))


def remove(folder):
    shutil.rmtree(folder, ignore_errors=True)


def _korvin_apps():
    import pyatspi
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and (app.name or "").startswith("Korvin"):
            yield app


def _find(node, accept, depth=0):
    """The first node under `node` that `accept`s, not looking into the items
    of trees and lists."""
    if node is None or depth > 12:
        return None
    try:
        if accept(node):
            return node
        if node.getRoleName() in ("tree", "list", "table"):
            return None
        for i in range(min(node.childCount, 200)):
            found = _find(node.getChildAtIndex(i), accept, depth + 1)
            if found:
                return found
    except Exception:
        return None
    return None


def time_label(timeout=5.0):
    """The player's time label ("m:ss / m:ss") as the accessibility bus shows
    it, for the steps whose effect Orca rightly does not speak (the book's own
    sound does)."""
    pattern = re.compile(r"^\d+:\d\d / \d+:\d\d$")
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        for app in _korvin_apps():
            found = _find(app, lambda node: node.getRoleName() == "label" and pattern.match(node.name or ""))
            if found:
                return found.name
        time.sleep(0.1)
    raise Heard("the player's time label was not found")


def focus():
    """Role and name of what has the keyboard focus in Korvin, as the
    accessibility bus shows it: the innermost focused object (an open menu's
    item rather than the menu bar that also says it has the focus), None when
    nothing has."""
    import pyatspi
    focused = []

    def note(node):
        if node.getState().contains(pyatspi.STATE_FOCUSED):
            focused.append((node.getRoleName(), node.name))
        return False

    for app in _korvin_apps():
        _find(app, note)
    return focused[-1] if focused else None


def shown(pattern):
    """Whether a dialog or message box of Korvin shows a text that matches
    `pattern` (a regular expression, searched), as the accessibility bus
    gives it to Orca."""
    wanted = re.compile(pattern)

    def says(node):
        return bool(wanted.search(node.name or ""))

    return any(_find(app, lambda node: node.getRoleName() in ("alert", "dialog") and _find(node, says))
               for app in _korvin_apps())
