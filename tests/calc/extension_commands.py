"""The extension's commands besides the tools, run once in the suite's Calc: help, restart, quit,
a menu entry, and a command it does not know."""

import os
import shutil
import subprocess

import uno

from calc_office import prop

from host_cases import SALES

HZ = {"RefEdit1": "A1:E121", "RefEdit2": "A1:B1", "RefEdit3": "D1:E1", "RefEdit4": "H1",
      "AnswerAll": "Yes"}


# Cell formulas in Calc's syntax and what they show, as the embedded host computes
# =ToDec("FF",16) and the rest.
CELL_FUNCTIONS = [
    ('=TODEC("FF";16)', "255"),
    ('=todec("12";10)', "12"),
    ('=DECTO(255;2;4)', "1111,1111"),
    ('=BASETOBASE("ff";16;2)', "11111111"),
    ('=TODEC("FF";1)', "错误，进制位为 2-16 之间的数值 ！"),
    ('=TODEC("FF")', "#VALUE!"),
]


def shown_in_column_k(sheet):
    return [sheet.getCellByPosition(10, row).getString() for row in range(len(CELL_FUNCTIONS))]


def cell_functions(calc, document, tavrin):
    """The functions typed in Calc show what the embedded host shows; a workbook holding them,
    saved by Calc, keeps them when Calc opens it again, and the embedded host computes them."""
    sheet = document.Sheets.getByName("Zeros")
    failures = []
    for row, (formula, _) in enumerate(CELL_FUNCTIONS):
        sheet.getCellByPosition(10, row).setFormula(formula)
    expected = [shown for _, shown in CELL_FUNCTIONS]
    if shown_in_column_k(sheet) != expected:
        failures.append("typed in Calc, the functions show %r" % (shown_in_column_k(sheet),))
    saved = os.path.join(calc.folder, "functions.xlsx")
    document.storeToURL(uno.systemPathToFileUrl(saved),
                        (prop("FilterName", "Calc MS Excel 2007 XML"),))
    again = calc.open(saved)
    try:
        if shown_in_column_k(again.Sheets.getByName("Zeros")) != expected:
            failures.append("saved and opened again in Calc, the functions show %r" %
                            (shown_in_column_k(again.Sheets.getByName("Zeros")),))
    finally:
        again.close(True)
    table = subprocess.run([tavrin, "show", saved, "--sheet", "Zeros", "--range", "K1:K6"],
                           stdout=subprocess.PIPE, text=True, check=False).stdout
    shown = [line.split("|", 1)[1].strip() for line in table.splitlines()[2:]]
    if shown != expected:
        failures.append("saved by Calc, the functions show %r in the embedded host" % (shown,))
    return failures


def check_commands(calc, tavrin):
    """Gives the failures found, one line each."""
    book = os.path.join(calc.folder, "commands.xlsx")
    shutil.copy(SALES, book)
    document = calc.open(book)
    failures = []

    def expect(what, boxes, title, text_part):
        if not any(box[0] == title and text_part in box[1] for box in boxes):
            failures.append("%s: no box %s with %r in %r" % (what, title, text_part, boxes))

    try:
        expect("help", calc.dispatch(document, "MyHelp", {}), "Tavrin", "HZ")
        # Restarting draws a new token; the tools go on working with it.
        calc.dispatch(document, "BbbThing", {})
        expect("a tool after restarting", calc.dispatch(document, "HZ", HZ), "Lumo提示", "汇总完毕")
        # After quitting, the next command starts the component afresh.
        if calc.dispatch(document, "QuitTools", {}):
            failures.append("quitting showed a box")
        expect("a tool after quitting", calc.dispatch(document, "HZ", dict(HZ, RefEdit4="N1")),
               "Lumo提示", "汇总完毕")
        # A run is one step in Calc's undo list.
        calc.dispatch(document, "HZ", dict(HZ, RefEdit4="T1"))
        undo = document.getUndoManager()
        if undo.getCurrentUndoActionTitle() != "Tavrin HZ":
            failures.append("the run is not one undo step: %r" % (undo.getAllUndoActionTitles(),))
        failures += cell_functions(calc, document, tavrin)
        # A menu entry opens its dialog beside the sheet (the GUI test drives it) and shows no box.
        opened = calc.dispatch(document, "F2", {})
        if opened:
            failures.append("a menu entry showed boxes: %r" % (opened,))
        expect("an unknown command", calc.dispatch(document, "Nothing", {}), "Tavrin", "438")
        expect("an unknown control", calc.dispatch(document, "HZ", {"RefEdit9": "A1"}),
               "Tavrin", "438")
    finally:
        document.close(True)
    return failures
