"""The cells of a workbook as the two hosts leave them: value and formula text (the host's English
A1 syntax), read from a Calc document over UNO or from an .xlsx file the embedded host wrote."""

import datetime

import openpyxl

LAST_ROW, LAST_COLUMN = 65536, 256
XL_ENGLISH, XL_A1 = 4, 1


def _serial(moment):
    if isinstance(moment, datetime.datetime):
        delta = moment - datetime.datetime(1899, 12, 30)
        return delta.days + delta.seconds / 86400.0
    if isinstance(moment, datetime.date):
        return float((moment - datetime.date(1899, 12, 30)).days)
    return (moment.hour * 3600 + moment.minute * 60 + moment.second) / 86400.0


def plain(value):
    """A value as both hosts can give it: None for empty, numbers as floats."""
    if value is None or value == "":
        return None
    if isinstance(value, bool):
        return float(value)
    if isinstance(value, (int, float)):
        return float(value)
    if isinstance(value, (datetime.date, datetime.time)):
        return _serial(value)
    return str(value)


def formula_key(text):
    """A formula text with what the two writers may spell differently taken out."""
    if not text:
        return None
    out, quoted = [], False
    for c in text.lstrip("="):
        if c == '"':
            quoted = not quoted
        if c == " " and not quoted:
            continue
        out.append(c if quoted else c.upper())
    return "=" + "".join(out)


def _parser(document):
    mapper = document.createInstance("com.sun.star.sheet.FormulaOpCodeMapper")
    parser = document.createInstance("com.sun.star.sheet.FormulaParser")
    parser.CompileEnglish = True
    parser.FormulaConvention = XL_A1
    import uno
    every_group = uno.getConstantByName("com.sun.star.sheet.FormulaMapGroup.ALL_EXCEPT_SPECIAL")
    parser.OpCodeMap = mapper.getAvailableMappings(XL_ENGLISH, every_group)
    return parser


def _cells_of(ranges):
    for found in ranges.getRangeAddresses():
        for r in range(found.StartRow, found.EndRow + 1):
            for c in range(found.StartColumn, found.EndColumn + 1):
                yield r, c


def calc_cells(document):
    """{sheet: {(row, column): (value, formula)}} of a Calc document, rows and columns from 1.
    Few calls cross the socket: one for the values, two queries for which cells hold
    something, and one a formula cell."""
    import uno
    flags = uno.getConstantByName
    content = sum(flags("com.sun.star.sheet.CellFlags." + name)
                  for name in ("VALUE", "DATETIME", "STRING", "FORMULA"))
    parser = _parser(document)
    sheets = {}
    for index in range(document.Sheets.Count):
        sheet = document.Sheets.getByIndex(index)
        cursor = sheet.createCursor()
        cursor.gotoEndOfUsedArea(False)
        end = cursor.getRangeAddress()
        rows, columns = min(end.EndRow + 1, LAST_ROW), min(end.EndColumn + 1, LAST_COLUMN)
        block = sheet.getCellRangeByPosition(0, 0, columns - 1, rows - 1)
        data = block.getDataArray()
        cells = {}
        for r, c in _cells_of(block.queryContentCells(content)):
            cells[(r + 1, c + 1)] = (plain(data[r][c]), None)
        for r, c in _cells_of(block.queryContentCells(flags("com.sun.star.sheet.CellFlags.FORMULA"))):
            cell = sheet.getCellByPosition(c, r)
            at = uno.createUnoStruct("com.sun.star.table.CellAddress", index, c, r)
            formula = "=" + parser.printFormula(cell.getTokens(), at)
            value = data[r][c]
            if cell.FormulaResultType2 in (2, 4):  # a text, or an error shown as its text
                value = cell.getString()
            cells[(r + 1, c + 1)] = (plain(value), formula_key(formula))
        sheets[sheet.Name] = cells
    return sheets


def xlsx_cells(path):
    """The same of an .xlsx file, values from the results stored with the formulas."""
    formulas = openpyxl.load_workbook(path, data_only=False)
    values = openpyxl.load_workbook(path, data_only=True)
    sheets = {}
    for sheet in formulas.worksheets:
        stored = values[sheet.title]
        cells = {}
        for row in sheet.iter_rows(max_row=min(sheet.max_row, LAST_ROW),
                                   max_col=min(sheet.max_column, LAST_COLUMN)):
            for cell in row:
                text = cell.value
                formula = text if isinstance(text, str) and text.startswith("=") else None
                value = stored.cell(cell.row, cell.column).value if formula else text
                if value is None and formula is None:
                    continue
                cells[(cell.row, cell.column)] = (plain(value), formula_key(formula))
        sheets[sheet.title] = cells
    return sheets


def same_value(a, b):
    if isinstance(a, float) and isinstance(b, float):
        return abs(a - b) <= 1e-9 * max(1.0, abs(a), abs(b))
    return a == b


def differences(expected, found):
    """The cells where two workbooks differ: (sheet, row, column, expected, found)."""
    out = []
    for name in sorted(set(expected) | set(found)):
        a, b = expected.get(name), found.get(name)
        if a is None or b is None:
            out.append((name, 0, 0, "sheet" if a is not None else None,
                        "sheet" if b is not None else None))
            continue
        for key in sorted(set(a) | set(b)):
            left, right = a.get(key, (None, None)), b.get(key, (None, None))
            # A formula the embedded host never computed is written without a result.
            unknown = left[1] is not None and left[0] is None
            if left[1] != right[1] or not (unknown or same_value(left[0], right[0])):
                out.append((name, key[0], key[1], left, right))
    return out
