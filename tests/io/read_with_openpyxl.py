"""Prints what an independent reader sees in a workbook: sheet names, a few cells of each
sheet, merged cells, print titles, row 1's height, column A's width, and the rows and columns
that are hidden, in an outline or formatted (their number format shown)."""
import sys

import openpyxl

book = openpyxl.load_workbook(sys.argv[1])
print(",".join(book.sheetnames))
print("active", book.active.title)
for sheet in book.worksheets:
    for address in sys.argv[2:]:
        value = sheet[address].value
        text = value.isoformat() if hasattr(value, "isoformat") else repr(value)
        print(sheet.title, address, text)
    print(sheet.title, "merged", sorted(str(r) for r in sheet.merged_cells.ranges))
    print(sheet.title, "titles", sheet.print_title_rows)
    print(sheet.title, "height", sheet.row_dimensions[1].height)
    print(sheet.title, "width", sheet.column_dimensions["A"].width)
    for kind, dimensions in (("row", sheet.row_dimensions), ("column", sheet.column_dimensions)):
        for key, d in sorted(dimensions.items(), key=lambda item: str(item[0]).rjust(8)):
            style = d.number_format if d.has_style and d.number_format != "General" else None
            if d.hidden or d.outline_level or d.collapsed or style:
                span = key if kind == "row" else f"{key} {d.min}-{d.max}"
                print(sheet.title, kind, span, "hidden" if d.hidden else "shown",
                      "level", d.outline_level, "collapsed" if d.collapsed else "open", style)
