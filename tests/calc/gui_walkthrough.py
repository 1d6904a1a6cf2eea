"""Calc with its windows, as a person drives it: on a display of its own (Xvfb), the Tavrin
menu opened with Alt+U, the dialog of 汇总与查找 filled by picking ranges on the sheet and by
typing, its questions answered with the keyboard, and the result read back from the document.
Screenshots of the menu, the dialog, a question and the result go to the folder given, for a
person to look at.

    gui_walkthrough.py TAVRIN_OXT SCREENSHOT_FOLDER
"""

import os
import shutil
import subprocess
import sys
import time

import uno

from calc_office import Calc
from host_cases import SALES
from xwd_png import png_of_xwd

HERE = os.path.dirname(os.path.abspath(__file__))
SCREEN = "1366x768x24"


def free_display():
    for number in range(87, 140):
        if not os.path.exists("/tmp/.X11-unix/X%d" % number) and \
                not os.path.exists("/tmp/.X%d-lock" % number):
            return ":%d" % number
    raise RuntimeError("no free display number")


class Screen:
    """A virtual display, and the keyboard, mouse and camera of the person at it."""

    def __init__(self):
        self.display = free_display()
        self.server = subprocess.Popen(["Xvfb", self.display, "-screen", "0", SCREEN, "-ac",
                                        "-nolisten", "tcp"],
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self._wait(lambda: os.path.exists("/tmp/.X11-unix/X" + self.display[1:]), 20, "Xvfb")

    def xdotool(self, *arguments):
        return subprocess.run(["xdotool"] + [str(a) for a in arguments], check=False,
                              env=dict(os.environ, DISPLAY=self.display),
                              stdout=subprocess.PIPE, text=True, timeout=30).stdout

    @staticmethod
    def _wait(ready, seconds, what):
        deadline = time.time() + seconds
        while not ready():
            if time.time() > deadline:
                raise RuntimeError("waited in vain for " + what)
            time.sleep(0.2)

    def keys(self, *keys):
        for key in keys:
            self.xdotool("key", "--clearmodifiers", key)
            time.sleep(0.3)

    def type(self, text):
        self.xdotool("type", "--delay", 40, text)
        time.sleep(0.3)

    def click(self, place):
        self.xdotool("mousemove", place[0], place[1], "click", 1)
        time.sleep(0.5)

    def drag(self, start, end):
        self.xdotool("mousemove", start[0], start[1], "mousedown", 1)
        time.sleep(0.3)
        self.xdotool("mousemove", (start[0] + end[0]) // 2, (start[1] + end[1]) // 2)
        time.sleep(0.2)
        self.xdotool("mousemove", end[0], end[1], "mouseup", 1)
        time.sleep(1)

    def window(self, name, seconds=20):
        found = []
        self._wait(lambda: found.append(self.xdotool("search", "--onlyvisible", "--name", name))
                   or found[-1].strip(), seconds, "a window named " + name)
        return found[-1].split()[0]

    def focus(self, window):
        self.xdotool("windowfocus", "--sync", window)
        time.sleep(0.5)

    def shoot(self, path):
        dump = subprocess.run(["xwd", "-root", "-silent", "-display", self.display],
                              check=True, stdout=subprocess.PIPE, timeout=30).stdout
        with open(path, "wb") as picture:
            picture.write(png_of_xwd(dump))

    def close(self):
        self.server.terminate()
        self.server.wait(timeout=10)


def cell_centre(document, row, column):
    """Where a cell of the visible sheet is on the screen, through Calc's accessibility tree."""
    from com.sun.star.accessibility.AccessibleRole import TABLE

    def table_of(context, depth=0):
        if context.getAccessibleRole() == TABLE:
            return context
        for i in range(min(context.getAccessibleChildCount(), 50) if depth < 12 else 0):
            found = table_of(context.getAccessibleChild(i).getAccessibleContext(), depth + 1)
            if found is not None:
                return found
        return None

    window = document.getCurrentController().getFrame().getContainerWindow()
    table = table_of(window.getAccessibleContext())
    corner = table.getAccessibleCellAt(row, column).getAccessibleContext().getLocationOnScreen()
    beyond = table.getAccessibleCellAt(row + 1, column + 1).getAccessibleContext()
    far = beyond.getLocationOnScreen()
    return ((corner.X + far.X) // 2, (corner.Y + far.Y) // 2)


def dialog_parts(calc, title, seconds=20):
    """The controls on show in Calc's top window of the title, in their order, as (role, name,
    centre on the screen, left edge) rows, through the accessibility tree; waits for the window."""
    return top_window(calc, title, seconds)[1]


def top_window(calc, title, seconds=20):
    """Calc's top window of the title on show, as its accessible context and its controls."""
    toolkit = calc.smgr.createInstanceWithContext("com.sun.star.awt.Toolkit", calc.context)
    deadline = time.time() + seconds
    while time.time() < deadline:
        for i in range(toolkit.getTopWindowCount()):
            context = toolkit.getTopWindow(i).getAccessibleContext()
            if context is not None and context.getAccessibleName() == title and \
                    is_showing(context):
                return context, list(showing_parts(context))
        time.sleep(0.3)
    raise RuntimeError("no window " + title)


SHOWING = 25  # AccessibleStateType.SHOWING


def is_showing(context):
    """Whether the object is on the screen; its states are a set in Calc 7, a mask later. A
    window closed for good is not."""
    try:
        states = context.getAccessibleStateSet()
    except Exception:  # DisposedException
        return False
    return bool(states & (1 << SHOWING)) if isinstance(states, int) else states.contains(SHOWING)


def showing_parts(context, depth=0):
    for i in range(context.getAccessibleChildCount() if depth < 6 else 0):
        child = context.getAccessibleChild(i).getAccessibleContext()
        if not is_showing(child):
            continue
        place, size = child.getLocationOnScreen(), child.getSize()
        yield (child.getAccessibleRole(), child.getAccessibleName(),
               (place.X + size.Width // 2, place.Y + size.Height // 2), place.X)
        yield from showing_parts(child, depth + 1)


def boxes_of(parts):
    from com.sun.star.accessibility.AccessibleRole import TEXT
    return [centre for role, _, centre, _ in parts if role == TEXT]


def button(parts, name):
    from com.sun.star.accessibility.AccessibleRole import PUSH_BUTTON
    for role, label, centre, _ in parts:
        if role == PUSH_BUTTON and label.replace("~", "").startswith(name):
            return centre
    raise RuntimeError("no button " + name + " in " + repr([p[1] for p in parts]))


def pick_buttons(parts):
    from com.sun.star.accessibility.AccessibleRole import PUSH_BUTTON
    return [centre for role, label, centre, _ in parts if role == PUSH_BUTTON and label == "…"]


def answer_box(calc, screen, title, answer, seconds=20):
    """Clicks the button on the box or dialog of the title that offers it, until the window goes;
    gives the window's texts."""
    deadline = time.time() + seconds
    while True:
        box, parts = top_window(calc, title)
        try:
            place = button(parts, answer)
            break
        except RuntimeError:
            if time.time() > deadline:
                raise
            time.sleep(0.3)
    # A box takes clicks once it is drawn; a click it missed is made again.
    for _ in range(3):
        time.sleep(0.8)
        screen.click(place)
        gone = time.time() + 3
        while is_showing(box) and time.time() < gone:
            time.sleep(0.2)
        if not is_showing(box):
            return [name for _, name, _, _ in parts if name]
    raise RuntimeError("the box took no answer " + answer)


def open_first_entry(calc, screen, shot=None):
    """Opens the menu with Alt+U and its first entry, 汇总与查找, with Enter; the keyboard goes to
    the window under the pointer, so the pointer rests on the sheet first. Tries again while no
    dialog comes up. Gives the dialog's controls."""
    for _ in range(3):
        screen.focus(screen.window("sales.xlsx"))
        screen.click((900, 500))
        screen.keys("alt+u")
        time.sleep(1)
        if shot:
            screen.shoot(shot)
        screen.keys("Return")
        try:
            return dialog_parts(calc, "汇总与查找", seconds=8)
        except RuntimeError:
            screen.keys("Escape", "Escape")
    raise RuntimeError("the menu did not open the dialog of 汇总与查找")


def walk(calc, screen, document, shots):
    failures = []
    sheet = document.getSheets().getByName("Sales")
    # The first entry, 汇总与查找: its dialog opens on the tab 汇总.
    parts = open_first_entry(calc, screen, os.path.join(shots, "calc-menu.png"))
    boxes, picks = boxes_of(parts), pick_buttons(parts)
    if len(boxes) != 4 or len(picks) != 4:
        return ["the tab 汇总 shows %d boxes and %d pick buttons" % (len(boxes), len(picks))]
    screen.click(boxes[0])
    screen.type("A1:E121")
    # The key columns and the value columns picked by dragging over their headers, the target
    # by a click on its cell.
    for pick, (row, first, last) in zip(picks[1:], ((0, 0, 1), (0, 3, 4), (0, 7, 7))):
        screen.click(pick)
        time.sleep(1.5)
        screen.drag(cell_centre(document, row, first), cell_centre(document, row, last))
        time.sleep(1)
    screen.shoot(os.path.join(shots, "calc-dialog.png"))
    answer_box(calc, screen, "汇总与查找", "确定")
    dialog_parts(calc, "Lumo提示")
    screen.shoot(os.path.join(shots, "calc-result.png"))
    texts = answer_box(calc, screen, "Lumo提示", "OK")
    if not any("汇总完毕" in text for text in texts):
        failures.append("the run ended with %r" % texts)
    check_result(sheet, failures, "from the dialog")

    # Again, the boxes typed: the target is taken now, and the tool asks before writing over it.
    parts = open_first_entry(calc, screen)
    for box, text in zip(boxes_of(parts), ("A1:E121", "Sales!$A$1:$B$1", "D1:E1", "H1")):
        screen.click(box)
        screen.type(text)
    answer_box(calc, screen, "汇总与查找", "确定")
    dialog_parts(calc, "Lumo提示")
    screen.shoot(os.path.join(shots, "calc-question.png"))
    # One question for the keys' target, one for the sums' beside it.
    for target in ("keys", "sums"):
        question = answer_box(calc, screen, "Lumo提示", "Yes")
        if not any("已存在有效数据" in text for text in question):
            failures.append("no question before writing over the %s: %r" % (target, question))
    answer_box(calc, screen, "Lumo提示", "OK")
    check_result(sheet, failures, "after the question")
    failures += clear_zeros(calc, screen, document, shots)
    failures += every_tool(calc, screen, document)
    return failures + info_window(calc, screen, document, shots)


def info_window(calc, screen, document, shots):
    """公司信息: the picture fades in on a shaped window of its own, and a click on its label
    fades it out and closes it."""
    boxes = calc.dispatch(document, "MyInfo", {})
    if boxes:
        return ["the information window showed boxes instead: %r" % (boxes,)]
    window = screen.window("^Tavrin$")
    time.sleep(2.5)
    screen.shoot(os.path.join(shots, "calc-info.png"))
    geometry = dict(line.split("=") for line in
                    screen.xdotool("getwindowgeometry", "--shell", window).split())
    # The label's middle, in the window's pixels (its place in twips, 15 to a pixel).
    label = (int(geometry["X"]) + (5520 + 1335 // 2) // 15,
             int(geometry["Y"]) + (4880 + 375 // 2) // 15)
    screen.click(label)
    deadline = time.time() + 8
    while screen.xdotool("search", "--onlyvisible", "--name", "^Tavrin$").strip():
        if time.time() > deadline:
            return ["a click on its label did not close the information window"]
        time.sleep(0.3)
    return []


def clear_zeros(calc, screen, document, shots):
    """删除0值 on the sheet Zeros: 确定 on the tab 删除常量0 asks for the range, which is picked by
    dragging over it; the constant zeros go, the formula and the text "00" stay."""
    sheet = document.Sheets.getByName("Zeros")
    document.getCurrentController().setActiveSheet(sheet)
    time.sleep(1)
    calc.dispatch(document, "F5", {})
    answer_box(calc, screen, "删除0值", "确定")
    prompt = dialog_parts(calc, "Lumo提示")
    if not any("请选定你要清零的单元格区域" in name for _, name, _, _ in prompt):
        return ["no range prompt: %r" % ([name for _, name, _, _ in prompt],)]
    screen.click(pick_buttons(prompt)[0])
    time.sleep(1.5)
    screen.drag(cell_centre(document, 1, 1), cell_centre(document, 3, 3))
    time.sleep(1)
    screen.shoot(os.path.join(shots, "calc-range-prompt.png"))
    answer_box(calc, screen, "Lumo提示", "确定")
    time.sleep(1)
    values = [list(row) for row in sheet.getCellRangeByName("B2:D4").getDataArray()]
    expected = [["", 12.0, ""], [5.0, "", 0.0], ["00", "", 7.0]]
    if values != expected:
        return ["clearing the zeros left %r, not %r" % (values, expected)]
    return []


# Each tool reached from its menu entry's dialog and run with its boxes typed: the entry, the
# tab, the sheet, the boxes of the tab in their order, the option to click (a caption), and a
# cell the run fills (on a new sheet for the tools that work on a copy).
TOOL_RUNS = [
    ("F2", "汇总查找数值", "Lookup", ["G2:H6", "I2", "A2:B21", "C2:D21"], None, "Lookup!I2"),
    ("F2", "单索引查找", "Lookup", ["G2:G6", "I2:J2", "A1:D21", "A1", "C1:D1", "none"], None,
     "Lookup!I6"),
    ("F2", "汇总查找不重复", "Sales", ["A2:A121", "B2:B121", "H20", "", ","], "连接",
     "Sales!I20"),
    ("F7", None, "Sales", ["A1:E121", "N1", "A1", "B1", "D1"], None, "Sales!O2"),
    ("F8", None, "Cross", ["A1:D4", "F1"], None, "Cross!H2"),
    ("F4", None, "Sales", ["D2:E2", "A1", "Sub", "Total"], None, "new sheet"),
    ("F3", None, "Sales", ["1", "3", "0", "40", "1"], None, "new sheet"),
]


def answer_all(calc, screen):
    """Answers the run's boxes as they come, Yes to a question, until none comes for a while;
    gives their texts."""
    texts = []
    while True:
        try:
            box, parts = top_window(calc, "Lumo提示", seconds=2.5)
        except RuntimeError:
            try:
                box, parts = top_window(calc, "Tavrin", seconds=0.5)
            except RuntimeError:
                return texts
        names = [name.replace("~", "") for _, name, _, _ in parts]
        answer = "Yes" if "Yes" in names else "OK"
        texts += answer_box(calc, screen, box.getAccessibleName(), answer)


def every_tool(calc, screen, document):
    failures = []
    from com.sun.star.accessibility.AccessibleRole import RADIO_BUTTON
    for entry, tab, sheet_name, boxes, option, filled in TOOL_RUNS:
        sheets_before = document.Sheets.getCount()
        document.getCurrentController().setActiveSheet(document.Sheets.getByName(sheet_name))
        time.sleep(0.5)
        calc.dispatch(document, entry, {})
        parts = dialog_parts_of_entry(calc, entry)
        if tab and not choose_tab(calc, screen, entry, tab):
            failures.append("the tab %s did not come up" % tab)
            continue
        parts = dialog_parts_of_entry(calc, entry)
        for place, text in zip(boxes_of(parts), boxes):
            if text:
                screen.click(place)
                screen.type(text)
        if option:
            for role, name, centre, left in parts:
                if role == RADIO_BUTTON and name.replace("~", "").startswith(option):
                    # An option button takes a click on its mark or caption, at its left.
                    screen.click((left + 8, centre[1]))
        answer_box(calc, screen, ENTRY_TITLES[entry], "确定")
        texts = answer_all(calc, screen)
        if filled == "new sheet":
            done = document.Sheets.getCount() > sheets_before
        else:
            sheet, cell = filled.split("!")
            done = document.Sheets.getByName(sheet).getCellRangeByName(cell).getString() != ""
        if not done:
            failures.append("%s %s from its dialog left %s empty; boxes %r" %
                            (entry, tab or "", filled, texts))
    return failures


def choose_tab(calc, screen, entry, tab):
    """Clicks a tab's button until it shows pressed (a click the dialog missed, made again)."""
    for _ in range(4):
        time.sleep(0.8)
        screen.click(button(dialog_parts_of_entry(calc, entry), tab))
        time.sleep(0.5)
        window, _ = top_window(calc, ENTRY_TITLES[entry])
        if any(name.replace("~", "").startswith(tab) and has_state(child, PRESSED_OR_CHECKED)
               for name, child in named_children(window)):
            return True
    return False


PRESSED_OR_CHECKED = (4, 20)  # AccessibleStateType.CHECKED, PRESSED


def has_state(context, states):
    found = context.getAccessibleStateSet()
    if isinstance(found, int):
        return any(found & (1 << state) for state in states)
    return any(found.contains(state) for state in states)


def named_children(context):
    for i in range(context.getAccessibleChildCount()):
        child = context.getAccessibleChild(i).getAccessibleContext()
        yield child.getAccessibleName(), child


ENTRY_TITLES = {"F2": "汇总与查找", "F4": "分页小计与合计", "F5": "删除0值", "F3": "数据分区",
                "F7": "清单转表格", "F8": "表格转清单"}


def dialog_parts_of_entry(calc, entry):
    return dialog_parts(calc, ENTRY_TITLES[entry])


def host_written_functions(calc):
    """A workbook as the host and the embedded host write it, calling =ToDec(…) by that name,
    computes in Calc with the extension, and opens unmodified. (Calc runs the extension's job
    for a document it shows, not for a hidden one.)"""
    import openpyxl
    path = os.path.join(calc.folder, "host-functions.xlsx")
    book = openpyxl.Workbook()
    sheet = book.active
    formulas = ['=ToDec("FF",16)', '=DECTO(255,2,4)', '=basetobase("ff",16,2)',
                '=LEN("ToDec(1)")&ToDec("12",10)']
    for row, formula in enumerate(formulas, start=1):
        sheet.cell(row=row, column=1, value=formula)
    book.save(path)
    document = calc.open(path)
    try:
        cells = document.Sheets.getByIndex(0)
        # The job runs once Calc has shown the document.
        deadline = time.time() + 10
        while cells.getCellByPosition(0, 0).getString() != "255" and time.time() < deadline:
            time.sleep(0.3)
        shown = [cells.getCellByPosition(0, row).getString() for row in range(len(formulas))]
        failures = []
        if shown != ["255", "1111,1111", "11111111", "812"]:
            failures.append("a workbook calling ToDec by its name shows %r in Calc" % (shown,))
        if document.isModified():
            failures.append("opening a workbook calling ToDec left it modified")
        return failures
    finally:
        document.close(True)


def check_result(sheet, failures, when):
    expected = [["Region", "Product", "Units", "Amount"], ["North", "Tea", 200, 814],
                ["West", "Cocoa", 219, 921]]
    rows = sheet.getCellRangeByName("H1:K13").getDataArray()
    got = [list(rows[0]), list(rows[1]), list(rows[12])]
    if got != expected:
        failures.append("%s: H1:K13 holds %r, not %r" % (when, got, expected))


def main():
    oxt, shots = sys.argv[1], sys.argv[2]
    os.makedirs(shots, exist_ok=True)
    screen = Screen()
    calc = None
    try:
        calc = Calc(oxt, display=screen.display)
        path = os.path.join(calc.folder, "sales.xlsx")
        shutil.copy(SALES, path)
        document = calc.open(path)
        try:
            failures = walk(calc, screen, document, shots)
        finally:
            document.close(True)
        failures += host_written_functions(calc)
    finally:
        if calc is not None:
            calc.close()
        screen.close()
    for failure in failures:
        print(failure)
    print("screenshots in " + shots)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
