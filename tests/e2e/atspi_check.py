#!/usr/bin/python3
"""What a screen reader gets from the program through the desktop's
accessibility bus (AT-SPI), as Orca reads it.

Run inside a private session bus on a running X server:
    dbus-run-session -- /usr/bin/python3 tests/e2e/atspi_check.py PROGRAM WORKDIR
It starts the accessibility bus and the program (a user "Lee" with two
records), shows the records and opens the keypad through the bus and the
mouse, opens the column dialog of 导入血压读数… with the keyboard, and checks
the names and texts. Prints "  ok   ..." / "  FAIL ..."
lines as scripts/e2e.sh does; the exit status is the number of failures.
"""

import os
import re
import shutil
import subprocess
import sys
import time

import pyatspi

CJK = re.compile(r"[\u4e00-\u9fff]")
LATIN = re.compile(r"[A-Za-z]")
passed = failed = 0


def check(what, condition, detail=""):
    global passed, failed
    if condition:
        passed += 1
        print(f"  ok   {what}")
    else:
        failed += 1
        print(f"  FAIL {what}{': ' + detail if detail else ''}")


def wait_for(find, seconds):
    """Polls find() until it gives something or the time is up."""
    end = time.monotonic() + seconds
    while True:
        try:
            found = find()
        except Exception:  # an object gone while it was read: look again
            found = None
        if found or time.monotonic() > end:
            return found
        time.sleep(0.1)


def walk(node, depth=0):
    if node is None or depth > 30:
        return
    yield node
    try:
        count = node.childCount
    except Exception:  # gone while it was read
        return
    for i in range(count):
        try:
            child = node.getChildAtIndex(i)
        except Exception:
            continue
        yield from walk(child, depth + 1)


def focusable_without_name(node):
    """Describes node if it takes the focus but has no name; None otherwise,
    and also when the object went away while it was read."""
    try:
        if node.getState().contains(pyatspi.STATE_FOCUSABLE) and not node.name.strip():
            return f"{node.getRoleName()} in {node.parent.name if node.parent else '?'}"
    except Exception:
        pass
    return None


def program_app():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name.lower() == "velmora":
            return app
    return None


def find(app, name, role=None):
    for node in walk(app):
        if node.name == name and (role is None or node.getRole() == role):
            return node
    return None


def text_of(node):
    try:
        text = node.queryText()
    except NotImplementedError:
        return None
    return text.getText(0, -1)


def label_of(node):
    """The name of what labels the node (the label a screen reader says before it)."""
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY and relation.getNTargets():
            return relation.getTarget(0).name
    return None


def press(node):
    node.queryAction().doAction(0)


def click_on(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", str(box.x + box.width // 2), str(box.y + box.height // 2),
                    "click", "1"], check=False)


def record(record_id, age):
    lines = [record_id, "\xc4\xd0", f" {age} ", " 175 ", " 72 ", " 1.8 ", " 135 ", " 85 ", " 5.6 ", " 10 ",
             " 0 ", " 5.2 ", " 88 ", "\xce\xde"]
    return "".join(line + "\r\n" for line in lines).encode("latin-1")


def bus_answers():
    """True once the accessibility bus gives its address and its registry
    answers: a program started before that would never register."""
    asked = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                            "org.a11y.Bus.GetAddress"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return asked.returncode == 0 and pyatspi.Registry.getDesktop(0).childCount >= 0


def start(program, work):
    folder = os.path.join(work, "atspi")
    home = os.path.join(work, "atspi-home")
    os.makedirs(folder, exist_ok=True)
    os.makedirs(home, exist_ok=True)
    shutil.copy(program, os.path.join(folder, "velmora"))
    with open(os.path.join(folder, "yonghu.dat"), "wb") as f:
        f.write(b"Lee\r\n")
    with open(os.path.join(folder, "Lee.dat"), "wb") as f:
        f.write(record("20100101080000", 45) + record("20230105083000", 46))
    env = dict(os.environ, HOME=home, QT_QPA_PLATFORM="xcb", QT_ACCESSIBILITY="1",
               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    log = open(os.path.join(work, "velmora-atspi.log"), "wb")
    return subprocess.Popen(["./velmora"], cwd=folder, env=env, stdout=log, stderr=log)


def main():
    program, work = sys.argv[1], sys.argv[2]
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    app_process = None
    try:
        check("the accessibility bus starts", wait_for(bus_answers, 20))
        app_process = start(program, work)
        app = wait_for(lambda: program_app() if find(program_app(), "显示") else None, 40)
        check("the program is on the accessibility bus", app is not None)
        if app is None:
            return

        # The user Lee, his records shown: through the bus, as a screen reader's user would.
        press(find(app, "选择用户"))
        box = wait_for(lambda: next((n for n in walk(app) if n.name == "用户姓名"
                                     and n.getRole() == pyatspi.ROLE_TEXT), None), 5)
        check("the user name box inside its combo has a name", box is not None)
        combo = find(app, "用户姓名", pyatspi.ROLE_COMBO_BOX)
        editable = box or next((n for n in walk(combo) if n.getRole() == pyatspi.ROLE_TEXT), None)
        editable.queryEditableText().setTextContents("Lee")
        press(find(app, "确定返回"))
        press(find(app, "显示"))

        first = wait_for(lambda: find(app, "记录 1：2010年01月01日 08:00:00"), 5)
        check("record label 1 is named with its date and time", first is not None,
              str([n.name for n in walk(app) if n.name.startswith("记录 ")][:3]))
        second = find(app, "记录 2：2023年01月05日 08:30:00")
        check("record label 2 is named with its date and time", second is not None)
        check("... and its text is what it shows", second is not None and text_of(second) == "20230105083000",
              repr(second and text_of(second)))
        check("the current user's name is read", find(app, "当前用户：Lee") is not None)

        # The keypad, opened by a click on the weight's title strip.
        click_on(find(app, "体重", pyatspi.ROLE_LABEL))
        keypad = wait_for(lambda: find(app, "数字小键盘"), 5)
        check("the keypad window has a Chinese name", keypad is not None)
        if keypad is not None:
            controls = [n for n in walk(keypad) if n.getRole() in (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TEXT)]
            names = sorted(n.name for n in controls)
            expected = sorted([f"数字{d}" for d in range(10)] + ["小数点", "清除", "返回", "已输入的数字"])
            check("every keypad key and its display box have their Chinese names", names == expected, str(names))
            foreign = [f"{n.name}/{n.description}" for n in controls
                       if not CJK.search(n.name) or not CJK.search(n.description) or LATIN.search(n.name)]
            check("... and Chinese descriptions", not foreign, str(foreign))
            press(find(keypad, "返回"))
            check("返回 closes the keypad", wait_for(lambda: find(app, "数字小键盘") is None, 5))

        # 导入血压读数… on a table of unknown columns: its dialog's lists and first rows.
        table = os.path.join(work, "atspi-table.csv")
        with open(table, "wb") as f:
            f.write("Messzeit,Oben,Unten\r\n21.11.2024 07:30,135,85\r\n".encode())
        click_on(find(app, "体重", pyatspi.ROLE_LABEL).parent)
        subprocess.run(["xdotool", "key", "ctrl+shift+i"], check=False)
        wait_for(lambda: find(app, "导入血压读数", pyatspi.ROLE_DIALOG), 10)
        time.sleep(0.5)
        subprocess.run(["xdotool", "type", "--delay", "20", table], check=False)
        subprocess.run(["xdotool", "key", "Return"], check=False)
        columns = wait_for(lambda: find(app, "选择血压读数的列", pyatspi.ROLE_DIALOG), 10)
        check("an unknown table opens the column dialog", columns is not None)
        if columns is not None:
            # A list is read as its choice and the label it is labelled by ("日期顺序(O)").
            lists = sorted(label_of(n) for n in walk(columns) if n.getRole() == pyatspi.ROLE_COMBO_BOX)
            check("its six lists are labelled in Chinese", lists == sorted(
                ["日期（或日期和时间）(D)", "时间(T)", "收缩压(S)", "舒张压(I)", "脉搏(P)", "日期顺序(O)"]), str(lists))
            check("its first rows are named", find(columns, "表格的前几行") is not None)
            missing = [d for d in map(focusable_without_name, walk(columns)) if d]
            check("nothing in it that takes the focus is nameless", not missing, str(missing))
            press(find(columns, "取消", pyatspi.ROLE_PUSH_BUTTON))
            check("取消 closes it", wait_for(lambda: find(app, "选择血压读数的列") is None, 5))

        nameless = [d for d in map(focusable_without_name, walk(app)) if d]
        check("nothing that takes the focus is nameless", not nameless, str(nameless))
        press(find(app, "退出"))
        app_process.wait(timeout=5)
    finally:
        if app_process and app_process.poll() is None:
            app_process.kill()
        bus.terminate()
        bus.wait(timeout=5)


if __name__ == "__main__":
    try:
        main()
    except Exception as error:  # anything unexpected is a failure, not a hang
        check("the accessibility run ends normally", False, repr(error))
    print(f"atspi: {passed} passed, {failed} failed")
    sys.exit(min(failed, 100))
