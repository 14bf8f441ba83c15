#!/usr/bin/python3
"""The running editor as a screen reader meets it: through the accessibility bus (AT-SPI).

Usage: xvfb-run -a dbus-run-session -- /usr/bin/python3 onbus.py HMKTSE HMKSET

Starts the accessibility bus and its registry, writes a small tileset file with hmkset,
opens it in a copy of the editor on the X server and reads the window back with pyatspi:
the window's title, the tileset list, the File menu and, once F7 has opened it, the grid.
Every wait gives up after a while; a failed check prints what was found instead.
"""
import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

WAIT = 20  # seconds any one thing may take to appear on the bus
TILESETS = ["Grassland", "Desert", "Swamp"]
ENTRIES = 4
XK_F7 = 0xFFC4

started = []  # every process this script started, ended however it ends


def start(command, **options):
    process = subprocess.Popen(command, start_new_session=True, **options)
    started.append(process)
    return process


def end_all():
    for process in reversed(started):
        if process.poll() is None:
            os.killpg(process.pid, signal.SIGTERM)
    for process in reversed(started):
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()


def poll(what, find, dump):
    """find() until it returns something; after WAIT seconds, fails showing dump()."""
    deadline = time.monotonic() + WAIT
    while True:
        try:
            found = find()
        except Exception as error:  # a window that went away mid-walk: look again
            found, last_error = None, error
        else:
            last_error = None
        if found:
            return found
        if time.monotonic() > deadline:
            print(f"FAIL: no {what} within {WAIT} s", file=sys.stderr)
            if last_error:
                print(f"  last error: {last_error!r}", file=sys.stderr)
            print("Found instead:", file=sys.stderr)
            dump()
            sys.exit(1)
        time.sleep(0.2)


def walk(node, depth=0, limit=None):
    """node and its descendants, depth first, with their depth; limit cuts each level."""
    yield node, depth
    for index in range(min(node.childCount, limit or node.childCount)):
        child = node.getChildAtIndex(index)
        if child is not None:
            yield from walk(child, depth + 1, limit)


def show(node, limit=12):
    for accessible, depth in walk(node, limit=limit):
        print(f"  {'  ' * depth}{accessible.getRoleName()}: {accessible.name!r}", file=sys.stderr)


def descendant(node, role_names, name_part):
    for accessible, _ in walk(node):
        if accessible.getRoleName() in role_names and name_part in accessible.name:
            return accessible
    return None


def write_file(hmkset, path):
    sets = [{"name": name, "entries": [f"{name[:4].lower()}{e:03d}.bmp" for e in range(ENTRIES)]}
            for name in TILESETS]
    document = {"format": "hmkset", "tilesets": len(TILESETS), "entriesPerTileset": ENTRIES,
                "sets": sets}
    subprocess.run([hmkset, "build", "-", path], input=json.dumps(document).encode(),
                   check=True, timeout=WAIT)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    editor, hmkset = (os.path.abspath(path) for path in sys.argv[1:])
    # CTest's timeout ends the script with SIGTERM: the processes go with it all the same.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("FAIL: terminated"))
    scratch = tempfile.mkdtemp(prefix="hmk-onbus-")
    # Nothing of the user's, nor of an earlier run: runtime, settings and data all private.
    for variable, folder in [("XDG_RUNTIME_DIR", "runtime"), ("HOME", "home"),
                             ("XDG_CONFIG_HOME", "home/config"), ("XDG_DATA_HOME", "home/data")]:
        os.makedirs(os.path.join(scratch, folder), mode=0o700)
        os.environ[variable] = os.path.join(scratch, folder)
    try:
        check(editor, hmkset, scratch)
    finally:
        end_all()
        shutil.rmtree(scratch, ignore_errors=True)


def check(editor, hmkset, scratch):
    # The editor keeps its settings beside itself; a copy keeps them out of the build tree.
    program = os.path.join(scratch, "hmktse")
    shutil.copy(editor, program)
    tileset_file = os.path.join(scratch, "hmkset.dat")
    write_file(hmkset, tileset_file)

    # The bus and its registry before the editor, as on a desktop with a screen reader on.
    start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    import pyatspi  # only now: it looks the bus up when imported
    desktop = pyatspi.Registry.getDesktop(0)
    poll("accessibility registry", lambda: desktop.getRoleName() == "desktop frame",
         lambda: None)

    environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    editor_process = start([program, "-platform", "xcb", tileset_file], env=environment)

    def apps():
        if editor_process.poll() is not None:
            sys.exit(f"FAIL: the editor ended early with status {editor_process.returncode}")
        return [desktop.getChildAtIndex(i) for i in range(desktop.childCount)]

    def show_desktop():
        for app in apps():
            if app is not None:
                show(app, limit=6)

    def top_window(name):
        return next((window for app in apps() if app is not None for window in app
                     if window is not None and window.name == name), None)

    title = "HMK Tileset Editor - " + tileset_file
    window = poll(f'window titled "{title}"', lambda: top_window(title), show_desktop)
    if window.getRoleName() != "frame":
        sys.exit(f'FAIL: the main window is a "{window.getRoleName()}", not a frame')
    print(f'found the window "{window.name}"')

    tree = poll('tree named "Tilesets"',
                lambda: descendant(window, {"tree", "tree table"}, "Tilesets"),
                lambda: show(window))
    for name in TILESETS:
        poll(f'node "{name}" in the tileset list',
             lambda: descendant(tree, {"tree item", "table cell", "list item"}, name),
             lambda: show(tree))
    print(f"found the tileset list and its {len(TILESETS)} tilesets")

    # The menu bar's "File" holds its menu, whose items are the commands.
    file_menu = poll('menu "File" in the menu bar',
                     lambda: next((popup for bar in window if bar.getRoleName() == "menu bar"
                                   for title in bar if title.name == "File"
                                   for popup in title if popup.getRoleName() == "popup menu"),
                                  None),
                     lambda: show(window, limit=8))
    for item in ["Open...", "Save as..."]:
        poll(f'item "{item}" in the File menu',
             lambda: next((child for child in file_menu
                           if child.getRoleName() == "menu item" and child.name == item), None),
             lambda: show(file_menu))
    print('found "Open..." and "Save as..." in the File menu')

    # F7 goes to the window with the keyboard focus; without a window manager, X gives it
    # to none until asked.
    subprocess.run(["xdotool", "search", "--sync", "--pid", str(editor_process.pid),
                    "--name", "^HMK Tileset Editor - ", "windowfocus", "--sync"],
                   check=True, timeout=WAIT, stdout=subprocess.DEVNULL)
    pyatspi.Registry.generateKeyboardEvent(XK_F7, None, pyatspi.KEY_SYM)
    grid = poll('window titled "All tilesets"', lambda: top_window("All tilesets"),
                show_desktop)
    cell = poll('grid cell named "Tileset 00, entry 000..."',
                lambda: descendant(grid, {"table cell"}, "Tileset 00, entry 000"),
                lambda: show(grid))
    print(f'found the grid cell "{cell.name}"')


if __name__ == "__main__":
    main()
