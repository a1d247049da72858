#!/usr/bin/python3
"""Writes Demo/report.xlsx, the template workbook of the spreadsheet report.

The report writes into the first sheet of a copy of this workbook:
    B2 line name, E2 direction, G2 km range, J2 department, M2 staff,
    P2 start time; C3, F3, I3, L3 the band captions with their thresholds;
    from row 5 on, two rows per 100 m section (left rail above right rail),
    columns B..Q, and the section's range text in A5:A6, A7:A8, ...
Everything else (title, captions, column headers, widths, fonts, borders,
print setup) comes from here.

Run with Debian's interpreter, which has python3-openpyxl:
    /usr/bin/python3 tools/report_template/make_report_template.py [OUTPUT]
OUTPUT defaults to Demo/report.xlsx beside this repository's tools folder.
The output is byte-identical from run to run: fixed document dates and
fixed zip entry times.
"""

import datetime
import io
import sys
import zipfile
from pathlib import Path

from openpyxl import Workbook
from openpyxl.formatting.rule import FormulaRule
from openpyxl.styles import Alignment, Border, Font, PatternFill, Side
from openpyxl.utils import get_column_letter
from openpyxl.utils.indexed_list import IndexedList
from openpyxl.worksheet.properties import PageSetupProperties

FONT_NAME = "宋体"
FIXED_TIME = datetime.datetime(2024, 1, 1, 0, 0, 0)
ZIP_TIME = (2024, 1, 1, 0, 0, 0)

# Rows (1-based) with the report's data start here; rows below it are
# created by the program as needed.
FIRST_DATA_ROW = 5
# Data-row formatting (borders) reaches this far: 5000 sections, 500 km.
LAST_FORMATTED_ROW = FIRST_DATA_ROW + 2 * 5000 - 1

BANDS = ["30-100mm", "100-300mm", "300-1000mm", "1000-3000mm"]
SUB_HEADERS = ["超限比", "峰峰值/mm", "波磨集中区段"]

# Widths in characters of the default font. A: section range
# ("123+400-->123+500"); B: rail; then per band ratio, peak-to-peak, position.
WIDTH_RANGE = 21
WIDTH_RAIL = 7
WIDTH_RATIO = 9
WIDTH_PEAK = 10
WIDTH_POSITION = 21

thin = Side(style="thin", color="000000")
medium = Side(style="medium", color="000000")
GRID = Border(left=thin, right=thin, top=thin, bottom=thin)
CENTRE = Alignment(horizontal="center", vertical="center", wrap_text=False)
CENTRE_WRAP = Alignment(horizontal="center", vertical="center", wrap_text=True)
HEADER_FILL = PatternFill("solid", fgColor="DDEBF7")
CAPTION_FILL = PatternFill("solid", fgColor="F2F2F2")
BODY_FONT = Font(name=FONT_NAME, size=10)
BOLD_FONT = Font(name=FONT_NAME, size=10, bold=True)
TITLE_FONT = Font(name=FONT_NAME, size=18, bold=True)


def style_range(ws, ref, font=None, fill=None, alignment=None, border=GRID):
    """Gives every cell of `ref` the style; merged ranges need it on each
    cell so that their outline is drawn whole."""
    rows = ws[ref] if ":" in ref else ((ws[ref],),)
    for row in rows:
        for cell in row:
            if font is not None:
                cell.font = font
            if fill is not None:
                cell.fill = fill
            if alignment is not None:
                cell.alignment = alignment
            if border is not None:
                cell.border = border


def build():
    wb = Workbook()
    # The workbook's default font is the unit of the column widths; make it
    # the report's font rather than Calibri, which Chinese text does not use.
    wb._fonts = IndexedList([BODY_FONT])
    ws = wb.active
    ws.title = "波磨检测报表"

    # Column widths, and the look of cells the program creates in data rows:
    # a new cell takes its column's format.
    widths = [WIDTH_RANGE, WIDTH_RAIL] + [WIDTH_RATIO, WIDTH_PEAK, WIDTH_POSITION] * 5
    for index, width in enumerate(widths, start=1):
        dimension = ws.column_dimensions[get_column_letter(index)]
        dimension.width = width
        dimension.font = BODY_FONT
        dimension.alignment = CENTRE
        dimension.number_format = "@"

    ws.sheet_format.defaultRowHeight = 16
    ws.sheet_format.customHeight = True

    # Row 1: title.
    ws.merge_cells("A1:Q1")
    ws["A1"] = "钢轨波磨检测报表"
    style_range(ws, "A1:Q1", font=TITLE_FONT, alignment=CENTRE, border=None)
    ws.row_dimensions[1].height = 36

    # Row 2: captions beside the acquisition information the program fills.
    captions = {"A2": "线路名称", "D2": "运行方向", "F2": "公里标",
                "I2": "作业单位", "L2": "作业人员", "O2": "采集时间"}
    values = ["B2:C2", "E2", "G2:H2", "J2:K2", "M2:N2", "P2:Q2"]
    for ref, text in captions.items():
        ws[ref] = text
        style_range(ws, ref, font=BOLD_FONT, fill=CAPTION_FILL, alignment=CENTRE)
    for ref in values:
        if ":" in ref:
            ws.merge_cells(ref)
        style_range(ws, ref, font=BODY_FONT,
                    alignment=Alignment(horizontal="center", vertical="center",
                                        shrink_to_fit=True))
    ws.row_dimensions[2].height = 22

    # Rows 3 and 4: the table header. Band captions (C3, F3, I3, L3) carry
    # the thresholds of the analysis and are written by the program.
    ws.merge_cells("A3:A4")
    ws["A3"] = "里程"
    ws.merge_cells("B3:B4")
    ws["B3"] = "股别"
    for band in range(5):
        first = 3 + 3 * band
        ref = f"{get_column_letter(first)}3:{get_column_letter(first + 2)}3"
        ws.merge_cells(ref)
        for offset, text in enumerate(SUB_HEADERS):
            ws.cell(row=4, column=first + offset, value=text)
    ws["O3"] = "轨道高低"
    style_range(ws, "A3:Q4", font=BOLD_FONT, fill=HEADER_FILL, alignment=CENTRE_WRAP)
    ws.row_dimensions[3].height = 22
    ws.row_dimensions[4].height = 20

    # Data rows: borders on the rows the program fills (column B holds the
    # rail of every section row), so a report of any length is framed and
    # nothing is drawn below it.
    data_ref = f"A{FIRST_DATA_ROW}:Q{LAST_FORMATTED_ROW}"
    ws.conditional_formatting.add(
        data_ref, FormulaRule(formula=[f'$B{FIRST_DATA_ROW}<>""'], border=GRID))

    ws.freeze_panes = f"C{FIRST_DATA_ROW}"
    ws.sheet_view.showGridLines = False
    ws.sheet_view.zoomScale = 100

    # Printing: A4 landscape, all columns on one page width, header repeated.
    ws.page_setup.orientation = "landscape"
    ws.page_setup.paperSize = ws.PAPERSIZE_A4
    ws.page_setup.fitToWidth = 1
    ws.page_setup.fitToHeight = 0
    ws.sheet_properties.pageSetUpPr = PageSetupProperties(fitToPage=True)
    ws.print_options.horizontalCentered = True
    ws.page_margins.left = 0.4
    ws.page_margins.right = 0.4
    ws.page_margins.top = 0.6
    ws.page_margins.bottom = 0.6
    ws.page_margins.header = 0.3
    ws.page_margins.footer = 0.3
    ws.print_title_rows = "$1:$4"
    ws.oddFooter.center.text = "第 &P 页，共 &N 页"
    ws.oddFooter.center.font = FONT_NAME
    ws.oddFooter.center.size = 9

    wb.properties.creator = "Sundrel"
    wb.properties.title = "钢轨波磨检测报表"
    wb.properties.created = FIXED_TIME
    wb.properties.modified = FIXED_TIME
    wb.properties.lastModifiedBy = "Sundrel"
    return wb


def deterministic_bytes(wb):
    """The workbook's package with fixed entry times, entries in openpyxl's
    order ([Content_Types].xml first)."""
    raw = io.BytesIO()
    wb.save(raw)
    out = io.BytesIO()
    with zipfile.ZipFile(raw) as source, \
            zipfile.ZipFile(out, "w", compression=zipfile.ZIP_DEFLATED) as target:
        for info in source.infolist():
            entry = zipfile.ZipInfo(info.filename, date_time=ZIP_TIME)
            entry.compress_type = zipfile.ZIP_DEFLATED
            entry.external_attr = 0o644 << 16
            target.writestr(entry, source.read(info.filename))
    return out.getvalue()


def main():
    default = Path(__file__).resolve().parents[2] / "Demo" / "report.xlsx"
    output = Path(sys.argv[1]) if len(sys.argv) > 1 else default
    output.parent.mkdir(parents=True, exist_ok=True)
    output.write_bytes(deterministic_bytes(build()))
    print(output)


if __name__ == "__main__":
    main()
