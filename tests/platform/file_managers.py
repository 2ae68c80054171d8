#!/usr/bin/python3
"""usage: file_managers.py BIN_DIR FILE_MANAGER; exits 0 passed, 1 failed, 77 skipped (not installed).

In a headless session, a user selects files with odd names and chooses "Delete with Vanisto": the running
vn10 must report exactly those paths; with none running, the same choice must start one that does."""
import contextlib
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

SKIP = 77
ENTRY = "Delete with Vanisto"
NAMES = [b"plain", b"two words", b"semi;colon", b'"quoted"', b"caf\xe9"]

# Command, the entry's submenu, the menu key (Qt 5 takes only Menu), and whether a click into a free spot
# of the view comes first (Nautilus takes Ctrl+A only then; Thunar's view shows no items to click beside).
FILE_MANAGERS = {
    "thunar": (["thunar"], None, "shift+F10", False),
    "nemo": (["nemo", "--no-desktop"], None, "shift+F10", False),
    "caja": (["caja", "--no-desktop", "--browser"], "Scripts", "shift+F10", False),
    "dolphin": (["dolphin", "--new-window"], None, "Menu", True),
    "pcmanfm-qt": (["pcmanfm-qt"], None, "Menu", True),
    "nautilus": (["nautilus", "--new-window"], "Scripts", "Menu", True),
}
VIEW_ROLES = ("table", "list", "tree table", "tree", "layered pane")


def pump(seconds):
    """Waits, handing the accessibility events that arrive meanwhile to their listeners."""
    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        while context.iteration(False):
            pass
        time.sleep(0.02)


def wait_for(what, predicate, seconds=20.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if result := predicate():
            return result
        pump(0.2)
    raise AssertionError("timed out waiting for " + what)


def find(node, predicate, depth=0):
    if node is None or depth > 30:
        return None
    try:
        if predicate(node):
            return node
        children = [node.get_child_at_index(i) for i in range(node.get_child_count())]
    except GLib.GError:
        return None
    return next(filter(None, (find(child, predicate, depth + 1) for child in children)), None)


def application(name):
    desktop = Atspi.get_desktop(0)
    apps = (desktop.get_child_at_index(i) for i in range(desktop.get_child_count()))
    return next((app for app in apps if app is not None and name in (app.get_name() or "").lower()), None)


def showing(node):
    """On screen. GTK 4.8 never says so; there an item of a closed menu page has no size."""
    if node.get_state_set().contains(Atspi.StateType.SHOWING):
        return True
    app = node.get_application()
    if app.get_toolkit_name() != "GTK" or not app.get_toolkit_version().startswith("4."):
        return False
    return node.get_extents(Atspi.CoordType.WINDOW).width > 0


def shown_item(name):
    """A menu item on screen: GTK 4 and Qt 5 keep the items of closed menus in the tree."""
    return lambda node: (node.get_role_name() in ("menu", "menu item") and node.get_name() == name
                         and showing(node))


class Session:
    """Xvfb, a session bus and the accessibility bus, and a home folder, all thrown away."""

    def __init__(self):
        self.processes = []
        self.root = tempfile.mkdtemp(prefix="vanisto-fm-")
        env = dict(os.environ)
        for key, sub in (("HOME", "home"), ("XDG_CONFIG_HOME", "config"), ("XDG_DATA_HOME", "data"),
                         ("XDG_STATE_HOME", "state"), ("XDG_CACHE_HOME", "cache"), ("XDG_RUNTIME_DIR", "run")):
            env[key] = os.path.join(self.root, sub)
            os.makedirs(env[key], mode=0o700)
        read, write = os.pipe()
        self.start(["Xvfb", "-displayfd", str(write), "-noreset", "-screen", "0", "1280x900x24"], env=env,
                   pass_fds=[write])
        os.close(write)
        # Xvfb writes the number and the line end apart, and dies if the pipe closed between them.
        with os.fdopen(read, "rb") as pipe:
            env["DISPLAY"] = ":" + pipe.readline().decode().strip()
        bus = self.start(["dbus-daemon", "--session", "--nofork", "--print-address"], env=env,
                         stdout=subprocess.PIPE)
        env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().decode().strip()
        env.update(GNOME_ACCESSIBILITY="1", QT_ACCESSIBILITY="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   NO_AT_BRIDGE="0", GTK_USE_PORTAL="0", QT_LOGGING_RULES="vanisto.*.info=true")
        # Xvfb's OpenGL is software: with it Nautilus only redraws its "Loading" spinner on two busy cores.
        env["GSK_RENDERER"] = "cairo"
        env.pop("QT_QPA_PLATFORM", None)
        self.env = env
        # The accessibility bus (AT_SPI_BUS for Qt 5), answering before any program starts, or it never joins.
        self.start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
        os.environ.update({k: env[k] for k in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS")})
        wait_for("the accessibility bus", lambda: subprocess.run(
            ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
             "org.a11y.Bus.GetAddress"], env=env, capture_output=True).returncode == 0)
        time.sleep(0.5)

    def start(self, command, log=None, env=None, stdout=subprocess.DEVNULL, pass_fds=()):
        # Nothing started here may hold the test's own output open, or the test never ends.
        process = subprocess.Popen(command, env=env or self.env, stdin=subprocess.DEVNULL, stdout=stdout,
                                   stderr=open(log, "ab") if log else subprocess.DEVNULL, pass_fds=pass_fds,
                                   start_new_session=True)
        self.processes.append(process)
        return process

    def close(self):
        for process in reversed(self.processes):
            with contextlib.suppress(ProcessLookupError):
                os.killpg(process.pid, signal.SIGTERM)
        subprocess.run(["pkill", "-TERM", "-f", self.root], check=False)
        # Programs and the bus's services write their settings as they exit: the folder goes after them.
        for process in self.processes:
            with contextlib.suppress(subprocess.TimeoutExpired):
                process.wait(5)
        for _ in range(10):
            shutil.rmtree(self.root, ignore_errors=True)
            time.sleep(0.3)
            if not os.path.exists(self.root):
                break


def selected_reports(log):
    prefix = b"vanisto.main: selected: "
    lines = open(log, "rb").read().split(b"\n") if os.path.exists(log) else []
    return sorted(line[len(prefix):] for line in lines if line.startswith(prefix))


def folder_view(app):
    """The view that shows the folder's files: the nearest view around the item "plain"."""
    node = find(app, lambda n: n.get_name() == "plain" and n.get_role_name() in ("table cell", "list item"))
    while node is not None and node.get_role_name() not in VIEW_ROLES:
        node = node.get_parent()
    return node


def screenshot(session, xid, menu, path):
    """The screen, cut to the file manager's window and the open menu."""
    geometry = subprocess.run(["xdotool", "getwindowgeometry", "--shell", xid], env=session.env,
                              capture_output=True, text=True, check=True).stdout
    window = dict(line.split("=", 1) for line in geometry.split())
    left, top = int(window["X"]), int(window["Y"])
    right, bottom = left + int(window["WIDTH"]), top + int(window["HEIGHT"])
    box = menu.get_extents(Atspi.CoordType.SCREEN)
    left, top = max(0, min(left, box.x)), max(0, min(top, box.y))
    right, bottom = max(right, box.x + box.width), max(bottom, box.y + box.height)
    subprocess.run(["import", "-window", "root", "-crop", f"{right - left}x{bottom - top}+{left}+{top}",
                    "+repage", path], env=session.env, check=True)


def choose_entry(session, name, how, shot=None):
    """Selects all and chooses the entry as a user does, trying again where the window was not ready."""
    _, submenu, key, click = how
    app = wait_for(name + " on the accessibility bus", lambda: application(name), 40)
    window = wait_for("its window", lambda: find(app, lambda n: n.get_role_name() == "frame"))
    title = window.get_name()
    xid = wait_for("its X window", lambda: subprocess.run(
        ["xdotool", "search", "--name", title], env=session.env, capture_output=True, text=True).stdout.split())
    # The menus that showed up or took the focus: Qt 5 leaves a context menu out of its tree.
    opened = []

    def heard(event):
        with contextlib.suppress(GLib.GError):
            role = event.source.get_role_name()
            if event.detail1 and role in ("popup menu", "menu"):
                opened.append(event.source)
            elif event.detail1 and role == "menu item":
                opened.append(event.source.get_parent())

    listener = Atspi.EventListener.new(heard)
    listener.register("object:state-changed:showing")
    listener.register("object:state-changed:focused")

    def in_menu(what):
        return lambda: next(filter(None, (find(m, shown_item(what)) for m in [app] + opened)), None)

    def xdotool(*arguments, check=True):
        subprocess.run(["xdotool", *arguments], env=session.env, check=check)

    for attempt in range(3):
        xdotool("windowfocus", "--sync", xid[0], check=False)
        pump(1.5)
        if click:
            # Below and right of the few files; GTK 4's places in the window are the screen's (no window manager).
            box = wait_for("the folder's view", lambda: folder_view(app)).get_extents(Atspi.CoordType.SCREEN)
            xdotool("mousemove", str(box.x + box.width - 30), str(box.y + box.height - 30), "click", "1")
            pump(0.5)
        else:
            # The pointer rests on the window, where a menu opened from the keyboard may show.
            xdotool("mousemove", "--window", xid[0], "200", "200")
        xdotool("key", "ctrl+a")
        pump(0.5)
        opened.clear()
        xdotool("key", key)
        try:
            if submenu:
                Atspi.Action.do_action(wait_for("the " + submenu + " submenu", in_menu(submenu), 8), 0)
            entry = wait_for("the entry in the menu", in_menu(ENTRY), 8)
        except AssertionError:
            if attempt == 2:
                raise
            xdotool("key", "Escape")
            continue
        if shot:
            screenshot(session, xid[0], entry.get_parent(), shot)
        Atspi.Action.do_action(entry, 0)
        pump(0.5)
        # Pressed through the accessibility interface, a Qt menu runs the action but stays open.
        if showing(entry):
            xdotool("key", "Escape")
        return


def main():
    bin_dir, name = sys.argv[1], sys.argv[2]
    command = FILE_MANAGERS[name][0]
    if shutil.which(command[0]) is None:
        print("SKIP: " + name + " is not installed")
        return SKIP
    session = Session()
    try:
        os.makedirs(os.path.join(session.env["XDG_CONFIG_HOME"], "Vanisto"))
        with open(os.path.join(session.env["XDG_CONFIG_HOME"], "Vanisto", "Vanisto.conf"), "w") as conf:
            conf.write("[Config]\nFirstStartEver=False\nShredNow=False\n")
        folder = os.path.join(session.root, "files").encode()
        os.mkdir(folder)
        chosen = sorted(os.path.join(folder, n) for n in NAMES)
        for path in chosen:
            open(path, "wb").close()
        shown = sorted(p.decode("utf-8", "replace").encode() for p in chosen)

        running = os.path.join(session.root, "vn10.log")
        vn10 = session.start([os.path.join(bin_dir, "vn10")], log=running,
                             env=dict(session.env, QT_QPA_PLATFORM="offscreen"))
        wait_for("vn10 listening", lambda: b"listening on" in open(running, "rb").read())

        clicks = os.path.join(session.root, "filemanager.log")
        session.start(command + [folder.decode("utf-8", "surrogateescape")], log=clicks,
                      env=dict(session.env, QT_QPA_PLATFORM="xcb"))
        choose_entry(session, name, FILE_MANAGERS[name], os.environ.get("VANISTO_FM_SCREENSHOT"))
        wait_for("the selection in vn10", lambda: selected_reports(running) == shown)

        # No vn10 runs: the entry starts one (its reports join the file manager's).
        os.killpg(vn10.pid, signal.SIGTERM)
        vn10.wait(10)
        choose_entry(session, name, FILE_MANAGERS[name])
        wait_for("a started vn10 with the selection", lambda: selected_reports(clicks) == shown)
        print("PASS: " + name)
        return 0
    except AssertionError as error:
        print("FAIL: " + name + ": " + str(error))
        return 1
    finally:
        session.close()


if __name__ == "__main__":
    sys.exit(main())
