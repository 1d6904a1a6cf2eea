#!/usr/bin/env python3
"""Writes formats.xlsx: numbers in General and in common number formats, in columns of several
widths, for the browser test of what the grid shows. Run: python3 make_formats.py formats.xlsx"""
import sys
import zipfile
from xml.sax.saxutils import escape

FORMATS = {164: "0.0%", 165: '"¥"#,##0.00', 166: "yyyy-mm-dd", 167: 'yyyy"年"m"月"d"日"',
           168: "#,##0.00;[Red]-#,##0.00"}
# cellXfs: (numFmtId, fontId, fillId, borderId)
STYLES = [(0, 0, 0, 0), (164, 0, 0, 0), (165, 0, 0, 0), (4, 0, 0, 0), (166, 0, 0, 0), (167, 0, 0, 0),
          (168, 0, 0, 0), (0, 1, 0, 0), (0, 0, 2, 0), (0, 0, 0, 1), (0, 0, 3, 0)]
# (address, value, style); a str value is a text.
CELLS = [
    ("A1", "说明", 0), ("B1", "常规", 0), ("C1", "格式", 0),
    ("A2", "常规，宽度 8.43", 0), ("B2", 13594932.65, 0),
    ("B3", 0.521116137504578, 0), ("B4", -13594932.65, 0), ("B5", 1 / 3, 0), ("B6", 1e-10, 0),
    ("A7", "常规，宽度 16", 0), ("C7", 123456789012345, 0),
    ("A8", "百分比", 0), ("C8", 0.521116137504578, 1),
    ("A9", "货币", 0), ("C9", 1234.5, 2),
    ("A10", "千位分隔", 0), ("C10", 1234567.891, 3),
    ("A11", "日期", 0), ("C11", 45444, 4), ("C12", 45444, 5),
    ("A13", "负数红色", 0), ("C13", -1234.5, 6),
    ("A14", "窄列", 0), ("D14", 13594932.65, 0),
    ("A15", "放不下", 0), ("B15", 1234567.891, 3),
    ("A16", "字体颜色", 0), ("C16", "蓝字", 7), ("C17", None, 8), ("E16", None, 9), ("E17", None, 10),
    ("A18", "第一行\n第二行\n第三行", 0),
    ("A19", "一段很长的说明文字：" + "每个地区每个月的销售数量和金额，" * 8 + "完。", 0),
]


def cell_xml(address, value, style):
    s = f' s="{style}"' if style else ""
    if value is None:
        return f'<c r="{address}"{s}/>'
    if isinstance(value, str):
        return f'<c r="{address}"{s} t="inlineStr"><is><t>{escape(value)}</t></is></c>'
    return f'<c r="{address}"{s}><v>{value!r}</v></c>'


def sheet_xml():
    rows = {}
    for address, value, style in CELLS:
        row = int("".join(ch for ch in address if ch.isdigit()))
        rows.setdefault(row, []).append(cell_xml(address, value, style))
    body = "".join(f'<row r="{r}">{"".join(cells)}</row>' for r, cells in sorted(rows.items()))
    return ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
            '<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">'
            '<sheetViews><sheetView workbookViewId="0"><pane xSplit="1" ySplit="1" topLeftCell="B2" '
            'activePane="bottomRight" state="frozen"/></sheetView></sheetViews>'
            '<cols><col min="1" max="1" width="16" customWidth="1"/>'
            '<col min="3" max="3" width="16" customWidth="1"/>'
            '<col min="4" max="4" width="3" customWidth="1"/></cols>'
            f'<sheetData>{body}</sheetData></worksheet>')


def styles_xml():
    formats = "".join(f'<numFmt numFmtId="{i}" formatCode="{escape(c, {chr(34): "&quot;"})}"/>'
                      for i, c in FORMATS.items())
    xfs = "".join(f'<xf numFmtId="{n}" fontId="{f}" fillId="{l}" borderId="{b}" xfId="0"'
                  f'{" applyNumberFormat=" + chr(34) + "1" + chr(34) if n else ""}/>'
                  for n, f, l, b in STYLES)
    return ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
            '<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">'
            f'<numFmts count="{len(FORMATS)}">{formats}</numFmts>'
            '<fonts count="2"><font><sz val="11"/><name val="宋体"/></font>'
            '<font><color rgb="FF0070C0"/><sz val="11"/><name val="宋体"/></font></fonts>'
            '<fills count="4"><fill><patternFill patternType="none"/></fill>'
            '<fill><patternFill patternType="gray125"/></fill>'
            '<fill><patternFill patternType="solid"><fgColor rgb="FFFFFF00"/></patternFill></fill>'
            '<fill><patternFill patternType="solid"><fgColor theme="4" tint="0.7999816888943144"/>'
            '</patternFill></fill></fills><borders count="2"><border/><border><left style="thin"><color rgb="FF000000"/>'
            '</left><right style="thin"/><top style="medium"><color rgb="FFFF0000"/></top>'
            '<bottom style="dashed"/></border></borders>'
            '<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>'
            f'<cellXfs count="{len(STYLES)}">{xfs}</cellXfs></styleSheet>')


PARTS = {
    "[Content_Types].xml":
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
        '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
        '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
        '<Default Extension="xml" ContentType="application/xml"/>'
        '<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>'
        '<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>'
        '<Override PartName="/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/>'
        '<Override PartName="/xl/theme/theme1.xml" ContentType="application/vnd.openxmlformats-officedocument.theme+xml"/>'
        '</Types>',
    "_rels/.rels":
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
        '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>'
        '</Relationships>',
    "xl/workbook.xml":
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
        '<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" '
        'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">'
        '<sheets><sheet name="格式" sheetId="1" r:id="rId1"/></sheets></workbook>',
    "xl/_rels/workbook.xml.rels":
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
        '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>'
        '<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>'
        '<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/theme" Target="theme/theme1.xml"/>'
        '</Relationships>',
    "xl/worksheets/sheet1.xml": sheet_xml(),
    "xl/styles.xml": styles_xml(),
    "xl/theme/theme1.xml":
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
        '<a:theme xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" name="Office">'
        '<a:themeElements><a:clrScheme name="Office">'
        '<a:dk1><a:sysClr val="windowText" lastClr="000000"/></a:dk1>'
        '<a:lt1><a:sysClr val="window" lastClr="FFFFFF"/></a:lt1>'
        '<a:dk2><a:srgbClr val="44546A"/></a:dk2><a:lt2><a:srgbClr val="E7E6E6"/></a:lt2>'
        + "".join(f'<a:accent{i}><a:srgbClr val="{c}"/></a:accent{i}>' for i, c in
                  enumerate(["4472C4", "ED7D31", "A5A5A5", "FFC000", "5B9BD5", "70AD47"], 1))
        + '<a:hlink><a:srgbClr val="0563C1"/></a:hlink><a:folHlink><a:srgbClr val="954F72"/>'
        '</a:folHlink></a:clrScheme></a:themeElements></a:theme>',
}

with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z:
    for name, text in PARTS.items():
        z.writestr(name, text)
