#!/usr/bin/env python3
"""Runs every tool on the same workbooks in the embedded host (the tavrin command) and in Calc
(the extension's dispatch), and compares the cells they leave, the formulas they write and the
boxes they show. Differences listed in known_differences.py, each with its reason in
docs/calc.md, are reported but do not fail the run."""

import argparse
import os
import re
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from calc_office import Calc  # noqa: E402
from extension_commands import check_commands  # noqa: E402
from host_cases import (example_cases, page_cases, random_cases,  # noqa: E402
                        saved_by_other_programs)
from known_differences import explained  # noqa: E402
from sheet_cells import calc_cells, differences, xlsx_cells  # noqa: E402


def terminal_text(boxes):
    """The boxes as the command line prints them, answered by --yes or --no."""
    out = ""
    for title, text, buttons, answer in boxes:
        out += "[%s]\n%s\n" % (title, text)
        question = buttons == "input" or int(buttons) & 7 != 0
        out += ("-> %s\n\n" % answer) if question else "\n"
    return out


def option_names(tavrin, method):
    """The command line's option of each control, from the command's help."""
    text = subprocess.run([tavrin, method, "--help"], capture_output=True, text=True).stdout
    names, option = {}, None
    for word in text.split():
        if word.startswith("--"):
            option = word.rstrip(",")
        elif word.startswith("[") and word.endswith("]") and option:
            names[word[1:-1]] = option
    return names


def stopwatch(text):
    """A run's time in its closing box ("0.12秒") differs from run to run."""
    return re.sub(r"\n[0-9.]+(E-[0-9]+)?秒\n", "\nN秒\n", text)


def run_embedded(tavrin, case, book, output):
    command = [tavrin, case["method"], book, "--sheet", case["sheet"], "-o", output,
               "--no-preview", "--yes" if case["answer"] == "Yes" else "--no"]
    options = option_names(tavrin, case["method"])
    for name, value in case["controls"].items():
        if value is True:
            command.append(options[name])
        elif value is not False:
            command += [options[name] + "=" + value]
    for answer in case["inputs"]:
        command += ["--range", answer]
    done = subprocess.run(command, capture_output=True, text=True, timeout=600)
    stopped = "The run stopped before finishing" in done.stderr
    boxes = re.sub(r"Written: .*\n|The run failed: nothing written.\n", "",
                   done.stderr.split("The run stopped before finishing")[0])
    # A failure that reached the caller: Calc shows it in a box of the library's title.
    boxes = boxes.replace("[error reached the caller]", "[Tavrin]")
    if done.returncode not in (0, 1):
        raise RuntimeError("%s: %s" % (case["name"], done.stderr))
    return boxes, (output if os.path.exists(output) and not stopped else book)


def pages_end_in_subtotals(document, case):
    """Whether, on the copy page subtotals made, every page Calc prints ends in a subtotal row
    and the grand total follows the last: Calc pages the sheet itself, so its rows per page are
    not the embedded host's."""
    copy = document.Sheets.getByName(case["sheet"] + " (2)")
    label = case["controls"]["TextBox1"]
    column = copy.getCellRangeByName(case["controls"]["RefEdit2"]).getCellAddress().Column
    cursor = copy.createCursor()
    cursor.gotoEndOfUsedArea(False)
    last = cursor.getRangeAddress().EndRow
    texts = copy.getCellRangeByPosition(column, 0, column, last).getDataArray()
    labels = [r for r, (text,) in enumerate(texts) if text == label]
    breaks = [b.Position for b in copy.getRowPageBreaks() if 0 < b.Position <= last]
    total = texts[last][0] == case["controls"]["TextBox2"]
    if not (total and breaks and labels[:-1] == [b - 1 for b in breaks]
            and len(labels) == len(breaks) + 1):
        return False
    # Each subtotal sums the rows of its own page.
    data = copy.getCellRangeByName(case["controls"]["RefEdit1"]).getRangeAddress()
    letter = re.sub(r"[0-9$]", "", case["controls"]["RefEdit1"].split(":")[0])
    first = data.StartRow
    for row in labels[:-1]:
        formula = copy.getCellByPosition(data.StartColumn, row).getFormula()
        if formula != "=SUM(%s%d:%s%d)" % (letter, first + 1, letter, row):
            return False
        first = row + 1
    return True


def run_calc(calc, case, book):
    document = calc.open(book)
    try:
        controller = document.getCurrentController()
        controller.setActiveSheet(document.Sheets.getByName(case["sheet"]))
        controller.select(controller.getActiveSheet().getCellRangeByName("A1"))
        arguments = dict(case["controls"], AnswerAll=case["answer"])
        if case["inputs"]:
            arguments["Inputs"] = tuple(case["inputs"])
        started = time.time()
        boxes = calc.dispatch(document, case["method"], arguments)
        seconds = time.time() - started
        pages = pages_end_in_subtotals(document, case) if case["method"] == "FYXJYHJ" else None
        return terminal_text(boxes), calc_cells(document), seconds, pages
    finally:
        document.close(True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tavrin", required=True)
    parser.add_argument("--oxt", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--only", default="")
    options = parser.parse_args()
    work = os.path.abspath(options.work)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    cases = example_cases() + saved_by_other_programs() + page_cases() + random_cases(work)
    cases = [c for c in cases if options.only in c["name"]]
    calc = Calc(options.oxt)
    failed = 0
    try:
        for case in cases:
            source = os.path.join(work, case["name"] + ".xlsx")
            shutil.copy(case["book"], source)
            calc_book = os.path.join(calc.folder, case["name"] + ".xlsx")
            shutil.copy(case["book"], calc_book)
            boxes, result = run_embedded(options.tavrin, case,
                                         source, os.path.join(work, case["name"] + "-out.xlsx"))
            calc_boxes, found, seconds, pages = run_calc(calc, case, calc_book)
            found_differences = differences(xlsx_cells(result), found)
            if stopwatch(boxes) != stopwatch(calc_boxes):
                found_differences.append(("boxes", 0, 0, boxes, calc_boxes))
            unexplained = [d for d in found_differences if not explained(case, d, pages)]
            status = "same" if not found_differences else (
                "explained" if not unexplained else "DIFFERENT")
            print("%-32s %-9s %5.2f s in Calc, %d cells differ (%d unexplained)" % (
                case["name"], status, seconds, len(found_differences), len(unexplained)))
            for d in unexplained[:8]:
                print("    ", d)
            failed += bool(unexplained)
        for failure in check_commands(calc, options.tavrin) if not options.only else []:
            print("extension command:", failure)
            failed += 1
    finally:
        calc.close()
    print("%d of %d runs differ unexplained" % (failed, len(cases)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
