"""The runs both hosts make: a tool, a workbook and its sheet, the dialog's controls, the answer
to every question and the answer to the range prompt."""

import os
import random

import openpyxl

# Workbooks of the repository, wherever the tests run from.
ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
SALES = os.path.join(ROOT, "examples", "sales.xlsx")
# The same list saved by LibreOffice and by openpyxl: dates, formulas, Chinese texts.
SAVED_BY = {"libreoffice": os.path.join(ROOT, "tests", "data", "sales-libreoffice.xlsx"),
            "openpyxl": os.path.join(ROOT, "tests", "data", "sales-openpyxl.xlsx")}


def case(name, method, book, sheet, controls, answer="Yes", inputs=()):
    return {"name": name, "method": method, "book": book, "sheet": sheet,
            "controls": controls, "answer": answer, "inputs": list(inputs)}


def example_cases():
    return [
        case("summarise", "HZ", SALES, "Sales",
             {"RefEdit1": "A1:E121", "RefEdit2": "A1:B1", "RefEdit3": "D1:E1", "RefEdit4": "H1"}),
        case("summarise-over-data", "HZ", SALES, "Sales",
             {"RefEdit1": "A1:E121", "RefEdit2": "A1:B1", "RefEdit3": "D1:E1", "RefEdit4": "A1"},
             answer="No"),
        case("sum-lookup", "HZCZSZ", SALES, "Lookup",
             {"RefEdit1": "G2:H6", "RefEdit2": "I2", "RefEdit4": "A2:B21", "RefEdit5": "C2:D21"}),
        case("lookup", "DSYCZ", SALES, "Lookup",
             {"RefEdit1": "G2:G6", "RefEdit2": "I2:J2", "RefEdit3": "A1:D21", "RefEdit4": "A1",
              "RefEdit5": "C1:D1", "TextBox1": "none"}),
        case("keyed-sum", "HzCzBcf", SALES, "Sales",
             {"Label10": "1", "Label9": "1", "RefEdit1": "A1:B121", "RefEdit2": "D1:E121",
              "RefEdit3": "H1", "CheckBox1": True}),
        case("keyed-join", "HzCzBcf", SALES, "Sales",
             {"Label10": "1", "Label9": "2", "RefEdit1": "A2:A121", "RefEdit2": "B2:B121",
              "RefEdit3": "H1", "TextBox1": ","}),
        case("list-to-table", "QDZBG", SALES, "Sales",
             {"RefEdit1": "A1:E121", "RefEdit2": "H1", "RefEdit3": "A1", "RefEdit4": "B1",
              "RefEdit5": "D1", "OptionButton1": True}),
        case("table-to-list", "BGZQD", SALES, "Cross",
             {"RefEdit1": "A1:D4", "RefEdit2": "F1", "OptionButton1": True, "CheckBox1": True}),
        case("page-subtotals", "FYXJYHJ", SALES, "Sales",
             {"RefEdit1": "D2:E2", "RefEdit2": "A1", "TextBox1": "小计", "TextBox2": "合计"}),
        case("partition", "SJFQ", SALES, "Sales",
             {"TextBox1": "1", "TextBox2": "3", "TextBox3": "0", "TextBox4": "40",
              "TextBox5": "1"}),
        case("clear-zeros", "SC0", SALES, "Zeros", {}, inputs=["B2:D4"]),
        case("clear-zero-values", "SCGS0", SALES, "Zeros", {}, inputs=["B2:D4"]),
        case("clear-zero-values-declined", "SCGS0", SALES, "Zeros", {}, answer="No",
             inputs=["B2:D4"]),
        case("keyed-lookup-first", "HzCzBcf", SALES, "Lookup",
             {"Label10": "2", "Label9": "3", "RefEdit1": "A2:B21", "RefEdit2": "C2:D21",
              "RefEdit3": "G2:H6", "RefEdit4": "I2"}),
        case("keyed-lookup-last", "HzCzBcf", SALES, "Lookup",
             {"Label10": "2", "Label9": "4", "RefEdit1": "A2:B21", "RefEdit2": "C2:D21",
              "RefEdit3": "G2:H6", "RefEdit4": "I2"}),
        case("keyed-distinct", "HzCzBcf", SALES, "Sales",
             {"Label10": "3", "Label9": "1", "RefEdit1": "A2:B121", "RefEdit3": "H1"}),
        case("lookup-not-found-empty", "DSYCZ", SALES, "Lookup",
             {"RefEdit1": "G2:G6", "RefEdit2": "I2:J2", "RefEdit3": "A1:D21", "RefEdit4": "B1",
              "RefEdit5": "C1:D1"}),
        case("list-to-table-place", "QDZBG", SALES, "Sales",
             {"RefEdit1": "A1:E121", "RefEdit2": "H1", "RefEdit3": "A1", "RefEdit4": "C1",
              "RefEdit5": "E1", "OptionButton2": True}),
        case("table-to-list-by-column", "BGZQD", SALES, "Cross",
             {"RefEdit1": "A1:D4", "RefEdit2": "F1", "OptionButton2": True}),
        # One record: the value data is one cell, with texts beside it.
        case("summarise-one-record", "HZ", SALES, "Sales",
             {"RefEdit1": "A1:E2", "RefEdit2": "A1:B1", "RefEdit3": "E1", "RefEdit4": "H1"}),
        case("bad-reference", "HZ", SALES, "Sales",
             {"RefEdit1": "A1:E121", "RefEdit2": "nowhere", "RefEdit3": "D1:E1",
              "RefEdit4": "H1"}),
    ]


def saved_by_other_programs():
    cases = []
    for program, book in SAVED_BY.items():
        cases += [
            case(program + "-summarise", "HZ", book, "销售",
                 {"RefEdit1": "A1:F121", "RefEdit2": "B1:C1", "RefEdit3": "D1:F1",
                  "RefEdit4": "K1"}),
            case(program + "-table", "QDZBG", book, "销售",
                 {"RefEdit1": "A1:F121", "RefEdit2": "K1", "RefEdit3": "B1", "RefEdit4": "C1",
                  "RefEdit5": "F1", "OptionButton1": True}),
            case(program + "-unroll", "BGZQD", book, "交叉表",
                 {"RefEdit1": "A1:F4", "RefEdit2": "H1", "OptionButton1": True}),
            case(program + "-keyed-join", "HzCzBcf", book, "销售",
                 {"Label10": "1", "Label9": "2", "RefEdit1": "B1:B121", "RefEdit2": "C1:C121",
                  "RefEdit3": "K1", "TextBox1": "、"}),
        ]
    return cases


def page_cases():
    """Page subtotals on workbooks whose page setups LibreOffice's print was read for."""
    return [case("pages-" + name, "FYXJYHJ",
                 os.path.join(ROOT, "tests", "data", "pages", "subtotals-%s.xlsx" % name), "Pages",
                 {"RefEdit1": "B2", "RefEdit2": "A1", "TextBox1": "小计", "TextBox2": "合计"})
            for name in ("a4-taller-rows", "hidden-after-full-page", "mixed-heights")]


def make_random_list(path, seed, rows):
    """A list of two keys (a few distinct, letter case mixed), a date, two numbers and a zero
    here and there."""
    draw = random.Random(seed)
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = "List"
    sheet.append(["Region", "Product", "Units", "Amount", "Flag"])
    regions = ["North", "south", "East", "WEST", "Centre"]
    products = ["Tea", "tea", "Coffee", "Cocoa", "Milk", "Juice"]
    for _ in range(rows):
        sheet.append([draw.choice(regions), draw.choice(products), draw.randint(0, 30),
                      round(draw.uniform(-50, 500), 2), draw.choice([0, 1, 0, 2])])
    book.save(path)


def random_cases(folder, seeds=(1, 2, 3), rows=300):
    cases = []
    for seed in seeds:
        book = "%s/random-%d.xlsx" % (folder, seed)
        make_random_list(book, seed, rows)
        last = rows + 1
        cases += [
            case("random-%d-summarise" % seed, "HZ", book, "List",
                 {"RefEdit1": "A1:E%d" % last, "RefEdit2": "A1:B1", "RefEdit3": "C1:D1",
                  "RefEdit4": "H1"}),
            case("random-%d-keyed" % seed, "HzCzBcf", book, "List",
                 {"Label10": "1", "Label9": "1", "RefEdit1": "A1:B%d" % last,
                  "RefEdit2": "C1:D%d" % last, "RefEdit3": "H1", "CheckBox1": True}),
            case("random-%d-table" % seed, "QDZBG", book, "List",
                 {"RefEdit1": "A1:E%d" % last, "RefEdit2": "H1", "RefEdit3": "A1",
                  "RefEdit4": "B1", "RefEdit5": "D1", "OptionButton1": True}),
            case("random-%d-subtotals" % seed, "FYXJYHJ", book, "List",
                 {"RefEdit1": "C2:D2", "RefEdit2": "A1", "TextBox1": "小计",
                  "TextBox2": "合计"}),
            case("random-%d-partition" % seed, "SJFQ", book, "List",
                 {"TextBox1": "1", "TextBox2": "2", "TextBox3": "0", "TextBox4": "50",
                  "TextBox5": "1"}),
            case("random-%d-clear" % seed, "SCGS0", book, "List", {},
                 inputs=["E2:E%d" % last]),
        ]
    return cases
