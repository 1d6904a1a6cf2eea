#!/usr/bin/env python3
"""Times tools at full size (65,535 records) in LibreOffice Calc through the extension, beside
Calc's own time to compute the formulas they leave, and beside the embedded host (the tavrin
command, end to end). Figures, not assertions: make bench-calc."""

import argparse
import os
import random
import shutil
import subprocess
import sys
import time

import openpyxl

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "calc"))
from calc_office import Calc  # noqa: E402

ROWS = 65535


def make_list(path, keys):
    """A list of 65,535 records under a header, `keys` distinct regions, and a lookup sheet of as
    many index values."""
    draw = random.Random(7)
    book = openpyxl.Workbook(write_only=True)
    sheet = book.create_sheet("List")
    sheet.append(["Region", "Product", "Units", "Amount", "Code"])
    for n in range(ROWS):
        sheet.append(["R%d" % draw.randrange(keys), "P%d" % draw.randrange(20),
                      draw.randint(0, 30), round(draw.uniform(0, 500), 2), "C%06d" % n])
    lookup = book.create_sheet("Lookup")
    lookup.append(["Code", "Units", "Amount"])
    for n in range(ROWS):
        lookup.append(["C%06d" % draw.randrange(ROWS)])
    book.save(path)


# The formulas each tool leaves for the host to compute, as Calc writes them itself: the first
# cell of the result, filled over it (None: the tool writes no formulas).
def hz_formulas(document):
    sheet = document.Sheets.getByName("List")
    cursor = sheet.getCellRangeByName("H1").getSpreadsheet().createCursorByRange(
        sheet.getCellRangeByName("H1"))
    cursor.collapseToCurrentRegion()
    rows = cursor.getRangeAddress().EndRow
    return sheet, "J2", "J2:K%d" % (rows + 1), (
        "=SUMPRODUCT(($A$2:$A$65536=$H2)*($B$2:$B$65536=$I2)*(C$2:C$65536))")


def dsycz_formulas(document):
    sheet = document.Sheets.getByName("Lookup")
    match = "MATCH($A2;$List.$E$2:$E$65536;0)"
    return sheet, "B2", "B2:C%d" % (ROWS + 1), (
        '=IF(ISERROR(%s);"";INDEX($List.$C$2:$D$65536;%s;COLUMN(B$2)-COLUMN($B$2)+1))'
        % (match, match))


def time_formulas(calc, source, formulas):
    """Times Calc filling a tool's formulas over a fresh copy and computing them, as it does when
    a user fills them by hand."""
    import uno
    book = os.path.join(calc.folder, "formulas.xlsx")
    shutil.copy(source, book)
    document = calc.open(book)
    try:
        sheet, first, block, formula = formulas(document)
        started = time.time()
        sheet.getCellRangeByName(first).setFormula(formula)
        target = sheet.getCellRangeByName(block)
        address = target.getRangeAddress()
        across = sheet.getCellRangeByPosition(address.StartColumn, address.StartRow,
                                              address.EndColumn, address.StartRow)
        across.fillAuto(uno.Enum("com.sun.star.sheet.FillDirection", "TO_RIGHT"), 1)
        target.fillAuto(uno.Enum("com.sun.star.sheet.FillDirection", "TO_BOTTOM"), 1)
        sheet.getCellRangeByName(block).getDataArray()
        return time.time() - started
    finally:
        document.close(True)


CASES = [
    ("HZ", "List", {"RefEdit1": "A1:E%d" % (ROWS + 1), "RefEdit2": "A1:B1",
                    "RefEdit3": "C1:D1", "RefEdit4": "H1"},
     ["--list", "A1:E%d" % (ROWS + 1), "--keys", "A1:B1", "--values", "C1:D1", "--target", "H1"],
     hz_formulas),
    ("DSYCZ", "Lookup", {"RefEdit1": "A2:A%d" % (ROWS + 1), "RefEdit2": "B2:C2",
                         "RefEdit3": "List!A1:E%d" % (ROWS + 1), "RefEdit4": "List!E1",
                         "RefEdit5": "List!C1:D1"},
     ["--target-index", "A2:A%d" % (ROWS + 1), "--target-data", "B2:C2",
      "--source-table", "List!A1:E%d" % (ROWS + 1), "--source-index", "List!E1",
      "--source-data", "List!C1:D1"], dsycz_formulas),
    ("SJFQ", "List", {"TextBox1": "1", "TextBox2": "3", "TextBox3": "0", "TextBox4": "50",
                      "TextBox5": "1"},
     ["--title-rows", "1", "--groups-across", "3", "--lead-columns", "0", "--group-rows", "50",
      "--gap-columns", "1"], None),
]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tavrin", required=True)
    parser.add_argument("--oxt", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--keys", type=int, default=50)
    options = parser.parse_args()
    shutil.rmtree(options.work, ignore_errors=True)
    os.makedirs(options.work)
    source = os.path.join(options.work, "list.xlsx")
    make_list(source, options.keys)
    calc = Calc(options.oxt)
    print("%-6s %10s %14s %16s" % ("tool", "Calc run", "Calc formulas", "tavrin (whole)"))
    try:
        for method, sheet, controls, flags, formulas in CASES:
            book = os.path.join(calc.folder, method + ".xlsx")
            shutil.copy(source, book)
            document = calc.open(book)
            controller = document.getCurrentController()
            controller.setActiveSheet(document.Sheets.getByName(sheet))
            started = time.time()
            calc.dispatch(document, method, dict(controls, AnswerAll="Yes"))
            run = time.time() - started
            if formulas is hz_formulas:
                # Calc computes the summary's formulas beside the distinct keys the run left.
                document.store()
            document.close(True)
            recalc = time_formulas(calc, book if formulas is hz_formulas else source,
                                   formulas) if formulas else 0.0
            started = time.time()
            subprocess.run([options.tavrin, method, source, "--sheet", sheet, "--yes",
                            "--no-preview", "-o", os.path.join(options.work, method + "-out.xlsx")]
                           + flags, check=False, capture_output=True)
            whole = time.time() - started
            print("%-6s %8.2f s %12.2f s %14.2f s" % (method, run, recalc, whole))
    finally:
        calc.close()


if __name__ == "__main__":
    main()
