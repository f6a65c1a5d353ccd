# SPDX-FileCopyrightText: 2026 The Sipster team
#
# SPDX-License-Identifier: MIT

"""A throwaway desktop for end-to-end tests: Xvfb and openbox (or metacity, a headless weston,
weston as a window on Xvfb, Wine on Xvfb), a D-Bus session and the AT-SPI bus.

Everything started here is stopped by close(), and by the context manager even when a test fails.
"""

import contextlib
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time


class Desktop:
    window_manager = ["openbox", "--sm-disable"]
    # What a program of the kind tested here is started with.
    launcher = ()
    # What the window tests are given beside their filter.
    window_test_arguments = ()

    def __init__(self):
        self._procs = []
        self._tmp = tempfile.mkdtemp(prefix="sipster-desktop-")
        self.env = dict(os.environ)

    def __enter__(self):
        try:
            self._start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()

    def _spawn(self, args, **kwargs):
        kwargs.setdefault("env", self.env)
        proc = subprocess.Popen(args, start_new_session=True, **kwargs)
        self._procs.append(proc)
        return proc

    def _start(self):
        self._make_home()
        # The session bus comes first: a program on the display without one (metacity) would
        # start a bus of its own through X11, which outlives the desktop.
        bus = subprocess.run(["dbus-daemon", "--session", "--fork", "--print-address=1",
                              "--print-pid=1", "--nopidfile"], env=self.env, check=True,
                             capture_output=True, text=True).stdout.split()
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus[0]
        self._bus_pid = int(bus[1])
        self._start_display()

        launcher = "/usr/libexec/at-spi-bus-launcher"
        self._spawn([launcher, "--launch-immediately"], stderr=subprocess.DEVNULL)
        self.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        self.env["NO_AT_BRIDGE"] = "0"
        # This test reads the program through the same session and display.
        for name in ("DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR"):
            if name in self.env:
                os.environ[name] = self.env[name]
            else:
                os.environ.pop(name, None)

    def _make_home(self):
        """A home and runtime folder of the desktop's own: nothing a run reads (settings, font
        caches, a session bus's address) was left there by an earlier one."""
        self.env["XDG_RUNTIME_DIR"] = self._tmp
        self.env["HOME"] = os.path.join(self._tmp, "home")
        for name, folder in (("XDG_CONFIG_HOME", ".config"), ("XDG_CACHE_HOME", ".cache"),
                             ("XDG_DATA_HOME", ".local/share")):
            self.env[name] = os.path.join(self.env["HOME"], folder)
            os.makedirs(self.env[name])

    def _start_display(self):
        self._start_xvfb()
        self.env["QT_QPA_PLATFORM"] = "xcb"
        self._start_window_manager()

    def _start_xvfb(self):
        read_fd, write_fd = os.pipe()
        self._xvfb_log = open(os.path.join(self._tmp, "xvfb.log"), "w")
        self._spawn(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1024x768x24",
                     "-nolisten", "tcp"], pass_fds=(write_fd,), stderr=self._xvfb_log)
        os.close(write_fd)
        with os.fdopen(read_fd) as pipe:
            display = pipe.readline().strip()
        if not display:
            raise RuntimeError("Xvfb did not start")
        self.env["DISPLAY"] = ":" + display
        self.env.pop("WAYLAND_DISPLAY", None)

    def _start_window_manager(self):
        # The window manager gets a few tries: one that cannot reach a display still starting
        # up exits at once.
        for _ in range(3):
            wm = self._spawn(self.window_manager, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
            try:
                self.wait_for(lambda: wm.poll() is not None
                              or self.run_quietly(["wmctrl", "-m"]) == 0, "the window manager")
            except AssertionError:
                break
            if wm.poll() is None:
                return
            time.sleep(0.2)
        self._xvfb_log.flush()
        with open(self._xvfb_log.name) as log:
            raise RuntimeError("no window manager on display " + self.env["DISPLAY"]
                               + "; Xvfb said:\n" + log.read())

    def run_quietly(self, args):
        return subprocess.run(args, env=self.env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode

    def key(self, *keys):
        subprocess.run(["xdotool", "key", "--delay", "40", *keys], env=self.env, check=True)

    def exit_program(self, program, timeout=10):
        """Chooses File, Exit in the program's main window; it must end with status 0."""
        self.key("alt+f", "x")
        status = program.wait(timeout=timeout)
        assert status == 0, f"Exit ended with status {status}"

    def type(self, text):
        subprocess.run(["xdotool", "type", "--delay", "40", text], env=self.env, check=True)

    def close_window(self, title):
        subprocess.run(["wmctrl", "-c", title], env=self.env, check=True)

    def start(self, args, env=None):
        """Starts a program on this desktop, with `env` added to its environment; what it prints
        goes to a log kept for program_log()."""
        self._program_log = os.path.join(self._tmp, f"program-{len(self._procs)}.log")
        with open(self._program_log, "w") as log:
            return self._spawn(args, stdout=log, stderr=subprocess.STDOUT,
                               env={**self.env, **(env or {})})

    @contextlib.contextmanager
    def running(self, args, env=None):
        """Starts a program for a with-block and kills it at the end if it is still running."""
        process = self.start(args, env)
        try:
            yield process
        finally:
            if process.poll() is None:
                process.kill()
                process.wait()

    def window_tests(self, forms_tests, only, env=None):
        """Runs the window tests that the GoogleTest filter `only` picks on this desktop's own
        platform, with `env` added to the desktop's environment, and fails with the end of what
        they printed unless every one runs and passes."""
        result = subprocess.run([*self.launcher, forms_tests, *self.window_test_arguments,
                                 f"--gtest_filter={only}"],
                                env={**self.env, **(env or {})}, capture_output=True, text=True,
                                timeout=120)
        printed = (result.stdout + result.stderr).splitlines()
        assert result.returncode == 0, f"the window tests {only} ended with status " \
            f"{result.returncode}:\n" + "\n".join(printed[-40:])
        passed = re.search(r"^\[  PASSED  \] (\d+) test", result.stdout, re.MULTILINE)
        assert passed and int(passed.group(1)) > 0 and "[  SKIPPED ]" not in result.stdout, \
            f"the window tests {only} did not all run here:\n" + "\n".join(printed[-40:])

    def program_log(self):
        """The last lines the most recently started program printed."""
        try:
            with open(self._program_log) as log:
                return "".join(log.readlines()[-30:])
        except (AttributeError, OSError):
            return ""

    @staticmethod
    def wait_for(predicate, what, timeout=10.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            result = predicate()
            if result:
                return result
            time.sleep(0.05)
        raise AssertionError(f"timed out waiting for {what}")

    def close(self):
        for proc in reversed(self._procs):
            if proc.poll() is None:
                try:
                    os.killpg(proc.pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
        for proc in self._procs:
            try:
                proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                os.killpg(proc.pid, signal.SIGKILL)
                proc.wait()
        if getattr(self, "_bus_pid", None):
            try:
                os.kill(self._bus_pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
        for log in ("_xvfb_log", "_compositor_log"):
            if getattr(self, log, None):
                getattr(self, log).close()
        shutil.rmtree(self._tmp, ignore_errors=True)


class OrcaDesktop(Desktop):
    """The X11 desktop with the Orca screen reader running, its speech written to a file: Orca
    speaks through speech-dispatcher and espeak-ng into a null sound device."""

    def _start(self):
        super()._start()
        with open(os.path.join(self.env["HOME"], ".asoundrc"), "w") as alsa:
            alsa.write("pcm.!default { type null }\nctl.!default { type hw card 0 }\n")
        speechd = os.path.join(self.env["XDG_CONFIG_HOME"], "speech-dispatcher")
        os.makedirs(speechd)
        with open(os.path.join(speechd, "speechd.conf"), "w") as conf:
            conf.write('AudioOutputMethod "alsa"\n'
                       'AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"\n'
                       'DefaultModule espeak-ng\n')
        prefs = os.path.join(self._tmp, "orca")
        os.makedirs(prefs)
        self._speech_log = os.path.join(self._tmp, "orca.log")
        # Orca writes its debug file through a buffer, so what it said last would stay unread
        # while it waits: Python files it opens for writing flush each line instead.
        flushing = os.path.join(self._tmp, "line-buffered")
        os.makedirs(flushing)
        with open(os.path.join(flushing, "sitecustomize.py"), "w") as site:
            site.write("import builtins\n"
                       "def _open(file, mode='r', buffering=-1, *args, **kwargs):\n"
                       "    if 'w' in mode and 'b' not in mode and buffering == -1:\n"
                       "        buffering = 1\n"
                       "    return _builtin_open(file, mode, buffering, *args, **kwargs)\n"
                       "_builtin_open, builtins.open = builtins.open, _open\n")
        self._spawn(["orca", "--replace", "-u", prefs, f"--debug-file={self._speech_log}"],
                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                    env={**self.env, "PYTHONPATH": flushing})
        self.wait_for(lambda: "Screen reader on." in self.spoken(), "Orca to start", timeout=30)
        # It says so a moment before it listens to every program.
        time.sleep(2)

    def key(self, *keys):
        """Presses each key, a chord's keys one at a time: Qt holds each key until Orca has
        seen it, and a modifier let go before Orca answers for the key it went with can reach
        the program first."""
        for key in keys:
            *modifiers, last = key.split("+")
            for action, names in (("keydown", modifiers), ("key", [last]),
                                  ("keyup", reversed(modifiers))):
                for name in names:
                    subprocess.run(["xdotool", action, name], env=self.env, check=True)
                    time.sleep(0.15)

    def spoken(self):
        """Everything Orca has said, a phrase a line."""
        try:
            with open(self._speech_log, errors="replace") as log:
                return re.findall(r"SPEECH OUTPUT: '(.*?)'\s*(?:\{.*)?$", log.read(), re.MULTILINE)
        except OSError:
            return []


class WaylandDesktop(Desktop):
    """The same desktop on a headless Wayland compositor. It has no keyboard and activates no
    window: tests drive the program through AT-SPI actions instead."""

    def _start_display(self):
        self._start_compositor("weston", ["weston", "--backend=headless-backend.so",
                                          "--use-pixman", "--width=1280", "--height=1024"],
                               "--socket={}")

    def _start_compositor(self, name, command, socket_option):
        socket = "sipster-wayland"
        self._compositor_log = open(os.path.join(self._tmp, f"{name}.log"), "w")
        self._spawn([*command, socket_option.format(socket)], stdout=subprocess.DEVNULL,
                    stderr=self._compositor_log)
        path = os.path.join(self._tmp, socket)
        self.wait_for(lambda: os.path.exists(path), f"the Wayland compositor {name}", timeout=30)
        self.env.pop("DISPLAY", None)
        self.env["WAYLAND_DISPLAY"] = socket
        self.env["QT_QPA_PLATFORM"] = "wayland"
        # With no seat, Qt 6.4's Wayland text-input context crashes as a text box draws its
        # caret; a desktop always has a seat. Qt's compose input context asks for none.
        self.env["QT_IM_MODULE"] = "compose"


class KWinDesktop(WaylandDesktop):
    """KDE's compositor with no screen, which draws the title bars itself: the program drawn
    into memory, driven through AT-SPI actions."""

    def _start_display(self):
        kwin = shutil.which("kwin_wayland")
        # KWin carries a file capability (cap_sys_resource on Debian 12); where that is outside
        # what this process may hand on, the system refuses to run it, and a copy without runs.
        try:
            subprocess.run([kwin, "--version"], capture_output=True)
        except PermissionError:
            kwin = shutil.copy(kwin, self._tmp)
        self._start_compositor("kwin", [kwin, "--virtual", "--no-lockscreen", "--width=1280",
                                        "--height=1024"], "--socket={}")


class MutterDesktop(WaylandDesktop):
    """GNOME's compositor with no screen, which leaves the title bars to the program."""

    def _start_display(self):
        self._start_compositor("mutter", ["mutter", "--wayland", "--headless", "--no-x11",
                                          "--virtual-monitor", "1280x1024"],
                               "--wayland-display={}")


class MetacityDesktop(Desktop):
    """The X11 desktop with metacity, which moves a window it stops managing to where its frame
    was."""
    window_manager = ["metacity", "--sm-disable"]


class NestedWestonDesktop(Desktop):
    """Weston as a window on Xvfb, leaving the title bars to the program: xdotool's keys and
    clicks reach Wayland clients through it, and weston-debug tells where each window stands."""

    def _start_display(self):
        self._start_xvfb()
        config = os.path.join(self._tmp, "weston.ini")
        with open(config, "w") as ini:
            ini.write("[shell]\nclose-animation=none\nstartup-animation=none\n"
                      "panel-position=none\nlocking=false\n")
        socket = "sipster-nested"
        self._compositor_log = open(os.path.join(self._tmp, "weston.log"), "w")
        self._spawn(["weston", "--backend=x11-backend.so", "--shell=desktop-shell.so",
                     "--use-pixman", "--debug", f"--config={config}", f"--socket={socket}",
                     "--width=1024", "--height=768"],
                    stdout=subprocess.DEVNULL, stderr=self._compositor_log)
        path = os.path.join(self._tmp, socket)
        self.wait_for(lambda: os.path.exists(path), "the Wayland compositor")
        self.env["WAYLAND_DISPLAY"] = socket
        self.env["QT_QPA_PLATFORM"] = "wayland"

    def views(self):
        """Each window's title and place, (left, top, right, bottom), title bar included."""
        scene = subprocess.run(["weston-debug", "scene-graph"], env=self.env, timeout=10,
                               capture_output=True, text=True).stdout
        found = re.findall(r"top-level window '(.*)' of .*\n\s*position: "
                           r"\((-?\d+), (-?\d+)\) -> \((-?\d+), (-?\d+)\)", scene)
        return {title: tuple(int(n) for n in place) for title, *place in found}

    def view(self, title):
        return self.wait_for(lambda: self.views().get(title), f"weston to show {title!r}")

    def click(self, x, y):
        # Weston's X11 back end follows the pointer's moves rather than where X puts it: the
        # pointer is first pinned in the top-left corner, where both agree.
        for step in ((0, 0), (0, 0), (x, y)):
            subprocess.run(["xdotool", "mousemove", str(step[0]), str(step[1])],
                           env=self.env, check=True)
            time.sleep(0.2)
        subprocess.run(["xdotool", "click", "1"], env=self.env, check=True)


class WineDesktop(Desktop):
    """The X11 desktop for Windows programs under Wine, without the screen readers' bus, which
    they do not reach. Windows are found by their titles through the window manager."""
    launcher = ("wine",)
    # Wine hands a Windows program none of the QT_ variables of the system it runs on (Wine 8
    # and 10 alike), so the window tests are told their platform, Windows' own, on the command
    # line.
    window_test_arguments = ("-platform", "windows")

    def _start(self):
        self.env["XDG_RUNTIME_DIR"] = self._tmp
        self._start_display()
        self.env["WINEDEBUG"] = "-all"
        self._shown = None

    def wine(self, *args, env=None, **kwargs):
        """Runs a Windows program to its end, with `env` added to the desktop's environment."""
        return subprocess.run(["wine", *args], env={**self.env, **(env or {})},
                              capture_output=True, text=True, **kwargs)

    def set_scale(self, dpi):
        """Sets the display scale Windows programs started from now on see."""
        for key in (r"HKCU\Control Panel\Desktop", r"HKCC\Software\Fonts"):
            self.wine("reg", "add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi),
                      "/f", check=True)
        subprocess.run(["wineserver", "-w"], env=self.env, check=True)

    def picture(self, path):
        subprocess.run(["import", "-window", "root", str(path)], env=self.env, check=True)

    def windows(self):
        """The program's visible windows, by window id: their titles."""
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--classname", "sipster.exe"],
                               env=self.env, capture_output=True, text=True).stdout.split()
        return {window: subprocess.run(["xdotool", "getwindowname", window], env=self.env,
                                       capture_output=True, text=True).stdout.strip()
                for window in found}

    def window(self, title, program_started=False):
        """Waits for the program to show a window with the title given, other than the one found
        last, and for it to take the keyboard. Windows names a window without a caption after
        the program, as the main window is: the title card and the main window that follows it
        are told apart that way. A program just started may show a window with the same id as
        one of a program that has ended."""
        if program_started:
            self._shown = None

        def shown():
            found = [window for window, name in self.windows().items()
                     if name == title and window != self._shown]
            return found[0] if len(found) == 1 else None
        window = self.wait_for(shown, f"the window {title!r} alone; showing: "
                               f"{list(self.windows().values())}", timeout=60)

        def active():
            return subprocess.run(["xdotool", "getactivewindow"], env=self.env,
                                  capture_output=True, text=True).stdout.strip() == window
        self.wait_for(active, f"the window {title!r} to take the keyboard")
        self._shown = window
        return window


class Screen:
    """What a screen reader sees of the program, through AT-SPI."""

    def __init__(self, desktop, process, active=True):
        """With active=False, a window counts as there once it is showing, active or not."""
        import pyatspi
        from gi.repository import Atspi
        # An action that opens a modal window is answered only when that window closes: wait
        # for no answer longer than a second, and look at what the action did instead.
        Atspi.set_timeout(1000, -1)
        self.pyatspi = pyatspi
        self.desktop = desktop
        self.process = process
        self.active = active
        # A program's first window may take a while on a machine that starts it for the first
        # time.
        self._timeout = 30

    def app(self):
        for app in self.pyatspi.Registry.getDesktop(0):
            try:
                if app is not None and app.get_process_id() == self.process.pid:
                    return app
            except Exception:
                continue
        return None

    def windows(self):
        app = self.app()
        if app is None:
            return []
        found = []
        for window in app:
            try:
                states = window.getState()
                if states.contains(self.pyatspi.STATE_SHOWING):
                    found.append(window)
            except Exception:
                continue
        return found

    def window(self, name, role=None):
        """The active window called `name`; with `role`, its role must be one of those given."""
        def find():
            for window in self.windows():
                if window.name == name and (not self.active or window.getState().contains(
                        self.pyatspi.STATE_ACTIVE)):
                    return window
            return None
        window = self.desktop.wait_for(find, f"the active window {name!r}; showing: "
                                       f"{[w.name for w in self.windows()]}",
                                       timeout=self._timeout)
        self._timeout = 10
        if role is not None:
            assert window.getRoleName() in role.split("|"), \
                f"{name!r} has the role {window.getRoleName()!r}, not {role!r}"
        return window

    def top_left(self, window):
        """Where the window stands on the screen, in logical pixels."""
        extents = window.queryComponent().getExtents(self.pyatspi.DESKTOP_COORDS)
        return extents.x, extents.y

    def press(self, node):
        """Presses a button or chooses a menu item as a screen reader's user would."""
        try:
            node.queryAction().doAction(0)
        except Exception:
            pass  # no answer yet: the action opened a modal window, or ended the program

    def gone(self, name):
        self.desktop.wait_for(lambda: all(w.name != name for w in self.windows()),
                              f"window {name!r} to go")

    def descendants(self, node):
        for child in node:
            if child is None:
                continue
            yield child
            yield from self.descendants(child)

    def named(self, window, role, name):
        for node in self.descendants(window):
            if node.getRole() == role and node.name == name:
                return node
        names = [(n.getRoleName(), n.name) for n in self.descendants(window)]
        raise AssertionError(f"no {role} named {name!r} in {window.name!r}: {names}")

    def text_of(self, node):
        text = node.queryText()
        return text.getText(0, text.characterCount)

    def labels(self, window):
        return [n.name for n in self.descendants(window)
                if n.getRole() == self.pyatspi.ROLE_LABEL]

    def read_on_opening(self, window):
        """What a screen reader reads of a window as it opens, after its name and role: its
        description, then each showing label of three words or more that labels nothing."""
        texts = [window.description] if window.description else []
        for node in self.descendants(window):
            if node.getRole() == self.pyatspi.ROLE_LABEL and len(node.name.split()) >= 3 \
                    and not node.getRelationSet() \
                    and node.getState().contains(self.pyatspi.STATE_SHOWING):
                texts.append(node.name)
        return texts

    def labelled_by(self, node):
        return [relation.getTarget(i).name for relation in node.getRelationSet()
                if relation.getRelationType() == self.pyatspi.RELATION_LABELLED_BY
                for i in range(relation.getNTargets())]

    def reports_moving_into(self, action, name):
        """Runs the action, which moves the focus into the text box called `name`, and returns
        what the program reported about that box up to its focus, in order: "caret" and, last,
        "focus". A screen reader that gets a caret report first takes it for the move and says
        nothing."""
        from gi.repository import GLib
        seen = []

        def record(event):
            try:
                if event.source.getRole() != self.pyatspi.ROLE_TEXT or event.source.name != name:
                    return
                if event.type.startswith("object:text-caret-moved"):
                    seen.append("caret")
                elif event.detail1 == 1:
                    seen.append("focus")
            except Exception:
                pass

        kinds = ("object:state-changed:focused", "object:text-caret-moved")
        self.pyatspi.Registry.registerEventListener(record, *kinds)
        try:
            action()
            context = GLib.MainContext.default()

            def focused():
                while context.iteration(False):
                    pass
                return "focus" in seen
            self.desktop.wait_for(focused, f"the focus to reach the box {name!r}")
        finally:
            self.pyatspi.Registry.deregisterEventListener(record, *kinds)
        return seen[:seen.index("focus") + 1]


def run_checks(desktop_kind, what, checks, *args):
    """Runs each check, check(desktop, *args), on one desktop of the given kind; returns the exit
    status."""
    started = time.monotonic()
    passed = failed = 0
    with desktop_kind() as desktop:
        for check in checks:
            try:
                check(desktop, *args)
                passed += 1
                print(f"ok: {check.__name__}")
            except Exception as error:
                failed += 1
                print(f"FAILED: {check.__name__}: {error}")
                print("the program printed:\n" + desktop.program_log())
    print(f"{what}: {passed} passed, {failed} failed ({time.monotonic() - started:.1f} s)")
    return 1 if failed else 0
