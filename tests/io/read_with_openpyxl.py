"""Prints what an independent reader sees in a workbook: sheet names, a few cells of each
sheet, merged cells, print titles, row 1's height and column A's width."""
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
